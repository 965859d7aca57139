#include "host/lib/ui_hooks.h"

#include <chrono>
#include <cstring>

#include "host/lib/basic_suite.h"

namespace gridsmith::hosting {
namespace {

struct NamedCursor {
    const char* name;
    SystemCursor cursor;
};

constexpr NamedCursor kCursors[] = {
    {"Photoshop Cursor Arrow", SystemCursor::Arrow},
    {"Photoshop Cursor Watch", SystemCursor::Wait},
    {"Photoshop Cursor Watch Continue", SystemCursor::Busy},
    {"Photoshop Cursor Move", SystemCursor::Move},
    {"Photoshop Cursor Hand", SystemCursor::Hand},
    {"Photoshop Cursor Grab", SystemCursor::Move},
    {"Photoshop Cursor Zoom In", SystemCursor::Arrow},
    {"Photoshop Cursor Zoom Out", SystemCursor::Arrow},
    {"Photoshop Cursor Zoom Limit", SystemCursor::Arrow},
    {"Photoshop Cursor Pencil", SystemCursor::Cross},
    {"Photoshop Cursor Eyedropper", SystemCursor::Cross},
    {"Photoshop Cursor Eyedropper Plus", SystemCursor::Cross},
    {"Photoshop Cursor Eyedropper Minus", SystemCursor::Cross},
    {"Photoshop Cursor Bucket", SystemCursor::Cross},
    {"Photoshop Cursor Crosshair", SystemCursor::Cross},
    {"Photoshop Cursor Type", SystemCursor::Text},
    {"Photoshop Cursor Path Arrow", SystemCursor::Arrow},
};

void ProcessEvent(void*) {}
void ProgressBar(int32_t, int32_t) {}
host::Boolean TestAbort() { return 0; }

}  // namespace

bool CursorForName(const char* name, SystemCursor& cursor) {
    if (!name) {  // kPICursorNone
        cursor = SystemCursor::None;
        return true;
    }
    for (const NamedCursor& c : kCursors)
        if (std::strcmp(name, c.name) == 0) {
            cursor = c.cursor;
            return true;
        }
    return false;
}

UIHooks* UIHooks::active_ = nullptr;

UIHooks::UIHooks(intptr_t mainWindow) : previous_(active_), mainWindow_(mainWindow) {
    suite_.processEvent = &ProcessEvent;
    suite_.progressBar = &ProgressBar;
    suite_.testAbort = &TestAbort;
    suite_.MainAppWindow = &MainAppWindow;
    suite_.SetCursor = &SetCursor;
    suite_.TickCount = &TickCount;
    suite_.GetPluginName = &GetPluginName;
    active_ = this;
}

UIHooks::~UIHooks() { active_ = previous_; }

const host::PSUIHooksSuite1* UIHooks::Acquire() {
    ++acquires_;
    return &suite_;
}

bool UIHooks::Release() {
    if (releases_ >= acquires_) {
        misuses_.push_back("the UIHooks suite was released more often than acquired");
        return false;
    }
    ++releases_;
    return true;
}

void UIHooks::ClearRecords() {
    acquires_ = releases_ = 0;
    cursors_.clear();
    misuses_.clear();
}

host::SPErr UIHooks::SetCursor(const char* cursorID) {
    SystemCursor cursor;
    const bool known = CursorForName(cursorID, cursor);
    const host::SPErr result = known ? kSPNoError : kPSCursorError;
    if (active_) active_->cursors_.push_back({cursorID ? cursorID : "", result});
    if (known) ShowSystemCursor(cursor);
    return result;
}

intptr_t UIHooks::MainAppWindow() { return active_ ? active_->mainWindow_ : 0; }

uint32_t UIHooks::TickCount() {
    using Ticks = std::chrono::duration<int64_t, std::ratio<1, 60>>;
    return uint32_t(std::chrono::duration_cast<Ticks>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

host::SPErr UIHooks::GetPluginName(void*, void** name) {
    if (name) *name = nullptr;
    return kSPUnimplementedError;
}

}  // namespace gridsmith::hosting
