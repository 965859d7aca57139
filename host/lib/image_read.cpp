// Choosing the reader by the file's first bytes, whatever its name says.
#include <cerrno>
#include <cstring>

#include "host/lib/image_formats.h"
#include "host/lib/image_io.h"

namespace gridsmith::hosting {
namespace {

constexpr const char* kReadFormats = "TIFF, PNG, JPEG, BMP or binary PGM/PPM";

using Reader = Outcome<Document> (*)(const std::string& path);

// A format by the bytes its files start with, and its reader, if the host has one.
struct Signature {
    const char* bytes;
    size_t size;
    const char* format;
    Reader read;
};

constexpr Signature kSignatures[] = {
    {"II*\0", 4, "TIFF", &ReadTiff},
    {"MM\0*", 4, "TIFF", &ReadTiff},
    {"II+\0", 4, "BigTIFF", &ReadTiff},
    {"MM\0+", 4, "BigTIFF", &ReadTiff},
    {"\x89PNG\r\n\x1a\n", 8, "PNG", &ReadPng},
    {"\xFF\xD8\xFF", 3, "JPEG", &ReadJpeg},
    {"BM", 2, "BMP", &ReadBmp},
    {"P5", 2, "PGM", &ReadNetpbm},
    {"P6", 2, "PPM", &ReadNetpbm},
    // Known, and refused by name.
    {"GIF8", 4, "GIF", nullptr},
    {"8BPS", 4, "Photoshop (PSD)", nullptr},
    {"P7", 2, "PAM", nullptr},
    {"PF", 2, "PFM", nullptr},
    {"Pf", 2, "PFM", nullptr},
    {"P1", 2, "plain-text PBM", nullptr},
    {"P2", 2, "plain-text PGM", nullptr},
    {"P3", 2, "plain-text PPM", nullptr},
    {"P4", 2, "PBM (one bit a pixel)", nullptr},
    {"#?RADIANCE", 10, "Radiance HDR", nullptr},
    {"#?RGBE", 6, "Radiance HDR", nullptr},
    {"\0\0\0\x0CjP  ", 8, "JPEG 2000", nullptr},
    {"\xFF\x4F\xFF\x51", 4, "JPEG 2000", nullptr},
};

// The signature `first` (`size` bytes of the file's start) begins with, if known.
const Signature* Sniff(const unsigned char* first, size_t size) {
    for (const Signature& s : kSignatures)
        if (size >= s.size && std::memcmp(first, s.bytes, s.size) == 0) return &s;
    // WebP's signature is split by the file's length.
    static constexpr Signature kWebP{"RIFF", 4, "WebP", nullptr};
    if (size >= 12 && std::memcmp(first, "RIFF", 4) == 0 && std::memcmp(first + 8, "WEBP", 4) == 0) return &kWebP;
    return nullptr;
}

Outcome<Document> ReadAnyFormat(const std::string& path) {
    using Result = Outcome<Document>;
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
    return signature->read(path);
}

}  // namespace

Outcome<Document> ReadImage(const std::string& path, std::optional<int> depth) {
    Outcome<Document> read = ReadAnyFormat(path);
    // Another depth costs a second copy while it converts.
    if (read.ok() && depth && *depth != read.value.Depth()) {
        if (!HasDepth(read.value.Mode(), *depth))
            return Outcome<Document>::Failure(path + ": a " + ModeName(read.value.Mode()) + " image is 8 or 16 bits, not " +
                                              std::to_string(*depth));
        read.value = ConvertDepth(read.value, *depth);
    }
    return read;
}

}  // namespace gridsmith::hosting
