// The scripted user's step language: the help and popup steps parse with
// their arguments checked.
#include <gtest/gtest.h>

#include "host/lib/ui_script.h"

namespace gridsmith::hosting {
namespace {

TEST(UiScript, HelpAndPopupStepsParse) {
    UiScript script;
    std::string error;
    ASSERT_TRUE(ParseUiScript("help-button\nhelp 1006\nexpect-tip \"表格线（包括外边框和内部网格线）的颜色。\"\n"
                              "click 1039\nenter-over\ntype 1047 \"10,20\"\nclick OK\nleave-over\n",
                              script, error))
        << error;
    ASSERT_EQ(script.steps.size(), 8u);
    EXPECT_EQ(script.steps[1].args, (std::vector<std::string>{"1006"}));
    EXPECT_EQ(script.steps[2].args[0], "表格线（包括外边框和内部网格线）的颜色。");
}

TEST(UiScript, HelpStepsRefuseWrongArguments) {
    UiScript script;
    std::string error;
    EXPECT_FALSE(ParseUiScript("help line-colour\n", script, error));
    EXPECT_NE(error.find("not a number"), std::string::npos) << error;
    EXPECT_FALSE(ParseUiScript("help-button 3\n", script, error));
    EXPECT_FALSE(ParseUiScript("expect-tip\n", script, error));
    EXPECT_FALSE(ParseUiScript("enter-over now\n", script, error));
}

}  // namespace
}  // namespace gridsmith::hosting
