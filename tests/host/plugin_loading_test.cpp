// Loading a plug-in file (Windows build, under Wine): the real Gridsmith.8bf
// through its PIPL, and a clear refusal for each way a file can fail to be a
// filter.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "host/lib/filter_host.h"
#include "host/lib/plugin.h"

namespace gridsmith::hosting {
namespace {

void ExpectRefused(const std::string& path, const std::string& reason) {
    const auto loaded = LoadPluginFile(path);
    EXPECT_FALSE(loaded.ok()) << path;
    EXPECT_NE(loaded.error.find(reason), std::string::npos) << loaded.error;
}

TEST(PluginFile, GridsmithLoadsThroughItsPiplAndRuns) {
    const auto loaded = LoadPluginFile(GRIDSMITH_PLUGIN_FILE);
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    Document document(200, 160, ColourMode::Rgb, 8);
    FilterHost host(document);
    RunOptions options;
    options.callParameters = false;
    const RunReport report = host.Run(*loaded.value, options);
    EXPECT_TRUE(report.Succeeded()) << report.Problem();
    EXPECT_EQ(report.tiles.size(), 11u);  // the right border and second column line lie outside
    EXPECT_EQ(document.Sample(40, 30, 0), 149);  // the left border
}

TEST(PluginFile, MissingFile) { ExpectRefused("Z:/no/such/Gridsmith.8bf", "does not exist"); }

TEST(PluginFile, NotAModule) {
    const std::string path = "not_a_module.8bf";
    std::ofstream(path) << "plain text, no PE header";
    ExpectRefused(path, "cannot be loaded");
    std::remove(path.c_str());
}

TEST(PluginFile, NoPipl) { ExpectRefused(GRIDSMITH_FIXTURE_NO_PIPL, "no PIPL"); }
TEST(PluginFile, WrongKind) { ExpectRefused(GRIDSMITH_FIXTURE_WRONG_KIND, "'8BAM'"); }
TEST(PluginFile, EntryPointNotExported) { ExpectRefused(GRIDSMITH_FIXTURE_MISSING_ENTRY, "'NoSuchEntry'"); }

}  // namespace
}  // namespace gridsmith::hosting
