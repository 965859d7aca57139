// Random descriptors, host shortcomings and faults through the host's store
// into the plug-in's descriptor reader and writer, and random text into the
// action-file and parameter-file readers. Every handle and token must be
// released, and what parses must format and parse back the same.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "host/descriptors/action_file.h"
#include "host/descriptors/descriptor_store.h"
#include "host/descriptors/params_ini.h"
#include "host/descriptors/text_values.h"
#include "params/ansi_text_native.h"
#include "params/script_params.h"
#include "host/lib/handle_suite.h"

namespace {

using namespace gridsmith;
using hosting::Descriptor;
using hosting::DescriptorStore;

void Check(bool condition) {
    if (!condition) std::abort();
}

Descriptor RandomDescriptor(FuzzedDataProvider& in) {
    Descriptor d;
    const int count = in.ConsumeIntegralInRange(0, 30);
    for (int i = 0; i < count && in.remaining_bytes() > 0; ++i) {
        // Mostly the plug-in's own keys, so reading goes deep.
        const uint32_t key =
            in.ConsumeIntegralInRange(0, 7) == 0
                ? in.ConsumeIntegral<uint32_t>()
                : kScriptKeys[in.ConsumeIntegralInRange(0, kScriptKeyCount - 1)].key;
        switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0: d.push_back({key, in.ConsumeIntegral<int32_t>()}); break;
        case 1: d.push_back({key, in.ConsumeBool()}); break;
        default: d.push_back({key, in.ConsumeRandomLengthString(300)}); break;
        }
    }
    return d;
}

// A host that may lack procedures or fail on purpose.
void Shorten(FuzzedDataProvider& in, DescriptorStore& store) {
    if (in.ConsumeIntegralInRange(0, 3) == 0)
        store.ReadProcs().numReadDescriptorProcs = in.ConsumeIntegralInRange<int16_t>(-1, 18);
    if (in.ConsumeIntegralInRange(0, 3) == 0)
        store.WriteProcs().numWriteDescriptorProcs = in.ConsumeIntegralInRange<int16_t>(-1, 16);
    if (in.ConsumeIntegralInRange(0, 7) == 0) store.ReadProcs().getStringProc = nullptr;
    if (in.ConsumeIntegralInRange(0, 7) == 0) store.WriteProcs().putIntegerProc = nullptr;
    hosting::DescriptorFaults& faults = store.Faults();
    faults.refuseOpenRead = in.ConsumeIntegralInRange(0, 7) == 0;
    faults.refuseOpenWrite = in.ConsumeIntegralInRange(0, 7) == 0;
    if (in.ConsumeBool()) faults.closeReadError = in.ConsumeIntegral<int16_t>();
    if (in.ConsumeBool()) faults.closeWriteError = in.ConsumeIntegral<int16_t>();
}

bool ListTerminated(const char16_t (&list)[kSizeListCapacity]) {
    for (char16_t c : list)
        if (c == u'\0') return true;
    return false;
}

void FuzzPlugIn(FuzzedDataProvider& in) {
    static const unsigned kCodePages[] = {1252, 936, 65001};
    SetSystemAnsiCodePage(kCodePages[in.ConsumeIntegralInRange(0, 2)]);
    hosting::HandleSuite handles;
    {
        DescriptorStore store(handles.Procs());
        store.SetPlay(in.ConsumeIntegral<int16_t>(), in.ConsumeIntegral<int16_t>());
        const Descriptor offered = RandomDescriptor(in);
        if (in.ConsumeIntegralInRange(0, 7) != 0) store.Offer(offered);
        Shorten(in, store);

        host::FilterRecord record{};
        if (in.ConsumeIntegralInRange(0, 7) != 0) record.descriptorParameters = store.Parameters();
        if (in.ConsumeIntegralInRange(0, 7) != 0) record.handleProcs = handles.Procs();

        // Whatever the block held before, lists unterminated included.
        TableParams params;
        const std::string bytes = in.ConsumeBytesAsString(sizeof params);
        std::memset(&params, 0x41, sizeof params);
        std::memcpy(&params, bytes.data(), bytes.size());

        int32_t show = 7;
        const bool rowsTerminated = ListTerminated(params.RowSizes);
        ReadScriptParams(&record, params, show);
        Check(!rowsTerminated || ListTerminated(params.RowSizes));
        Check(show == 0 || show == 1 || show == 7);
        Check(params.Borders == 0 || record.descriptorParameters);

        WriteScriptParams(&record, params);
        if (auto recorded = store.TakeRecorded())
            Check(recorded->size() <= size_t(kScriptKeyCount));
        Check(store.OpenTokens() == 0);
    }
    SetSystemAnsiCodePage(1252);
    Check(handles.LiveHandles() == 0 && handles.Misuses().empty());
}

std::u16string Ascii(const char16_t (&list)[kSizeListCapacity]) {
    std::u16string text;
    for (size_t i = 0; i < kSizeListCapacity - 1 && list[i] != u'\0'; ++i)
        text += list[i];
    for (char16_t c : text)
        if (c >= 0x80) return u"(not ascii)";
    return text;
}

// A complete host without faults: every field survives a write and a read.
void FuzzRoundTrip(FuzzedDataProvider& in) {
    hosting::HandleSuite handles;
    {
        DescriptorStore store(handles.Procs());
        host::FilterRecord record{};
        record.descriptorParameters = store.Parameters();
        record.handleProcs = handles.Procs();
        TableParams written;
        const std::string bytes = in.ConsumeBytesAsString(sizeof written);
        std::memset(&written, 0, sizeof written);
        std::memcpy(&written, bytes.data(), bytes.size());
        Check(WriteScriptParams(&record, written) == host::noErr);
        TableParams read{};
        int32_t show = 0;
        Check(ReadScriptParams(&record, read, show) == host::noErr);
        Check(read.Rows == written.Rows && read.Cols == written.Cols &&
              read.LeftMargin == written.LeftMargin && read.TopMargin == written.TopMargin &&
              read.TableWidth == written.TableWidth && read.TableHeight == written.TableHeight &&
              read.GridLineSize == written.GridLineSize &&
              read.GridLineType == written.GridLineType &&
              read.BorderLineSize == written.BorderLineSize &&
              read.BorderLineType == written.BorderLineType && read.Borders == written.Borders &&
              read.LineColor == written.LineColor && read.FirstBackClr == written.FirstBackClr &&
              read.BackClr == written.BackClr && read.BackClr2 == written.BackClr2 &&
              read.LineOpaque == written.LineOpaque && read.BackOpaque == written.BackOpaque &&
              read.FillBkGnd == (written.FillBkGnd != 0) &&
              read.DockBorder == (written.DockBorder != 0));
        const std::u16string rows = Ascii(written.RowSizes);
        if (rows != u"(not ascii)") Check(std::u16string(read.RowSizes) == rows);
    }
    Check(handles.LiveHandles() == 0);
}

void FuzzActionFile(const std::string& text) {
    hosting::ActionFile action;
    std::string error;
    if (!hosting::ParseActionFile(text, action, error)) {
        Check(!error.empty());
        return;
    }
    hosting::ActionFile again;
    Check(hosting::ParseActionFile(hosting::FormatActionFile(action), again, error));
    Check(again == action);

    // What parses is a descriptor a host could offer.
    hosting::HandleSuite handles;
    {
        DescriptorStore store(handles.Procs());
        store.SetPlay(action.playInfo, action.recordInfo);
        store.Offer(action.descriptor);
        host::FilterRecord record{};
        record.descriptorParameters = store.Parameters();
        record.handleProcs = handles.Procs();
        TableParams params{};
        int32_t show = 0;
        if (ReadScriptParams(&record, params, show) == host::noErr)
            Check(ListTerminated(params.RowSizes) && ListTerminated(params.ColSizes));
    }
    Check(handles.LiveHandles() == 0);
}

void FuzzParamsText(const std::string& text) {
    Descriptor d;
    std::string error;
    if (hosting::ParseParamsIni(text, d, error))
        Check(d.size() == size_t(kScriptKeyCount));
    else
        Check(!error.empty());

    Descriptor settings = hosting::DefaultParamsDescriptor();
    hosting::ForEachLine(text, [&](int, std::string_view line) {
        if (!hosting::ApplyParamSetting(line, settings, error)) Check(!error.empty());
        return true;
    });
    Check(settings.size() == size_t(kScriptKeyCount));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: FuzzPlugIn(in); break;
    case 1: FuzzRoundTrip(in); break;
    case 2: FuzzActionFile(in.ConsumeRemainingBytesAsString()); break;
    default: FuzzParamsText(in.ConsumeRemainingBytesAsString()); break;
    }
    return 0;
}
