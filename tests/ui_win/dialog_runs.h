// Filter runs whose parameters dialog a scripted user answers, and silent runs
// to compare them with. Scripts only look and act; the tests check what they
// saw after the run, on the test's own thread.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "host/descriptors/scripting_session.h"
#include "host/lib/filter_host.h"
#include "host/lib/plugin.h"
#include "tests/win/gui_counts.h"
#include "ui/dialog_ids.h"
#include "ui/ui_language.h"

namespace gridsmith::testing {

// The built Gridsmith.8bf, loaded once for the test program.
inline std::shared_ptr<hosting::Plugin> Plugin() {
    static std::shared_ptr<hosting::Plugin> plugin = [] {
        auto loaded = hosting::LoadPluginFile(GRIDSMITH_PLUGIN_FILE);
        EXPECT_TRUE(loaded.ok()) << loaded.error;
        return loaded.value;
    }();
    return plugin;
}

// The display language the process was started in, as Wine takes it from
// LC_MESSAGES: what the dialogs must show, found without the plug-in's rule.
inline ui::UiLanguage StartedIn() {
    const char* messages = std::getenv("LC_MESSAGES");
    return messages && std::string(messages).rfind("zh", 0) == 0 ? ui::UiLanguage::Chinese
                                                                  : ui::UiLanguage::English;
}

// A pixel of a screenshot.
struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

inline hosting::Document WhiteCanvas(int32_t width = 800, int32_t height = 600) {
    hosting::Document document(width, height, hosting::ColourMode::Rgb, 8);
    document.Fill({255, 255, 255});
    return document;
}

// A first run (parameters selector, no descriptor) with `script` at the dialog.
inline hosting::RunReport RunWithDialog(hosting::FilterHost& host, const hosting::Plugin& plugin,
                                        std::function<void(hosting::DialogUser&)> script) {
    hosting::RunOptions options;
    options.dialog.script = std::move(script);
    return host.Run(plugin, options);
}

// The image a run draws without its dialog, with `settings` (KEY=VALUE, named
// as in a parameter file) over the defaults, or from a parameter file.
inline hosting::Document SilentRun(const hosting::Plugin& plugin, const std::vector<std::string>& settings,
                                   const std::string& paramsFile = {}, hosting::Document document = WhiteCanvas()) {
    hosting::FilterHost host(document);
    hosting::ScriptingSession scripting(host.Handles().Procs());
    hosting::ScriptingOptions options;
    options.settings = settings;
    options.paramsPath = paramsFile;
    int16_t silent = 0;
    hosting::ParsePlayOption("silent", silent);
    options.playInfo = silent;
    std::string problem;
    EXPECT_TRUE(scripting.Begin(options, problem)) << problem;
    host.SetDescriptorParameters(scripting.Parameters());
    const hosting::RunReport report = host.Run(plugin);
    EXPECT_TRUE(report.Succeeded()) << report.Problem();
    return document;
}

inline bool SameImage(const hosting::Document& a, const hosting::Document& b) { return a.Bytes() == b.Bytes(); }

// The preview's bands at 96 DPI, and the picture's rectangle inside them.
constexpr int kRuler = 20;

inline hosting::Box ThumbOf(hosting::DialogUser& user) {
    const hosting::Box preview = user.ItemBox(IDC_PREVIEW_PLACEHOLDER);
    return {preview.left + kRuler, preview.top + kRuler, preview.right - kRuler, preview.bottom - kRuler};
}

// `openings` dialogs opened and closed by `openAndClose(i)`, which says
// whether the run was clean (no host error, no host buffer left), leave no
// GDI object and no window of this thread behind. Device contexts move with
// the window manager's cache by a few; the two off-screen surfaces of each
// opening would add two hundred.
inline void ExpectOpeningsLeaveNothing(const char* what, int openings, const std::function<bool(int)>& openAndClose) {
    const DWORD thread = GetCurrentThreadId();
    const GdiObjectKinds before = LiveGdiObjectKinds();
    const int windowsBefore = WindowsOfThread(thread);
    int unclean = 0;
    for (int i = 0; i < openings; ++i) unclean += !openAndClose(i);
    EXPECT_EQ(unclean, 0) << "runs with a host error or a host buffer left";
    const GdiObjectKinds after = LiveGdiObjectKinds();
    const std::string moved = KindsMoved(before, after);
    std::printf("GDI objects moved over %d %s: %s\n", openings, what, moved.c_str());
    EXPECT_EQ(after.Drawn(), before.Drawn()) << "GDI objects left after " << openings << " openings: " << moved;
    EXPECT_LT(after.Of(OBJ_MEMDC) + after.Of(OBJ_DC) - before.Of(OBJ_MEMDC) - before.Of(OBJ_DC), openings / 2);
    EXPECT_EQ(WindowsOfThread(thread), windowsBefore);
}

// Every opening creates its lists, images, fonts, surfaces, link, icon and
// preview buffers and releases them again: a hundred leave nothing, no host
// buffer, and the host's input rate back at 1.0.
inline void ExpectRepeatedOpeningsLeaveNothingBehind() {
    // A large document, so each opening reads and releases a real thumbnail.
    hosting::Document image = WhiteCanvas(5000, 5000);
    const std::string drawn = (std::filesystem::temp_directory_path() / "gridsmith-drawn.png").string();
    // With `drawWhole` the dialog is drawn completely before it closes, so the
    // system's drawing caches (the theme's part images) fill in the first
    // openings, however busy the machine, and not in later ones.
    auto openAndClose = [&image, &drawn](int i, bool drawWhole = false) {
        hosting::FilterHost host(image);
        const hosting::RunReport report = RunWithDialog(host, *Plugin(), [&, i, drawWhole](hosting::DialogUser& user) {
            if (!user.WaitForDialog()) return;
            if (drawWhole) user.Capture(drawn);
            user.Click(i % 2 ? IDOK : IDCANCEL);
        });
        EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
        return report.hostErrors.empty() && host.Buffers().LiveBuffers() == 0 && report.InputRateRestored();
    };
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(openAndClose(i, true));  // the system's first-use caches
    ExpectOpeningsLeaveNothing("parameters dialog openings", 100, [&](int i) { return openAndClose(i); });
}

}  // namespace gridsmith::testing
