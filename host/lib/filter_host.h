// The substitute host: owns the filter record and the host's procedures for
// one document, and drives a plug-in through a filter run as the published
// call sequence describes, serving its tile requests from the document.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/lib/buffer_suite.h"
#include "host/lib/colour_picker.h"
#include "host/lib/channel_ports.h"
#include "host/lib/dialog_watch.h"
#include "host/lib/display_pixels.h"
#include "host/lib/document.h"
#include "host/lib/document_info.h"
#include "host/lib/handle_suite.h"
#include "host/lib/input_sampling.h"
#include "host/lib/owner_window.h"
#include "host/lib/plugin.h"
#include "host/lib/ui_hooks.h"
#include "plugin/host_abi.h"

namespace gridsmith::hosting {

// The size of the tile buffer a preview reads its thumbnail through.
constexpr int64_t kPreviewTileBytes = 16384;

struct RunOptions {
    bool callParameters = true;  // an interactive first run does; a repeat run does not
    int cancelAfterTiles = -1;   // abortProc reports a cancel once this many tiles are done
    bool offerProgress = true;   // the record's progressProc; hosts without a progress bar leave it out
    std::function<void(int32_t done, int32_t total)> onProgress;  // called from progressProc
    int32_t rowPadding = 0;      // samples after each tile row, filled with a sentinel and checked
    // The record points to a BigDocumentStruct; without it the plug-in sees
    // only the signed 16-bit fields (clamped for documents beyond them).
    bool offerBigDocument = true;
    // Reduced host profiles: hosts other than Photoshop leave these out.
    bool offerDocumentInfo = true;   // documentInfo and channelPortProcs
    bool offerDisplayPixels = true;  // in the record and in the UIHooks suite
    bool offerBasicSuite = true;     // sSPBasic
    bool offerUIHooks = true;        // the UIHooks suite through sSPBasic
    bool refuseTileBuffer = false;   // every buffer of kPreviewTileBytes fails to allocate
    // advanceState, serving input at the record's inputRate (InputSampling):
    // left out, or failing with `advanceStateError` when that is not noErr;
    // samplingSupport as the host announces it (0 none, 1 integral steps).
    bool offerAdvanceState = true;
    host::OSErr advanceStateError = host::noErr;
    uint8_t samplingSupport = 1;
    int32_t maxSpace = 0;  // the record's maxSpace; 0 for this host's own (1 GiB)
    // Which byte of a pixel map displayPixels shows at the destination point.
    DisplayReading displayReading = DisplayReading::Published;
    // Called after each tile is written back into the document.
    std::function<void(const Document&)> afterTile;
    // Who answers the parameters dialog if the plug-in shows it.
    DialogPlay dialog;
    // The record's colorServices: left out, or answered by `pickColour` (on
    // the plug-in's thread); without one a person picks in the system's
    // colour dialog when the dialog is left to a person, else the user cancels.
    bool offerColourServices = true;
    std::function<ColourAnswer(const ColourRequestSeen&)> pickColour;
    // Converting a colour (selector 1): with the host's own conversion, or
    // refused with errPlugInHostInsufficient as hosts without one do.
    bool convertColours = true;
    // The record's layer-plane counts: filled as Photoshop fills them, or all
    // left 0 as some hosts do.
    bool fillLayerCounts = true;
};

struct Step {
    int16_t selector;
    host::OSErr result;
};

struct ProgressCall {
    int32_t done, total;
};

struct RunReport {
    std::vector<Step> steps;                // every call, in order
    std::vector<host::VRect> tiles;         // every output tile delivered, in order
    std::vector<std::string> hostErrors;    // refused requests, padding written, misused procedures
    std::vector<ColourRequestSeen> colourRequests;  // every colour services call, in order
    std::vector<ProgressCall> progress;     // every progressProc call, in order
    host::Fixed inputRateAfterRun = 0;      // the record's inputRate once the run is over

    bool InputRateRestored() const { return inputRateAfterRun == 0x00010000; }

    bool Called(int16_t selector) const;
    host::OSErr ResultOf(int16_t selector) const;  // of the last such call; noErr if none
    bool Succeeded() const;                        // no step failed, no host error
    std::string Problem() const;                   // the first failure, for messages
};

class FilterHost {
public:
    // The document must outlive the host; the run paints into it.
    explicit FilterHost(Document& document);
    ~FilterHost();
    FilterHost(const FilterHost&) = delete;
    FilterHost& operator=(const FilterHost&) = delete;

    host::FilterRecord& Record() { return *record_; }
    BufferSuite& Buffers() { return buffers_; }
    HandleSuite& Handles() { return handles_; }
    // The preview's services: what they were asked in the last run (and by
    // calls made since), and their settings.
    ChannelPorts& Ports() { return ports_; }
    PixelDisplay& Display() { return display_; }
    UIHooks& Hooks() { return hooks_; }
    InputSampling& Input() { return input_; }

    // Restricts the run to `area` (a selection); empty when it lies inside
    // the document and has an area, else why not.
    std::string Select(const host::VRect& area);
    void SetDescriptorParameters(host::PIDescriptorParameters* parameters) {
        record_->descriptorParameters = parameters;
    }

    // One call into the plug-in, its result preset as a host does.
    host::OSErr Call(const Plugin& plugin, int16_t selector, host::OSErr preset = host::noErr);

    // parameters (optional), prepare, start, continue per tile, finish.
    RunReport Run(const Plugin& plugin, const RunOptions& options = {});

    // The about step alone, its dialog answered as `play` says. The result is
    // preset to a failure, as some hosts do: anything but noErr back is a
    // host error.
    RunReport About(const Plugin& plugin, const DialogPlay& play = {});

private:
    void FillRecord();
    void OfferServices(const RunOptions& options);
    bool CallStep(const Plugin& plugin, int16_t selector, RunReport& report);
    bool CallStart(const Plugin& plugin, const RunOptions& options, RunReport& report);
    void ServeTiles(const Plugin& plugin, const RunOptions& options, RunReport& report);
    void RunSteps(const Plugin& plugin, const RunOptions& options, RunReport& report);
    void EndRequests();

    static host::Boolean AbortProc();
    static void ProgressProc(int32_t done, int32_t total);
    static host::OSErr ColourServicesProc(host::ColorServicesInfo* info);
    static host::OSErr AdvanceStateProc();
    void FillLayerCounts(bool fill);

    // Callbacks carry no context: they reach the most recently created host.
    static FilterHost* active_;
    FilterHost* previous_;

    Document& document_;
    OwnerWindow window_;
    host::PlatformData platformData_{};
    host::AboutRecord about_{};
    BufferSuite buffers_;
    HandleSuite handles_;
    ChannelPorts ports_;
    DocumentInfo documentInfo_;
    PixelDisplay display_;
    UIHooks hooks_;
    InputSampling input_;
    std::unique_ptr<host::FilterRecord> record_;
    host::BigDocumentStruct bigDocument_{};
    intptr_t data_ = 0;  // the plug-in's data cell
    std::vector<uint8_t> outStorage_;  // tile samples, reused from tile to tile
    std::vector<uint8_t> inStorage_;

    const RunOptions* runOptions_ = nullptr;  // while Run is inside the plug-in
    RunReport* runReport_ = nullptr;
    int cancelAfterTiles_ = -1;
    int tilesDone_ = 0;
};

}  // namespace gridsmith::hosting
