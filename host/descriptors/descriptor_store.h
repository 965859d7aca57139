// The host's scripting side: the descriptor parameters handed to the plug-in,
// with real read (version 0, 18 procedures) and write (version 0, 16
// procedures) descriptor procedures over descriptors kept in host handles.
//
// How it behaves towards the plug-in:
// - getKeyProc delivers the keys in their stored order with their types and
//   overwrites every matching entry of the plug-in's key list with 'null'.
// - A get procedure asked for another type than the value holds returns
//   paramErr: there is no coercion. Like every read error it is sticky, and
//   closeReadDescriptorProc reports the last one.
// - getStringProc writes the length byte and the bytes and no terminator.
// - putIntegerProc, putBooleanProc and putStringProc replace a key already put.
// - The other get and put procedures exist but refuse with paramErr: the store
//   holds integers, booleans and texts only (getPinnedIntegerProc excepted).
// - Tokens the store did not hand out are refused, never dereferenced.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "host/descriptors/descriptor.h"
#include "plugin/host_abi.h"

namespace gridsmith::hosting {

// Failures to inject; the defaults inject none.
struct DescriptorFaults {
    bool refuseOpenRead = false;      // openReadDescriptorProc returns null
    bool refuseOpenWrite = false;     // openWriteDescriptorProc returns null
    host::OSErr closeReadError = 0;   // non-zero: closeReadDescriptorProc returns it
    host::OSErr closeWriteError = 0;  // non-zero: closeWriteDescriptorProc returns it, no handle
};

class DescriptorStore {
public:
    // `handles` makes and frees every descriptor handle and must outlive the store.
    explicit DescriptorStore(const host::HandleProcs* handles);
    ~DescriptorStore();  // disposes the handle left in the parameters
    DescriptorStore(const DescriptorStore&) = delete;
    DescriptorStore& operator=(const DescriptorStore&) = delete;

    // The record for the filter record's descriptorParameters.
    host::PIDescriptorParameters* Parameters() { return &parameters_; }

    // Editable, to play a host with fewer or missing procedures.
    host::ReadDescriptorProcs& ReadProcs() { return readProcs_; }
    host::WriteDescriptorProcs& WriteProcs() { return writeProcs_; }
    DescriptorFaults& Faults() { return faults_; }

    void SetPlay(int16_t playInfo, int16_t recordInfo);

    // Offers `descriptor` to the next run in a new handle, replacing any
    // descriptor held. False when no handle could be made.
    bool Offer(const Descriptor& descriptor);

    // What the plug-in recorded: the descriptor it left in the parameters.
    // The handle is disposed and cleared. Nothing when it left none (or only
    // the one offered), or left one this host cannot read.
    std::optional<Descriptor> TakeRecorded();

    // Readers and writers opened but not yet closed.
    int OpenTokens() const { return int(readers_.size() + writers_.size()); }

    struct Reader;
    struct Writer;

private:
    static DescriptorStore* Active();
    static Reader* FindReader(host::PIReadDescriptor token);
    static Writer* FindWriter(host::PIWriteDescriptor token);
    static void RecordError(Reader* reader, host::OSErr err);
    static void DisposeReader(Reader* reader);
    static void DisposeWriter(Writer* writer);

    // Read procedures.
    static host::PIReadDescriptor OpenRead(host::PIDescriptorHandle, host::DescriptorKeyID* keys);
    static host::OSErr CloseRead(host::PIReadDescriptor);
    static host::Boolean GetKey(host::PIReadDescriptor, host::DescriptorKeyID*,
                                host::DescriptorTypeID*, int32_t* flags);
    static host::OSErr GetInteger(host::PIReadDescriptor, int32_t*);
    static host::OSErr GetPinnedInteger(host::PIReadDescriptor, int32_t min, int32_t max, int32_t*);
    static host::OSErr GetBoolean(host::PIReadDescriptor, host::Boolean*);
    static host::OSErr GetString(host::PIReadDescriptor, host::Str255*);

    // Write procedures.
    static host::PIWriteDescriptor OpenWrite();
    static host::OSErr CloseWrite(host::PIWriteDescriptor, host::PIDescriptorHandle*);
    static host::OSErr PutInteger(host::PIWriteDescriptor, host::DescriptorKeyID, int32_t);
    static host::OSErr PutBoolean(host::PIWriteDescriptor, host::DescriptorKeyID, host::Boolean);
    static host::OSErr PutString(host::PIWriteDescriptor, host::DescriptorKeyID,
                                 host::ConstStr255Param);
    static host::OSErr Put(host::PIWriteDescriptor, host::DescriptorKeyID, DescriptorValue);

    void DisposeHeld();

    // Procedure calls carry no context: they reach the most recently created store.
    static DescriptorStore* active_;
    DescriptorStore* previous_;

    const host::HandleProcs* handles_;
    host::ReadDescriptorProcs readProcs_{};
    host::WriteDescriptorProcs writeProcs_{};
    host::PIDescriptorParameters parameters_{};
    DescriptorFaults faults_;
    // The handle the last closed write handed out: a handle address may be
    // reused once disposed, so "recorded" is known by this, not by comparison
    // with what was offered.
    host::Handle written_ = nullptr;
    std::vector<std::unique_ptr<Reader>> readers_;
    std::vector<std::unique_ptr<Writer>> writers_;
};

}  // namespace gridsmith::hosting
