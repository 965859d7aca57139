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

// Where the README's pictures go for this scale and language, or nothing.
std::string DocsPath(const std::string& name) {
    const char* dir = std::getenv("GRIDSMITH_SCREENSHOT_DIR");
    if (!dir) return {};
    const int percent = ui::NearestImagePercent(Scale());
    return std::string(dir) + "/" + name + (StartedIn() == ui::UiLanguage::English ? "-en" : "") +
           (percent == 100 ? "" : "-" + std::to_string(percent)) + ".png";
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

// The README's pictures of "显示效果": a table over the landscape as it will be
// painted, with its row colours, dotted grid lines and a dash-dot border.
TEST(AtDisplayScale, TheEffectOverAPictureForTheReadme) {
    const std::string docs = DocsPath("effect-dialog");
    if (docs.empty()) GTEST_SKIP() << "GRIDSMITH_SCREENSHOT_DIR names where the pictures go";
    Document image = Landscape(1200, 800);
    FilterHost host(image);
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        const std::pair<int, const char*> typed[] = {
            {IDC_COLS, "5"},           {IDC_ROWS, "6"},           {IDC_TABLE_WIDTH, "520"},
            {IDC_TABLE_HEIGHT, "300"}, {IDC_LEFT_MARGIN, "80"},   {IDC_TOP_MARGIN, "110"},
            {IDC_BORDER_LINE_SIZE, "6"}, {IDC_GRID_LINE_SIZE, "3"}};
        for (const auto& [id, text] : typed) user.Type(id, text);
        const std::pair<int, const char*> colours[] = {
            {IDC_LINE_COLOR, "1F3864"}, {IDC_FIRST_BACK_COLOR, "C55A11"}, {IDC_BACK_COLOR, "FBE5D6"},
            {IDC_BACK_COLOR2, "FFFFFF"}, {IDC_BACK_OPACITY, "255"}};
        for (const auto& [id, text] : colours) user.SetText(id, text);
        user.Choose(IDC_GRID_LINE_TYPE, 2);
        user.Choose(IDC_BORDER_LINE_TYPE, 3);
        while (ZoomOf(user) > 2 && user.Click(IDC_ZOOM_IN)) {
        }
        user.Tick(IDC_SHOW_EFFECT, true);
        user.Capture(docs);
        user.Tick(IDC_SHOW_EFFECT, false);
        user.Click(IDCANCEL);
    });
    ASSERT_TRUE(report.hostErrors.empty()) << report.Problem();
}

// The About dialog over the parameters dialog (a capture shows the windows it
// owns): its link grows with the scale; the README's picture is cut from it.
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
        user.LeaveWindowOver();
        user.Capture(shot);
        user.EnterWindowOver();
        user.Click(IDOK);
        user.LeaveWindowOver();
        user.Click(IDCANCEL);
    });
    ASSERT_TRUE(report.hostErrors.empty()) << report.Problem();
    const Box offset{about.left - parameters.left + aboutClient.left, about.top - parameters.top + aboutClient.top, 0, 0};
    const Shot picture = Read(shot, offset);
    const int ink = picture.InkHeight({link.left, link.top - 2, link.right, link.bottom + 2});
    EXPECT_GE(ink, scale.Px(12) / 2) << "the link's text";
    EXPECT_LE(ink, scale.Px(14)) << "the link's text";
    if (const std::string docs = DocsPath("about-dialog"); !docs.empty()) {
        const int width = about.right - about.left, height = about.bottom - about.top;
        Document cut(width, height, hosting::ColourMode::Rgb, 8);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int sx = about.left - parameters.left + x, sy = about.top - parameters.top + y;
                if (sx < 0 || sy < 0 || sx >= picture.picture.Width() || sy >= picture.picture.Height()) continue;
                std::copy_n(picture.picture.Pixel(sx, sy), 3, cut.Pixel(x, y));
            }
        EXPECT_EQ(hosting::WriteImage(cut, docs), "");
    }
}

// A table edited by document distances: every drag and pan below moves a
// multiple of 60 document pixels, a whole number of screen pixels at any
// reduction up to 6, so each scale does exactly what 96 DPI does.
struct DocumentSpace {
    DialogUser& user;
    Box thumb{};
    int zoom = 1;
    int viewLeft = 0, viewTop = 0;
    int ruler = 20;

    void Look() {
        const Box preview = user.ItemBox(IDC_PREVIEW_PLACEHOLDER);
        thumb = {preview.left + ruler, preview.top + ruler, preview.right - ruler, preview.bottom - ruler};
        zoom = ZoomOf(user);
    }
    int X(int docX) const { return thumb.left + (docX - viewLeft) / zoom; }
    int Y(int docY) const { return thumb.top + (docY - viewTop) / zoom; }
    // Drags from a screen point by a document distance, a screen pixel a move.
    void Drag(int x, int y, int docDx, int docDy) {
        const int dx = docDx / zoom, dy = docDy / zoom, steps = std::max(std::abs(dx), std::abs(dy));
        user.Press(x, y);
        for (int i = 1; i <= steps; ++i) user.Move(x + dx * i / steps, y + dy * i / steps);
        user.Release(x + dx, y + dy);
    }
    void DragColumnGrip(int docX, int docDx) { Drag(X(docX), thumb.top - ruler / 4, docDx, 0); }
    void DragRowGrip(int docY, int docDy) { Drag(thumb.right + ruler / 4, Y(docY), 0, docDy); }
};

// The grips, a pan with docking, centring, zoom and the help bubble, played in
// document space: the parameters and the drawn table are those of 96 DPI.
TEST(AtDisplayScale, DocumentSpaceActionsEditTheTableAsAt96Dpi) {
    const ui::DisplayScale scale = Scale();
    Document image = WhiteCanvas(600, 450);
    FilterHost host(image);
    std::vector<std::string> texts;
    TipSeen tip;
    Box window, client;
    int clickX = 0, clickY = 0, zoom = 0;
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        DocumentSpace doc{user, {}};
        doc.ruler = scale.Px(20);
        user.Choose(IDC_ROWS, 1);  // two rows, so their grips stand apart at every reduction
        doc.Look();
        zoom = doc.zoom;
        doc.DragColumnGrip(40, 120);    // the table right: margin 160
        doc.DragColumnGrip(160 + 1 + 139, 60);  // the first column wider by 60
        doc.DragColumnGrip(160 + 420, -60);     // the table narrower: 360
        doc.DragRowGrip(20 + 120, 60);          // the table taller: 180
        // A pan of 4 pixels, within the docking reach, snaps back; one of 120
        // document pixels, beyond it, moves the view.
        doc.Drag(doc.X(300), doc.Y(225), 4 * doc.zoom, 0);
        doc.DragColumnGrip(160, 60);            // still where it was: margin 220
        doc.Drag(doc.X(300), doc.Y(225), 0, 120);
        doc.viewTop = -120;
        doc.DragRowGrip(20, 60);                // found where the pan put it: top margin 80
        texts = {user.Text(IDC_LEFT_MARGIN), user.Text(IDC_TOP_MARGIN), user.Text(IDC_TABLE_WIDTH),
                 user.Text(IDC_TABLE_HEIGHT), user.Text(IDC_COL_SIZES), user.Text(IDC_ROW_SIZES)};
        user.Click(IDC_CENTER_TABLE);
        texts.push_back(user.Text(IDC_LEFT_MARGIN));
        texts.push_back(user.Text(IDC_TOP_MARGIN));
        user.Type(IDC_LEFT_MARGIN, texts[6]);  // the same margin typed: the grips placed exactly again
        // At full size a pixel is a pixel whatever the scale.
        while (user.Enabled(IDC_ZOOM_IN)) user.Click(IDC_ZOOM_IN);
        doc.Look();
        doc.viewTop = 0;
        doc.DragColumnGrip(120, -60);           // the centred table's left edge, to 60
        texts.push_back(user.Text(IDC_LEFT_MARGIN));
        texts.push_back(user.Text(IDC_ZOOM_LABEL));
        user.HelpButton();
        clickX = (doc.thumb.left + doc.thumb.right) / 2;
        clickY = (doc.thumb.top + doc.thumb.bottom) / 2;
        user.Release(clickX, clickY);
        tip = user.Tip();
        window = user.WindowBox();
        client = user.ClientBox();
        user.Click(IDOK);
    });
    ASSERT_TRUE(report.Succeeded()) << report.Problem();
    ASSERT_LE(zoom, 6) << "the document fits at a reduction the drags divide";
    EXPECT_EQ(texts, (std::vector<std::string>{"220", "80", "360", "180", "199,79,80", "59,119", "120", "135",
                                               "60", "100.0%"}));
    EXPECT_EQ(tip.text.substr(0, 12), "表格布局");
    EXPECT_EQ(tip.frame.left, window.left + client.left + clickX + scale.Px(-4));
    EXPECT_EQ(tip.frame.top, window.top + client.top + clickY + scale.Px(24));
    EXPECT_TRUE(SameImage(image, SilentRun(*Plugin(),
                                           {"Rows=2", "ColSizes=199,79,80", "RowSizes=59,119", "TableWidth=360",
                                            "TableHeight=180", "LeftMargin=60", "TopMargin=135"},
                                           {}, WhiteCanvas(600, 450))));
}

// The host moves the open dialog to a display of twice the DPI and back, ten
// times: each time the controls, their font and the preview follow, nothing
// the moves made is left, and the table is what it was.
TEST(AtDisplayScale, MovesToADisplayOfAnotherScaleAndBackLeaveTheDialogWhole) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    const DWORD thread = GetCurrentThreadId();
    std::vector<Box> boxes;
    std::vector<std::string> texts;
    GdiObjectKinds before{}, after{};
    int windowsBefore = 0, windowsAfter = 0, rulerAfterMove = 0;
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        HWND dialog = FindWindowW(L"#32770", L"Gridsmith -- by brackenhold");
        const int dpi = ScreenDpi();
        // What the host sends: the new DPI and a frame whose client area is scaled with it.
        auto move = [&](int from, int to) {
            RECT frame, client;
            GetWindowRect(dialog, &frame);
            GetClientRect(dialog, &client);
            const int width = frame.right - frame.left - client.right + ui::Rescaled(client.right, from, to);
            const int height = frame.bottom - frame.top - client.bottom + ui::Rescaled(client.bottom, from, to);
            RECT suggested{frame.left, frame.top, frame.left + width, frame.top + height};
            SendMessageW(dialog, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(to, to), LPARAM(&suggested));
            // Painted whole at once: the window system makes its theme images for a
            // new size at the first paint, which must not fall into the counted moves.
            user.RunOnDialog([](intptr_t d) {
                RedrawWindow(reinterpret_cast<HWND>(d), nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            });
        };
        auto look = [&] {
            for (int id : {IDOK, IDC_PREVIEW_PLACEHOLDER, IDC_GRID_LINE_TYPE, IDC_LINE_COLOR, IDC_ZOOM_LABEL})
                boxes.push_back(user.ItemBox(id));
            texts.push_back(user.Text(IDC_ZOOM_LABEL));
        };
        user.Click(IDC_ZOOM_IN);
        look();
        move(dpi, 2 * dpi);
        look();
        // The preview works at the new scale: grip 0 dragged 20 pixels.
        const Box preview = user.ItemBox(IDC_PREVIEW_PLACEHOLDER);
        rulerAfterMove = ui::Rescaled(ui::ScaleForDpi(dpi).Px(20), dpi, 2 * dpi);
        const int zoom = ZoomOf(user), ruler = rulerAfterMove;
        const int gripX = preview.left + ruler + 40 / zoom, gripY = preview.top + ruler - ruler / 4;
        user.Press(gripX, gripY);
        for (int i = 1; i <= 20; ++i) user.Move(gripX + i, gripY);
        user.Release(gripX + 20, gripY);
        texts.push_back(user.Text(IDC_LEFT_MARGIN));
        move(2 * dpi, dpi);
        look();
        user.HelpButton();
        user.HelpOn(IDC_LINE_COLOR);
        // Counted on the dialog's own thread, between its messages: from another
        // thread a count can fall inside the bubble's paint, which holds two
        // brushes while it draws.
        user.RunOnDialog([&](intptr_t) { before = LiveGdiObjectKinds(); });
        windowsBefore = WindowsOfThread(thread);
        for (int i = 0; i < 10; ++i) {
            move(dpi, 2 * dpi);
            move(2 * dpi, dpi);
        }
        user.RunOnDialog([&](intptr_t) { after = LiveGdiObjectKinds(); });
        windowsAfter = WindowsOfThread(thread);
        look();
        texts.push_back(user.Text(IDC_LEFT_MARGIN));
        texts.push_back(user.Text(IDC_TABLE_WIDTH));
        user.Click(IDOK);
    });
    ASSERT_TRUE(report.Succeeded()) << report.Problem();
    ASSERT_EQ(boxes.size(), 20u);
    for (size_t i = 0; i < 5; ++i) {
        const Box& at1 = boxes[i];
        const Box& at2 = boxes[5 + i];
        EXPECT_NEAR(at2.left, 2 * at1.left, 1) << i;
        EXPECT_NEAR(at2.right, 2 * at1.right, 2) << i;
        EXPECT_NEAR(at2.top, 2 * at1.top, 1) << i;
        EXPECT_EQ(boxes[10 + i].left, at1.left) << i;
        EXPECT_EQ(boxes[10 + i].right, at1.right) << i;
        EXPECT_EQ(boxes[15 + i].top, at1.top) << i;
        EXPECT_EQ(boxes[15 + i].bottom, at1.bottom) << i;
    }
    // The zoom stays, so 20 pixels move the table 20 x zoom document pixels.
    const int zoom = int(std::lround(100.0 / std::stod(texts[0])));
    const std::string margin = std::to_string(40 + 20 * zoom);
    EXPECT_EQ(texts, (std::vector<std::string>{texts[0], texts[0], margin, texts[0], texts[0], margin, "420"}));
    EXPECT_EQ(after.Drawn(), before.Drawn()) << "GDI objects moved by 20 moves: " << KindsMoved(before, after);
    EXPECT_EQ(windowsAfter, windowsBefore);
    EXPECT_TRUE(SameImage(image, SilentRun(*Plugin(), {"LeftMargin=" + margin})));
}

}  // namespace
}  // namespace gridsmith::testing
