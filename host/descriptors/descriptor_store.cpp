#include "host/descriptors/descriptor_store.h"

#include <algorithm>
#include <cstring>

#include "plugin/host_procs.h"

namespace gridsmith::hosting {

using host::OSErr;

struct DescriptorStore::Reader {
    Descriptor items;
    size_t next = 0;
    const DescriptorItem* current = nullptr;  // the item getKey delivered last
    host::DescriptorKeyID* keys = nullptr;    // the plug-in's key list, 0-terminated
    OSErr error = host::noErr;                // sticky: the last read error
};

struct DescriptorStore::Writer {
    Descriptor items;
};

DescriptorStore* DescriptorStore::active_ = nullptr;

namespace {

// The procedures for value types the store does not hold: each refuses.
template <typename... Args>
OSErr Refuse(Args...) {
    return host::paramErr;
}

// Opaque tokens are the addresses of the store's own records.
template <typename T>
host::OpaqueToken* TokenOf(T* record) {
    return reinterpret_cast<host::OpaqueToken*>(record);
}

template <typename T>
T* FindByToken(std::vector<std::unique_ptr<T>>& records, host::OpaqueToken* token) {
    for (auto& record : records)
        if (TokenOf(record.get()) == token) return record.get();
    return nullptr;
}

// getKeyProc marks every delivered key in the caller's list as the reference
// hosts do, with 'null'.
void MarkDelivered(host::DescriptorKeyID* keys, host::DescriptorKeyID key) {
    if (!keys) return;
    for (; *keys != 0; ++keys)
        if (*keys == key) *keys = host::typeNull;
}

}  // namespace

DescriptorStore::DescriptorStore(const host::HandleProcs* handles)
    : previous_(active_), handles_(handles) {
    active_ = this;

    readProcs_.readDescriptorProcsVersion = 0;
    readProcs_.numReadDescriptorProcs = 18;
    readProcs_.openReadDescriptorProc = OpenRead;
    readProcs_.closeReadDescriptorProc = CloseRead;
    readProcs_.getKeyProc = GetKey;
    readProcs_.getIntegerProc = GetInteger;
    readProcs_.getFloatProc = Refuse<host::PIReadDescriptor, double*>;
    readProcs_.getUnitFloatProc = Refuse<host::PIReadDescriptor, uint32_t*, double*>;
    readProcs_.getBooleanProc = GetBoolean;
    readProcs_.getTextProc = Refuse<host::PIReadDescriptor, host::Handle*>;
    readProcs_.getAliasProc = Refuse<host::PIReadDescriptor, host::Handle*>;
    readProcs_.getEnumeratedProc = Refuse<host::PIReadDescriptor, uint32_t*>;
    readProcs_.getClassProc = Refuse<host::PIReadDescriptor, host::DescriptorTypeID*>;
    readProcs_.getSimpleReferenceProc =
        Refuse<host::PIReadDescriptor, host::PIDescriptorSimpleReference*>;
    readProcs_.getObjectProc =
        Refuse<host::PIReadDescriptor, host::DescriptorTypeID*, host::PIDescriptorHandle*>;
    readProcs_.getCountProc = Refuse<host::PIReadDescriptor, uint32_t*>;
    readProcs_.getStringProc = GetString;
    readProcs_.getPinnedIntegerProc = GetPinnedInteger;
    readProcs_.getPinnedFloatProc =
        Refuse<host::PIReadDescriptor, const double*, const double*, double*>;
    readProcs_.getPinnedUnitFloatProc =
        Refuse<host::PIReadDescriptor, const double*, const double*, uint32_t*, double*>;

    using Key = host::DescriptorKeyID;
    using W = host::PIWriteDescriptor;
    writeProcs_.writeDescriptorProcsVersion = 0;
    writeProcs_.numWriteDescriptorProcs = 16;
    writeProcs_.openWriteDescriptorProc = OpenWrite;
    writeProcs_.closeWriteDescriptorProc = CloseWrite;
    writeProcs_.putIntegerProc = PutInteger;
    writeProcs_.putFloatProc = Refuse<W, Key, const double*>;
    writeProcs_.putUnitFloatProc = Refuse<W, Key, uint32_t, const double*>;
    writeProcs_.putBooleanProc = PutBoolean;
    writeProcs_.putTextProc = Refuse<W, Key, host::Handle>;
    writeProcs_.putAliasProc = Refuse<W, Key, host::Handle>;
    writeProcs_.putEnumeratedProc = Refuse<W, Key, host::DescriptorTypeID, uint32_t>;
    writeProcs_.putClassProc = Refuse<W, Key, host::DescriptorTypeID>;
    writeProcs_.putSimpleReferenceProc = Refuse<W, Key, const host::PIDescriptorSimpleReference*>;
    writeProcs_.putObjectProc = Refuse<W, Key, host::DescriptorTypeID, host::PIDescriptorHandle>;
    writeProcs_.putCountProc = Refuse<W, Key, uint32_t>;
    writeProcs_.putStringProc = PutString;
    writeProcs_.putScopedClassProc = Refuse<W, Key, host::DescriptorTypeID>;
    writeProcs_.putScopedObjectProc =
        Refuse<W, Key, host::DescriptorTypeID, host::PIDescriptorHandle>;

    // A first run: show the dialog, recording optional.
    parameters_.descriptorParametersVersion = 0;
    parameters_.playInfo = host::plugInDialogDisplay;
    parameters_.recordInfo = host::plugInDialogOptional;
    parameters_.readDescriptorProcs = &readProcs_;
    parameters_.writeDescriptorProcs = &writeProcs_;
}

DescriptorStore::~DescriptorStore() {
    DisposeHeld();
    active_ = previous_;
}

void DescriptorStore::SetPlay(int16_t playInfo, int16_t recordInfo) {
    parameters_.playInfo = playInfo;
    parameters_.recordInfo = recordInfo;
}

void DescriptorStore::DisposeHeld() {
    if (parameters_.descriptor && HasHandleProc(handles_, &host::HandleProcs::disposeProc))
        handles_->disposeProc(parameters_.descriptor);
    parameters_.descriptor = nullptr;
    written_ = nullptr;
}

bool DescriptorStore::Offer(const Descriptor& descriptor) {
    DisposeHeld();
    parameters_.descriptor = EncodeDescriptor(descriptor, handles_);
    return parameters_.descriptor != nullptr;
}

std::optional<Descriptor> DescriptorStore::TakeRecorded() {
    if (!parameters_.descriptor || parameters_.descriptor != written_) return std::nullopt;
    auto recorded = DecodeDescriptor(parameters_.descriptor, handles_);
    DisposeHeld();
    return recorded;
}

// ---- plumbing ----------------------------------------------------------------

DescriptorStore* DescriptorStore::Active() { return active_; }

DescriptorStore::Reader* DescriptorStore::FindReader(host::PIReadDescriptor token) {
    return active_ && token ? FindByToken(active_->readers_, token) : nullptr;
}

DescriptorStore::Writer* DescriptorStore::FindWriter(host::PIWriteDescriptor token) {
    return active_ && token ? FindByToken(active_->writers_, token) : nullptr;
}

void DescriptorStore::RecordError(Reader* reader, OSErr err) {
    if (reader && err < 0) reader->error = err;
}

template <typename T>
static void Erase(std::vector<std::unique_ptr<T>>& records, T* record) {
    records.erase(std::remove_if(records.begin(), records.end(),
                                 [record](const auto& r) { return r.get() == record; }),
                  records.end());
}

void DescriptorStore::DisposeReader(Reader* reader) { Erase(active_->readers_, reader); }
void DescriptorStore::DisposeWriter(Writer* writer) { Erase(active_->writers_, writer); }

// ---- read procedures ---------------------------------------------------------

host::PIReadDescriptor DescriptorStore::OpenRead(host::PIDescriptorHandle handle,
                                                 host::DescriptorKeyID* keys) {
    DescriptorStore* store = Active();
    if (!store || !handle || store->faults_.refuseOpenRead) return nullptr;
    auto items = DecodeDescriptor(handle, store->handles_);
    if (!items) return nullptr;
    auto reader = std::make_unique<Reader>();
    reader->items = std::move(*items);
    reader->keys = keys;
    store->readers_.push_back(std::move(reader));
    return TokenOf(store->readers_.back().get());
}

OSErr DescriptorStore::CloseRead(host::PIReadDescriptor token) {
    Reader* reader = FindReader(token);
    if (!reader) return host::paramErr;
    const OSErr injected = active_->faults_.closeReadError;
    const OSErr result = injected != host::noErr ? injected : reader->error;
    DisposeReader(reader);
    return result;
}

host::Boolean DescriptorStore::GetKey(host::PIReadDescriptor token, host::DescriptorKeyID* key,
                                      host::DescriptorTypeID* type, int32_t* flags) {
    Reader* reader = FindReader(token);
    if (!reader) return false;
    if (reader->next >= reader->items.size()) {
        reader->current = nullptr;
        return false;
    }
    reader->current = &reader->items[reader->next++];
    if (key) *key = reader->current->key;
    if (type) *type = TypeOf(reader->current->value);
    if (flags) *flags = 0;
    MarkDelivered(reader->keys, reader->current->key);
    return true;
}

// The current value as T, or the error the get procedure reports.
template <typename T>
static OSErr CurrentValue(DescriptorStore::Reader* reader, const void* out, T& value) {
    if (!reader) return host::paramErr;
    const T* held = reader->current ? std::get_if<T>(&reader->current->value) : nullptr;
    if (!out || !held) return host::paramErr;
    value = *held;
    return host::noErr;
}

OSErr DescriptorStore::GetInteger(host::PIReadDescriptor token, int32_t* out) {
    Reader* reader = FindReader(token);
    int32_t value = 0;
    const OSErr err = CurrentValue(reader, out, value);
    if (err == host::noErr) *out = value;
    RecordError(reader, err);
    return err;
}

OSErr DescriptorStore::GetPinnedInteger(host::PIReadDescriptor token, int32_t min, int32_t max,
                                        int32_t* out) {
    Reader* reader = FindReader(token);
    int32_t value = 0;
    OSErr err = CurrentValue(reader, out, value);
    if (err == host::noErr) {
        const int32_t pinned = std::clamp(value, min, std::max(min, max));
        *out = pinned;
        if (pinned != value) err = host::coercedParamErr;
    }
    RecordError(reader, err);
    return err;
}

OSErr DescriptorStore::GetBoolean(host::PIReadDescriptor token, host::Boolean* out) {
    Reader* reader = FindReader(token);
    bool value = false;
    const OSErr err = CurrentValue(reader, out, value);
    if (err == host::noErr) *out = value ? 1 : 0;
    RecordError(reader, err);
    return err;
}

OSErr DescriptorStore::GetString(host::PIReadDescriptor token, host::Str255* out) {
    Reader* reader = FindReader(token);
    std::string value;
    const OSErr err = CurrentValue(reader, out, value);
    if (err == host::noErr) {
        const size_t length = std::min<size_t>(value.size(), 255);
        (*out)[0] = uint8_t(length);
        std::memcpy(*out + 1, value.data(), length);  // no terminator, like the reference hosts
    }
    RecordError(reader, err);
    return err;
}

// ---- write procedures --------------------------------------------------------

host::PIWriteDescriptor DescriptorStore::OpenWrite() {
    DescriptorStore* store = Active();
    if (!store || store->faults_.refuseOpenWrite) return nullptr;
    store->writers_.push_back(std::make_unique<Writer>());
    return TokenOf(store->writers_.back().get());
}

OSErr DescriptorStore::CloseWrite(host::PIWriteDescriptor token, host::PIDescriptorHandle* out) {
    Writer* writer = FindWriter(token);
    if (!writer) return host::paramErr;
    const Descriptor items = std::move(writer->items);
    DisposeWriter(writer);
    if (!out) return host::paramErr;
    *out = nullptr;
    if (active_->faults_.closeWriteError != host::noErr) return active_->faults_.closeWriteError;
    *out = EncodeDescriptor(items, active_->handles_);
    active_->written_ = *out;
    return *out ? host::noErr : host::memFullErr;
}

OSErr DescriptorStore::Put(host::PIWriteDescriptor token, host::DescriptorKeyID key,
                           DescriptorValue value) {
    Writer* writer = FindWriter(token);
    if (!writer) return host::paramErr;
    SetItem(writer->items, key, std::move(value));
    return host::noErr;
}

OSErr DescriptorStore::PutInteger(host::PIWriteDescriptor token, host::DescriptorKeyID key,
                                  int32_t value) {
    return Put(token, key, value);
}

OSErr DescriptorStore::PutBoolean(host::PIWriteDescriptor token, host::DescriptorKeyID key,
                                  host::Boolean value) {
    return Put(token, key, value != 0);
}

OSErr DescriptorStore::PutString(host::PIWriteDescriptor token, host::DescriptorKeyID key,
                                 host::ConstStr255Param text) {
    if (!text) return host::paramErr;
    return Put(token, key, std::string(reinterpret_cast<const char*>(text + 1), text[0]));
}

}  // namespace gridsmith::hosting
