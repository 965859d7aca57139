// The PIPL parser reads untrusted bytes: well-formed lists give the filter's
// kind, name and entry point; anything cut short or garbled gives an error.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "host/lib/pipl.h"
#include "plugin/host_abi.h"
#include "resources/resource_builder.h"

namespace gridsmith::hosting {
namespace {

using host::FourCC;

class PiplBytes {
public:
    explicit PiplBytes(int32_t count) {
        Word(1);
        Long(0);
        Long(uint32_t(count));
    }
    // `declaredLength` lets a property state its padded or unpadded size.
    PiplBytes& Property(uint32_t key, const std::string& data, uint32_t vendor = FourCC("8BIM"),
                        int declaredLength = -1) {
        Long(vendor);
        Long(key);
        Long(0);
        Long(declaredLength < 0 ? uint32_t(data.size()) : uint32_t(declaredLength));
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        while (bytes_.size() % 4 != 10 % 4) bytes_.push_back(0);  // pad relative to offset 10
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    void Word(uint16_t v) {
        bytes_.push_back(uint8_t(v));
        bytes_.push_back(uint8_t(v >> 8));
    }
    void Long(uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(uint8_t(v >> shift));
    }
    std::vector<uint8_t> bytes_;
};

std::string Code(const char (&text)[5]) {  // stored little-endian: characters reversed
    return std::string{text[3], text[2], text[1], text[0]};
}

Outcome<PiplInfo> Parse(const std::vector<uint8_t>& bytes) { return ParsePipl(bytes.data(), bytes.size()); }

TEST(Pipl, ReadsKindNameAndEntryPoint) {
    PiplBytes pipl(3);
    pipl.Property(FourCC("kind"), Code("8BFM"))
        .Property(FourCC("name"), std::string("\x09Gridsmith", 10))  // unpadded length 10
        .Property(FourCC("8664"), std::string("PluginMain\0\0", 12));  // padded length 12
    const Outcome<PiplInfo> parsed = Parse(pipl.Bytes());
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(FourCCText(parsed.value.kind), "8BFM");
    EXPECT_EQ(parsed.value.name, "Gridsmith");
    EXPECT_EQ(parsed.value.entryPoint, "PluginMain");
    EXPECT_EQ(FilterEntryPoint(parsed.value).value, "PluginMain");
}

TEST(Pipl, SkipsOtherVendorsProperties) {
    PiplBytes pipl(3);
    pipl.Property(FourCC("kind"), Code("8BFM"))
        .Property(FourCC("8664"), std::string("Theirs\0\0", 8), FourCC("ABCD"))
        .Property(FourCC("8664"), std::string("Ours\0\0\0\0", 8));
    EXPECT_EQ(Parse(pipl.Bytes()).value.entryPoint, "Ours");
}

TEST(Pipl, ReadsThePluginsOwnResource) {
    const Outcome<PiplInfo> parsed = Parse(resources::BuildPipl());
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(FilterEntryPoint(parsed.value).value, "PluginMain");
    EXPECT_EQ(parsed.value.name, "Gridsmith");
}

TEST(Pipl, RefusesWhatIsNotAFilter) {
    PiplBytes notFilter(2);
    notFilter.Property(FourCC("kind"), Code("8BAM")).Property(FourCC("8664"), std::string("Main\0\0\0\0", 8));
    const Outcome<std::string> wrongKind = FilterEntryPoint(Parse(notFilter.Bytes()).value);
    EXPECT_NE(wrongKind.error.find("'8BAM'"), std::string::npos) << wrongKind.error;

    PiplBytes noEntry(1);
    noEntry.Property(FourCC("kind"), Code("8BFM"));
    EXPECT_FALSE(FilterEntryPoint(Parse(noEntry.Bytes()).value).ok());
    EXPECT_FALSE(FilterEntryPoint(PiplInfo{}).ok());
}

TEST(Pipl, RefusesBadHeaders) {
    std::vector<uint8_t> version1 = PiplBytes(0).Bytes();
    version1[2] = 1;
    EXPECT_FALSE(Parse(version1).ok());
    std::vector<uint8_t> negativeCount = PiplBytes(-1).Bytes();
    EXPECT_FALSE(Parse(negativeCount).ok());
    EXPECT_FALSE(Parse(PiplBytes(0x7FFFFFFF).Bytes()).ok());  // count far beyond the bytes
    EXPECT_FALSE(ParsePipl(nullptr, 0).ok());
}

TEST(Pipl, RefusesALengthBeyondTheResource) {
    PiplBytes pipl(1);
    pipl.Property(FourCC("8664"), std::string("Main", 4), FourCC("8BIM"), 0x7FFFFFF0);
    EXPECT_FALSE(Parse(pipl.Bytes()).ok());
}

TEST(Pipl, EveryTruncationIsAnErrorOrAShorterList) {
    PiplBytes pipl(3);
    pipl.Property(FourCC("kind"), Code("8BFM"))
        .Property(FourCC("name"), std::string("\x09Gridsmith", 10))
        .Property(FourCC("8664"), std::string("PluginMain", 10));
    const std::vector<uint8_t>& whole = pipl.Bytes();
    for (size_t size = 0; size < whole.size(); ++size) {
        // Exact-size copies, so a sanitizer sees any read past the end.
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + std::ptrdiff_t(size));
        const Outcome<PiplInfo> parsed = Parse(cut);
        if (parsed.ok()) {
            EXPECT_EQ(parsed.value.entryPoint.rfind("PluginMain", 0), 0u) << size;
        }
    }
    // Only the last property's padding may be missing.
    EXPECT_TRUE(Parse(std::vector<uint8_t>(whole.begin(), whole.end() - 2)).ok());
}

TEST(Pipl, GarbageNeverReadsOutOfBounds) {
    std::mt19937 random(20240517);
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> bytes(random() % 96);
        for (uint8_t& b : bytes) b = uint8_t(random());
        if (bytes.size() >= 10 && round % 2) {  // a plausible header gets further
            bytes[2] = bytes[3] = bytes[4] = bytes[5] = 0;
            bytes[6] = uint8_t(random() % 4);
            bytes[7] = bytes[8] = bytes[9] = 0;
        }
        const Outcome<PiplInfo> parsed = Parse(bytes);
        EXPECT_LE(parsed.value.entryPoint.size(), bytes.size());
    }
}

}  // namespace
}  // namespace gridsmith::hosting
