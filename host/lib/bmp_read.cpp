// BMP files, read by the host's own code: Windows' info header and its V4
// and V5 successors, and OS/2's core header; 1-, 4- and 8-bit palettes (read
// as RGB), 24-bit BGR, 16- and 32-bit pixels through colour masks; rows
// bottom-up or top-down. A 32-bit file has alpha only when it gives an alpha
// mask. Run-length coding and embedded JPEG or PNG data are refused. Every
// part of the file is checked against its size before it is read, the pixels
// before the document is made; they are then read a row at a time.
#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

#include "host/lib/image_formats.h"
#include "host/lib/input_file.h"

namespace gridsmith::hosting {
namespace {

constexpr uint32_t kFileHeader = 14;
constexpr uint32_t kCoreHeader = 12;  // OS/2's: 16-bit sizes, 3-byte palette entries
constexpr uint32_t kInfoHeaders[] = {kCoreHeader, 40, 52, 56, 108, 124};

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kJpeg = 4, kPng = 5, kAlphaBitFields = 6 };

uint16_t Le16(const uint8_t* at) { return uint16_t(at[0] | at[1] << 8); }
uint32_t Le32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

// One colour's bits in a 16- or 32-bit pixel, scaled to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t full = 0;  // mask >> shift

    bool IsRun() const { return mask != 0 && (full & (full + 1)) == 0; }
    uint8_t From(uint32_t pixel) const { return uint8_t((((pixel & mask) >> shift) * 255 + full / 2) / full); }
};

Channel ChannelOf(uint32_t mask) {
    Channel c{mask, 0, 0};
    if (mask == 0) return c;
    while (!(mask >> c.shift & 1)) ++c.shift;
    c.full = mask >> c.shift;
    return c;
}

struct BmpLayout {
    int64_t width = 0, height = 0;
    bool topDown = false;
    int bits = 0;
    uint32_t compression = kRgb;
    bool alpha = false;
    std::array<Channel, 4> channels;  // red, green, blue, alpha
    uint32_t colours = 0;             // palette entries
    int entryBytes = 4;               // per palette entry
    uint64_t paletteAt = 0, pixelsAt = 0;

    uint64_t RowBytes() const { return (uint64_t(width) * uint64_t(bits) + 31) / 32 * 4; }
};

std::string CompressionProblem(uint32_t compression, int bits) {
    switch (compression) {
    case kRgb:
        if (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32) return {};
        return std::to_string(bits) + "-bit pixels are not read (1, 4, 8, 16, 24 or 32 bits are)";
    case kBitFields:
    case kAlphaBitFields:
        return bits == 16 || bits == 32 ? "" : "colour masks on " + std::to_string(bits) + "-bit pixels are not read";
    case kRle8:
    case kRle4: return "run-length coded BMP files are not read (save them uncompressed)";
    case kJpeg:
    case kPng: return "a BMP holding JPEG or PNG data is not read (save it as .jpg or .png)";
    default: return "BMP compression " + std::to_string(compression) + " is not read";
    }
}

// The fields of an info header of `size` bytes, from its width on.
void ParseInfo(const uint8_t* info, uint32_t size, BmpLayout& layout) {
    if (size == kCoreHeader) {
        layout.width = Le16(info);
        layout.height = Le16(info + 2);
        layout.bits = Le16(info + 6);
        layout.entryBytes = 3;
        return;
    }
    layout.width = int32_t(Le32(info));
    const int64_t height = int32_t(Le32(info + 4));
    layout.topDown = height < 0;
    layout.height = layout.topDown ? -height : height;
    layout.bits = Le16(info + 10);
    layout.compression = Le32(info + 12);
    layout.colours = Le32(info + 28);
}

// Bytes of masks after a 40-byte header, which has no room for them.
uint32_t MasksAfter(uint32_t infoSize, uint32_t compression) {
    if (infoSize != 40) return 0;
    return compression == kBitFields ? 12 : compression == kAlphaBitFields ? 16 : 0;
}

// The colour masks (from the header, or after it) and the palette's size;
// empty when the host reads them.
std::string SetColours(const uint8_t* masks, bool alphaMask, BmpLayout& layout) {
    std::array<uint32_t, 4> values = {0xFF0000, 0x00FF00, 0x0000FF, 0};
    if (layout.bits == 16) values = {0x7C00, 0x03E0, 0x001F, 0};
    if (layout.compression == kBitFields || layout.compression == kAlphaBitFields)
        for (size_t i = 0; i < (alphaMask ? 4u : 3u); ++i) values[i] = Le32(masks + 4 * i);
    for (size_t i = 0; i < 4; ++i) layout.channels[i] = ChannelOf(values[i]);
    layout.alpha = values[3] != 0;
    if (layout.bits > 8 && layout.bits != 24)
        for (size_t i = 0; i < (layout.alpha ? 4u : 3u); ++i)
            if (!layout.channels[i].IsRun()) return "its colour masks are not runs of bits";
    // Direct colours may come with a palette, a hint for displays of few colours.
    const uint32_t most = layout.bits <= 8 ? uint32_t(1) << layout.bits : 0;
    layout.colours = layout.colours == 0 || layout.colours > most ? most : layout.colours;
    return {};
}

// One file row to the document's RGB or RGBA pixels.
void DecodeRow(const uint8_t* from, const BmpLayout& layout, const std::array<uint8_t, 256 * 3>& palette,
               uint8_t* to) {
    const int planes = layout.alpha ? 4 : 3;
    for (int64_t x = 0; x < layout.width; ++x, to += planes) {
        if (layout.bits <= 8) {
            const uint64_t bit = uint64_t(x) * uint64_t(layout.bits);
            const int index = from[bit / 8] >> (8 - layout.bits - int(bit % 8)) & ((1 << layout.bits) - 1);
            for (size_t p = 0; p < 3; ++p) to[p] = palette[size_t(index) * 3 + p];
        } else if (layout.bits == 24) {
            for (int p = 0; p < 3; ++p) to[p] = from[x * 3 + 2 - p];
        } else {
            const uint32_t pixel = layout.bits == 16 ? Le16(from + x * 2) : Le32(from + x * 4);
            for (int p = 0; p < planes; ++p) to[p] = layout.channels[size_t(p)].From(pixel);
        }
    }
}

// Reads the parts of a file in order, each checked against the file's size first.
class Parts {
public:
    Parts(InputFile& file, const std::string& path) : file_(file), path_(path) {}

    // Empty when `count` bytes at `at` were read into `to`.
    std::string Read(uint64_t at, void* to, uint64_t count) {
        if (file_.Size() < at + count) return Truncated(path_, file_.Size(), at + count);
        if (count > 0 && (!file_.Seek(at) || !file_.Read(to, size_t(count))))
            return "cannot read " + path_ + ": read failed";
        return {};
    }

private:
    InputFile& file_;
    const std::string& path_;
};

std::string Refused(const std::string& path, const std::string& problem) { return "cannot read " + path + ": " + problem; }

// The headers and colour masks, each checked against the file's size; empty
// when the host reads the pixels they describe, else why not.
std::string ReadLayout(Parts& parts, const std::string& path, BmpLayout& layout) {
    uint8_t head[kFileHeader + 4];
    if (std::string problem = parts.Read(0, head, sizeof head); !problem.empty()) return problem;
    const uint32_t infoSize = Le32(head + 14);
    if (std::find(std::begin(kInfoHeaders), std::end(kInfoHeaders), infoSize) == std::end(kInfoHeaders))
        return Refused(path, "a BMP info header of " + std::to_string(infoSize) + " bytes is not read");
    std::array<uint8_t, 124 + 16> info{};  // the largest header, or a 40-byte one and its masks
    if (std::string problem = parts.Read(sizeof head, info.data(), infoSize - 4); !problem.empty())
        return problem;
    ParseInfo(info.data(), infoSize, layout);
    layout.pixelsAt = Le32(head + 10);
    if (std::string problem = CompressionProblem(layout.compression, layout.bits); !problem.empty())
        return Refused(path, problem);
    const uint32_t masksAfter = MasksAfter(infoSize, layout.compression);
    if (std::string problem = parts.Read(kFileHeader + infoSize, info.data() + infoSize - 4, masksAfter);
        !problem.empty())
        return problem;
    const bool alphaMask = infoSize >= 56 || masksAfter == 16;
    layout.paletteAt = kFileHeader + infoSize + masksAfter;
    // The masks follow the 40 bytes of the first Windows header, inside a later header or not.
    if (std::string problem = SetColours(info.data() + 36, alphaMask, layout); !problem.empty())
        return Refused(path, problem);
    return {};
}

}  // namespace

Outcome<ImageShape> ProbeBmp(const std::string& path) {
    using Result = Outcome<ImageShape>;
    InputFile file(path);
    if (!file.Problem().empty()) return Result::Failure(file.Problem());
    Parts parts(file, path);
    BmpLayout layout;
    if (std::string problem = ReadLayout(parts, path, layout); !problem.empty()) return Result::Failure(problem);
    const auto side = [](int64_t n) { return uint32_t(std::clamp<int64_t>(n, 0, UINT32_MAX)); };
    return Result::Success({side(layout.width), side(layout.height), layout.alpha ? 4 : 3, 1});
}

Outcome<Document> ReadBmp(const std::string& path) {
    using Result = Outcome<Document>;
    InputFile file(path);
    if (!file.Problem().empty()) return Result::Failure(file.Problem());
    Parts parts(file, path);

    BmpLayout layout;
    if (std::string problem = ReadLayout(parts, path, layout); !problem.empty()) return Result::Failure(problem);

    std::array<uint8_t, 256 * 3> palette{};  // entries the file lacks are black
    std::vector<uint8_t> entries(size_t(layout.colours) * size_t(layout.entryBytes));
    if (std::string problem = parts.Read(layout.paletteAt, entries.data(), entries.size());
        !problem.empty())
        return Result::Failure(problem);
    for (size_t i = 0; i < layout.colours; ++i)
        for (size_t p = 0; p < 3; ++p) palette[i * 3 + p] = entries[i * size_t(layout.entryBytes) + 2 - p];

    // The document refuses sizes beyond the host's; within them, the file's length is checked first.
    const uint64_t rowBytes = layout.RowBytes();
    const auto inRange = [](int64_t side) { return side >= 1 && side <= kMaxDocumentSide; };
    const uint64_t end = layout.pixelsAt + rowBytes * uint64_t(layout.height);
    if (inRange(layout.width) && inRange(layout.height) && file.Size() < end)
        return Result::Failure(Truncated(path, file.Size(), end));
    Result read = Document::Create(int32_t(layout.width), int32_t(std::min<int64_t>(layout.height, INT32_MAX)),
                                   layout.alpha ? ColourMode::RgbAlpha : ColourMode::Rgb, 8, Samples::Unset);
    if (!read.ok()) return Result::Failure(path + ": " + read.error);
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
    if (!file.Seek(layout.pixelsAt)) return Result::Failure(Refused(path, "read failed"));
    for (int64_t i = 0; i < layout.height; ++i) {
        if (!file.Read(row.data(), row.size())) return Result::Failure(Refused(path, "read failed"));
        DecodeRow(row.data(), layout, palette, read.value.Row(int32_t(layout.topDown ? i : layout.height - 1 - i)));
    }
    return read;
}

}  // namespace gridsmith::hosting
