// PNG files through libpng: 8- and 16-bit grey, grey + alpha, RGB and RGBA.
// Reading also takes palettes, low-bit grey and transparency chunks (as
// alpha). libpng reports errors by longjmp, so the functions that call it
// hold nothing that needs destroying; the C++ objects live in their callers.
#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "host/files/replacing_file.h"
#include "host/lib/image_formats.h"
#include "host/lib/input_file.h"
#include "host/lib/sample_rows.h"

namespace gridsmith::hosting {
namespace {

// zlib's own default level. Only the Sub and Up filters are tried: choosing
// among all five takes most of the writing time of a big image, and tables,
// flat runs and repeated rows gain nothing from Average or Paeth.
constexpr int kDefaultLevel = 6;
constexpr int kFilters = PNG_FILTER_SUB | PNG_FILTER_UP;

struct PngError {
    char text[256] = "";
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    auto* error = static_cast<PngError*>(png_get_error_ptr(png));
    std::snprintf(error->text, sizeof error->text, "%s", message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

struct PngHeader {
    png_uint_32 width = 0, height = 0;
    int depth = 8;
    int channels = 0;
    int passes = 1;
};

bool LittleEndianHost() {
    const uint16_t one = 1;
    uint8_t first;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

// Reads the header and asks for 8- or 16-bit grey, grey + alpha, RGB or RGBA rows.
bool ReadHeader(png_structp png, png_infop info, std::FILE* file, PngHeader& header) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_read_info(png, info);
    const int type = png_get_color_type(png, info);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (png_get_bit_depth(png, info) == 16 && LittleEndianHost()) png_set_swap(png);
    header.passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    header.width = png_get_image_width(png, info);
    header.height = png_get_image_height(png, info);
    header.depth = png_get_bit_depth(png, info);
    header.channels = png_get_channels(png, info);
    return true;
}

// Every pass into the document's rows; 16-bit rows become host samples after the last.
bool ReadRows(png_structp png, png_infop info, Document& d, int passes) {
    if (setjmp(png_jmpbuf(png))) return false;
    const size_t samples = size_t(d.Width()) * size_t(d.Planes());
    for (int pass = 0; pass < passes; ++pass)
        for (int32_t y = 0; y < d.Height(); ++y) {
            png_read_row(png, d.Row(y), nullptr);
            if (pass == passes - 1 && d.Depth() == 16)
                ConvertSamples(d.Row(y), SampleKind::FileWord, d.Row(y), SampleKind::HostWord, samples);
        }
    png_read_end(png, info);
    return true;
}

int ColourType(ColourMode mode) {
    switch (mode) {
    case ColourMode::Gray:
    case ColourMode::Duotone: return PNG_COLOR_TYPE_GRAY;
    case ColourMode::GrayAlpha: return PNG_COLOR_TYPE_GRAY_ALPHA;
    case ColourMode::Rgb: return PNG_COLOR_TYPE_RGB;
    default: return PNG_COLOR_TYPE_RGB_ALPHA;
    }
}

void WriteToFile(png_structp png, png_bytep data, size_t size) {
    if (!static_cast<ReplacingFile*>(png_get_io_ptr(png))->Write(data, size)) png_error(png, "write failed");
}

void FlushNothing(png_structp) {}  // the file flushes once, when it is complete

bool WriteRows(png_structp png, png_infop info, ReplacingFile& file, const Document& d, int level, uint8_t* row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &file, &WriteToFile, &FlushNothing);
    png_set_IHDR(png, info, png_uint_32(d.Width()), png_uint_32(d.Height()), d.Depth(), ColourType(d.Mode()),
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, kFilters);
    png_write_info(png, info);
    if (d.Depth() == 16 && LittleEndianHost()) png_set_swap(png);
    const size_t samples = size_t(d.Width()) * size_t(d.Planes());
    for (int32_t y = 0; y < d.Height(); ++y) {
        if (d.Depth() == 8) {
            png_write_row(png, d.Row(y));
            continue;
        }
        ConvertSamples(d.Row(y), SampleKind::HostWord, row, SampleKind::FileWord, samples);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    return true;
}

// libpng's message, or that the file ended before the image did.
std::string ReadProblem(const std::string& path, std::FILE* file, const PngError& error) {
    if (!std::feof(file)) return "cannot read " + path + ": " + error.text;
    std::error_code ignored;
    return EndsEarly(path, std::filesystem::file_size(std::filesystem::u8path(path), ignored));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::FILE* OpenFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(std::filesystem::u8path(path).wstring().c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

Outcome<ImageShape> ProbePng(const std::string& path) {
    using Result = Outcome<ImageShape>;
    File file(OpenFile(path, "rb"));
    if (!file) return Result::Failure("cannot read " + path + ": " + std::strerror(errno));
    PngError error;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, &OnError, &OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    PngHeader header;
    const bool read = info && ReadHeader(png, info, file.get(), header);
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (!read) return Result::Failure("cannot read " + path + ": " + (error.text[0] ? error.text : "out of memory"));
    return Result::Success({header.width, header.height, header.channels, header.depth / 8});
}

Outcome<Document> ReadPng(const std::string& path) {
    using Result = Outcome<Document>;
    File file(OpenFile(path, "rb"));
    if (!file) return Result::Failure("cannot read " + path + ": " + std::strerror(errno));
    PngError error;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, &OnError, &OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    Result result = Result::Failure("cannot read " + path + ": out of memory");
    PngHeader header;
    if (!info) {
    } else if (!ReadHeader(png, info, file.get(), header)) {
        result.error = ReadProblem(path, file.get(), error);
    } else if (header.width > png_uint_32(kMaxDocumentSide) || header.height > png_uint_32(kMaxDocumentSide)) {
        result.error = path + ": image size " + std::to_string(header.width) + "x" + std::to_string(header.height) +
                       " is larger than the host takes";
    } else if ((header.depth != 8 && header.depth != 16) || header.channels < 1 || header.channels > 4) {
        result.error = "cannot read " + path + ": unexpected PNG layout";
    } else {
        result = Document::Create(int32_t(header.width), int32_t(header.height), ModeForChannels(header.channels),
                                  header.depth, Samples::Unset);
        if (!result.ok()) {
            result.error = path + ": " + result.error;
        } else if (!ReadRows(png, info, result.value, header.passes)) {
            result = Result::Failure(ReadProblem(path, file.get(), error));
        }
    }
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return result;
}

std::string WritePng(const Document& d, const std::string& path, const WriteOptions& options) {
    ReplacingFile file(path);
    if (!file.ok()) return file.Failure({});
    PngError error;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, &OnError, &OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<uint8_t> row(d.Depth() == 16 ? d.RowBytes() : 0);
    const int level = options.compression < 0 ? kDefaultLevel : options.compression;
    const bool written = info && WriteRows(png, info, file, d, level, row.data());
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return written ? file.Commit() : file.Failure(error.text);
}

}  // namespace gridsmith::hosting
