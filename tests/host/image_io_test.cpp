// Image files: every mode and depth each format takes survives a round trip,
// 16-bit samples map between the host's 0..32768 and the files' 0..65535
// exactly both ways, TIFFs, BMPs and PGM/PPMs from other writers read as
// their headers say, and everything else is refused clearly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "host/lib/image_io.h"

namespace gridsmith::hosting {
namespace {

constexpr ColourMode kAllModes[] = {ColourMode::Gray,     ColourMode::GrayAlpha, ColourMode::Rgb,
                                    ColourMode::RgbAlpha, ColourMode::Cmyk,      ColourMode::CmykAlpha,
                                    ColourMode::Lab,      ColourMode::LabAlpha,  ColourMode::Duotone,
                                    ColourMode::Multichannel};

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("gridsmith_io_" + name)).string();
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// Values the plug-in writes, plus odd ones between them.
Document Gradient(ColourMode mode, int depth, int32_t width = 37, int32_t height = 5) {
    Document d(width, height, mode, depth);
    for (int32_t y = 0; y < d.Height(); ++y)
        for (int32_t x = 0; x < d.Width(); ++x)
            for (int p = 0; p < d.Planes(); ++p) {
                const int v = (x * 7 + y * 50 + p * 3) % 256;
                d.SetSample(x, y, p, x % 2 ? FromEightBit(uint8_t(v), depth) : depth == 16 ? (v * 128 + x) % 32769
                                                                            : depth == 32 ? v / 300.0 + 0.001 : v);
            }
    return d;
}

std::string Name(ColourMode mode, int depth) { return std::string(ModeName(mode)) + std::to_string(depth); }

Outcome<Document> RoundTrip(const Document& original, const std::string& extension) {
    const std::string path = TempPath(Name(original.Mode(), original.Depth()) + extension);
    const std::string problem = WriteImage(original, path);
    if (!problem.empty()) return Outcome<Document>::Failure(problem);
    Outcome<Document> read = ReadImage(path);
    std::remove(path.c_str());
    return read;
}

// Files have no duotone: its tone plane is written, and read back, as grey.
ColourMode AsRead(ColourMode mode) { return mode == ColourMode::Duotone ? ColourMode::Gray : mode; }

void ExpectSame(const Document& read, const Document& original, const std::string& what) {
    EXPECT_EQ(read.Width(), original.Width()) << what;
    EXPECT_EQ(read.Mode(), AsRead(original.Mode())) << what;
    EXPECT_EQ(read.Depth(), original.Depth()) << what;
    EXPECT_TRUE(read.Bytes() == original.Bytes()) << what;
}

TEST(ImageFiles, TiffKeepsEverySampleOfEveryModeAndDepth) {
    for (ColourMode mode : kAllModes)
        for (int depth : {8, 16, 32}) {
            if (!HasDepth(mode, depth)) continue;
            const Document original = Gradient(mode, depth);
            const Outcome<Document> read = RoundTrip(original, ".tif");
            ASSERT_TRUE(read.ok()) << read.error;
            const bool floatInk = depth == 32 && (mode == ColourMode::Cmyk || mode == ColourMode::CmykAlpha);
            if (!floatInk) {
                ExpectSame(read.value, original, Name(mode, depth));
                continue;
            }
            // Ink is stored as 1 - v; below 0.5 that rounds to the float grid.
            for (int p = 0; p < original.Planes(); ++p)
                EXPECT_NEAR(read.value.Sample(3, 2, p), original.Sample(3, 2, p), 6e-8) << Name(mode, depth);
        }
}

TEST(ImageFiles, PngKeepsEightAndSixteenBitSamples) {
    for (ColourMode mode : {ColourMode::Gray, ColourMode::GrayAlpha, ColourMode::Rgb, ColourMode::RgbAlpha,
                            ColourMode::Duotone})
        for (int depth : {8, 16}) {
            const Document original = Gradient(mode, depth);
            const Outcome<Document> read = RoundTrip(original, ".png");
            ASSERT_TRUE(read.ok()) << read.error;
            ExpectSame(read.value, original, Name(mode, depth));
        }
}

TEST(ImageFiles, EveryHostSixteenBitValueSurvivesEachFormat) {
    Document every(32769, 1, ColourMode::Gray, 16);
    for (int32_t x = 0; x < every.Width(); ++x) every.SetSample(x, 0, 0, x);
    for (const char* extension : {".tif", ".png", ".pgm"}) {
        const Outcome<Document> read = RoundTrip(every, extension);
        ASSERT_TRUE(read.ok()) << read.error;
        EXPECT_TRUE(read.value.Bytes() == every.Bytes()) << extension;
    }
    const std::string path = TempPath("every.pam");
    ASSERT_EQ(WriteImage(every, path), "");
    const std::string bytes = FileBytes(path);
    const size_t data = bytes.size() - 2 * 32769;
    EXPECT_EQ(bytes.substr(data + 2 * 16384, 2), std::string("\x80\x00", 2));   // the middle
    EXPECT_EQ(bytes.substr(data + 2 * 32768, 2), "\xFF\xFF");                 // full scale
    std::remove(path.c_str());
}

TEST(ImageFiles, RequestedDepthConvertsOnReading) {
    const std::string path = TempPath("depth.png");
    Document eight(2, 1, ColourMode::Rgb, 8);
    eight.SetSample(1, 0, 2, 255);
    ASSERT_EQ(WriteImage(eight, path), "");
    const Outcome<Document> sixteen = ReadImage(path, 16);
    ASSERT_TRUE(sixteen.ok()) << sixteen.error;
    EXPECT_EQ(sixteen.value.Depth(), 16);
    EXPECT_EQ(sixteen.value.Sample(1, 0, 2), 32768);
    EXPECT_EQ(ReadImage(path, 32).value.Sample(1, 0, 2), 1.0);
    std::remove(path.c_str());
}

// Lab's a and b keep 128 as the exact 16-bit midpoint, and Lab has no 32 bits.
TEST(ImageFiles, LabDepthsKeepTheNeutral) {
    Document eight(3, 1, ColourMode::Lab, 8);
    eight.Fill(WhiteOf(ColourMode::Lab));
    eight.SetSample(1, 0, 1, 0);
    eight.SetSample(2, 0, 2, 255);
    const Document sixteen = ConvertDepth(eight, 16);
    EXPECT_EQ(sixteen.Sample(0, 0, 0), 32768);
    EXPECT_EQ(sixteen.Sample(0, 0, 1), 16384);
    EXPECT_EQ(sixteen.Sample(1, 0, 1), 0);
    EXPECT_EQ(sixteen.Sample(2, 0, 2), 32640);
    EXPECT_TRUE(ConvertDepth(sixteen, 8).Bytes() == eight.Bytes());
    Document filled(1, 1, ColourMode::LabAlpha, 16);
    filled.Fill(WhiteOf(ColourMode::LabAlpha));
    EXPECT_EQ(filled.Sample(0, 0, 2), 16384);
    EXPECT_EQ(filled.Sample(0, 0, 3), 32768);

    EXPECT_FALSE(Document::Create(2, 2, ColourMode::Lab, 32).ok());
    EXPECT_FALSE(Document::Create(2, 2, ColourMode::Multichannel, 32).ok());
    const std::string path = TempPath("lab.tif");
    ASSERT_EQ(WriteImage(eight, path), "");
    EXPECT_NE(ReadImage(path, 32).error.find("8 or 16 bits"), std::string::npos);
    std::remove(path.c_str());
}

TEST(ImageFiles, SixteenBitPamScalesToFullRange) {
    Document d(2, 1, ColourMode::CmykAlpha, 16);
    d.SetSample(0, 0, 0, 32768);
    d.SetSample(1, 0, 4, 16384);
    const std::string path = TempPath("cmyka.pam");
    ASSERT_EQ(WriteImage(d, path), "");
    const std::string header = "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 5\nMAXVAL 65535\nTUPLTYPE CMYK_ALPHA\nENDHDR\n";
    const std::string bytes = FileBytes(path);
    ASSERT_EQ(bytes.size(), header.size() + 2 * 5 * 2);
    EXPECT_EQ(bytes.substr(0, header.size()), header);
    EXPECT_EQ(bytes.substr(header.size(), 2), "\xFF\xFF");  // 32768 -> 65535, big-endian
    EXPECT_EQ(bytes.substr(header.size() + 18, 2), std::string("\x80\x00", 2));  // 16384 -> 32768
    std::remove(path.c_str());
}

TEST(ImageFiles, PfmWritesFloatRowsBottomUp) {
    Document d(1, 2, ColourMode::Gray, 32);
    d.SetSample(0, 0, 0, 1.0);  // top
    d.SetSample(0, 1, 0, 0.5);  // bottom
    const std::string path = TempPath("gray.pfm");
    ASSERT_EQ(WriteImage(d, path), "");
    const std::string bytes = FileBytes(path);
    const std::string header = "Pf\n1 2\n-1.0\n";
    ASSERT_EQ(bytes.size(), header.size() + 8);
    EXPECT_EQ(bytes.substr(0, header.size()), header);
    EXPECT_EQ(bytes.substr(header.size()), std::string("\x00\x00\x00\x3f\x00\x00\x80\x3f", 8));
    std::remove(path.c_str());
}

TEST(ImageFiles, RefusesWhatAFormatCannotHold) {
    const std::string path = TempPath("refused");
    const auto refusal = [&](ColourMode mode, int depth, const std::string& extension) {
        return WriteImage(Document(2, 2, mode, depth), path + extension);
    };
    EXPECT_NE(refusal(ColourMode::Cmyk, 8, ".png").find(".tif"), std::string::npos);
    EXPECT_NE(refusal(ColourMode::Rgb, 32, ".png").find(".tif"), std::string::npos);
    EXPECT_NE(refusal(ColourMode::RgbAlpha, 32, ".pfm"), "");
    EXPECT_NE(refusal(ColourMode::Rgb, 16, ".pfm"), "");
    EXPECT_NE(refusal(ColourMode::Rgb, 32, ".pam"), "");
    EXPECT_NE(refusal(ColourMode::Rgb, 8, ".pgm"), "");
    EXPECT_NE(refusal(ColourMode::Cmyk, 8, ".pnm"), "");
    EXPECT_NE(refusal(ColourMode::Rgb, 8, ".jpg").find("unknown image format '.jpg'"), std::string::npos);
    EXPECT_EQ(CheckWritable(ColourMode::CmykAlpha, 32, "x.TIFF"), "");
    EXPECT_NE(refusal(ColourMode::LabAlpha, 8, ".png").find(".tif"), std::string::npos);
    EXPECT_NE(refusal(ColourMode::Multichannel, 16, ".pnm"), "");
    EXPECT_EQ(CheckWritable(ColourMode::Duotone, 16, "x.pgm"), "");
    EXPECT_EQ(CheckWritable(ColourMode::Multichannel, 8, "x.pam"), "");
    for (const char* extension : {".png", ".pfm", ".pam", ".jpg"})
        EXPECT_FALSE(std::filesystem::exists(path + extension)) << extension;
}

// ---- TIFFs as other programs write them -----------------------------------------------

// A TIFF with these tags (type SHORT unless the value needs LONG) and the
// pixels cut into `strips` equal strips.
std::string BuildTiff(bool bigEndian, std::vector<std::pair<uint16_t, std::vector<uint32_t>>> tags,
                      const std::string& pixels, uint32_t strips = 1) {
    std::string out;
    const auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
            out.push_back(char(value >> shift));
        }
    };
    out += bigEndian ? "MM" : "II";
    put(42, 2);
    put(8, 4);
    const uint32_t pixelsAt = 8 + 2 + uint32_t(tags.size() + 2) * 12 + 4;
    uint32_t extraAt = pixelsAt + uint32_t(pixels.size());
    const uint32_t stripBytes = uint32_t(pixels.size()) / strips;
    std::vector<uint32_t> offsets, counts;
    for (uint32_t i = 0; i < strips; ++i) {
        offsets.push_back(pixelsAt + i * stripBytes);
        counts.push_back(stripBytes);
    }
    tags.push_back({273, offsets});  // StripOffsets
    tags.push_back({279, counts});   // StripByteCounts
    std::sort(tags.begin(), tags.end());
    std::string extra;
    put(uint32_t(tags.size()), 2);
    for (const auto& [tag, values] : tags) {
        const bool isLong = tag == 273 || tag == 279 || tag == 256 || tag == 257;
        put(tag, 2);
        put(isLong ? 4 : 3, 2);
        put(uint32_t(values.size()), 4);
        const size_t size = isLong ? 4 : 2;
        if (values.size() * size > 4) {  // out of line
            put(extraAt + uint32_t(extra.size()), 4);
            for (uint32_t v : values)
                for (size_t i = 0; i < size; ++i) {
                    const size_t shift = bigEndian ? 8 * (size - 1 - i) : 8 * i;
                    extra.push_back(char(v >> shift));
                }
            continue;
        }
        for (uint32_t v : values) put(v, isLong ? 4 : 2);
        for (size_t filled = values.size() * (isLong ? 4 : 2); filled < 4; ++filled) out.push_back(0);
    }
    put(0, 4);
    return out + pixels + extra;
}

Outcome<Document> ReadTiffBytes(const std::string& name, const std::string& bytes) {
    const std::string path = TempPath(name + ".tif");
    WriteBytes(path, bytes);
    Outcome<Document> read = ReadImage(path);
    std::remove(path.c_str());
    return read;
}

// Width 2, height 1, and the given samples per pixel, bits and photometric.
std::vector<std::pair<uint16_t, std::vector<uint32_t>>> Tags(uint32_t samples, uint32_t bits, uint32_t photometric) {
    return {{256, {2}}, {257, {1}}, {258, std::vector<uint32_t>(samples, bits)}, {262, {photometric}},
            {277, {samples}}, {278, {1}}};
}

TEST(ImageFiles, ReadsTiffsOfOtherByteOrdersAndLayouts) {
    // Big-endian 16-bit grey: 65535 and 32768.
    Outcome<Document> read = ReadTiffBytes("big-endian", BuildTiff(true, Tags(1, 16, 1), std::string("\xFF\xFF\x80\x00", 4)));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.value.Depth(), 16);
    EXPECT_EQ(read.value.Sample(0, 0, 0), 32768);
    EXPECT_EQ(read.value.Sample(1, 0, 0), 16384);

    // Min-is-white grey reads as brightness.
    read = ReadTiffBytes("min-is-white", BuildTiff(false, Tags(1, 8, 0), std::string("\x00\xFF", 2)));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.value.Sample(0, 0, 0), 255);
    EXPECT_EQ(read.value.Sample(1, 0, 0), 0);

    // RGB in separate planes: all red, then all green, then all blue.
    auto tags = Tags(3, 8, 2);
    tags.push_back({284, {2}});
    read = ReadTiffBytes("planar", BuildTiff(false, tags, "\x10\x11\x20\x21\x30\x31", 3));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.value.Mode(), ColourMode::Rgb);
    EXPECT_EQ(read.value.Sample(1, 0, 0), 0x11);
    EXPECT_EQ(read.value.Sample(0, 0, 2), 0x30);

    // An extra sample without ExtraSamples is taken as alpha; CMYK ink inverts.
    read = ReadTiffBytes("cmyk-extra", BuildTiff(false, Tags(5, 8, 5), std::string("\x00\xFF\x00\x00\x80\x00\x00\x00\x00\x00", 10)));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.value.Mode(), ColourMode::CmykAlpha);
    EXPECT_EQ(read.value.Sample(0, 0, 0), 255);  // no cyan ink
    EXPECT_EQ(read.value.Sample(0, 0, 1), 0);    // full magenta
    EXPECT_EQ(read.value.Sample(0, 0, 4), 0x80);
}

TEST(ImageFiles, ReadsLabAndInkTiffsAsOtherWritersStoreThem) {
    // CIE L*a*b*: a and b signed, in 1/256 units at 16 bits.
    Outcome<Document> read = ReadTiffBytes(
        "cielab16", BuildTiff(false, Tags(3, 16, 8), std::string("\xFF\xFF\x00\x00\x00\x80\x00\x00\x00\x7F\x00\xFF", 12)));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.value.Mode(), ColourMode::Lab);
    EXPECT_EQ(read.value.Sample(0, 0, 0), 32768);
    EXPECT_EQ(read.value.Sample(0, 0, 1), 16384);  // a* 0
    EXPECT_EQ(read.value.Sample(0, 0, 2), 0);      // b* -128
    EXPECT_EQ(read.value.Sample(1, 0, 1), 32640);  // a* 127
    EXPECT_EQ(read.value.Sample(1, 0, 2), 16256);  // b* -1
    read = ReadTiffBytes("cielab8", BuildTiff(false, Tags(4, 8, 8), std::string("\xFF\x00\x80\x40\x00\x7F\x01\xFF", 8)));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.value.Mode(), ColourMode::LabAlpha);
    EXPECT_EQ((std::vector<double>{read.value.Sample(0, 0, 1), read.value.Sample(0, 0, 2), read.value.Sample(1, 0, 1),
                                   read.value.Sample(1, 0, 2)}),
              (std::vector<double>{128, 0, 255, 129}));

    // Three inks (InkSet 2, multi-ink) read as multichannel, inverted like CMYK.
    auto inks = Tags(3, 8, 5);
    inks.push_back({332, {2}});
    read = ReadTiffBytes("three-inks", BuildTiff(false, inks, std::string("\x00\xFF\x80\x01\x02\x03", 6)));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.value.Mode(), ColourMode::Multichannel);
    EXPECT_EQ((std::vector<double>{read.value.Sample(0, 0, 0), read.value.Sample(0, 0, 1), read.value.Sample(0, 0, 2)}),
              (std::vector<double>{255, 0, 127}));
    inks = Tags(4, 8, 5);
    inks.push_back({332, {2}});
    read = ReadTiffBytes("four-inks", BuildTiff(false, inks, std::string(8, '\0')));
    EXPECT_NE(read.error.find("three"), std::string::npos) << read.error;
}

TEST(ImageFiles, RefusesTiffsTheHostCannotHold) {
    const std::string pixels(16, '\0');
    const auto refusal = [&](const std::string& name, std::vector<std::pair<uint16_t, std::vector<uint32_t>>> tags) {
        const Outcome<Document> read = ReadTiffBytes(name, BuildTiff(false, std::move(tags), pixels));
        EXPECT_FALSE(read.ok()) << name;
        return read.error;
    };
    auto associated = Tags(4, 8, 2);
    associated.push_back({338, {1}});
    EXPECT_NE(refusal("associated", associated).find("premultiplied"), std::string::npos);
    auto palette = Tags(1, 8, 3);
    palette.push_back({320, std::vector<uint32_t>(3 * 256, 0)});
    EXPECT_NE(refusal("palette", palette).find("palette"), std::string::npos);
    EXPECT_NE(refusal("twelve-bit", Tags(1, 12, 1)).find("12-bit"), std::string::npos);
    EXPECT_NE(refusal("two-extra", Tags(5, 8, 2)).find("at most one extra"), std::string::npos);
    auto signedSamples = Tags(1, 16, 1);
    signedSamples.push_back({339, {2}});
    EXPECT_NE(refusal("signed", signedSamples).find("unsigned"), std::string::npos);
    auto integer32 = Tags(1, 32, 1);
    EXPECT_NE(refusal("integer32", integer32).find("32-bit integer"), std::string::npos);
}

TEST(ImageFiles, UnreadableInputIsAnErrorNamingTheFile) {
    EXPECT_FALSE(ReadImage(TempPath("does-not-exist.png")).ok());
    for (const std::string& bytes : {std::string("not an image"), std::string("\x89PNG\r\n\x1a\n garbage"),
                                     std::string("II*\0\x08\0\0\0\xFF\xFF", 10),
                                     std::string("P5 4444444444 1 255\n\0", 22)}) {  // beyond any int
        const std::string path = TempPath("garbage");
        WriteBytes(path, bytes);
        const Outcome<Document> read = ReadImage(path);
        EXPECT_FALSE(read.ok());
        EXPECT_NE(read.error.find(path), std::string::npos) << read.error;
        EXPECT_FALSE(ProbeImage(path).ok());
        std::remove(path.c_str());
    }
    // A TIFF whose strip is cut short.
    const std::string whole = BuildTiff(false, Tags(3, 8, 2), std::string(6, 'x'));
    const Outcome<Document> cut = ReadTiffBytes("cut", whole.substr(0, whole.size() - 4));
    EXPECT_FALSE(cut.ok());
}

// A PNG by hand: its chunks with their CRCs, the pixels in a stored
// (uncompressed) zlib stream; no encoder writes palettes with transparency here.
std::string BuildPng(uint32_t width, uint32_t height, uint8_t colourType, const std::vector<std::string>& extraChunks,
                     const std::string& rows) {
    const auto big = [](uint32_t v) {
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    const auto chunk = [&big](const std::string& typeAndData) {
        uint32_t crc = 0xFFFFFFFF;
        for (unsigned char c : typeAndData) {
            crc ^= c;
            for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
        }
        return big(uint32_t(typeAndData.size() - 4)) + typeAndData + big(~crc);
    };
    uint32_t a = 1, b = 0;  // Adler-32
    for (unsigned char c : rows) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    const uint16_t length = uint16_t(rows.size());
    const std::string stored = std::string("\x78\x01\x01", 3) + char(length) + char(length >> 8) + char(~length) +
                               char(uint16_t(~length) >> 8) + rows + big((b << 16) | a);
    std::string png = "\x89PNG\r\n\x1a\n" + chunk("IHDR" + big(width) + big(height) + char(8) + char(colourType) +
                                                   std::string(3, '\0'));
    for (const std::string& extra : extraChunks) png += chunk(extra);
    return png + chunk("IDAT" + stored) + chunk("IEND");
}

// A batch sizes its inputs from their headers before reading them: what the
// header says must be what reading holds, whatever the file's layout.
TEST(ImageFiles, ProbeSizesWhatReadingHolds) {
    std::vector<std::pair<std::string, std::string>> files;  // name, bytes
    for (const auto& [mode, depth, extension] : {std::tuple{ColourMode::GrayAlpha, 16, ".png"},
                                                 std::tuple{ColourMode::RgbAlpha, 8, ".png"},
                                                 std::tuple{ColourMode::CmykAlpha, 16, ".tif"},
                                                 std::tuple{ColourMode::Rgb, 32, ".tif"},
                                                 std::tuple{ColourMode::Rgb, 16, ".ppm"}}) {
        const std::string path = TempPath("probe" + Name(mode, depth) + extension);
        ASSERT_EQ(WriteImage(Gradient(mode, depth), path), "");
        files.push_back({path, FileBytes(path)});
    }
    // Palette colours with a transparent entry read as RGBA, as does RGB in planes.
    files.push_back({TempPath("probe-palette.png"),
                     BuildPng(3, 2, 3, {"PLTE" + std::string(6, '\x40'), "tRNS" + std::string(1, '\0')},
                              std::string("\0\0\1\0\0\1\0\1", 8))});
    auto planes = Tags(3, 8, 2);
    planes.push_back({284, {2}});
    files.push_back({TempPath("probe-planes.tif"), BuildTiff(false, planes, "\x10\x11\x20\x21\x30\x31", 3)});
    for (const auto& [path, bytes] : files) {
        WriteBytes(path, bytes);
        const Outcome<ImageShape> shape = ProbeImage(path);
        const Outcome<Document> read = ReadImage(path);
        ASSERT_TRUE(shape.ok() && read.ok()) << path << ": " << shape.error << read.error;
        EXPECT_EQ(shape.value.Bytes(), read.value.Bytes().size()) << path;
        EXPECT_EQ(shape.value.planes, read.value.Planes()) << path;
        std::remove(path.c_str());
    }
}

// ---- BMP and PGM/PPM as other programs write them ---------------------------------------

std::string Le(uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out.push_back(char(value >> (8 * i)));
    return out;
}

// A BMP with a Windows info header of `infoSize` bytes; the masks go inside
// it, or after a 40-byte one.
std::string Bmp(uint32_t infoSize, int32_t width, int32_t height, int bits, uint32_t compression,
                const std::string& pixels, const std::string& palette = "", const std::vector<uint32_t>& masks = {}) {
    std::string info = Le(infoSize, 4) + Le(uint32_t(width), 4) + Le(uint32_t(height), 4) + Le(1, 2) +
                       Le(uint32_t(bits), 2) + Le(compression, 4) + Le(uint32_t(pixels.size()), 4) + Le(2835, 4) +
                       Le(2835, 4) + Le(uint32_t(palette.size() / 4), 4) + Le(0, 4);
    for (uint32_t mask : masks) info += Le(mask, 4);
    if (infoSize > 40) info.resize(infoSize, '\0');
    const uint32_t offset = uint32_t(14 + info.size() + palette.size());
    return "BM" + Le(offset + uint32_t(pixels.size()), 4) + Le(0, 4) + Le(offset, 4) + info + palette + pixels;
}

Outcome<Document> ReadBytes(const std::string& name, const std::string& bytes) {
    const std::string path = TempPath(name);
    WriteBytes(path, bytes);
    Outcome<Document> read = ReadImage(path);
    std::remove(path.c_str());
    return read;
}

std::vector<double> PixelOf(const Document& d, int32_t x, int32_t y) {
    std::vector<double> samples;
    for (int p = 0; p < d.Planes(); ++p) samples.push_back(d.Sample(x, y, p));
    return samples;
}

TEST(ImageFiles, ReadsBmpsAsTheirHeadersSay) {
    // 24-bit BGR, rows padded to four bytes, bottom-up unless the height is negative.
    const std::string rows = std::string("\1\2\3\4\5\6\0\0\7\x08\x09\x0A\x0B\x0C\0\0", 16);
    Outcome<Document> read = ReadBytes("bgr.bmp", Bmp(40, 2, 2, 24, 0, rows));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.value.Mode(), ColourMode::Rgb);
    EXPECT_EQ(PixelOf(read.value, 0, 1), (std::vector<double>{3, 2, 1}));
    EXPECT_EQ(PixelOf(read.value, 1, 0), (std::vector<double>{12, 11, 10}));
    read = ReadBytes("top-down.bmp", Bmp(40, 2, -2, 24, 0, rows));
    EXPECT_EQ(PixelOf(read.value, 0, 0), (std::vector<double>{3, 2, 1}));

    // Palettes of 1 and 4 bits, high bits first; an index past the palette is black.
    const std::string twoColours = std::string("\0\0\0\0\x30\x20\x10\0", 8);
    read = ReadBytes("one-bit.bmp", Bmp(40, 3, 1, 1, 0, std::string("\xA0\0\0\0", 4), twoColours));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(PixelOf(read.value, 2, 0), (std::vector<double>{0x10, 0x20, 0x30}));
    EXPECT_EQ(PixelOf(read.value, 1, 0), (std::vector<double>{0, 0, 0}));
    read = ReadBytes("four-bit.bmp", Bmp(40, 2, 1, 4, 0, std::string("\x15\0\0\0", 4), twoColours));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(PixelOf(read.value, 0, 0), (std::vector<double>{0x10, 0x20, 0x30}));
    EXPECT_EQ(PixelOf(read.value, 1, 0), (std::vector<double>{0, 0, 0}));

    // 5-6-5 masks after a 40-byte header, scaled to 8 bits.
    read = ReadBytes("565.bmp", Bmp(40, 1, 1, 16, 3, Le(0xF800 | 0x0400 | 0x0010, 2) + Le(0, 2), "",
                                    {0xF800, 0x07E0, 0x001F}));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(PixelOf(read.value, 0, 0), (std::vector<double>{255, 130, 132}));

    // 32 bits: alpha only with an alpha mask.
    read = ReadBytes("alpha.bmp", Bmp(124, 1, 1, 32, 3, "\1\2\3\4", "", {0xFF0000, 0xFF00, 0xFF, 0xFF000000}));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.value.Mode(), ColourMode::RgbAlpha);
    EXPECT_EQ(PixelOf(read.value, 0, 0), (std::vector<double>{3, 2, 1, 4}));
    read = ReadBytes("xrgb.bmp", Bmp(40, 1, 1, 32, 0, "\1\2\3\4"));
    EXPECT_EQ(read.value.Mode(), ColourMode::Rgb);
    EXPECT_EQ(PixelOf(read.value, 0, 0), (std::vector<double>{3, 2, 1}));

    // OS/2's header: 16-bit sides and 3-byte palette entries.
    const std::string core = Le(12, 4) + Le(1, 2) + Le(1, 2) + Le(1, 2) + Le(8, 2);
    const std::string palette = std::string("\0\0\0\x33\x22\x11", 6) + std::string(254 * 3, '\0');
    const uint32_t offset = uint32_t(14 + core.size() + palette.size());
    read = ReadBytes("os2.bmp", "BM" + Le(offset + 4, 4) + Le(0, 4) + Le(offset, 4) + core + palette +
                                    std::string("\1\0\0\0", 4));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(PixelOf(read.value, 0, 0), (std::vector<double>{0x11, 0x22, 0x33}));
}

TEST(ImageFiles, ReadsPgmAndPpmScaledFromTheirMaxval) {
    // Comments, 16-bit samples above maxval 255, a sample past maxval taken as maxval.
    Outcome<Document> read = ReadBytes("ten-bit.pgm", std::string("P5\n# from a scanner\n3 1\n1023\n") +
                                                          std::string("\0\0\x02\x00\x07\xD0", 6));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.value.Depth(), 16);
    EXPECT_EQ(PixelOf(read.value, 0, 0)[0], 0);
    EXPECT_EQ(PixelOf(read.value, 1, 0)[0], 16400);  // 512 of 1023
    EXPECT_EQ(PixelOf(read.value, 2, 0)[0], 32768);
    read = ReadBytes("four-bit.ppm", std::string("P6 1 1 15\n\x0F\x00\x07", 13));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.value.Depth(), 8);
    EXPECT_EQ(PixelOf(read.value, 0, 0), (std::vector<double>{255, 0, 119}));
}

TEST(ImageFiles, RefusesDamagedBmpsAndPgmsByName) {
    const auto refusal = [](const std::string& name, const std::string& bytes) {
        const Outcome<Document> read = ReadBytes(name, bytes);
        EXPECT_NE(read.error.find(TempPath(name)), std::string::npos) << read.error;
        return read.error;
    };
    const std::string pixels(8, '\0');
    EXPECT_NE(refusal("rle.bmp", Bmp(40, 2, 2, 8, 1, pixels)).find("run-length"), std::string::npos);
    EXPECT_NE(refusal("os2v2.bmp", Bmp(64, 2, 2, 24, 0, pixels)).find("64 bytes"), std::string::npos);
    EXPECT_NE(refusal("two-bit.bmp", Bmp(40, 2, 2, 2, 0, pixels)).find("2-bit"), std::string::npos);
    EXPECT_NE(refusal("masks.bmp", Bmp(40, 1, 1, 16, 3, pixels, "", {0xF0F0, 0x0F00, 0x000F})).find("runs of bits"),
              std::string::npos);
    const std::string whole = Bmp(40, 2, 2, 24, 0, std::string(16, '\0'));
    EXPECT_NE(refusal("cut.bmp", whole.substr(0, whole.size() - 1)).find("is truncated: 69 of 70 bytes"),
              std::string::npos);
    EXPECT_NE(refusal("cut-header.bmp", whole.substr(0, 30)).find("is truncated: 30 of 54 bytes"), std::string::npos);
    EXPECT_NE(refusal("wide.bmp", Bmp(40, 400000, 1, 24, 0, std::string(1200000, '\0'))).find("300000"),
              std::string::npos);

    EXPECT_NE(refusal("cut.pgm", std::string("P5 2 2 255\n\0\0\0", 14)).find("is truncated: 14 of 15 bytes"),
              std::string::npos);
    EXPECT_NE(refusal("maxval.pgm", "P5 1 1 70000\n\0\0").find("maxval 70000"), std::string::npos);
    EXPECT_NE(refusal("zero.pgm", "P5 1 1 0\n\0").find("maxval 0"), std::string::npos);
    EXPECT_NE(refusal("header.pgm", "P5 1 1 255").find("ends early"), std::string::npos);
    EXPECT_NE(refusal("letters.pgm", "P5 1 x 255\n\0").find("damaged"), std::string::npos);
}

TEST(ImageFiles, RefusesAnImageOverTheMemoryLimitBeforeReadingIt) {
    const DocumentMemory before = DocumentMemoryLimit();
    SetDocumentMemoryLimit({size_t(1) << 20, "the test"});
    const Outcome<Document> read = ReadBytes("big.pgm", "P5 2000 1000 255\n" + std::string(2000000, '\0'));
    SetDocumentMemoryLimit(before);
    EXPECT_NE(read.error.find("needs 2 MiB; there are 1 MiB for it (the test)"), std::string::npos) << read.error;
}

TEST(ImageFiles, RefusesOtherFormatsNamingThemAndTheFormatsRead) {
    const std::string pam = TempPath("written.pam");
    ASSERT_EQ(WriteImage(Document(1, 1, ColourMode::Rgb, 8), pam), "");
    const std::string wanted = "TIFF, PNG, JPEG, BMP or binary PGM/PPM";
    for (const auto& [bytes, said] : std::vector<std::pair<std::string, std::string>>{
             {FileBytes(pam), "PAM files are not read"},
             {"GIF89a\xFF\xFF\xFF\xFF\xF7\0\0", "GIF files are not read"},
             {std::string("8BPS\0\1", 6), "Photoshop (PSD) files are not read"},
             {std::string("\0\0\x02\0\0\0\0\0\0\0\0\0\1\3\x2A\xCC\x20\x08\0", 19), "not a " + wanted}}) {
        const Outcome<Document> read = ReadBytes("other", bytes);
        EXPECT_NE(read.error.find(said), std::string::npos) << read.error;
        EXPECT_NE(read.error.find(wanted), std::string::npos) << read.error;
    }
    std::remove(pam.c_str());
}

// The header alone sizes a BMP as reading it does, alpha or not.
TEST(ImageFiles, ProbeSizesBmpsAsReadingHolds) {
    for (const auto& [name, bytes] :
         std::vector<std::pair<std::string, std::string>>{
             {"probe-alpha.bmp", Bmp(124, 1, 2, 32, 3, std::string(8, '\1'), "", {0xFF0000, 0xFF00, 0xFF, 0xFF000000})},
             {"probe-xrgb.bmp", Bmp(40, 3, 1, 32, 0, std::string(12, '\1'))},
             {"probe-bgr.bmp", Bmp(40, 2, -2, 24, 0, std::string(16, '\1'))}}) {
        const std::string path = TempPath(name);
        WriteBytes(path, bytes);
        const Outcome<ImageShape> shape = ProbeImage(path);
        const Outcome<Document> read = ReadImage(path);
        ASSERT_TRUE(shape.ok() && read.ok()) << name << ": " << shape.error << read.error;
        EXPECT_EQ(shape.value.Bytes(), read.value.Bytes().size()) << name;
        std::remove(path.c_str());
    }
}

}  // namespace
}  // namespace gridsmith::hosting
