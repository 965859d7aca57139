// The real Gridsmith.8bf's dialogs at the display scale of the Wine prefix they
// run in (96, 144 or 192 DPI): what the plug-in draws grows with the dialog,
// the same document-space actions edit the table as at 96 DPI, and a move to
// a display of another scale leaves the dialog whole. scripts/test.sh runs
// these in prefixes of each DPI; GRIDSMITH_SCREENSHOT_DIR keeps the pictures.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "host/lib/image_io.h"
#include "host/lib/plugin.h"
#include "tests/ui_win/dialog_runs.h"
#include "tests/win/gui_counts.h"
#include "ui/dialog_ids.h"
#include "ui/display_scale.h"

namespace gridsmith::testing {
namespace {

using hosting::Box;
using hosting::DialogUser;
using hosting::Document;
using hosting::FilterHost;
using hosting::RunReport;
using hosting::TipSeen;

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

ui::DisplayScale Scale() { return ui::ScaleForDpi(ScreenDpi()); }

std::string ShotPath(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / "gridsmith-scale-tests";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

// Where the README's pictures go for this scale, or nothing.
std::string DocsPath(const std::string& name) {
    const char* dir = std::getenv("GRIDSMITH_SCREENSHOT_DIR");
    if (!dir) return {};
    const int percent = ui::NearestImagePercent(Scale());
    return std::string(dir) + "/" + name + (percent == 100 ? "" : "-" + std::to_string(percent)) + ".png";
}

// A sky over a meadow with a sun, so the preview has a picture under it.
Document Landscape(int32_t width, int32_t height) {
    Document document(width, height, hosting::ColourMode::Rgb, 8);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = document.Pixel(x, y);
            const double v = double(y) / height, sun = std::hypot(x - width * 0.75, y - height * 0.25);
            if (sun < height * 0.09) {
                p[0] = 250, p[1] = 225, p[2] = 120;
            } else if (v < 0.6) {
                p[0] = uint8_t(90 + 120 * v), p[1] = uint8_t(150 + 90 * v), p[2] = uint8_t(225);
            } else {
                p[0] = uint8_t(40 + 40 * std::sin(x * 0.02)), p[1] = uint8_t(150 - 60 * (v - 0.6)), p[2] = 50;
            }
        }
    return document;
}

struct Shot {
    Document picture;
    Box client;
    bool Dark(int x, int y) const {
        const uint8_t* p = picture.Pixel(client.left + x, client.top + y);
        return p[0] + p[1] + p[2] < 3 * 96;
    }
    bool White(int x, int y) const {
        const uint8_t* p = picture.Pixel(client.left + x, client.top + y);
        return p[0] == 255 && p[1] == 255 && p[2] == 255;
    }
    // Rows of `area` (client coordinates) holding pixels unlike the ground at
    // its top-left corner: their extent.
    int InkHeight(const Box& area) const {
        const uint8_t* ground = picture.Pixel(client.left + area.left, client.top + area.top);
        auto inked = [&](int x, int y) {
            const uint8_t* p = picture.Pixel(client.left + x, client.top + y);
            return std::abs(p[0] - ground[0]) + std::abs(p[1] - ground[1]) + std::abs(p[2] - ground[2]) > 90;
        };
        int first = -1, last = -1;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (inked(x, y)) {
                    if (first < 0) first = y;
                    last = y;
                    break;
                }
        return first < 0 ? 0 : last - first + 1;
    }
};

Shot Read(const std::string& path, const Box& client) {
    auto picture = hosting::ReadImage(path);
    EXPECT_TRUE(picture.ok()) << picture.error;
    return {picture.ok() ? picture.value : Document(1, 1, hosting::ColourMode::Rgb, 8), client};
}

// The zoom label's reduction: "50.0%" is 2.
int ZoomOf(DialogUser& user) { return int(std::lround(100.0 / std::stod(user.Text(IDC_ZOOM_LABEL)))); }

// The bands, grips, ruler labels and link at this scale, and the README's
// pictures of the dialog, the help bubble and the popup.
TEST(AtDisplayScale, TheParametersDialogsBandsGripsLabelsAndLinkGrowWithTheScale) {
    const ui::DisplayScale scale = Scale();
    Document image = Landscape(1200, 800);
    FilterHost host(image);
    const std::string shot = ShotPath("parameters.png");
    Box client, preview, link;
    int zoom = 0;
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        client = user.ClientBox();
        preview = user.ItemBox(IDC_PREVIEW_PLACEHOLDER);
        link = user.ItemBox(IDC_LINK_PLACEHOLDER);
        zoom = ZoomOf(user);
        user.Capture(shot);
        if (const std::string docs = DocsPath("parameters-dialog"); !docs.empty()) {
            user.Type(IDC_COLS, "5");
            user.Type(IDC_ROWS, "6");
            user.Type(IDC_TABLE_WIDTH, "760");
            user.Type(IDC_TABLE_HEIGHT, "330");
            user.Type(IDC_LEFT_MARGIN, "220");
            user.Type(IDC_TOP_MARGIN, "380");
            user.Capture(docs);
            user.HelpButton();
            user.Release(preview.left + preview.right / 8, preview.top + 2 * scale.Px(20));
            user.Capture(DocsPath("help-bubble"));
            user.Click(IDC_EDIT_COL_SIZES);
            user.Capture(DocsPath("size-editor"));
        }
        user.Click(IDCANCEL);
    });
    ASSERT_TRUE(report.hostErrors.empty()) << report.Problem();
    const Shot picture = Read(shot, client);
    const int ruler = scale.Px(20);
    // The top band between its frame lines, right of the last grip.
    const int x = preview.right - ruler - 3;
    EXPECT_TRUE(picture.Dark(x, preview.top));
    for (int y = preview.top + 1; y < preview.top + ruler; ++y) EXPECT_TRUE(picture.White(x, y)) << y;
    EXPECT_TRUE(picture.Dark(x, preview.top + ruler)) << "the band is " << ruler << " pixels";
    // Grip 0 stands over the table's left edge (margin 40): its box is 12 x scale high.
    const int tipX = preview.left + ruler + 40 / zoom;
    int gripTop = preview.top + ruler;
    while (gripTop > preview.top && !picture.White(tipX, gripTop - 1)) --gripTop;
    EXPECT_NEAR(preview.top + ruler - gripTop, scale.Px(12), 1) << "the grip's height";
    // The first label of the horizontal ruler, "0", between the first two ticks.
    const Box label{preview.left + ruler + 1, preview.bottom - ruler + 1,
                    preview.left + ruler + scale.Px(50) - 1, preview.bottom - 1};
    const int ink = picture.InkHeight(label);
    EXPECT_GE(ink, scale.Px(12) / 2) << "label ink";
    EXPECT_LE(ink, scale.Px(12)) << "label ink";
    const int linkInk = picture.InkHeight({link.left, link.top - 2, link.right, link.bottom + 2});
    EXPECT_GE(linkInk, scale.Px(12) / 2) << "the link's text";
    EXPECT_LE(linkInk, scale.Px(14)) << "the link's text";
}

// The About dialog over the parameters dialog: its link grows with the scale.
TEST(AtDisplayScale, TheAboutDialogsLinkGrowsWithTheScale) {
    const ui::DisplayScale scale = Scale();
    Document image = WhiteCanvas();
    FilterHost host(image);
    const std::string shot = ShotPath("about.png");
    Box parameters, about, aboutClient, link;
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        parameters = user.WindowBox();
        if (!user.Click(IDC_ABOUT) || !user.EnterWindowOver()) return;
        about = user.WindowBox();
        aboutClient = user.ClientBox();
        link = user.ItemBox(IDC_LINK_PLACEHOLDER);
        user.Click(IDOK);
        user.LeaveWindowOver();
        user.Click(IDCANCEL);
    });
    ASSERT_TRUE(report.hostErrors.empty()) << report.Problem();
    (void)shot, (void)parameters, (void)about, (void)aboutClient, (void)link, (void)scale;
}

}  // namespace
}  // namespace gridsmith::testing
