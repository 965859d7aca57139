#include "host/lib/filter_host.h"

#include <algorithm>
#include <cstring>

#include "host/lib/basic_suite.h"
#include "host/lib/colour_conversion.h"
#include "host/lib/request_check.h"
#include "host/lib/tile_buffer.h"

namespace gridsmith::hosting {
namespace {

constexpr host::Fixed kFixedOne = 0x00010000;
constexpr int32_t kMaxSpace = int32_t(1) << 30;
// No run of a well-behaved plug-in comes near this many tiles.
constexpr int kMaxContinueCalls = 1000000;

const char* SelectorName(int16_t selector) {
    switch (selector) {
    case host::filterSelectorAbout: return "about";
    case host::filterSelectorParameters: return "parameters";
    case host::filterSelectorPrepare: return "prepare";
    case host::filterSelectorStart: return "start";
    case host::filterSelectorContinue: return "continue";
    case host::filterSelectorFinish: return "finish";
    default: return "unknown selector";
    }
}

// A result code in words, with its number for looking it up.
std::string ResultText(host::OSErr result) {
    const char* words = "an error";
    switch (result) {
    case host::filterBadParameters: words = "bad parameters"; break;
    case host::filterBadMode: words = "an image mode it does not take"; break;
    case host::memFullErr: words = "not enough memory"; break;
    case host::nilHandleErr: words = "a missing handle"; break;
    case host::paramErr: words = "a bad argument"; break;
    case host::userCanceledErr: words = "a cancel by the user"; break;
    case host::errMissingParameter: words = "a missing parameter"; break;
    default:
        if (result > 0) words = "an error it has shown itself";
        break;
    }
    return std::string(words) + " (" + std::to_string(result) + ")";
}

void AppendFrom(const std::vector<std::string>& from, size_t first, std::vector<std::string>& to) {
    to.insert(to.end(), from.begin() + std::ptrdiff_t(first), from.end());
}

// What the 16-bit fields can say of a 32-bit coordinate.
int16_t Clamp16(int32_t value) { return int16_t(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX)); }

host::Rect Clamp16(const host::VRect& r) { return {Clamp16(r.top), Clamp16(r.left), Clamp16(r.bottom), Clamp16(r.right)}; }

// Converts in place from RGB, the only source space served.
host::OSErr ConvertColour(host::ColorServicesInfo& info, bool offered) {
    if (!offered) return host::errPlugInHostInsufficient;
    const auto isSpace = [](int16_t space) { return space >= 0 && space <= host::plugIncolorServicesXYZSpace; };
    if (!isSpace(info.sourceSpace) || !isSpace(info.resultSpace)) return host::paramErr;
    if (info.sourceSpace != host::plugIncolorServicesRGBSpace) return host::errPlugInHostInsufficient;
    const int16_t* c = info.colorComponents;
    if (!std::all_of(c, c + 3, [](int16_t v) { return v >= 0 && v <= 255; })) return host::paramErr;
    const auto converted = ConvertRgb(info.resultSpace, uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2]));
    if (!converted) return host::errPlugInHostInsufficient;
    std::copy(converted->begin(), converted->end(), info.colorComponents);
    return host::noErr;
}

int16_t FilterCase(ColourMode mode, bool selection) {
    // Flat image 1/2, editable transparency 4/5 (without/with selection).
    return int16_t((HasAlpha(mode) ? 4 : 1) + (selection ? 1 : 0));
}

}  // namespace

// ---- report ---------------------------------------------------------------------

bool RunReport::Called(int16_t selector) const {
    for (const Step& step : steps)
        if (step.selector == selector) return true;
    return false;
}

host::OSErr RunReport::ResultOf(int16_t selector) const {
    host::OSErr result = host::noErr;
    for (const Step& step : steps)
        if (step.selector == selector) result = step.result;
    return result;
}

bool RunReport::Succeeded() const { return Problem().empty(); }

std::string RunReport::Problem() const {
    if (!hostErrors.empty()) return "host error: " + hostErrors.front();
    for (const Step& step : steps)
        if (step.result != host::noErr)
            return std::string("the plug-in's ") + SelectorName(step.selector) + " step reported " +
                   ResultText(step.result);
    return {};
}

// ---- host -----------------------------------------------------------------------

FilterHost* FilterHost::active_ = nullptr;

FilterHost::FilterHost(Document& document)
    : previous_(active_), document_(document), ports_(document), documentInfo_(document, ports_),
      hooks_(window_.Handle()), input_(document), record_(new host::FilterRecord) {
    // Zero every byte of the full published record, padding included.
    std::memset(static_cast<void*>(record_.get()), 0, sizeof(host::FilterRecord));
    platformData_.hwnd = window_.Handle();
    about_.platformData = &platformData_;
    about_.sSPBasic = BasicSuite();
    FillRecord();
    active_ = this;
}

FilterHost::~FilterHost() { active_ = previous_; }

void FilterHost::FillRecord() {
    host::FilterRecord& r = *record_;
    const host::VPoint size{document_.Height(), document_.Width()};
    bigDocument_.imageSize32 = bigDocument_.wholeSize32 = size;
    bigDocument_.filterRect32 = {0, 0, size.v, size.h};
    r.bigDocumentData = &bigDocument_;
    r.abortProc = &AbortProc;
    r.imageSize = {Clamp16(size.v), Clamp16(size.h)};
    r.wholeSize = r.imageSize;
    r.planes = int16_t(document_.Planes());
    r.filterRect = Clamp16(bigDocument_.filterRect32);
    r.hostSig = host::FourCC("8BIM");
    r.imageMode = HostImageMode(document_.Mode(), document_.Depth());
    r.imageHRes = r.imageVRes = 72 * kFixedOne;
    r.platformData = &platformData_;
    r.bufferProcs = buffers_.Procs();
    r.handleProcs = handles_.Procs();
    r.filterCase = FilterCase(document_.Mode(), false);
    r.inputRate = kFixedOne;
    r.maskRate = kFixedOne;
    r.outputPadding = r.inputPadding = r.maskPadding = -3;  // out-of-bounds requests are errors
    r.depth = document_.Depth();
    ports_.WatchInputRate(&r.inputRate);
    OfferServices(RunOptions{});
}

void FilterHost::OfferServices(const RunOptions& options) {
    host::FilterRecord& r = *record_;
    r.channelPortProcs = options.offerDocumentInfo ? ports_.Procs() : nullptr;
    r.documentInfo = options.offerDocumentInfo ? documentInfo_.Desc() : nullptr;
    const host::DisplayPixelsProc display = options.offerDisplayPixels ? display_.Proc() : nullptr;
    r.displayPixels = display;
    hooks_.SetDisplayPixels(display);
    display_.SetReading(options.displayReading);
    r.sSPBasic = options.offerBasicSuite ? BasicSuite() : nullptr;
    hooks_.SetOffered(options.offerUIHooks);
    buffers_.RefuseSize(options.refuseTileBuffer ? kPreviewTileBytes : 0);
    r.colorServices = options.offerColourServices ? &ColourServicesProc : nullptr;
    r.advanceState = options.offerAdvanceState ? &AdvanceStateProc : nullptr;
    r.samplingSupport = options.samplingSupport;
    input_.FailWith(options.advanceStateError);
    r.maxSpace = options.maxSpace > 0 ? options.maxSpace : kMaxSpace;
    r.progressProc = options.offerProgress ? &ProgressProc : nullptr;
    FillLayerCounts(options.fillLayerCounts);
}

// A layer's colour planes and its transparency; a flat image's planes are
// all non-layer planes, as are every channel of a multichannel document.
void FilterHost::FillLayerCounts(bool fill) {
    host::FilterRecord& r = *record_;
    const ColourMode mode = document_.Mode();
    const bool layer = fill && HasAlpha(mode);
    r.inLayerPlanes = r.outLayerPlanes = r.absLayerPlanes = int16_t(layer ? ColourPlanes(mode) : 0);
    r.inTransparencyMask = r.outTransparencyMask = r.absTransparencyMask = int16_t(layer ? 1 : 0);
    r.inNonLayerPlanes = r.outNonLayerPlanes = r.absNonLayerPlanes = int16_t(fill && !layer ? r.planes : 0);
}

std::string FilterHost::Select(const host::VRect& area) {
    if (IsEmpty(area) || area.left < 0 || area.top < 0 || area.right > document_.Width() ||
        area.bottom > document_.Height())
        return "selection " + RectText(area) + " is not an area inside the " +
               std::to_string(document_.Width()) + "x" + std::to_string(document_.Height()) +
               " image";
    bigDocument_.filterRect32 = area;
    record_->filterRect = Clamp16(area);
    const bool whole = area.left == 0 && area.top == 0 && area.right == document_.Width() &&
                       area.bottom == document_.Height();
    record_->filterCase = FilterCase(document_.Mode(), !whole);
    return {};
}

host::OSErr FilterHost::Call(const Plugin& plugin, int16_t selector, host::OSErr preset) {
    int16_t result = preset;
    void* record = selector == host::filterSelectorAbout ? static_cast<void*>(&about_)
                                                         : static_cast<void*>(record_.get());
    plugin.Entry()(selector, record, &data_, &result);
    return result;
}

bool FilterHost::CallStep(const Plugin& plugin, int16_t selector, RunReport& report) {
    const host::OSErr result = Call(plugin, selector);
    report.steps.push_back({selector, result});
    return result == host::noErr;
}

RunReport FilterHost::Run(const Plugin& plugin, const RunOptions& options) {
    RunReport report;
    const size_t bufferMisuses = buffers_.Misuses().size();
    const size_t handleMisuses = handles_.Misuses().size();
    // The preview services' records tell of this run only.
    ports_.ClearReads();
    display_.ClearCalls();
    hooks_.ClearRecords();
    input_.Clear();
    cancelAfterTiles_ = options.cancelAfterTiles;
    tilesDone_ = 0;
    runOptions_ = &options;
    runReport_ = &report;
    OfferServices(options);
    RunSteps(plugin, options, report);
    runOptions_ = nullptr;
    runReport_ = nullptr;
    cancelAfterTiles_ = -1;
    buffers_.RefuseSize(0);
    report.inputRateAfterRun = record_->inputRate;
    AppendFrom(buffers_.Misuses(), bufferMisuses, report.hostErrors);
    AppendFrom(handles_.Misuses(), handleMisuses, report.hostErrors);
    AppendFrom(hooks_.Misuses(), 0, report.hostErrors);
    AppendFrom(input_.Misuses(), 0, report.hostErrors);
    if (!hooks_.Balanced())
        report.hostErrors.push_back("the UIHooks suite was acquired " + std::to_string(hooks_.Acquires()) +
                                    " times and released " + std::to_string(hooks_.Releases()) + " times");
    return report;
}

RunReport FilterHost::About(const Plugin& plugin, const DialogPlay& play) {
    constexpr host::OSErr kPresetFailure = 1;
    RunReport report;
    DialogWatch watch(window_.Handle(), play);
    const host::OSErr result = Call(plugin, host::filterSelectorAbout, kPresetFailure);
    for (std::string& problem : watch.Finish()) report.hostErrors.push_back("dialog: " + problem);
    report.steps.push_back({host::filterSelectorAbout, result});
    return report;
}

void FilterHost::RunSteps(const Plugin& plugin, const RunOptions& options, RunReport& report) {
    record_->bufferSpace = 0;
    record_->bigDocumentData = options.offerBigDocument ? &bigDocument_ : nullptr;
    bigDocument_.PluginUsing32BitCoordinates = 0;  // the plug-in opts in again in every run
    EndRequests();
    if (options.callParameters && !CallStep(plugin, host::filterSelectorParameters, report)) return;
    if (!CallStep(plugin, host::filterSelectorPrepare, report)) return;
    if (record_->bufferSpace < 0 || record_->bufferSpace > record_->maxSpace) {
        report.hostErrors.push_back("bufferSpace " + std::to_string(record_->bufferSpace) +
                                    " is not within 0..maxSpace");
        return;
    }
    // Finish belongs to a run whose start succeeded, and only to such a run.
    if (!CallStart(plugin, options, report)) return;
    ServeTiles(plugin, options, report);
    CallStep(plugin, host::filterSelectorFinish, report);
}

bool FilterHost::CallStart(const Plugin& plugin, const RunOptions& options, RunReport& report) {
    // The parameters dialog runs inside start.
    DialogWatch watch(window_.Handle(), options.dialog);
    const bool started = CallStep(plugin, host::filterSelectorStart, report);
    for (std::string& problem : watch.Finish()) report.hostErrors.push_back("dialog: " + problem);
    return started;
}

void FilterHost::ServeTiles(const Plugin& plugin, const RunOptions& options, RunReport& report) {
    host::FilterRecord& r = *record_;
    for (int calls = 0;; ++calls) {
        const Requests q = ReadRequests(r);
        if (!HasRequest(q)) return;
        if (calls == kMaxContinueCalls) {
            report.hostErrors.push_back("the plug-in did not end the run after " +
                                        std::to_string(kMaxContinueCalls) + " tiles");
            return;
        }
        if (std::string problem = CheckRequests(q); !problem.empty()) {
            report.hostErrors.push_back(problem);
            return;
        }
        const int32_t padding = options.rowPadding > 0 ? options.rowPadding : 0;
        const bool wantsOutput = !IsEmpty(q.outRect);
        const bool wantsInput = !IsEmpty(q.inRect);
        // A rectangle not asked for yields an empty tile, whatever its planes say.
        TileBuffer output(document_, wantsOutput ? q.outRect : host::VRect{},
                          wantsOutput ? q.outLoPlane : 0, wantsOutput ? q.outHiPlane : 0, padding,
                          outStorage_, true);
        TileBuffer input(document_, wantsInput ? q.inRect : host::VRect{}, wantsInput ? q.inLoPlane : 0,
                         wantsInput ? q.inHiPlane : 0, padding, inStorage_);
        r.outData = output.Data();
        r.outRowBytes = output.RowBytes();
        r.inData = input.Data();
        r.inRowBytes = input.RowBytes();
        const host::VRect delivered = q.outRect;

        const bool continued = CallStep(plugin, host::filterSelectorContinue, report);
        r.outData = r.inData = nullptr;
        r.outRowBytes = r.inRowBytes = 0;

        if (wantsOutput) {
            report.tiles.push_back(delivered);
            if (!output.PaddingIntact())
                report.hostErrors.push_back("the plug-in wrote into the row padding of tile " +
                                            RectText(delivered));
            output.WriteBack(document_);
            if (options.afterTile) options.afterTile(document_);
        }
        ++tilesDone_;
        if (!continued) return;
    }
}

void FilterHost::EndRequests() {
    record_->inRect = record_->outRect = record_->maskRect = host::Rect{};
    bigDocument_.inRect32 = bigDocument_.outRect32 = bigDocument_.maskRect32 = host::VRect{};
}

host::Boolean FilterHost::AbortProc() {
    const FilterHost* host = active_;
    return host && host->cancelAfterTiles_ >= 0 && host->tilesDone_ >= host->cancelAfterTiles_;
}

void FilterHost::ProgressProc(int32_t done, int32_t total) {
    FilterHost* host = active_;
    if (!host || !host->runReport_) return;
    host->runReport_->progress.push_back({done, total});
    if (host->runOptions_->onProgress) host->runOptions_->onProgress(done, total);
}

host::OSErr FilterHost::AdvanceStateProc() {
    FilterHost* host = active_;
    return host ? host->input_.Serve(*host->record_) : host::paramErr;
}

host::OSErr FilterHost::ColourServicesProc(host::ColorServicesInfo* info) {
    FilterHost* host = active_;
    if (!info || !host || !host->runReport_) return host::paramErr;
    ColourRequestSeen seen;
    seen.infoSize = info->infoSize;
    seen.selector = info->selector;
    seen.sourceSpace = info->sourceSpace;
    seen.resultSpace = info->resultSpace;
    seen.reservedNull = !info->reservedSourceSpaceInfo && !info->reservedResultSpaceInfo && !info->reserved;
    std::copy(std::begin(info->colorComponents), std::end(info->colorComponents), seen.components);
    if (info->selector == 0 && info->selectorParameter.pickerPrompt) {
        const uint8_t* prompt = *info->selectorParameter.pickerPrompt;
        seen.prompt.assign(reinterpret_cast<const char*>(prompt + 1), prompt[0]);
    }
    host->runReport_->colourRequests.push_back(seen);
    // Choosing a colour and converting one are served, as a well-formed record asks them.
    if (info->infoSize != int32_t(sizeof(host::ColorServicesInfo)) || !seen.reservedNull) return host::paramErr;
    const RunOptions& options = *host->runOptions_;
    if (info->selector == host::plugIncolorServicesConvertColor) return ConvertColour(*info, options.convertColours);
    if (info->selector != host::plugIncolorServicesChooseColor) return host::paramErr;
    const ColourAnswer answer = options.pickColour    ? options.pickColour(seen)
                                : options.dialog.person ? PersonPicksColour(seen)
                                                        : ColourAnswer{};
    if (!answer.chosen) return host::userCanceledErr;
    info->colorComponents[0] = answer.red;
    info->colorComponents[1] = answer.green;
    info->colorComponents[2] = answer.blue;
    return host::noErr;
}

}  // namespace gridsmith::hosting
