// The plug-in the tests drive: the linked core natively, the built
// Gridsmith.8bf (loaded through its PIPL) in the Windows build under Wine.
// GRIDSMITH_LINKED_CORE marks the builds where the module state is in reach.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "host/lib/plugin.h"

#ifndef GRIDSMITH_PLUGIN_FILE
#define GRIDSMITH_LINKED_CORE 1
#include "plugin/dialog_state.h"
#include "plugin/platform_native.h"
#endif

namespace gridsmith::testing {

inline std::shared_ptr<hosting::Plugin> PluginUnderTest() {
#ifdef GRIDSMITH_PLUGIN_FILE
    auto loaded = hosting::LoadPluginFile(GRIDSMITH_PLUGIN_FILE);
#else
    // A fresh module as far as the run fields go: nothing left from other tests.
    DialogState& state = ModuleState();
    state.ShowDialog = 0;
    state.DialogResult = 0;
    platform::SetParametersDialogStandIn(nullptr);
    auto loaded = hosting::LoadDefaultPlugin();
#endif
    EXPECT_TRUE(loaded.ok()) << loaded.error;
    return loaded.value;
}

}  // namespace gridsmith::testing
