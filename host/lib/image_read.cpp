// Choosing the reader by the file's first bytes, whatever its name says.
#include <cerrno>
#include <cstring>

#include "host/lib/image_formats.h"
#include "host/lib/image_io.h"

namespace gridsmith::hosting {
namespace {

constexpr const char* kReadFormats = "TIFF, PNG, JPEG, BMP or binary PGM/PPM";

using Reader = Outcome<Document> (*)(const std::string& path);
using Prober = Outcome<ImageShape> (*)(const std::string& path);

// A format by the bytes its files start with, and its reader and the reading
// of its header alone, if the host has them.
struct Signature {
    const char* bytes;
    size_t size;
    const char* format;
    Reader read = nullptr;
    Prober probe = nullptr;
};

constexpr Signature kSignatures[] = {
    {"II*\0", 4, "TIFF", &ReadTiff, &ProbeTiff},
    {"MM\0*", 4, "TIFF", &ReadTiff, &ProbeTiff},
    {"II+\0", 4, "BigTIFF", &ReadTiff, &ProbeTiff},
    {"MM\0+", 4, "BigTIFF", &ReadTiff, &ProbeTiff},
    {"\x89PNG\r\n\x1a\n", 8, "PNG", &ReadPng, &ProbePng},
    {"\xFF\xD8\xFF", 3, "JPEG", &ReadJpeg, &ProbeJpeg},
    {"BM", 2, "BMP", &ReadBmp, &ProbeBmp},
    {"P5", 2, "PGM", &ReadNetpbm, &ProbeNetpbm},
    {"P6", 2, "PPM", &ReadNetpbm, &ProbeNetpbm},
    // Known, and refused by name.
    {"GIF8", 4, "GIF"},
    {"8BPS", 4, "Photoshop (PSD)"},
    {"P7", 2, "PAM"},
    {"PF", 2, "PFM"},
    {"Pf", 2, "PFM"},
    {"P1", 2, "plain-text PBM"},
    {"P2", 2, "plain-text PGM"},
    {"P3", 2, "plain-text PPM"},
    {"P4", 2, "PBM (one bit a pixel)"},
    {"#?RADIANCE", 10, "Radiance HDR"},
    {"#?RGBE", 6, "Radiance HDR"},
    {"\0\0\0\x0CjP  ", 8, "JPEG 2000"},
    {"\xFF\x4F\xFF\x51", 4, "JPEG 2000"},
};

// The signature `first` (`size` bytes of the file's start) begins with, if known.
const Signature* Sniff(const unsigned char* first, size_t size) {
    for (const Signature& s : kSignatures)
        if (size >= s.size && std::memcmp(first, s.bytes, s.size) == 0) return &s;
    // WebP's signature is split by the file's length.
    static constexpr Signature kWebP{"RIFF", 4, "WebP"};
    if (size >= 12 && std::memcmp(first, "RIFF", 4) == 0 && std::memcmp(first + 8, "WEBP", 4) == 0) return &kWebP;
    return nullptr;
}

// The signature of the file at `path`, or why it has none the host reads.
Outcome<const Signature*> SignatureOf(const std::string& path) {
    using Result = Outcome<const Signature*>;
    unsigned char first[16] = {};
    std::FILE* file = OpenFile(path, "rb");
    if (!file) return Result::Failure("cannot read " + path + ": " + std::strerror(errno));
    const size_t got = std::fread(first, 1, sizeof first, file);
    std::fclose(file);
    const Signature* signature = Sniff(first, got);
    if (!signature) return Result::Failure("cannot read " + path + ": not a " + kReadFormats + " file");
    if (!signature->read)
        return Result::Failure("cannot read " + path + ": " + signature->format + " files are not read (the host reads " +
                               kReadFormats + ")");
    return Result::Success(signature);
}

}  // namespace

Outcome<Document> ReadImage(const std::string& path, std::optional<int> depth) {
    const Outcome<const Signature*> signature = SignatureOf(path);
    if (!signature.ok()) return Outcome<Document>::Failure(signature.error);
    Outcome<Document> read = signature.value->read(path);
    // Another depth costs a second copy while it converts.
    if (read.ok() && depth && *depth != read.value.Depth()) {
        if (!HasDepth(read.value.Mode(), *depth))
            return Outcome<Document>::Failure(path + ": a " + ModeName(read.value.Mode()) + " image is 8 or 16 bits, not " +
                                              std::to_string(*depth));
        read.value = ConvertDepth(read.value, *depth);
    }
    return read;
}

Outcome<ImageShape> ProbeImage(const std::string& path) {
    const Outcome<const Signature*> signature = SignatureOf(path);
    if (!signature.ok()) return Outcome<ImageShape>::Failure(signature.error);
    return signature.value->probe(path);
}

}  // namespace gridsmith::hosting
