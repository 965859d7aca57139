// Times the real Gridsmith.8bf's parameters dialog as a user feels it, under
// Wine, over big RGBA documents. Every step is sent on the dialog's thread and
// the repaint it leaves pending is forced with RedrawWindow(RDW_UPDATENOW), so
// a figure is the step with its paint. Beside each figure, a reference timed
// in the same dialog next to it:
//  - for paints (edits, grip and pan steps, the effect's check box, the
//    centre and refresh buttons): a plain BitBlt of the preview area from a
//    memory bitmap to the dialog;
//  - for the opening, zoom steps and a pan's release: the host delivering just
//    the samples the picture shows, one readPixels call per shown row and
//    plane (the view's width of that row), timed before and after the step
//    in turns so that neither finds the rows in the cache every time;
//  - OK, from the click to the first tile the host serves, has none.
// The opening runs from the host's call to the dialog's first idle moment
// with nothing left to paint; its paint is the part after the dialog first
// showed. Each step also reports the time spent inside the host's readPixels
// and the number of those calls. The edits and the grip step are timed again
// with "显示效果" checked, beside the same steps without it.
//
// Several plug-ins (an older build beside this one, say) are timed in turns,
// dialog by dialog, so that all share the machine's load of the moment; with
// --languages, each of them once per display language (zh, en) in turns too.
//
//   gridsmith-bench-dialog --plugin [LABEL=]PATH... [--repetitions N] [--documents LIST]
//                          [--languages zh,en]
//
// LIST names documents as SIDE or SIDExBITS, comma-separated; the default is
// 1000,5000,10000,10000x16 (RGBA, 8 bits unless said). Aims are checked on
// the largest document.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host/lib/filter_host.h"
#include "host/lib/import_redirect_win.h"
#include "host/lib/plugin.h"
#include "ui/dialog_ids.h"
#include "ui/preview/preview_state.h"
#include "ui/preview/preview_view.h"

namespace {

using namespace gridsmith;
using Clock = std::chrono::steady_clock;
using hosting::DialogUser;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// ---- figures ------------------------------------------------------------------

enum class Reference { None, Blit, Reads };

struct Figure {
    Figure(const char* name, Reference reference, double aim = 0, bool aimRatio = false)
        : name(name), reference(reference), aim(aim), aimRatio(aimRatio) {}

    const char* name;
    Reference reference;
    double aim;     // ms; 0: none
    bool aimRatio;  // also within 2x of the reference
    std::vector<double> totals, reading, paints, references;
    std::vector<size_t> reads, shownReads;
};

constexpr const char* kOpen = "open (host call to first paint)";
constexpr const char* kOk = "OK (click to first tile)";

struct Figures {
    std::vector<Figure> rows = {
        {kOpen, Reference::Reads, 250, true},
        {"type a width digit", Reference::Blit, 16},
        {"type a column-size digit", Reference::Blit, 16},
        {"type a margin digit", Reference::Blit, 16},
        {"type a line-colour digit", Reference::Blit, 16},
        {"grip drag step", Reference::Blit, 16},
        {"show the effect (check box)", Reference::Blit, 16},
        {"type a width digit, effect on", Reference::Blit, 16},
        {"type a line-colour digit, effect on", Reference::Blit, 16},
        {"grip drag step, effect on", Reference::Blit, 16},
        {"pan step", Reference::Blit, 16},
        {"pan release", Reference::Reads, 16},
        {"zoom in", Reference::Reads, 250, true},
        {"zoom out", Reference::Reads, 250, true},
        {"zoom out to the fit", Reference::Reads, 250, true},
        {"centre button", Reference::Blit},
        {"refresh button", Reference::Blit},
        {kOk, Reference::None},
    };
    Figure& operator[](const std::string& name) {
        for (Figure& f : rows)
            if (name == f.name) return f;
        std::fprintf(stderr, "no figure %s\n", name.c_str());
        std::abort();
    }
};

struct Stats {
    double median = 0, min = 0, max = 0;
};

Stats StatsOf(std::vector<double> v) {
    if (v.empty()) return {};
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front(), v.back()};
}

double MedianRatio(const Figure& f) {
    std::vector<double> ratios;
    for (size_t i = 0; i < f.totals.size() && i < f.references.size(); ++i)
        if (f.references[i] > 0) ratios.push_back(f.totals[i] / f.references[i]);
    return StatsOf(ratios).median;
}

// ---- the host's reads, timed ------------------------------------------------------

// readPixels as the host serves it, wrapped so that every step knows how long
// it spent inside the host.
decltype(host::ChannelPortProcs::readPixelsProc) g_readPixels = nullptr;
double g_readingMs = 0;

host::OSErr TimedReadPixels(host::PIChannelPort port, const host::PSScaling* scaling, const host::VRect* writeRect,
                            const host::PixelMemoryDesc* destination, host::VRect* wroteRect) {
    const Clock::time_point start = Clock::now();
    const host::OSErr result = g_readPixels(port, scaling, writeRect, destination, wroteRect);
    g_readingMs += Milliseconds(Clock::now() - start);
    return result;
}

// ---- what the dialog shows ------------------------------------------------------

// The preview's geometry as the plug-in works it out, followed step by step,
// so that the reference reads what the picture shows.
struct View {
    ui::PreviewState preview;

    void Open(const RECT& placeholder, const host::VRect& document, int planes) {
        ui::SetupPreviewScale(preview, {placeholder.left, placeholder.top, placeholder.right, placeholder.bottom},
                              document, planes);
        ui::SetViewToDocument(preview, document, &document);
    }
    void Pan(int32_t dx) {
        preview.ViewRect.left -= dx * preview.ZoomScale;
        ui::ClampViewToDocument(preview);
    }
};

// One readPixels call per shown row and plane, each the view's width of that
// row: the milliseconds, and the number of calls in `reads`.
double ReadShownRows(hosting::FilterHost& host, const ui::PreviewState& preview, size_t& reads) {
    const host::FilterRecord& record = host.Record();
    std::vector<const host::ReadChannelDesc*> channels;
    for (auto* c = record.documentInfo->mergedCompositeChannels; c; c = c->next) channels.push_back(c);
    if (record.documentInfo->mergedTransparency) channels.push_back(record.documentInfo->mergedTransparency);
    const host::VRect& v = preview.ViewRect;
    const int32_t s = preview.ZoomScale;
    const int32_t left = std::max({v.left, 0, preview.DocRect.left});
    const int32_t top = std::max({v.top, 0, preview.DocRect.top});
    std::vector<uint8_t> row(size_t(std::max(v.right - left, 1)));
    reads = 0;
    const Clock::time_point start = Clock::now();
    for (int32_t dy = 0; dy < preview.ThumbHeight(); ++dy) {
        const int32_t y = v.top + dy * s;
        if (y >= v.bottom) break;
        if (y < top) continue;
        const host::VRect rect{y, left, y + 1, v.right};
        const host::PSScaling scaling{rect, rect};
        const host::PixelMemoryDesc memory{row.data(), (rect.right - rect.left) * 8, 8, 0, 8};
        for (const host::ReadChannelDesc* c : channels) {
            host::VRect wrote{};
            g_readPixels(c->port, &scaling, &rect, &memory, &wrote);
            ++reads;
        }
    }
    return Milliseconds(Clock::now() - start);
}

// The preview area as it showed when the dialog opened, in a memory bitmap:
// what a repaint that only copies a finished picture costs.
class PreviewCopy {
public:
    void Take(HWND dialog, const RECT& area) {
        area_ = area;
        HDC window = GetDC(dialog);
        memory_ = CreateCompatibleDC(window);
        bitmap_ = CreateCompatibleBitmap(window, area.right - area.left, area.bottom - area.top);
        old_ = SelectObject(memory_, bitmap_);
        BitBlt(memory_, 0, 0, area.right - area.left, area.bottom - area.top, window, area.left, area.top, SRCCOPY);
        ReleaseDC(dialog, window);
    }
    void Drop() {
        if (!memory_) return;
        SelectObject(memory_, old_);
        DeleteObject(bitmap_);
        DeleteDC(memory_);
        memory_ = nullptr;
    }
    // Milliseconds to copy it to the dialog.
    double Blit(HWND dialog) const {
        HDC window = GetDC(dialog);
        const Clock::time_point start = Clock::now();
        BitBlt(window, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, memory_, 0, 0,
               SRCCOPY);
        GdiFlush();
        const double ms = Milliseconds(Clock::now() - start);
        ReleaseDC(dialog, window);
        return ms;
    }

private:
    RECT area_{};
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// ---- the opening: the dialog's first idle moments -------------------------------------

// The modal loop tells its owner whenever its queue is empty: the first time
// once the dialog is made and shown, later once nothing is left to paint.
struct Opening {
    std::atomic<bool> waiting{false};
    std::optional<Clock::time_point> shown, painted;
    double readingAtShown = 0;
};
Opening g_opening;
WNDPROC g_ownerProc = nullptr;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && g_opening.waiting) {
        HWND dialog = reinterpret_cast<HWND>(lParam);
        if (!g_opening.shown) {
            g_opening.shown = Clock::now();
            g_opening.readingAtShown = g_readingMs;
        }
        if (IsWindowVisible(dialog) && !GetUpdateRect(dialog, nullptr, FALSE)) {
            g_opening.painted = Clock::now();
            g_opening.waiting = false;
        }
    }
    return CallWindowProcW(g_ownerProc, window, message, wParam, lParam);
}

// ---- one dialog, step by step --------------------------------------------------------

class Session {
public:
    Session(hosting::FilterHost& host, Figures& figures) : host_(host), figures_(figures) {}

    void Play(DialogUser& user);
    Clock::time_point okClicked;

private:
    // Runs `act` on the dialog's thread, forces the repaint, and times the
    // figure's reference; `follow` moves the followed view as the step does.
    void Step(DialogUser& user, const char* figure, const std::function<void(HWND)>& act,
              const std::function<void()>& follow = {});
    void Untimed(DialogUser& user, const std::function<void(HWND)>& act);
    void TypeAtEnd(DialogUser& user, const char* figure, int id, wchar_t key);
    void TypeOverLast(DialogUser& user, const char* figure, int id, wchar_t key);
    void DragGrip(DialogUser& user, const char* figure);
    void Mouse(DialogUser& user, const char* figure, UINT message, int x, int y);
    void Opened(DialogUser& user);

    hosting::FilterHost& host_;
    Figures& figures_;
    View view_;
    RECT placeholder_{};
    PreviewCopy copy_;
};

void Session::Untimed(DialogUser& user, const std::function<void(HWND)>& act) {
    user.RunOnDialog([&](intptr_t dialog) {
        act(reinterpret_cast<HWND>(dialog));
        RedrawWindow(reinterpret_cast<HWND>(dialog), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    });
}

void Session::Step(DialogUser& user, const char* name, const std::function<void(HWND)>& act,
                   const std::function<void()>& follow) {
    Figure& figure = figures_[name];
    // The reference reads the rows the step read, or will: taken before the
    // step every other time, so that neither always finds them in the cache.
    const bool referenceFirst = figure.reference == Reference::Reads && figure.totals.size() % 2;
    user.RunOnDialog([&](intptr_t handle) {
        HWND dialog = reinterpret_cast<HWND>(handle);
        size_t shown = 0;
        auto reference = [&] {
            if (figure.reference == Reference::Blit) figure.references.push_back(copy_.Blit(dialog));
            if (figure.reference == Reference::Reads)
                figure.references.push_back(ReadShownRows(host_, view_.preview, shown));
            figure.shownReads.push_back(shown);
        };
        if (follow) follow();
        if (referenceFirst) reference();
        const size_t readsBefore = host_.Ports().Reads().size();
        g_readingMs = 0;
        const Clock::time_point start = Clock::now();
        act(dialog);
        const Clock::time_point acted = Clock::now();
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const Clock::time_point painted = Clock::now();
        figure.totals.push_back(Milliseconds(painted - start));
        figure.reading.push_back(g_readingMs);
        figure.paints.push_back(Milliseconds(painted - acted));
        figure.reads.push_back(host_.Ports().Reads().size() - readsBefore);
        if (!referenceFirst) reference();
    });
}

void Session::TypeAtEnd(DialogUser& user, const char* figure, int id, wchar_t key) {
    Untimed(user, [id](HWND dialog) {
        HWND edit = GetDlgItem(dialog, id);
        SendMessageW(dialog, WM_NEXTDLGCTL, WPARAM(edit), TRUE);
        const LRESULT end = GetWindowTextLengthW(edit);
        SendMessageW(edit, EM_SETSEL, WPARAM(end), end);
    });
    Step(user, figure, [id, key](HWND dialog) { SendMessageW(GetDlgItem(dialog, id), WM_CHAR, key, 1); });
}

// A full field (a colour's six digits) takes a key in place of its last character.
void Session::TypeOverLast(DialogUser& user, const char* figure, int id, wchar_t key) {
    Untimed(user, [id](HWND dialog) {
        HWND edit = GetDlgItem(dialog, id);
        SendMessageW(dialog, WM_NEXTDLGCTL, WPARAM(edit), TRUE);
        const LRESULT end = GetWindowTextLengthW(edit);
        SendMessageW(edit, EM_SETSEL, WPARAM(end - 1), end);
    });
    Step(user, figure, [id, key](HWND dialog) { SendMessageW(GetDlgItem(dialog, id), WM_CHAR, key, 1); });
}

// The left grip, one pixel right and back; pressed left of its tip, clear of
// the next grip's box on a small table.
void Session::DragGrip(DialogUser& user, const char* figure) {
    const ui::PreviewState& p = view_.preview;
    const int gripX = p.ThumbRect.left + 40 / p.ZoomScale - 4, gripY = p.ThumbRect.top - 6;
    Mouse(user, nullptr, WM_LBUTTONDOWN, gripX, gripY);
    for (int i = 0; i < 10; ++i) Mouse(user, figure, WM_MOUSEMOVE, gripX + 1 - i % 2, gripY);
    Mouse(user, nullptr, WM_LBUTTONUP, gripX, gripY);
}

void Session::Mouse(DialogUser& user, const char* figure, UINT message, int x, int y) {
    auto act = [=](HWND dialog) {
        SendMessageW(dialog, WM_SETCURSOR, WPARAM(dialog), MAKELPARAM(HTCLIENT, message));
        SendMessageW(dialog, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    };
    if (figure)
        Step(user, figure, act);
    else
        Untimed(user, act);
}

// What the opening read, and the reference for the view it shows.
void Session::Opened(DialogUser& user) {
    user.RunOnDialog([&](intptr_t handle) {
        HWND dialog = reinterpret_cast<HWND>(handle);
        GetWindowRect(GetDlgItem(dialog, IDC_PREVIEW_PLACEHOLDER), &placeholder_);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&placeholder_), 2);
        const host::FilterRecord& r = host_.Record();
        view_.Open(placeholder_, r.bigDocumentData->filterRect32, r.planes);
        copy_.Take(dialog, placeholder_);
        Figure& open = figures_[kOpen];
        open.reads.push_back(host_.Ports().Reads().size());  // all so far are the opening's
        open.reading.push_back(g_opening.readingAtShown);
        size_t shown = 0;
        open.references.push_back(ReadShownRows(host_, view_.preview, shown));
        open.shownReads.push_back(shown);
    });
}

void Session::Play(DialogUser& user) {
    if (!user.WaitForDialog()) return;
    for (const auto deadline = Clock::now() + std::chrono::seconds(120); g_opening.waiting;) {
        if (Clock::now() > deadline) return user.Fail("the dialog never became idle");
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    Opened(user);
    const ui::PreviewState& p = view_.preview;

    // Edits: a character typed at the end of the text, then taken back.
    for (wchar_t key : {L'0', L'\b'}) TypeAtEnd(user, "type a width digit", IDC_TABLE_WIDTH, key);
    for (wchar_t key : {L'0', L'\b'}) TypeAtEnd(user, "type a margin digit", IDC_LEFT_MARGIN, key);
    auto click = [](int id) { return [id](HWND dialog) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }; };
    for (wchar_t key : {L'5', L'\b'}) {
        TypeAtEnd(user, "type a column-size digit", IDC_COL_SIZES, key);
        Step(user, "refresh button", click(IDC_REFRESH_PREVIEW));
    }

    // The line colour's last digit changed and put back (95B3D7).
    for (wchar_t key : {L'0', L'7'}) TypeOverLast(user, "type a line-colour digit", IDC_LINE_COLOR, key);
    DragGrip(user, "grip drag step");

    // The same with "显示效果" checked, which is then unchecked for the rest.
    Step(user, "show the effect (check box)", click(IDC_SHOW_EFFECT));
    for (wchar_t key : {L'0', L'\b'}) TypeAtEnd(user, "type a width digit, effect on", IDC_TABLE_WIDTH, key);
    for (wchar_t key : {L'0', L'7'})
        TypeOverLast(user, "type a line-colour digit, effect on", IDC_LINE_COLOR, key);
    DragGrip(user, "grip drag step, effect on");
    Untimed(user, click(IDC_SHOW_EFFECT));

    auto zoomIn = [this] { ui::ZoomIn(view_.preview, 0, 0); };
    auto zoomOut = [this] { ui::ZoomOut(view_.preview, 0, 0); };
    Step(user, "zoom in", click(IDC_ZOOM_IN), zoomIn);
    Step(user, "zoom in", click(IDC_ZOOM_IN), zoomIn);
    Step(user, "zoom out", click(IDC_ZOOM_OUT), zoomOut);

    // A pan 31 pixels to the right and back, in steps clear of the snap targets.
    const int x = (p.ThumbRect.left + p.ThumbRect.right) / 2, y = (p.ThumbRect.top + p.ThumbRect.bottom) / 2;
    auto release = [](int at, int y) {
        return [at, y](HWND dialog) { SendMessageW(dialog, WM_LBUTTONUP, 0, MAKELPARAM(at, y)); };
    };
    Mouse(user, nullptr, WM_LBUTTONDOWN, x, y);
    for (int i = 0; i < 10; ++i) Mouse(user, "pan step", WM_MOUSEMOVE, x + 30 + i % 2, y);
    Step(user, "pan release", release(x + 31, y), [this] { view_.Pan(31); });
    Mouse(user, nullptr, WM_LBUTTONDOWN, x, y);
    for (int i = 0; i < 10; ++i) Mouse(user, "pan step", WM_MOUSEMOVE, x - 20 - i % 2, y);
    Mouse(user, "pan step", WM_MOUSEMOVE, x - 31, y);
    Step(user, "pan release", release(x - 31, y), [this] { view_.Pan(-31); });
    Step(user, "zoom out to the fit", click(IDC_ZOOM_OUT), zoomOut);

    for (int i = 0; i < 2; ++i) {
        Step(user, "centre button", click(IDC_CENTER_TABLE));
        Untimed(user, [](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_LEFT_MARGIN, L"40");
            SetDlgItemTextW(dialog, IDC_TOP_MARGIN, L"20");
        });
    }

    user.RunOnDialog([&](intptr_t dialog) {
        copy_.Drop();
        okClicked = Clock::now();
        SendMessageW(GetDlgItem(reinterpret_cast<HWND>(dialog), IDOK), BM_CLICK, 0, 0);
    });
    user.WaitForClose();
}

// ---- the documents and the plug-ins ---------------------------------------------------

struct DocumentKind {
    int32_t side;
    int depth;
    std::string Name() const {
        return std::to_string(side) + " x " + std::to_string(side) + " RGBA, " + std::to_string(depth) + "-bit";
    }
};

std::optional<std::vector<DocumentKind>> ParseDocuments(const std::string& list) {
    std::vector<DocumentKind> kinds;
    for (size_t at = 0; at <= list.size();) {
        const size_t comma = std::min(list.find(',', at), list.size());
        const std::string item = list.substr(at, comma - at);
        DocumentKind kind{std::atoi(item.c_str()), 8};
        if (const size_t x = item.find('x'); x != std::string::npos) kind.depth = std::atoi(item.c_str() + x + 1);
        if (kind.side < 64 || !hosting::IsSupportedDepth(kind.depth)) return std::nullopt;
        kinds.push_back(kind);
        at = comma + 1;
    }
    return kinds;
}

// Diagonal bands of colour, half transparent in squares.
hosting::Document MakeDocument(const DocumentKind& kind) {
    hosting::Document document(kind.side, kind.side, hosting::ColourMode::RgbAlpha, kind.depth,
                               hosting::Samples::Unset);
    for (int32_t y = 0; y < kind.side; ++y) {
        uint8_t* at = document.Row(y);
        for (int32_t x = 0; x < kind.side; ++x) {
            const uint8_t values[4] = {uint8_t((x + y) / 40), uint8_t(x / 40), uint8_t(y / 40),
                                       uint8_t((x / 500 + y / 500) % 2 ? 255 : 128)};
            for (uint8_t value : values) {
                if (kind.depth == 8) {
                    *at = value;
                } else if (kind.depth == 16) {
                    const uint16_t v = uint16_t(hosting::FromEightBit(value, 16));
                    std::memcpy(at, &v, sizeof v);
                } else {
                    const float v = float(hosting::FromEightBit(value, 32));
                    std::memcpy(at, &v, sizeof v);
                }
                at += document.BytesPerSample();
            }
        }
    }
    return document;
}

// ---- the display language --------------------------------------------------------

// Wine's display language is the process's. To time both languages in turns,
// a contender's plug-in is told its language by the two calls it asks Windows
// with, answered here for the contender's dialogs.
LANGID g_language = 0;

BOOL WINAPI AnswerPreferredLanguages(DWORD, PULONG count, PZZWSTR list, PULONG units) {
    wchar_t answer[6];
    swprintf(answer, 5, L"%04x", unsigned(g_language));
    answer[4] = answer[5] = L'\0';
    if (list && *units < 6) return SetLastError(ERROR_INSUFFICIENT_BUFFER), FALSE;
    if (list) std::memcpy(list, answer, sizeof answer);
    *units = 6;
    *count = 1;
    return TRUE;
}

LANGID WINAPI AnswerUserLanguage() { return g_language; }

// The plug-in of `entry` shown in `language` for the scope; 0 leaves it to Windows.
class LanguageScope {
public:
    LanguageScope(hosting::PluginEntry entry, LANGID language)
        : module_(ModuleOf(entry, language)),
          preferred_(module_, "GetThreadPreferredUILanguages", reinterpret_cast<const void*>(&AnswerPreferredLanguages)),
          user_(module_, "GetUserDefaultUILanguage", reinterpret_cast<const void*>(&AnswerUserLanguage)) {
        g_language = language;
    }
    // False when the language was asked for and the plug-in cannot be told it.
    bool Told() const { return !g_language || (preferred_.Hooked() && user_.Hooked()); }

private:
    static HMODULE ModuleOf(hosting::PluginEntry entry, LANGID language) {
        HMODULE module = nullptr;
        if (language)
            GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCWSTR>(entry), &module);
        return module;
    }
    HMODULE module_;
    hosting::ImportRedirect preferred_, user_;
};

struct Contender {
    std::string label;
    std::shared_ptr<hosting::Plugin> plugin;
    Figures figures;
    LANGID language = 0;  // 0: as Windows says
};

// One dialog of `contender` over the host's document; false when the run failed.
bool TimeOneDialog(hosting::FilterHost& host, Contender& contender) {
    Session session(host, contender.figures);
    std::optional<Clock::time_point> firstTile;
    hosting::RunOptions options;
    options.dialog.script = [&](DialogUser& user) { session.Play(user); };
    options.afterTile = [&](const hosting::Document&) {
        if (!firstTile) firstTile = Clock::now();
    };
    g_opening.shown.reset();
    g_opening.painted.reset();
    g_opening.waiting = true;
    g_readingMs = 0;
    LanguageScope language(contender.plugin->Entry(), contender.language);
    if (!language.Told()) {
        std::fprintf(stderr, "%s: the plug-in does not ask Windows for its language\n", contender.label.c_str());
        return false;
    }
    const Clock::time_point start = Clock::now();
    const hosting::RunReport report = host.Run(*contender.plugin, options);
    if (!report.Succeeded() || !firstTile || !g_opening.painted) {
        std::fprintf(stderr, "%s: the run failed: %s\n", contender.label.c_str(),
                     report.Problem().empty() ? "no first paint or no tile" : report.Problem().c_str());
        return false;
    }
    Figure& open = contender.figures[kOpen];
    open.totals.push_back(Milliseconds(*g_opening.painted - start));
    open.paints.push_back(Milliseconds(*g_opening.painted - *g_opening.shown));
    Figure& ok = contender.figures[kOk];
    ok.totals.push_back(Milliseconds(*firstTile - session.okClicked));
    ok.reading.push_back(0);
    ok.paints.push_back(0);
    return true;
}

// ---- output --------------------------------------------------------------------------

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// One markdown table per document: every contender's medians and read counts,
// and the last one's spread, reading, paint, reference and ratio.
void PrintTable(const DocumentKind& kind, const std::vector<Contender>& contenders, bool aims) {
    const Contender& last = contenders.back();
    std::printf("\n#### %s\n\n| step |", kind.Name().c_str());
    for (const Contender& c : contenders) std::printf(" %s |", c.label.c_str());
    std::printf(" min..max | reading | paint | reference | ratio |");
    for (const Contender& c : contenders) std::printf(" reads %s |", c.label.c_str());
    std::printf(" shown |%s\n|---|", aims ? " aim |" : "");
    for (size_t i = 0; i < 2 * contenders.size() + 6 + (aims ? 1 : 0); ++i) std::printf("---:|");
    std::printf("\n");
    for (size_t row = 0; row < last.figures.rows.size(); ++row) {
        const Figure& f = last.figures.rows[row];
        if (f.totals.empty()) continue;
        const bool reads = f.reference == Reference::Reads;
        const Stats total = StatsOf(f.totals);
        std::printf("| %s |", f.name);
        for (const Contender& c : contenders)
            std::printf(" %s |", Number(StatsOf(c.figures.rows[row].totals).median).c_str());
        std::printf(" %s..%s | %s | %s |", Number(total.min).c_str(), Number(total.max).c_str(),
                    Number(StatsOf(f.reading).median).c_str(), Number(StatsOf(f.paints).median).c_str());
        if (f.reference == Reference::None)
            std::printf(" | |");
        else
            std::printf(" %s | %s |", Number(StatsOf(f.references).median).c_str(), Number(MedianRatio(f)).c_str());
        for (const Contender& c : contenders) {
            const Figure& g = c.figures.rows[row];
            if (reads && !g.reads.empty())
                std::printf(" %zu |", g.reads.back());
            else
                std::printf(" |");
        }
        if (reads && !f.shownReads.empty())
            std::printf(" %zu |", f.shownReads.back());
        else
            std::printf(" |");
        if (aims) {
            if (f.aim > 0) {
                const bool met = total.median < f.aim && (!f.aimRatio || MedianRatio(f) <= 2.0);
                std::printf(" < %.0f%s: %s |", f.aim, f.aimRatio ? ", <= 2x" : "", met ? "met" : "**not met**");
            } else {
                std::printf(" |");
            }
        }
        std::printf("\n");
    }
}

// Each contender once per language of `list` ("zh,en"), labelled with it.
bool InEachLanguage(const std::string& list, std::vector<Contender>& contenders) {
    std::vector<Contender> each;
    for (const Contender& c : contenders) {
        for (size_t at = 0; at <= list.size();) {
            const size_t end = std::min(list.find(',', at), list.size());
            const std::string name = list.substr(at, end - at);
            if (name != "zh" && name != "en") return false;
            each.push_back({c.label + " " + name, c.plugin, {}, LANGID(name == "zh" ? 0x0804 : 0x0409)});
            at = end + 1;
        }
    }
    contenders = std::move(each);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<Contender> contenders;
    std::string documentList = "1000,5000,10000,10000x16";
    int repetitions = 5;
    std::string languages;
    bool usage = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!value) {
            usage = true;
        } else if (option == "--plugin") {
            const std::string named = value;
            const size_t equals = named.find('=');
            const std::string path = equals == std::string::npos ? named : named.substr(equals + 1);
            auto loaded = hosting::LoadPluginFile(path);
            if (!loaded.ok()) {
                std::fprintf(stderr, "%s\n", loaded.error.c_str());
                return 1;
            }
            contenders.push_back({equals == std::string::npos ? path : named.substr(0, equals), loaded.value, {}});
        } else if (option == "--repetitions") {
            repetitions = std::max(1, std::atoi(value));
        } else if (option == "--documents") {
            documentList = value;
        } else if (option == "--languages") {
            languages = value;
        } else {
            usage = true;
        }
        ++i;
    }
    const std::optional<std::vector<DocumentKind>> documents = ParseDocuments(documentList);
    if (!languages.empty() && !InEachLanguage(languages, contenders)) usage = true;
    if (usage || contenders.empty() || !documents) {
        std::fprintf(stderr, "usage: gridsmith-bench-dialog --plugin [LABEL=]PATH... [--repetitions N]"
                             " [--documents LIST] [--languages zh,en]\n");
        return 2;
    }
    std::printf("%d dialogs per document and plug-in:", repetitions);
    for (const Contender& c : contenders) std::printf(" %s", c.label.c_str());
    std::printf("\nMedians in ms of each step with its forced repaint; for %s also the spread, the time inside\n"
                "the host's readPixels and the repaint's, the reference's median and the median ratio of step\n"
                "to reference; reads: the host's readPixels calls in the step, shown: one per shown row and plane.\n",
                contenders.back().label.c_str());
    int32_t largest = 0;
    for (const DocumentKind& kind : *documents) largest = std::max(largest, kind.side);

    for (const DocumentKind& kind : *documents) {
        std::fflush(stdout);
        hosting::Document document = MakeDocument(kind);
        hosting::FilterHost host(document);
        host::ChannelPortProcs* ports = host.Ports().Procs();
        g_readPixels = ports->readPixelsProc;
        ports->readPixelsProc = &TimedReadPixels;
        HWND owner = reinterpret_cast<HWND>(host.Record().platformData->hwnd);
        g_ownerProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerProc)));
        for (Contender& c : contenders) c.figures = Figures{};
        for (int r = 0; r < repetitions; ++r)
            for (Contender& c : contenders)
                if (!TimeOneDialog(host, c)) return 1;
        SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_ownerProc));
        PrintTable(kind, contenders, kind.side == largest);
    }
    return 0;
}
