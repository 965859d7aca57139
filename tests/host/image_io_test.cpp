// Image files: what each format holds, how 16-bit samples map to the host's
// 0..32768 range and back, and clear refusals for everything else.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "host/lib/image_io.h"

namespace gridsmith::hosting {
namespace {

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("gridsmith_io_" + name)).string();
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

Document Gradient(ColourMode mode, int depth) {
    Document d(5, 3, mode, depth);
    for (int32_t y = 0; y < d.Height(); ++y)
        for (int32_t x = 0; x < d.Width(); ++x)
            for (int p = 0; p < d.Planes(); ++p)
                d.SetSample(x, y, p, FromEightBit(uint8_t(x * 50 + y * 7 + p * 3), depth));
    return d;
}

TEST(ImageFiles, PngKeepsEightBitSamplesOfOneToFourChannels) {
    for (ColourMode mode : {ColourMode::Gray, ColourMode::GrayAlpha, ColourMode::Rgb, ColourMode::RgbAlpha}) {
        const Document original = Gradient(mode, 8);
        const std::string path = TempPath(std::string(ModeName(mode)) + ".png");
        ASSERT_EQ(WriteImage(original, path), "");
        const Outcome<Document> read = ReadImage(path);
        ASSERT_TRUE(read.ok()) << read.error;
        EXPECT_EQ(read.value.Mode(), mode);
        EXPECT_EQ(read.value.Bytes(), original.Bytes()) << ModeName(mode);
        std::remove(path.c_str());
    }
}

TEST(ImageFiles, SixteenBitPngReadsIntoTheHostRange) {
    // 3x1 RGB, 16 bits: (65535, 0, 32768), (0, 65535, 0), (1, 2, 3).
    const unsigned char png[] = {
        0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00,
        0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x10, 0x02, 0x00, 0x00, 0x00, 0xc4, 0x12, 0x5f, 0xa0, 0x00,
        0x00, 0x00, 0x19, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xff, 0x9f, 0x81, 0xa1, 0x81, 0x81,
        0x81, 0x01, 0x44, 0x33, 0x30, 0x32, 0x30, 0x31, 0x30, 0x03, 0x00, 0x3c, 0xeb, 0x04, 0x83, 0x80, 0x7b,
        0x6f, 0xcf, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
    const std::string path = TempPath("sixteen.png");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png), sizeof png);
    const Outcome<Document> read = ReadImage(path);
    ASSERT_TRUE(read.ok()) << read.error;
    const Document& d = read.value;
    EXPECT_EQ(d.Depth(), 16);
    EXPECT_EQ(d.Mode(), ColourMode::Rgb);
    EXPECT_EQ(d.Sample(0, 0, 0), 32768);
    EXPECT_EQ(d.Sample(0, 0, 1), 0);
    EXPECT_EQ(d.Sample(0, 0, 2), 16384);
    EXPECT_EQ(d.Sample(1, 0, 1), 32768);
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
    EXPECT_EQ(bytes.substr(header.size(), 2), "\xFF\xFF");            // 32768 -> 65535, big-endian
    EXPECT_EQ(bytes.substr(header.size() + 18, 2), std::string("\x80\x00", 2));  // 16384 -> 32768
    std::remove(path.c_str());
}

TEST(ImageFiles, PfmWritesFloatRowsBottomUp) {
    Document d(1, 2, ColourMode::Gray, 32);
    d.SetSample(0, 0, 0, 1.0);   // top
    d.SetSample(0, 1, 0, 0.5);   // bottom
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
    EXPECT_NE(WriteImage(Document(2, 2, ColourMode::Cmyk, 8), path + ".png").find(".pam"), std::string::npos);
    EXPECT_NE(WriteImage(Document(2, 2, ColourMode::Rgb, 16), path + ".png"), "");
    EXPECT_NE(WriteImage(Document(2, 2, ColourMode::RgbAlpha, 32), path + ".pfm"), "");
    EXPECT_NE(WriteImage(Document(2, 2, ColourMode::Rgb, 32), path + ".pam"), "");
    EXPECT_NE(WriteImage(Document(2, 2, ColourMode::Rgb, 8), path + ".pgm"), "");
    EXPECT_NE(WriteImage(Document(2, 2, ColourMode::Rgb, 8), path + ".tiff").find("unknown image format"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path + ".png"));
}

TEST(ImageFiles, UnreadableInputIsAnError) {
    EXPECT_FALSE(ReadImage(TempPath("does-not-exist.png")).ok());
    const std::string path = TempPath("garbage.png");
    std::ofstream(path) << "not an image";
    const Outcome<Document> read = ReadImage(path);
    EXPECT_FALSE(read.ok());
    EXPECT_NE(read.error.find(path), std::string::npos);
    std::remove(path.c_str());
}

}  // namespace
}  // namespace gridsmith::hosting
