// The property list and terminology bytes, written out by hand from the host's
// resource formats, against what the builders produce.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resources/resource_builder.h"

namespace {

using gridsmith::resources::BuildAete;
using gridsmith::resources::BuildPipl;

// String literals keep embedded zeros when their size is given explicitly.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

std::string AsString(const std::vector<uint8_t>& bytes, size_t offset, size_t size) {
    if (offset > bytes.size() || size > bytes.size() - offset) return "<out of range>";
    return std::string(bytes.begin() + offset, bytes.begin() + offset + size);
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
    return uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 |
           uint32_t(bytes[offset + 2]) << 16 | uint32_t(bytes[offset + 3]) << 24;
}

TEST(Pipl, HeaderCountsTwelvePropertiesAndTotalLengthIsExact) {
    std::vector<uint8_t> pipl = BuildPipl();
    EXPECT_EQ(AsString(pipl, 0, 10), Bytes("\x01\x00" "\0\0\0\0" "\x0C\0\0\0"));
    // Header, twelve 16-byte property heads, and the data lengths below.
    EXPECT_EQ(pipl.size(), 10u + 12 * 16 + 360);
}

TEST(Pipl, PropertiesInOrderWithPaddedLengthsAndData) {
    struct Expected {
        const char* key;  // as stored: characters reversed
        uint32_t length;
        std::string data;
    };
    const std::string uuid = "37ce0fb1-7067-425f-8f08-555a0301d757";
    const std::string enable =
        "in (PSHOP_ImageMode, GrayScaleMode, RGBMode,CMYKMode, HSLMode, HSBMode, "
        "MultichannelMode,DuotoneMode, LabMode,Gray16Mode, RGB48Mode, CMYK64Mode, "
        "Lab48Mode, Gray32Mode, RGB96Mode, CMYK128Mode)";
    ASSERT_EQ(enable.size(), 191u);
    std::string fici;
    for (int i = 0; i < 7; ++i) fici += Bytes("\x04\x04\x07\0");

    const Expected expected[] = {
        {"dnik", 4, "MFB8"},
        {"eman", 12, Bytes("\x09" "Gridsmith" "\0\0")},
        {"gtac", 16, Bytes("\x0B" "Brackenhold" "\0\0\0\0")},
        {"srev", 4, Bytes("\0\0\x04\0")},
        {"tpmc", 16, Bytes("\0\0\0\0" "Gridsmith" "\0\0\0")},
        {"4668", 12, Bytes("PluginMain\0\0")},
        {"edom", 4, Bytes("\x5F\xC0\0\0")},
        {"mtsh", 56, Bytes("\0\0\0\0" "mSrg" "mSrg" "\x80\x3E") + uuid + std::string(6, '\0')},
        {"lbne", 196, enable + std::string(5, '\0')},
        {"23sm", 8, Bytes("\x80\x84\x1E\0" "\x80\x84\x1E\0")},
        {"yllf", 4, Bytes("\x80\0\0\0")},
        {"icif", 28, fici},
    };

    std::vector<uint8_t> pipl = BuildPipl();
    size_t offset = 10;
    for (const Expected& property : expected) {
        SCOPED_TRACE(property.key);
        ASSERT_EQ(property.data.size(), property.length);
        ASSERT_LE(offset + 16, pipl.size());
        EXPECT_EQ(AsString(pipl, offset, 4), "MIB8");
        EXPECT_EQ(AsString(pipl, offset + 4, 4), property.key);
        EXPECT_EQ(U32At(pipl, offset + 8), 0u);
        EXPECT_EQ(U32At(pipl, offset + 12), property.length);
        EXPECT_EQ(AsString(pipl, offset + 16, property.length), property.data);
        offset += 16 + property.length;
    }
    EXPECT_EQ(offset, pipl.size());
}

TEST(Aete, HeaderSuiteAndEventMatchTheHostParsers) {
    std::vector<uint8_t> aete = BuildAete();
    const std::string expected =
        Bytes("\x01\0" "\x01\x00" "\0\0" "\0\0" "\x01\0")              // version, language, script, suites
        + Bytes("\x0B" "Brackenhold" "\x10" "Gridsmith Filter" "mSrg")  // vendor, description, code
        + Bytes("\x01\0" "\x01\0" "\x01\0")                            // level, version, events
        + Bytes("\x09" "Gridsmith" "\x10" "Gridsmith Filter" "mSrg" "mSrg")
        + Bytes("llun" "\0" "\0\0")                                    // no reply
        + Bytes("RmI#" "\0" "\x00\xB0")                                // image direct parameter
        + Bytes("\x15\0");                                             // 21 parameters
    ASSERT_EQ(expected.size(), 100u);
    EXPECT_EQ(AsString(aete, 0, expected.size()), expected);
}

TEST(Aete, FirstAndLastParametersAndTheEmptyTail) {
    std::vector<uint8_t> aete = BuildAete();
    ASSERT_EQ(aete.size(), 780u);  // 100 + 21 parameters (674) + 3 empty counts
    const std::string first = Bytes("\x04" "Rows" "Swor" "gnol" "\x09" "Row Count" "\0\0");
    EXPECT_EQ(AsString(aete, 100, first.size()), first);
    const std::string last = Bytes("\x08" "ColSizes" "Zloc" "TXET" "\x08" "ColSizes" "\0\0");
    const std::string tail = Bytes("\0\0" "\0\0" "\0\0");
    EXPECT_EQ(AsString(aete, aete.size() - last.size() - tail.size(), last.size() + tail.size()),
              last + tail);
}

}  // namespace
