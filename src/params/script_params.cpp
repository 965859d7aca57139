// Reading and writing the scripting descriptor. Every host procedure is
// checked before it is called: hosts may offer fewer procedures than the
// published counts, or none at all.
#include "params/script_params.h"

#include <type_traits>

#include "params/ansi_text.h"
#include "plugin/host_procs.h"

namespace gridsmith {
namespace {

using host::DescriptorKeyID;
using host::FourCC;
using host::OSErr;
using host::PIDescriptorParameters;
using host::ReadDescriptorProcs;
using host::WriteDescriptorProcs;

constexpr size_t kPascalCapacity = 255;  // bytes after the length byte

// The field behind each integer key. `visit` gets the field itself, so the
// reader and the writer share this one mapping.
template <typename Params, typename Visit>
bool VisitIntegerField(Params& p, DescriptorKeyID key, Visit&& visit) {
    switch (key) {
    case FourCC("rowS"): visit(p.Rows); return true;
    case FourCC("colS"): visit(p.Cols); return true;
    case FourCC("lefM"): visit(p.LeftMargin); return true;
    case FourCC("topM"): visit(p.TopMargin); return true;
    case FourCC("tabW"): visit(p.TableWidth); return true;
    case FourCC("tabH"): visit(p.TableHeight); return true;
    case FourCC("gdlZ"): visit(p.GridLineSize); return true;
    case FourCC("gdlT"): visit(p.GridLineType); return true;
    case FourCC("gdlC"): visit(p.LineColor); return true;
    case FourCC("bdlZ"): visit(p.BorderLineSize); return true;
    case FourCC("bdlT"): visit(p.BorderLineType); return true;
    case FourCC("bbdS"): visit(p.Borders); return true;
    case FourCC("lioP"): visit(p.LineOpaque); return true;  // uint8: keeps the low 8 bits
    case FourCC("bkoP"): visit(p.BackOpaque); return true;
    case FourCC("firC"): visit(p.FirstBackClr); return true;
    case FourCC("bkc1"): visit(p.BackClr); return true;
    case FourCC("bkc2"): visit(p.BackClr2); return true;
    default: return false;
    }
}

template <typename Params>
auto FlagField(Params& p, DescriptorKeyID key) -> decltype(&p.FillBkGnd) {
    if (key == FourCC("filB")) return &p.FillBkGnd;
    if (key == FourCC("docK")) return &p.DockBorder;
    return nullptr;
}

template <typename Params>
auto ListField(Params& p, DescriptorKeyID key) -> decltype(&p.RowSizes[0]) {
    if (key == FourCC("rowZ")) return p.RowSizes;
    if (key == FourCC("colZ")) return p.ColSizes;
    return nullptr;
}

// coercedParamErr still delivers a valid value.
bool Delivered(OSErr err) { return err == host::noErr || err == host::coercedParamErr; }

// ---- reading ---------------------------------------------------------------

bool CanRead(const ReadDescriptorProcs* r) {
    using R = ReadDescriptorProcs;
    return HasReadProc(r, &R::openReadDescriptorProc) &&
           HasReadProc(r, &R::closeReadDescriptorProc) && HasReadProc(r, &R::getKeyProc) &&
           HasReadProc(r, &R::getIntegerProc) && HasReadProc(r, &R::getBooleanProc) &&
           HasReadProc(r, &R::getStringProc);
}

bool ReadInteger(const ReadDescriptorProcs& r, host::PIReadDescriptor reader, DescriptorKeyID key,
                 TableParams& p) {
    int32_t value = 0;
    if (!Delivered(r.getIntegerProc(reader, &value))) return false;
    return VisitIntegerField(p, key, [value](auto& field) {
        field = static_cast<std::remove_reference_t<decltype(field)>>(value);
    });
}

bool ReadFlag(const ReadDescriptorProcs& r, host::PIReadDescriptor reader, int32_t& field) {
    host::Boolean value = 0;
    if (!Delivered(r.getBooleanProc(reader, &value))) return false;
    field = value != 0 ? 1 : 0;
    return true;
}

bool ReadList(const ReadDescriptorProcs& r, host::PIReadDescriptor reader, char16_t* field) {
    // Hosts need not terminate the string; the length byte bounds it, and a
    // length byte cannot point past 256 bytes.
    host::Str255 text{};
    if (!Delivered(r.getStringProc(reader, &text))) return false;
    const size_t units = AnsiToUtf16(text + 1, text[0], field, kSizeListCapacity - 1);
    field[units] = u'\0';
    return true;
}

// Reads the value of the key just delivered; false for an unknown key or a
// failed read, either of which ends the reading.
bool ReadValue(const ReadDescriptorProcs& r, host::PIReadDescriptor reader, DescriptorKeyID key,
               TableParams& p) {
    if (int32_t* flag = FlagField(p, key)) return ReadFlag(r, reader, *flag);
    if (char16_t* list = ListField(p, key)) return ReadList(r, reader, list);
    if (VisitIntegerField(p, key, [](auto&) {})) return ReadInteger(r, reader, key, p);
    return false;
}

// Reads every key the host delivers; returns the close procedure's result.
OSErr ReadKeys(const ReadDescriptorProcs& r, host::PIReadDescriptor reader, TableParams& p) {
    DescriptorKeyID key = 0;
    host::DescriptorTypeID type = 0;
    int32_t flags = 0;
    while (r.getKeyProc(reader, &key, &type, &flags) && ReadValue(r, reader, key, p)) {
    }
    return r.closeReadDescriptorProc(reader);
}

bool CanDispose(const host::HandleProcs* handles) {
    return HasHandleProc(handles, &host::HandleProcs::disposeProc);
}

// The descriptor is ours once offered; without a dispose procedure the host
// keeps it, so it stays in place for the host to free.
void DisposeDescriptor(PIDescriptorParameters& d, const host::HandleProcs* handles) {
    if (!d.descriptor || !CanDispose(handles)) return;
    handles->disposeProc(d.descriptor);
    d.descriptor = nullptr;
}

void DecideShowDialog(const PIDescriptorParameters& d, OSErr result, int32_t& showDialog) {
    switch (d.playInfo) {
    case host::plugInDialogDontDisplay: showDialog = result != host::noErr; break;
    case host::plugInDialogDisplay: showDialog = d.recordInfo != host::plugInDialogNone; break;
    case host::plugInDialogSilent: showDialog = 0; break;
    default: break;
    }
}

// ---- writing ---------------------------------------------------------------

bool CanWrite(const WriteDescriptorProcs* w) {
    return HasWriteProc(w, &WriteDescriptorProcs::openWriteDescriptorProc) &&
           HasWriteProc(w, &WriteDescriptorProcs::closeWriteDescriptorProc);
}

// The list as a Pascal string in the ANSI code page. The copy bounds the read
// to the field even if its terminator were missing.
void ToPascal(const char16_t (&list)[kSizeListCapacity], host::Str255& out) {
    char16_t text[kSizeListCapacity];
    size_t length = 0;
    for (; length < kSizeListCapacity - 1 && list[length] != u'\0'; ++length)
        text[length] = list[length];
    text[length] = u'\0';
    out[0] = uint8_t(Utf16ToAnsi(text, out + 1, kPascalCapacity));
}

struct PascalLists {
    host::Str255 rows{};
    host::Str255 cols{};
};

// Individual results are not checked: a refused key only leaves it out.
void PutValue(const WriteDescriptorProcs& w, host::PIWriteDescriptor writer, DescriptorKeyID key,
              const TableParams& p, const PascalLists& lists) {
    using W = WriteDescriptorProcs;
    if (const int32_t* flag = FlagField(p, key)) {
        if (HasWriteProc(&w, &W::putBooleanProc)) w.putBooleanProc(writer, key, *flag != 0);
    } else if (ListField(p, key)) {
        const host::Str255& text = key == FourCC("rowZ") ? lists.rows : lists.cols;
        if (HasWriteProc(&w, &W::putStringProc)) w.putStringProc(writer, key, text);
    } else {
        int32_t value = 0;
        VisitIntegerField(p, key, [&value](const auto& field) { value = int32_t(field); });
        if (HasWriteProc(&w, &W::putIntegerProc)) w.putIntegerProc(writer, key, value);
    }
}

}  // namespace

OSErr ReadScriptParams(host::FilterRecord* record, TableParams& params, int32_t& showDialog) {
    params.Borders = 0;  // a descriptor without bbdS selects no border
    PIDescriptorParameters* d = record ? record->descriptorParameters : nullptr;
    if (!d || !CanRead(d->readDescriptorProcs) || !d->descriptor) return host::nilHandleErr;

    // Writable and fresh for every read: hosts overwrite the entries they deliver.
    DescriptorKeyID keys[kScriptKeyCount + 1];
    for (int i = 0; i < kScriptKeyCount; ++i)
        keys[i] = kScriptKeys[i].key;
    keys[kScriptKeyCount] = 0;

    const ReadDescriptorProcs& r = *d->readDescriptorProcs;
    OSErr result = host::nilHandleErr;
    // A descriptor the host could not open stays with the host, which frees
    // whatever is left in the parameters after the run.
    if (host::PIReadDescriptor reader = r.openReadDescriptorProc(d->descriptor, keys)) {
        result = ReadKeys(r, reader, params);
        DisposeDescriptor(*d, record->handleProcs);
    }
    DecideShowDialog(*d, result, showDialog);
    return result;
}

OSErr WriteScriptParams(host::FilterRecord* record, const TableParams& params) {
    PascalLists lists;
    ToPascal(params.RowSizes, lists.rows);
    ToPascal(params.ColSizes, lists.cols);

    PIDescriptorParameters* d = record ? record->descriptorParameters : nullptr;
    if (!d || !CanWrite(d->writeDescriptorProcs)) return host::nilHandleErr;
    // A descriptor that cannot be disposed must not be replaced: it would leak.
    if (d->descriptor && !CanDispose(record->handleProcs)) return host::nilHandleErr;
    const WriteDescriptorProcs& w = *d->writeDescriptorProcs;
    host::PIWriteDescriptor writer = w.openWriteDescriptorProc();
    if (!writer) return host::errMissingParameter;

    for (const ScriptKey& k : kScriptKeys)
        PutValue(w, writer, k.key, params, lists);

    DisposeDescriptor(*d, record->handleProcs);
    host::PIDescriptorHandle fresh = nullptr;
    const OSErr closed = w.closeWriteDescriptorProc(writer, &fresh);
    d->descriptor = fresh;  // never the disposed one, even when the close failed
    d->recordInfo = host::plugInDialogOptional;
    return closed;
}

}  // namespace gridsmith
