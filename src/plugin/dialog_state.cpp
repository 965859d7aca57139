#include "plugin/dialog_state.h"

#include <new>

namespace gridsmith {

DialogState& ModuleState() {
    // Constructed once on first use and deliberately never destroyed.
    alignas(DialogState) static unsigned char storage[sizeof(DialogState)];
    static DialogState* state = new (storage) DialogState{};
    return *state;
}

void ReleaseLayoutBuffers(DialogState& state) {
    state.RowSizeBuffer.Release();
    state.RowHeights = nullptr;
    state.ColSizeBuffer.Release();
    state.ColWidths = nullptr;
}

}  // namespace gridsmith
