// Random bytes as image files behind the signature of each format the host
// reads (the first byte picks it), so that every reader sees them: reading
// must end in a document or a message, and a document read must be sized
// as its header alone said and come back the same through a TIFF. Documents
// are held to 64 MiB, so that a header's size is refused or taken quickly.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include "host/lib/image_io.h"

namespace {

using namespace gridsmith::hosting;

void Check(bool condition) {
    if (!condition) std::abort();
}

std::string TempPath(const char* name) { return "/tmp/fuzz_image_files_" + std::to_string(getpid()) + name; }

const std::string kSignatures[] = {
    std::string("II*\0", 4), std::string("MM\0*", 4), "\x89PNG\r\n\x1a\n", "\xFF\xD8\xFF", "BM", "P5", "P6",
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetDocumentMemoryLimit({size_t(64) << 20, "the fuzzer"});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string& prefix = kSignatures[data[0] % std::size(kSignatures)];
    const std::string input = TempPath(".in");
    std::FILE* file = std::fopen(input.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(prefix.data(), 1, prefix.size(), file);
    std::fwrite(data + 1, 1, size - 1, file);
    std::fclose(file);

    const Outcome<ImageShape> shape = ProbeImage(input);
    const Outcome<Document> read = ReadImage(input);
    std::remove(input.c_str());
    Check(read.ok() != !read.error.empty());
    if (!read.ok()) return 0;
    const Document& d = read.value;
    // A batch plans its memory by the header: it must size what was read.
    Check(shape.ok() && shape.value.Bytes() == d.Bytes().size());
    Check(d.Width() > 0 && d.Height() > 0 && d.Bytes().size() == d.RowBytes() * size_t(d.Height()));
    const bool floatInk = d.Depth() == 32 && (d.Mode() == ColourMode::Cmyk || d.Mode() == ColourMode::CmykAlpha);
    const std::string tiff = TempPath(".tif");
    Check(WriteImage(d, tiff).empty());
    const Outcome<Document> again = ReadImage(tiff);
    std::remove(tiff.c_str());
    Check(again.ok() && again.value.Mode() == d.Mode() && again.value.Depth() == d.Depth());
    Check(floatInk || again.value.Bytes() == d.Bytes());
    return 0;
}
