#include "host/lib/scripted_user_win.h"

#include <commctrl.h>
#include <stb_image_write.h>

#include <chrono>
#include <cwchar>

#include "host/lib/utf8.h"

namespace gridsmith::hosting {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(15);
constexpr auto kPoll = std::chrono::milliseconds(2);
constexpr UINT kRunTask = WM_APP + 0x51;
constexpr wchar_t kMessengerClass[] = L"GridsmithScriptedUser";
constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(size_t(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(wcslen(text.c_str()));
    return text;
}

bool IsDialogWindow(HWND window) { return ClassOf(window) == L"#32770"; }

struct Search {
    HWND owner;
    std::wstring title;
    bool messageBox;
    bool anyKind;
    HWND found = nullptr;
};

BOOL CALLBACK Inspect(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    if (!IsWindowVisible(window) || !IsDialogWindow(window) || GetWindow(window, GW_OWNER) != search.owner)
        return TRUE;
    if (!search.title.empty() && TextOf(window) != search.title) return TRUE;
    const bool isBox = GetDlgItem(window, kMessageBoxTextId) != nullptr;
    if (!search.anyKind && isBox != search.messageBox) return TRUE;
    search.found = window;
    return FALSE;
}

HWND FindOwnedDialog(DWORD thread, HWND owner, const std::wstring& title, bool messageBox, bool anyKind) {
    Search search{owner, title, messageBox, anyKind};
    EnumThreadWindows(thread, &Inspect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Faults inside a dialog procedure are swallowed by the message dispatch:
// watch for them so a test cannot pass over one.
std::atomic<ScriptedUser*> g_watched{nullptr};

LONG CALLBACK WatchFaults(EXCEPTION_POINTERS* info) {
    const DWORD code = info->ExceptionRecord->ExceptionCode;
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
        if (ScriptedUser* user = g_watched.load()) {
            char text[96];
            snprintf(text, sizeof text, "fault 0x%08lX at %p", static_cast<unsigned long>(code),
                     info->ExceptionRecord->ExceptionAddress);
            user->Fail(text);
        }
        break;
    default:
        break;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

struct ScriptedUser::Task {
    std::function<void()> work;
    std::atomic<bool> done{false};
};

namespace {

LRESULT CALLBACK MessengerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kRunTask) return DefWindowProcW(window, message, wParam, lParam);
    std::unique_ptr<std::shared_ptr<ScriptedUser::Task>> task(
        reinterpret_cast<std::shared_ptr<ScriptedUser::Task>*>(lParam));
    (*task)->work();
    (*task)->done = true;
    return 0;
}

bool RegisterMessengerClass() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = MessengerProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kMessengerClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    return registered;
}

}  // namespace

ScriptedUser::ScriptedUser(HWND owner) : owner_(owner), hostThread_(GetCurrentThreadId()) {
    if (RegisterMessengerClass())
        messenger_ = CreateWindowExW(0, kMessengerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
}

ScriptedUser::~ScriptedUser() {
    Stop();
    if (messenger_) DestroyWindow(messenger_);
}

void ScriptedUser::Start(std::function<void(DialogUser&)> script, bool dialogOptional) {
    dialogOptional_ = dialogOptional;
    stopping_ = false;
    g_watched = this;
    faultWatch_ = AddVectoredExceptionHandler(1, &WatchFaults);
    script_ = std::thread([this, script = std::move(script)] {
        if (!messenger_) return Fail("no window to run the steps from");
        script(*this);
        CloseWhatIsLeft();
    });
}

std::vector<std::string> ScriptedUser::Stop() {
    stopping_ = true;
    if (script_.joinable()) script_.join();
    if (faultWatch_) RemoveVectoredExceptionHandler(faultWatch_);
    faultWatch_ = nullptr;
    g_watched = nullptr;
    // Steps posted after the dialog closed are released unrun.
    MSG message;
    while (messenger_ && PeekMessageW(&message, messenger_, kRunTask, kRunTask, PM_REMOVE))
        delete reinterpret_cast<std::shared_ptr<Task>*>(message.lParam);
    std::lock_guard<std::mutex> lock(failuresLock_);
    return std::exchange(failures_, {});
}

void ScriptedUser::CloseWhatIsLeft() {
    HWND dialog = Dialog();
    // A script may end on the click that closes the dialog.
    for (const auto deadline = Clock::now() + std::chrono::seconds(3); IsWindow(dialog) && Clock::now() < deadline;)
        std::this_thread::sleep_for(kPoll);
    if (!dialog || !IsWindow(dialog)) return;
    Fail("the script ended with the dialog open; it was cancelled");
    // Every dialog of the host's thread, message boxes and file dialogs over
    // it included, is asked to cancel until the plug-in's has gone.
    for (const auto deadline = Clock::now() + kPatience; IsWindow(dialog) && Clock::now() < deadline;) {
        EnumThreadWindows(
            hostThread_,
            [](HWND window, LPARAM) {
                if (IsWindowVisible(window) && IsDialogWindow(window)) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
                return TRUE;
            },
            0);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void ScriptedUser::Fail(const std::string& why) {
    std::lock_guard<std::mutex> lock(failuresLock_);
    failures_.push_back(why);
}

bool ScriptedUser::OnDialogThread(std::function<void()> work) {
    auto task = std::make_shared<Task>();
    task->work = std::move(work);
    const HWND before = WindowOverDialog(false);
    auto* posted = new std::shared_ptr<Task>(task);
    if (!PostMessageW(messenger_, kRunTask, 0, reinterpret_cast<LPARAM>(posted))) {
        delete posted;
        Fail("cannot reach the dialog's thread");
        return false;
    }
    for (const auto deadline = Clock::now() + kPatience; Clock::now() < deadline;) {
        if (task->done) return true;
        const HWND over = WindowOverDialog(false);
        if (over && over != before) return true;
        if (WindowOverDialog(true)) return true;
        if (!IsWindow(Dialog())) return task->done || (Fail("the dialog closed during a step"), false);
        std::this_thread::sleep_for(kPoll);
    }
    Fail("a step did not end within 15 s");
    return false;
}

HWND ScriptedUser::WindowOverDialog(bool messageBox) {
    const HWND dialog = Dialog();
    return dialog ? FindOwnedDialog(hostThread_, dialog, {}, messageBox, false) : nullptr;
}

HWND ScriptedUser::WaitForWindowOverDialog(bool messageBox, const char* what) {
    for (const auto deadline = Clock::now() + kPatience; Clock::now() < deadline;) {
        if (HWND window = WindowOverDialog(messageBox)) return window;
        std::this_thread::sleep_for(kPoll);
    }
    Fail(std::string("no ") + what + " appeared");
    return nullptr;
}

bool ScriptedUser::WaitForDialog(const std::string& title) {
    const std::wstring wanted = Utf8ToWide(title);
    for (const auto deadline = Clock::now() + kPatience; Clock::now() < deadline;) {
        if (HWND dialog = FindOwnedDialog(hostThread_, owner_, wanted, false, true)) {
            dialog_ = dialog;
            return true;
        }
        if (stopping_) {
            if (!dialogOptional_) Fail("the plug-in showed no dialog");
            return false;
        }
        std::this_thread::sleep_for(kPoll);
    }
    Fail("no dialog appeared within 15 s");
    return false;
}

HWND ScriptedUser::Item(int id) {
    HWND item = GetDlgItem(Target(), id);
    if (!item) Fail("the dialog has no control " + std::to_string(id));
    return item;
}

bool ScriptedUser::SetText(int id, const std::string& text) {
    HWND item = Item(id);
    if (!item) return false;
    const std::wstring wide = Utf8ToWide(text);
    return OnDialogThread([item, wide] { SetWindowTextW(item, wide.c_str()); });
}

bool ScriptedUser::Type(int id, const std::string& text) {
    HWND item = Item(id);
    if (!item) return false;
    const std::wstring wide = Utf8ToWide(text);
    HWND dialog = Target();
    if (ClassOf(item) == WC_COMBOBOXW) {
        // Text set into an editable list raises nothing; typing raises CBN_EDITCHANGE.
        return OnDialogThread([=] {
            SetWindowTextW(item, wide.c_str());
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE), LPARAM(item));
        });
    }
    return OnDialogThread([=] {
        SendMessageW(dialog, WM_NEXTDLGCTL, WPARAM(item), TRUE);
        SendMessageW(item, EM_SETSEL, 0, -1);
        if (wide.empty()) SendMessageW(item, WM_CHAR, VK_BACK, 1);
        for (wchar_t unit : wide) SendMessageW(item, WM_CHAR, unit, 1);
    });
}

bool ScriptedUser::Choose(int id, int index) {
    HWND item = Item(id);
    if (!item) return false;
    HWND dialog = Dialog();
    bool inRange = false;
    const bool ran = OnDialogThread([&inRange, item, dialog, id, index] {
        inRange = index >= 0 && index < SendMessageW(item, CB_GETCOUNT, 0, 0);
        if (!inRange) return;
        SendMessageW(item, CB_SETCURSEL, WPARAM(index), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(item));
    });
    if (ran && !inRange) Fail("list " + std::to_string(id) + " has no item " + std::to_string(index));
    return ran && inRange;
}

bool ScriptedUser::Tick(int id, bool checked) { return Checked(id) == checked || Click(id); }

bool ScriptedUser::Click(int id) {
    HWND item = Item(id);
    if (!item) return false;
    if (!Enabled(id)) {
        Fail("control " + std::to_string(id) + " is disabled");
        return false;
    }
    return OnDialogThread([item] { SendMessageW(item, BM_CLICK, 0, 0); });
}

bool ScriptedUser::Mouse(UINT message, WPARAM keys, int x, int y) {
    HWND dialog = Dialog();
    return OnDialogThread([=] {
        SendMessageW(dialog, WM_SETCURSOR, WPARAM(dialog), MAKELPARAM(HTCLIENT, message));
        SendMessageW(dialog, message, keys, MAKELPARAM(x, y));
    });
}

bool ScriptedUser::HelpButton() {
    HWND dialog = Dialog();
    return OnDialogThread([dialog] {
        RECT frame;
        GetWindowRect(dialog, &frame);
        SendMessageW(dialog, WM_NCLBUTTONDOWN, HTHELP, MAKELPARAM(frame.right - 40, frame.top + 8));
    });
}

bool ScriptedUser::HelpOn(int id) {
    HWND item = Item(id);
    if (!item) return false;
    HWND dialog = Dialog();
    return OnDialogThread([dialog, item, id] {
        RECT rect;
        GetWindowRect(item, &rect);
        HELPINFO help{};
        help.cbSize = sizeof help;
        help.iContextType = HELPINFO_WINDOW;
        help.iCtrlId = id;
        help.hItemHandle = item;
        help.dwContextId = GetWindowContextHelpId(item);
        help.MousePos = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        SendMessageW(dialog, WM_HELP, 0, LPARAM(&help));
    });
}

bool ScriptedUser::EnterWindowOver() {
    HWND over = WaitForWindowOverDialog(false, "dialog over the plug-in's");
    target_ = over;
    return over != nullptr;
}

bool ScriptedUser::WindowOverShown() { return WindowOverDialog(false) != nullptr; }

Box ScriptedUser::ItemBox(int id) {
    HWND item = Item(id);
    HWND window = Target();
    Box box;
    if (item)
        OnDialogThread([&box, item, window] {
            RECT rect;
            GetWindowRect(item, &rect);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
            box = {rect.left, rect.top, rect.right, rect.bottom};
        });
    return box;
}

Box ScriptedUser::ClientBox() {
    HWND dialog = Target();
    Box box;
    OnDialogThread([&box, dialog] {
        RECT frame, client;
        GetWindowRect(dialog, &frame);
        GetClientRect(dialog, &client);
        POINT origin{0, 0};
        ClientToScreen(dialog, &origin);
        box = {origin.x - frame.left, origin.y - frame.top, origin.x - frame.left + client.right,
               origin.y - frame.top + client.bottom};
    });
    return box;
}

Box ScriptedUser::WindowBox() {
    HWND dialog = Target();
    Box box;
    OnDialogThread([&box, dialog] {
        RECT frame;
        GetWindowRect(dialog, &frame);
        box = {frame.left, frame.top, frame.right, frame.bottom};
    });
    return box;
}

TipSeen ScriptedUser::Tip() {
    HWND dialog = Dialog();
    TipSeen seen;
    OnDialogThread([&seen, dialog, this] {
        struct Find {
            HWND owner;
            HWND found = nullptr;
        } find{dialog};
        EnumThreadWindows(
            hostThread_,
            [](HWND window, LPARAM context) {
                auto& f = *reinterpret_cast<Find*>(context);
                if (ClassOf(window) != L"MyToolTipWindow_Gridsmith" || GetWindow(window, GW_OWNER) != f.owner)
                    return TRUE;
                f.found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&find));
        if (!find.found) return;
        seen.found = true;
        seen.window = reinterpret_cast<intptr_t>(find.found);
        seen.visible = IsWindowVisible(find.found) != FALSE;
        seen.text = WideToUtf8(TextOf(find.found));
        RECT frame;
        GetWindowRect(find.found, &frame);
        seen.frame = {frame.left, frame.top, frame.right, frame.bottom};
    });
    return seen;
}

bool ScriptedUser::Press(int x, int y) { return Mouse(WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
bool ScriptedUser::Move(int x, int y) { return Mouse(WM_MOUSEMOVE, MK_LBUTTON, x, y); }
bool ScriptedUser::Release(int x, int y) { return Mouse(WM_LBUTTONUP, 0, x, y); }

std::string ScriptedUser::Text(int id) {
    HWND item = Item(id);
    std::wstring text;
    if (item) OnDialogThread([&text, item] { text = TextOf(item); });
    return WideToUtf8(text);
}

bool ScriptedUser::Enabled(int id) {
    HWND item = Item(id);
    bool enabled = false;
    if (item) OnDialogThread([&enabled, item] { enabled = IsWindowEnabled(item) != FALSE; });
    return enabled;
}

bool ScriptedUser::Checked(int id) {
    HWND item = Item(id);
    bool checked = false;
    if (item) OnDialogThread([&checked, item] { checked = SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED; });
    return checked;
}

int ScriptedUser::Selection(int id) {
    HWND item = Item(id);
    int selection = -1;
    if (item) OnDialogThread([&selection, item] { selection = int(SendMessageW(item, CB_GETCURSEL, 0, 0)); });
    return selection;
}

int ScriptedUser::Focus() {
    HWND dialog = Dialog();
    int id = 0;
    OnDialogThread([&id, dialog] {
        // The edit inside an editable list counts as the list.
        for (HWND focus = GetFocus(); focus && focus != dialog; focus = GetParent(focus))
            if (GetParent(focus) == dialog) id = GetDlgCtrlID(focus);
    });
    return id;
}

bool ScriptedUser::AnswerMessageBox(MessageBoxSeen& seen) {
    HWND box = WaitForWindowOverDialog(true, "message box");
    if (!box) return false;
    seen.caption = WideToUtf8(TextOf(box));
    seen.text = WideToUtf8(TextOf(GetDlgItem(box, kMessageBoxTextId)));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (const auto deadline = Clock::now() + kPatience; Clock::now() < deadline;) {
        // Gone, not just hidden: its modal loop has ended, so the step that
        // opened it goes on before any later step runs.
        if (!IsWindow(box)) return true;
        std::this_thread::sleep_for(kPoll);
    }
    Fail("the message box did not close");
    return false;
}

bool ScriptedUser::AnswerFileDialog(const std::string& path, const std::function<void()>& whileAsked) {
    HWND files = WaitForWindowOverDialog(false, "file dialog");
    if (!files) return false;
    if (!path.empty()) {
        // The name field: a combo box in the newer dialog, an edit in the older.
        HWND name = GetDlgItem(files, 0x47C);
        if (!name) name = GetDlgItem(files, 0x480);
        if (!name) {
            Fail("the file dialog has no name field");
            return false;
        }
        SendMessageW(name, WM_SETTEXT, 0, LPARAM(Utf8ToWide(path).c_str()));
    }
    PostMessageW(files, WM_COMMAND, path.empty() ? IDCANCEL : IDOK, 0);
    HWND confirmed = nullptr;
    for (const auto deadline = Clock::now() + kPatience; Clock::now() < deadline;) {
        if (!IsWindow(files)) return true;
        // Asked whether to replace the file: yes. Anything else it says ends the step.
        if (HWND asked = FindOwnedDialog(hostThread_, files, {}, true, false); asked && asked != confirmed) {
            if (!GetDlgItem(asked, IDYES)) {
                Fail("the file dialog said: " + WideToUtf8(TextOf(GetDlgItem(asked, kMessageBoxTextId))));
                return false;
            }
            if (whileAsked) whileAsked();
            PostMessageW(asked, WM_COMMAND, IDYES, 0);
            confirmed = asked;
        }
        if (WindowOverDialog(true)) return true;  // e.g. asked whether to overwrite
        std::this_thread::sleep_for(kPoll);
    }
    Fail("the file dialog did not close");
    return false;
}

namespace {

// The windows a capture shows, bottom first: the dialog, then what it owns
// (popups, the help bubble, message boxes) as they lie over it.
std::vector<HWND> WindowsToCapture(DWORD thread, HWND dialog) {
    struct Collect {
        HWND dialog;
        std::vector<HWND> owned;  // top first, as enumerated
    } collect{dialog, {}};
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM context) {
            auto& c = *reinterpret_cast<Collect*>(context);
            if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == c.dialog) c.owned.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&collect));
    std::vector<HWND> windows{dialog};
    windows.insert(windows.end(), collect.owned.rbegin(), collect.owned.rend());
    return windows;
}

// Copies a window from its own device context (the screen's shows nothing
// under Wine's virtual desktop); a colour key stays see-through.
void BlitWindow(HWND window, HDC memory, const RECT& area) {
    RECT frame;
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HDC source = GetWindowDC(window);
    if (!source) return;
    COLORREF key = 0;
    DWORD flags = 0;
    const bool keyed = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) &&
                       GetLayeredWindowAttributes(window, &key, nullptr, &flags) && (flags & LWA_COLORKEY);
    if (keyed)
        TransparentBlt(memory, frame.left - area.left, frame.top - area.top, width, height, source, 0, 0, width,
                       height, key);
    else
        BitBlt(memory, frame.left - area.left, frame.top - area.top, width, height, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
}

}  // namespace

bool ScriptedUser::Capture(const std::string& pngPath) {
    HWND dialog = Dialog();
    bool written = false;
    const DWORD thread = hostThread_;
    OnDialogThread([&written, dialog, pngPath, thread] {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        const std::vector<HWND> windows = WindowsToCapture(thread, dialog);
        for (HWND window : windows) UpdateWindow(window);
        RECT frame;
        GetWindowRect(dialog, &frame);
        const int width = frame.right - frame.left, height = frame.bottom - frame.top;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap && memory) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            for (HWND window : windows) BlitWindow(window, memory, frame);
            GdiFlush();
            std::vector<uint8_t> rgb(size_t(width) * height * 3);
            const auto* bgra = static_cast<const uint8_t*>(bits);
            for (size_t i = 0; i < size_t(width) * height; ++i) {
                rgb[i * 3] = bgra[i * 4 + 2];
                rgb[i * 3 + 1] = bgra[i * 4 + 1];
                rgb[i * 3 + 2] = bgra[i * 4];
            }
            written = stbi_write_png(pngPath.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
            SelectObject(memory, old);
        }
        if (bitmap) DeleteObject(bitmap);
        if (memory) DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    });
    if (!written) Fail("cannot write the screenshot " + pngPath);
    return written;
}

bool ScriptedUser::RunOnDialog(const std::function<void(intptr_t dialog)>& work) {
    HWND dialog = Dialog();
    return OnDialogThread([work, dialog] { work(reinterpret_cast<intptr_t>(dialog)); });
}

bool ScriptedUser::WaitForClose() {
    for (const auto deadline = Clock::now() + kPatience; Clock::now() < deadline;) {
        if (!IsWindow(Dialog())) return true;
        std::this_thread::sleep_for(kPoll);
    }
    Fail("the dialog did not close");
    return false;
}

}  // namespace gridsmith::hosting
