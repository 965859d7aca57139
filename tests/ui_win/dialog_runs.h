// Filter runs whose parameters dialog a scripted user answers, and silent runs
// to compare them with. Scripts only look and act; the tests check what they
// saw after the run, on the test's own thread.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "host/descriptors/scripting_session.h"
#include "host/lib/filter_host.h"
#include "host/lib/plugin.h"

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

}  // namespace gridsmith::testing
