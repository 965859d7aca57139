// Binary PGM and PPM files (P5, P6), read by the host's own code: 8-bit
// samples up to a maxval of 255, 16-bit big-endian ones above it, both
// scaled from the maxval to the host's full range. The header is read and its
// pixels checked against the file's size before the document is made; they
// are then read a row at a time.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "host/lib/image_formats.h"
#include "host/lib/input_file.h"

namespace gridsmith::hosting {
namespace {

// Header numbers of more digits are refused: no real side or maxval has them.
constexpr int kMostDigits = 9;

struct NetpbmHeader {
    int channels = 1;
    uint32_t width = 0, height = 0, maxval = 0;
    uint64_t bytes = 0;  // the header's, up to the pixels

    int SampleBytes() const { return maxval > 255 ? 2 : 1; }
};

// The next number after whitespace and comments; empty `problem` when there is one.
uint32_t ReadNumber(InputFile& file, NetpbmHeader& header, std::string& problem) {
    int c = file.Byte();
    ++header.bytes;
    while (c == '#' || std::isspace(c)) {
        if (c == '#')
            while (c != EOF && c != '\n' && c != '\r') c = file.Byte(), ++header.bytes;
        c = file.Byte();
        ++header.bytes;
    }
    uint32_t value = 0;
    int digits = 0;
    for (; c >= '0' && c <= '9'; c = file.Byte(), ++header.bytes) {
        if (++digits > kMostDigits) {
            problem = "its header has a number of more than " + std::to_string(kMostDigits) + " digits";
            return 0;
        }
        value = value * 10 + uint32_t(c - '0');
    }
    // One whitespace character ends the number; after the maxval, the pixels start.
    if (digits == 0 || !std::isspace(c)) problem = c == EOF ? "its header ends early" : "its header is damaged";
    return value;
}

std::string ReadHeader(InputFile& file, NetpbmHeader& header) {
    char magic[2];
    if (!file.Read(magic, 2)) return "its header ends early";
    if (magic[0] != 'P' || (magic[1] != '5' && magic[1] != '6')) return "not a binary PGM or PPM file";
    header.bytes = 2;
    header.channels = magic[1] == '6' ? 3 : 1;
    std::string problem;
    header.width = ReadNumber(file, header, problem);
    if (problem.empty()) header.height = ReadNumber(file, header, problem);
    if (problem.empty()) header.maxval = ReadNumber(file, header, problem);
    if (problem.empty() && (header.maxval < 1 || header.maxval > 65535))
        problem = "its maxval " + std::to_string(header.maxval) + " is outside 1..65535";
    return problem;
}

// One file row of samples up to `maxval` to the document's, scaled to its full range.
void DecodeRow(const uint8_t* from, const NetpbmHeader& header, size_t samples, uint8_t* to) {
    const uint32_t full = header.SampleBytes() == 1 ? 255 : 32768;
    for (size_t i = 0; i < samples; ++i) {
        const uint32_t raw = header.SampleBytes() == 1 ? from[i] : uint32_t(from[2 * i] << 8 | from[2 * i + 1]);
        const uint32_t value = (std::min(raw, header.maxval) * full + header.maxval / 2) / header.maxval;
        if (full == 255) {
            to[i] = uint8_t(value);
        } else {
            const uint16_t word = uint16_t(value);
            std::memcpy(to + 2 * i, &word, 2);
        }
    }
}

}  // namespace

Outcome<ImageShape> ProbeNetpbm(const std::string& path) {
    using Result = Outcome<ImageShape>;
    InputFile file(path);
    if (!file.Problem().empty()) return Result::Failure(file.Problem());
    NetpbmHeader header;
    if (std::string problem = ReadHeader(file, header); !problem.empty())
        return Result::Failure("cannot read " + path + ": " + problem);
    return Result::Success({header.width, header.height, header.channels, header.SampleBytes()});
}

Outcome<Document> ReadNetpbm(const std::string& path) {
    using Result = Outcome<Document>;
    InputFile file(path);
    if (!file.Problem().empty()) return Result::Failure(file.Problem());
    NetpbmHeader header;
    if (std::string problem = ReadHeader(file, header); !problem.empty())
        return Result::Failure("cannot read " + path + ": " + problem);
    // At most nine digits a side: the sum cannot overflow.
    const uint64_t rowBytes = uint64_t(header.width) * uint64_t(header.channels * header.SampleBytes());
    const uint64_t end = header.bytes + rowBytes * header.height;
    if (header.width > 0 && header.height > 0 && file.Size() < end)
        return Result::Failure(Truncated(path, file.Size(), end));
    const auto side = [](uint32_t n) { return int32_t(std::min<uint32_t>(n, INT32_MAX)); };
    Result read = Document::Create(side(header.width), side(header.height),
                                   header.channels == 3 ? ColourMode::Rgb : ColourMode::Gray, 8 * header.SampleBytes(),
                                   Samples::Unset);
    if (!read.ok()) return Result::Failure(path + ": " + read.error);
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
    const size_t samples = size_t(header.width) * size_t(header.channels);
    for (int32_t y = 0; y < read.value.Height(); ++y) {
        if (!file.Read(row.data(), row.size())) return Result::Failure("cannot read " + path + ": read failed");
        DecodeRow(row.data(), header, samples, read.value.Row(y));
    }
    return read;
}

}  // namespace gridsmith::hosting
