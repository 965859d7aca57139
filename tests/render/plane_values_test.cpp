#include "render/plane_values.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace gridsmith {
namespace {

using Components = std::array<int, 4>;

// Colours stored 0x00BBGGRR: the default line colour (149, 179, 215) and others.
constexpr uint32_t kLine = 0xD7B395;
constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0, kRed = 0x0000FF, kGrey = 0x808080;

Components Of(const SpaceColour& c) { return {c.c[0], c.c[1], c.c[2], c.c[3]}; }
Components BuiltIn(ColourSpace space, uint32_t colour) { return Of(BuiltInColour(space, colour)); }

// Values worked out apart from the code, from the published formulas (the
// whole runs check the default table's other colours in every mode).
TEST(BuiltInColour, KnownColoursInEverySpace) {
    EXPECT_EQ(BuiltIn(ColourSpace::Rgb, kLine), (Components{149, 179, 215, 0}));

    EXPECT_EQ(BuiltIn(ColourSpace::Gray, kLine)[0], 174);  // not the red component, 149
    EXPECT_EQ(BuiltIn(ColourSpace::Gray, kWhite)[0], 255);
    EXPECT_EQ(BuiltIn(ColourSpace::Gray, kBlack)[0], 0);
    EXPECT_EQ(BuiltIn(ColourSpace::Gray, kRed)[0], 76);
    EXPECT_EQ(BuiltIn(ColourSpace::Multichannel, kLine), BuiltIn(ColourSpace::Gray, kLine));

    EXPECT_EQ(BuiltIn(ColourSpace::Cmyk, kLine), (Components{177, 212, 255, 215}));
    EXPECT_EQ(BuiltIn(ColourSpace::Cmyk, kWhite), (Components{255, 255, 255, 255}));  // no ink
    EXPECT_EQ(BuiltIn(ColourSpace::Cmyk, kBlack), (Components{255, 255, 255, 0}));    // black ink only
    EXPECT_EQ(BuiltIn(ColourSpace::Cmyk, kGrey), (Components{255, 255, 255, 128}));
    EXPECT_EQ(BuiltIn(ColourSpace::Cmyk, kRed), (Components{255, 0, 0, 255}));

    // L* 71.64, a* -4.26, b* -21.81: a light blue, not the orange of R, G, B read as L, a, b.
    EXPECT_EQ(BuiltIn(ColourSpace::Lab, kLine), (Components{183, 124, 106, 0}));
    EXPECT_EQ(BuiltIn(ColourSpace::Lab, kWhite), (Components{255, 128, 128, 0}));
    EXPECT_EQ(BuiltIn(ColourSpace::Lab, kBlack), (Components{0, 128, 128, 0}));
    EXPECT_EQ(BuiltIn(ColourSpace::Lab, kGrey), (Components{137, 128, 128, 0}));
    EXPECT_EQ(BuiltIn(ColourSpace::Lab, kRed), (Components{138, 209, 198, 0}));  // 54.29, 80.81, 69.89
}

struct Counts {
    int16_t layer, transparency, masks, inverted, nonLayer;
};

struct LayoutCase {
    const char* what;
    int16_t mode;
    int16_t planes;
    Counts out, in;
    ColourSpace space;
    int32_t colourPlanes;
    bool transparency;
};

host::FilterRecord RecordFor(int16_t mode, int16_t planes, const Counts& out = {}, const Counts& in = {}) {
    host::FilterRecord r{};
    r.imageMode = mode;
    r.planes = planes;
    r.outLayerPlanes = out.layer;
    r.outTransparencyMask = out.transparency;
    r.outLayerMasks = out.masks;
    r.outInvertedLayerMasks = out.inverted;
    r.outNonLayerPlanes = out.nonLayer;
    r.inLayerPlanes = in.layer;
    r.inTransparencyMask = in.transparency;
    r.inLayerMasks = in.masks;
    r.inInvertedLayerMasks = in.inverted;
    r.inNonLayerPlanes = in.nonLayer;
    return r;
}

TEST(PlaneLayout, ColourPlanesFromTheModeTransparencyFromTheCountsOrThePlanes) {
    using host::plugInModeRGBColor, host::plugInModeRGB48, host::plugInModeRGB96;
    const ColourSpace rgb = ColourSpace::Rgb, gray = ColourSpace::Gray, cmyk = ColourSpace::Cmyk,
                      lab = ColourSpace::Lab, multi = ColourSpace::Multichannel;
    const LayoutCase cases[] = {
        {"flat RGB", plugInModeRGBColor, 3, {}, {}, rgb, 3, false},
        {"RGB layer", plugInModeRGBColor, 4, {}, {}, rgb, 3, true},
        {"RGB layer, counted", plugInModeRGB48, 4, {3, 1, 0, 0, 0}, {}, rgb, 3, true},
        {"flat RGB and an alpha channel, counted", plugInModeRGBColor, 4, {0, 0, 0, 0, 4}, {}, rgb, 3, false},
        {"flat RGB and two alpha channels", plugInModeRGB96, 5, {}, {}, rgb, 3, false},
        {"RGB layer with a mask, counted", plugInModeRGBColor, 5, {3, 1, 1, 0, 0}, {}, rgb, 3, true},
        {"only the input counted", plugInModeRGBColor, 5, {}, {3, 1, 1, 0, 0}, rgb, 3, true},
        {"one channel targeted", plugInModeRGBColor, 1, {}, {}, rgb, 1, false},
        {"flat grey", host::plugInModeGrayScale, 1, {}, {}, gray, 1, false},
        {"grey layer", host::plugInModeGray16, 2, {}, {}, gray, 1, true},
        {"grey layer, counted", host::plugInModeGray32, 2, {1, 1, 0, 0, 0}, {}, gray, 1, true},
        {"flat grey and an alpha channel, counted", host::plugInModeGrayScale, 2, {0, 0, 0, 0, 2}, {}, gray, 1, false},
        {"duotone", host::plugInModeDuotone, 1, {}, {}, gray, 1, false},
        {"duotone layer", host::plugInModeDuotone16, 2, {}, {}, gray, 1, true},
        {"flat CMYK", host::plugInModeCMYKColor, 4, {}, {}, cmyk, 4, false},
        {"flat CMYK, counted", host::plugInModeCMYK64, 4, {0, 0, 0, 0, 4}, {}, cmyk, 4, false},
        {"CMYK layer", host::plugInModeCMYKColor, 5, {}, {}, cmyk, 4, true},
        {"CMYK layer, counted", host::plugInModeCMYK64, 5, {4, 1, 0, 0, 0}, {}, cmyk, 4, true},
        {"flat Lab", host::plugInModeLabColor, 3, {}, {}, lab, 3, false},
        {"Lab layer", host::plugInModeLab48, 4, {3, 1, 0, 0, 0}, {}, lab, 3, true},
        {"multichannel", host::plugInModeMultichannel, 3, {}, {}, multi, 3, false},
        {"multichannel has no layers", host::plugInModeDeepMultichannel, 4, {0, 1, 0, 0, 3}, {}, multi, 4, false},
        {"a mode hosts do not filter", host::plugInModeHSBColor, 4, {}, {}, rgb, 3, true},
        {"no planes", plugInModeRGBColor, -2, {}, {}, rgb, 0, false},
        {"counted transparency past the planes", plugInModeRGBColor, 3, {3, 1, 0, 0, 0}, {}, rgb, 3, false},
    };
    for (const LayoutCase& c : cases) {
        const PlaneLayout layout = PlaneLayoutOf(RecordFor(c.mode, c.planes, c.out, c.in));
        EXPECT_EQ(int(layout.space), int(c.space)) << c.what;
        EXPECT_EQ(layout.colourPlanes, c.colourPlanes) << c.what;
        EXPECT_EQ(layout.transparency, c.transparency) << c.what;
    }
}

TEST(PixelVector, DepthsOfEachSpace) {
    // Lab's a and b keep their neutral exact at 16 bits; L and the opacity scale to 32768.
    const PixelVector lab = MakePixelVector({ColourSpace::Lab, 3, true}, {{255, 128, 0, 0}}, 128);
    EXPECT_EQ(lab.planes, 4);
    EXPECT_EQ((std::vector<int>(lab.v16, lab.v16 + 4)), (std::vector<int>{32768, 16384, 0, 16448}));
    EXPECT_EQ(MakePixelVector({ColourSpace::Lab, 3, false}, {{0, 255, 1, 0}}, 0).v16[1], 32640);

    // 32-bit grey and RGB hold linear light; the opacity is not linearised.
    const PixelVector grey = MakePixelVector({ColourSpace::Gray, 1, true}, {{128, 0, 0, 0}}, 128);
    EXPECT_NEAR(grey.v32[0], 0.21586050f, 1e-7);
    EXPECT_EQ(grey.v32[1], 128.0f / 255.0f);
    EXPECT_EQ(MakePixelVector({ColourSpace::Rgb, 3, false}, {{0, 255, 10, 0}}, 0).v32[0], 0.0f);
    EXPECT_EQ(MakePixelVector({ColourSpace::Rgb, 3, false}, {{0, 255, 10, 0}}, 0).v32[1], 1.0f);
    EXPECT_NEAR(MakePixelVector({ColourSpace::Rgb, 3, false}, {{0, 255, 10, 0}}, 0).v32[2], 10 / 255.0 / 12.92, 1e-8);
    // Inks are not light: no linearising.
    EXPECT_EQ(MakePixelVector({ColourSpace::Cmyk, 4, false}, {{51, 0, 0, 0}}, 0).v32[0], 0.2f);

    // Multichannel: every channel the grey value; no transparency, however many.
    const PixelVector multi = MakePixelVector({ColourSpace::Multichannel, 6, false}, {{90, 1, 2, 3}}, 200);
    EXPECT_EQ(multi.planes, 6);
    EXPECT_EQ((std::vector<int>(multi.v8, multi.v8 + 6)), (std::vector<int>(6, 90)));

    // CMYK with transparency: the opacity in plane 4, not in the black plane.
    const PixelVector ink = MakePixelVector({ColourSpace::Cmyk, 4, true}, {{1, 2, 3, 4}}, 77);
    EXPECT_EQ((std::vector<int>(ink.v8, ink.v8 + ink.planes)), (std::vector<int>{1, 2, 3, 4, 77}));
}

// A host's colour services: what each call handed it, and its answer.
struct FakeServices {
    static std::vector<host::ColorServicesInfo> calls;
    static host::OSErr result;
    static int16_t answer[4];

    static host::OSErr Convert(host::ColorServicesInfo* info) {
        calls.push_back(*info);
        if (result == host::noErr) std::memcpy(info->colorComponents, answer, sizeof answer);
        return result;
    }
    FakeServices(host::OSErr r, Components a) {
        calls.clear();
        result = r;
        for (int k = 0; k < 4; ++k) answer[k] = int16_t(a[size_t(k)]);
    }
};
std::vector<host::ColorServicesInfo> FakeServices::calls;
host::OSErr FakeServices::result = host::noErr;
int16_t FakeServices::answer[4] = {};

TEST(DocumentColour, TheHostsAnswerWhenItConverts) {
    const FakeServices host(host::noErr, {10, 300, -5, 40});
    EXPECT_EQ(Of(DocumentColour(ColourSpace::Cmyk, kLine, &FakeServices::Convert)), (Components{10, 255, 0, 40}));
    ASSERT_EQ(host.calls.size(), 1u);
    const host::ColorServicesInfo& call = host.calls[0];
    EXPECT_EQ(call.infoSize, 56);
    EXPECT_EQ(call.selector, host::plugIncolorServicesConvertColor);
    EXPECT_EQ(call.sourceSpace, host::plugIncolorServicesRGBSpace);
    EXPECT_EQ(call.resultSpace, host::plugIncolorServicesCMYKSpace);
    EXPECT_EQ(call.reservedSourceSpaceInfo, nullptr);
    EXPECT_EQ(call.reservedResultSpaceInfo, nullptr);
    EXPECT_EQ(call.reserved, nullptr);
    EXPECT_EQ(call.selectorParameter.pickerPrompt, nullptr);
    EXPECT_EQ((Components{call.colorComponents[0], call.colorComponents[1], call.colorComponents[2], 0}),
              (Components{149, 179, 215, 0}));

    DocumentColour(ColourSpace::Gray, kLine, &FakeServices::Convert);
    DocumentColour(ColourSpace::Lab, kLine, &FakeServices::Convert);
    ASSERT_EQ(host.calls.size(), 3u);
    EXPECT_EQ(host.calls[1].resultSpace, host::plugIncolorServicesGraySpace);
    EXPECT_EQ(host.calls[2].resultSpace, host::plugIncolorServicesLabSpace);
}

TEST(DocumentColour, TheBuiltInConversionWhenTheHostCannot) {
    for (host::OSErr refusal : {host::errPlugInHostInsufficient, host::paramErr, host::userCanceledErr}) {
        const FakeServices host(refusal, {1, 2, 3, 4});
        EXPECT_EQ(Of(DocumentColour(ColourSpace::Lab, kLine, &FakeServices::Convert)), BuiltIn(ColourSpace::Lab, kLine));
        EXPECT_EQ(host.calls.size(), 1u);
    }
    EXPECT_EQ(Of(DocumentColour(ColourSpace::Cmyk, kLine, nullptr)), BuiltIn(ColourSpace::Cmyk, kLine));
    // RGB needs no conversion, and the host has no space for multichannel.
    const FakeServices host(host::noErr, {1, 2, 3, 4});
    EXPECT_EQ(Of(DocumentColour(ColourSpace::Rgb, kLine, &FakeServices::Convert)), BuiltIn(ColourSpace::Rgb, kLine));
    EXPECT_EQ(Of(DocumentColour(ColourSpace::Multichannel, kLine, &FakeServices::Convert))[0], 174);
    EXPECT_TRUE(host.calls.empty());
}

TEST(RunPixels, EachDistinctColourIsConvertedOnce) {
    TableParams params{};
    ApplyDefaultParams(params);
    params.BackClr2 = params.BackClr | 0xFF000000u;  // the same colour: the top byte is no part of it
    host::FilterRecord record = RecordFor(host::plugInModeCMYKColor, 5);
    record.colorServices = &FakeServices::Convert;
    {
        const FakeServices host(host::noErr, {9, 8, 7, 6});
        const RunPixels pixels = MakeRunPixels(record, params);
        EXPECT_TRUE(pixels.Ready);
        EXPECT_EQ(host.calls.size(), 3u);
        EXPECT_EQ((std::vector<int>(pixels.OddRows.v8, pixels.OddRows.v8 + 5)), (std::vector<int>{9, 8, 7, 6, 128}));
        EXPECT_EQ((std::vector<int>(pixels.Line.v8, pixels.Line.v8 + 5)), (std::vector<int>{9, 8, 7, 6, 255}));
    }
    params.FillBkGnd = 0;  // rows are not painted, so their colours are not asked for
    const FakeServices host(host::noErr, {9, 8, 7, 6});
    MakeRunPixels(record, params);
    EXPECT_EQ(host.calls.size(), 1u);
}

}  // namespace
}  // namespace gridsmith
