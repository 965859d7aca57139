// The host's preview services against real device state under Wine:
// displayPixels paints into a memory device context, where the thumbnail's
// byte (c, r) lands under both readings, and SetCursor sets the system cursor.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "host/lib/filter_host.h"

namespace gridsmith::hosting {
namespace {

// A 32-bit memory device context of w x h pixels, filled with one colour.
class MemoryCanvas {
public:
    MemoryCanvas(int w, int h) : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        const RECT all{0, 0, w, h};
        HBRUSH grey = CreateSolidBrush(RGB(7, 7, 7));
        FillRect(dc_, &all, grey);
        DeleteObject(grey);
    }
    ~MemoryCanvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

TEST(PreviewDevice, ThumbnailBytesLandAtTheirPlaceInTheDeviceContextUnderBothReadings) {
    constexpr int32_t W = 40, H = 30, RowBytes = 120, PlaneBytes = RowBytes * H;
    std::vector<uint8_t> pixels(size_t(PlaneBytes) * 3);
    for (int32_t r = 0; r < H; ++r)
        for (int32_t c = 0; c < W; ++c) {
            pixels[size_t(r * RowBytes + c)] = uint8_t(c);
            pixels[size_t(PlaneBytes + r * RowBytes + c)] = uint8_t(r);
            pixels[size_t(2 * PlaneBytes + r * RowBytes + c)] = 200;
        }
    host::PSPixelMap map{};
    map.version = 1;
    map.bounds = {0, 0, H, W};
    map.imageMode = 3;
    map.rowBytes = RowBytes;
    map.colBytes = 1;
    map.planeBytes = PlaneBytes;
    map.baseAddr = pixels.data();
    const host::VRect source{1, 1, H - 1, W - 1};
    constexpr int kLeft = 20, kTop = 10;

    Document document(8, 8, ColourMode::Rgb, 8);
    FilterHost host(document);
    for (DisplayReading reading : {DisplayReading::Published, DisplayReading::ReferenceHost}) {
        host.Display().SetReading(reading);
        MemoryCanvas canvas(100, 80);
        ASSERT_EQ(host.Record().displayPixels(&map, &source, kTop + 1, kLeft + 1, canvas.Dc()), host::noErr);
        for (auto [c, r] : {std::pair{1, 1}, std::pair{7, 4}, std::pair{W - 2, H - 2}})
            EXPECT_EQ(GetPixel(canvas.Dc(), kLeft + c, kTop + r), RGB(c, r, 200)) << int(reading);
        EXPECT_EQ(GetPixel(canvas.Dc(), kLeft, kTop), RGB(7, 7, 7));  // the outer ring is not drawn
    }
    EXPECT_EQ(host.Display().Calls().size(), 2u);
}

TEST(PreviewDevice, SetCursorShowsTheSystemCursor) {
    Document document(8, 8, ColourMode::Rgb, 8);
    FilterHost host(document);
    const void* suite = nullptr;
    ASSERT_EQ(host.Record().sSPBasic->AcquireSuite(host::kPSUIHooksSuite, 1, &suite), 0);
    const auto* hooks = static_cast<const host::PSUIHooksSuite1*>(suite);
    hooks->SetCursor(host::kPICursorHand);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    hooks->SetCursor(host::kPICursorGrab);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZEALL));
    host.Record().sSPBasic->ReleaseSuite(host::kPSUIHooksSuite, 1);
}

}  // namespace
}  // namespace gridsmith::hosting
