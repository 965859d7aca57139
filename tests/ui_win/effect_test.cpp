// The real Gridsmith.8bf's "显示效果" under Wine: with the box checked, each
// picture the preview shows is the picture of the table the values shown
// would draw, read as the preview reads a document; OK draws what the last
// one showed; and showing, hiding and editing the effect ask the host for no
// pixels. The switch is the module's: every test leaves it off.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "host/lib/image_io.h"
#include "host/lib/plugin.h"
#include "tests/ui_win/dialog_runs.h"
#include "ui/dialog_ids.h"

namespace gridsmith::testing {
namespace {

using hosting::Box;
using hosting::DialogUser;
using hosting::Document;
using hosting::FilterHost;
using hosting::RunReport;

// A picture with transparency, different at every pixel.
Document Photo() {
    Document image(800, 600, hosting::ColourMode::RgbAlpha, 8);
    for (int32_t y = 0; y < 600; ++y)
        for (int32_t x = 0; x < 800; ++x) {
            uint8_t* p = image.Pixel(x, y);
            p[0] = uint8_t(7 * x), p[1] = uint8_t(5 * y), p[2] = uint8_t(3 * (x + y)), p[3] = uint8_t(128 + x % 128);
        }
    return image;
}

// The pixel map the preview shows now: its pending paint done first.
struct Map {
    std::vector<uint8_t> samples, mask;
    bool operator==(const Map& o) const { return samples == o.samples && mask == o.mask; }
};

Map ShownMap(DialogUser& user, FilterHost& host) {
    Map map;
    user.RunOnDialog([&](intptr_t dialog) {
        RedrawWindow(reinterpret_cast<HWND>(dialog), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const auto& calls = host.Display().Calls();
        if (calls.empty()) return;
        map.samples = calls.back().samples;
        map.mask = calls.back().mask;
    });
    return map;
}

// The host's pixel reads so far, through channel ports or advanceState.
size_t Reads(DialogUser& user, FilterHost& host) {
    size_t reads = 0;
    user.RunOnDialog([&](intptr_t) { reads = host.Ports().Reads().size() + host.Input().Requests().size(); });
    return reads;
}

// The values the dialog shows, as settings of a run without it (colours in
// a parameter file's order, BBGGRR).
std::vector<std::string> ShownSettings(DialogUser& user) {
    auto text = [&](const char* key, int id) { return std::string(key) + "=" + user.Text(id); };
    auto colour = [&](const char* key, int id) {
        const std::string rgb = user.Text(id);
        return std::string(key) + "=" + rgb.substr(4, 2) + rgb.substr(2, 2) + rgb.substr(0, 2);
    };
    int borders = 0;
    for (auto [id, bit] : {std::pair{IDC_BORDER_LEFT, 1}, std::pair{IDC_BORDER_TOP, 2},
                           std::pair{IDC_BORDER_RIGHT, 4}, std::pair{IDC_BORDER_BOTTOM, 8}})
        if (user.Checked(id)) borders |= bit;
    return {text("Cols", IDC_COLS),
            text("TableWidth", IDC_TABLE_WIDTH),
            text("ColSizes", IDC_COL_SIZES),
            text("Rows", IDC_ROWS),
            text("TableHeight", IDC_TABLE_HEIGHT),
            text("RowSizes", IDC_ROW_SIZES),
            text("LeftMargin", IDC_LEFT_MARGIN),
            text("TopMargin", IDC_TOP_MARGIN),
            text("BorderLineSize", IDC_BORDER_LINE_SIZE),
            "BorderLineType=" + std::to_string(user.Selection(IDC_BORDER_LINE_TYPE)),
            text("GridLineSize", IDC_GRID_LINE_SIZE),
            "GridLineType=" + std::to_string(user.Selection(IDC_GRID_LINE_TYPE)),
            "Borders=" + std::to_string(borders),
            colour("LineColor", IDC_LINE_COLOR),
            text("LineOpaque", IDC_LINE_OPACITY),
            std::string("FillBkGnd=") + (user.Checked(IDC_FILL_BACKGROUND) ? "1" : "0"),
            text("BackOpaque", IDC_BACK_OPACITY),
            colour("FirstBackClr", IDC_FIRST_BACK_COLOR),
            colour("BackClr", IDC_BACK_COLOR),
            colour("BackClr2", IDC_BACK_COLOR2)};
}

using ViewStep = std::function<void(DialogUser&)>;

// One picture the preview showed with the effect: the values shown then,
// and the zoom and pan steps that led to its view.
struct Moment {
    std::string what;
    std::vector<std::string> settings;
    std::vector<ViewStep> view;
    Map map;
};

// The picture the preview shows of `document` without the effect, after
// `view`; unticking the box reads nothing.
Map PlainPicture(Document& document, const std::vector<ViewStep>& view, hosting::RunOptions options) {
    FilterHost host(document);
    host.Display().KeepMaps(true);
    Map map;
    options.dialog.script = [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        const size_t reads = Reads(user, host);
        user.Tick(IDC_SHOW_EFFECT, false);
        ShownMap(user, host);
        EXPECT_EQ(Reads(user, host), reads) << "hiding the effect read the document";
        for (const ViewStep& step : view) step(user);
        map = ShownMap(user, host);
        user.Click(IDCANCEL);
    };
    const RunReport report = host.Run(*Plugin(), options);
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    return map;
}

// A user checks the box, changes a colour, a line type and size, a border
// box, drags a grip, zooms, pans, retypes the width and centres the table,
// in a host that serves the picture as `options` say.
void EachPictureIsTheDrawingOfTheValuesShown(hosting::RunOptions options) {
    const Document original = Photo();
    Document image = original;
    FilterHost host(image);
    host.Display().KeepMaps(true);
    std::vector<Moment> moments;
    std::vector<ViewStep> view;
    Map outline;
    options.dialog.script = [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        outline = ShownMap(user, host);
        auto moment = [&](const std::string& what, bool mayRead, const std::function<void()>& act) {
            const size_t reads = Reads(user, host);
            act();
            moments.push_back({what, ShownSettings(user), view, ShownMap(user, host)});
            if (!mayRead) {
                EXPECT_EQ(Reads(user, host), reads) << what << " read the document";
            }
        };
        const Box thumb = ThumbOf(user);
        moment("switched on", false, [&] { user.Tick(IDC_SHOW_EFFECT, true); });
        moment("a line colour", false, [&] { user.Type(IDC_LINE_COLOR, "C00040"); });
        moment("dotted grid lines 3 wide", false, [&] {
            user.Choose(IDC_GRID_LINE_TYPE, 2);
            user.Type(IDC_GRID_LINE_SIZE, "3");
        });
        moment("no left border", false, [&] { user.Tick(IDC_BORDER_LEFT, false); });
        moment("the table dragged by its grip", false, [&] {
            const int x = thumb.left + 40 / 3, y = thumb.top - 6;
            user.Press(x, y);
            user.Move(x + 10, y + 3);
            user.Release(x + 10, y + 3);
        });
        view.push_back([](DialogUser& u) { u.Click(IDC_ZOOM_IN); });
        moment("a zoom step", true, [&] { view.back()(user); });
        view.push_back([thumb](DialogUser& u) {
            const int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
            u.Press(x, y);
            for (int step = 1; step <= 4; ++step) u.Move(x - 9 * step, y - 6 * step);
            u.Release(x - 36, y - 24);
        });
        moment("a pan", true, [&] { view.back()(user); });
        moment("a wider table", false, [&] { user.Type(IDC_TABLE_WIDTH, "640"); });
        moment("centred", false, [&] { user.Click(IDC_CENTER_TABLE); });
        user.Click(IDOK);
    };
    const RunReport report = host.Run(*Plugin(), options);
    ASSERT_TRUE(report.Succeeded()) << report.Problem();
    ASSERT_EQ(moments.size(), 9u);
    EXPECT_FALSE(moments.front().map == outline) << "the effect did not show";
    EXPECT_FALSE(moments.front().map.mask.empty());

    for (const Moment& m : moments) {
        Document drawn = SilentRun(*Plugin(), m.settings, {}, original);
        EXPECT_TRUE(PlainPicture(drawn, m.view, options) == m.map) << "the picture after " << m.what;
    }
    const Moment& last = moments.back();
    EXPECT_TRUE(SameImage(image, SilentRun(*Plugin(), last.settings, {}, original))) << "OK drew other values";
    EXPECT_TRUE(PlainPicture(image, last.view, options) == last.map) << "OK drew what the last picture did not show";
}

TEST(PreviewEffect, EachPictureIsTheDrawingOfTheValuesShownAndOkDrawsTheLast) {
    EachPictureIsTheDrawingOfTheValuesShown({});
}

TEST(PreviewEffect, SoItIsWithThePictureFromTheHostsSampledInput) {
    hosting::RunOptions options;
    options.offerDocumentInfo = false;
    EachPictureIsTheDrawingOfTheValuesShown(options);
}

// The box stands after edge docking in the tab order, starts unchecked and
// explains itself in help mode.
TEST(PreviewEffect, TheBoxFollowsEdgeDockingAndExplainsItself) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    int next = 0;
    bool checked = true;
    hosting::TipSeen tip;
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        checked = user.Checked(IDC_SHOW_EFFECT);
        user.RunOnDialog([&](intptr_t handle) {
            HWND dialog = reinterpret_cast<HWND>(handle);
            next = GetDlgCtrlID(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDC_DOCK_BORDER), FALSE));
        });
        user.HelpButton();
        user.HelpOn(IDC_SHOW_EFFECT);
        tip = user.Tip();
        user.Click(IDCANCEL);
    });
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    EXPECT_FALSE(checked);
    EXPECT_EQ(next, IDC_SHOW_EFFECT);
    EXPECT_TRUE(tip.visible);
    EXPECT_EQ(tip.text, u8"勾选后，缩略图按表格的实际绘制效果显示表格，包括背景填充、线型、线宽、颜色和不透明度。"
                        u8"取消勾选则重新只显示表格的布局轮廓。");
}

// Without the host's display the system's blit shows the effect: the left
// border in its colour where the outline shows it black.
TEST(PreviewEffect, TheSystemsBlitShowsTheEffectInHostsWithoutADisplay) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    hosting::RunOptions options;
    options.offerDisplayPixels = false;
    const std::string stem = (std::filesystem::temp_directory_path() / "gridsmith-effect-blit-").string();
    Box client, thumb;
    options.dialog.script = [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        client = user.ClientBox();
        thumb = ThumbOf(user);
        user.Type(IDC_BORDER_LINE_SIZE, "9");
        user.Type(IDC_LINE_COLOR, "FF0000");
        user.Capture(stem + "off.png");
        user.Tick(IDC_SHOW_EFFECT, true);
        user.Capture(stem + "on.png");
        user.Tick(IDC_SHOW_EFFECT, false);
        user.Click(IDCANCEL);
    };
    const RunReport report = host.Run(*Plugin(), options);
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    // Thumbnail column 14 shows document column 42, inside the border at 40 to 48.
    for (auto [name, expected] : {std::pair{"off", Rgb{0, 0, 0}}, std::pair{"on", Rgb{255, 0, 0}}}) {
        auto picture = hosting::ReadImage(stem + name + ".png");
        ASSERT_TRUE(picture.ok()) << picture.error;
        const uint8_t* p = picture.value.Pixel(client.left + thumb.left + 14, client.top + thumb.top + 25);
        EXPECT_EQ((Rgb{p[0], p[1], p[2]}), expected) << name;
    }
}

// A hundred openings with the effect shown leave no GDI object, window or
// host buffer behind, and the host's input rate back at 1.0.
TEST(PreviewEffect, RepeatedOpeningsWithTheEffectLeaveNothingBehind) {
    Document image = WhiteCanvas(5000, 5000);
    auto openAndClose = [&image](int i, bool showEffect, bool drawWhole = false) {
        FilterHost host(image);
        const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
            if (!user.WaitForDialog()) return;
            user.Tick(IDC_SHOW_EFFECT, showEffect);
            user.Type(IDC_LINE_COLOR, i % 2 ? "FF0000" : "00FF00");
            ShownMap(user, host);
            if (drawWhole) user.Capture((std::filesystem::temp_directory_path() / "gridsmith-effect.png").string());
            user.Click(i % 2 ? IDOK : IDCANCEL);
        });
        EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
        return report.hostErrors.empty() && host.Buffers().LiveBuffers() == 0 && report.InputRateRestored();
    };
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(openAndClose(i, true, true));
    ExpectOpeningsLeaveNothing("openings with the effect", 100, [&](int i) { return openAndClose(i, true); });
    EXPECT_TRUE(openAndClose(0, false));
}

}  // namespace
}  // namespace gridsmith::testing
