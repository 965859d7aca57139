// Filter runs whose parameters dialog a scripted user answers, and silent runs
// to compare them with. Scripts only look and act; the tests check what they
// saw after the run, on the test's own thread.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
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

}  // namespace gridsmith::testing
