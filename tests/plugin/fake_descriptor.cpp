#include "tests/plugin/fake_descriptor.h"

#include <cstring>

namespace gridsmith::testing {

using host::FourCC;

FakeDescriptor* FakeDescriptor::active_ = nullptr;

FakeDescriptor::FakeDescriptor(hosting::FilterHost& host, std::vector<FakeItem> items)
    : host_(host), items_(std::move(items)) {
    procs_.numReadDescriptorProcs = 18;
    procs_.openReadDescriptorProc = &Open;
    procs_.closeReadDescriptorProc = &Close;
    procs_.getKeyProc = &GetKey;
    procs_.getIntegerProc = &GetInteger;
    procs_.getBooleanProc = &GetBoolean;
    procs_.getStringProc = &GetString;
    parameters_.playInfo = host::plugInDialogDontDisplay;
    parameters_.descriptor = host.Handles().New(0);
    parameters_.readDescriptorProcs = &procs_;
    host.SetDescriptorParameters(&parameters_);
    active_ = this;
}

FakeDescriptor::~FakeDescriptor() {
    if (parameters_.descriptor) host_.Handles().Dispose(parameters_.descriptor);
    host_.SetDescriptorParameters(nullptr);
    active_ = nullptr;
}

host::PIReadDescriptor FakeDescriptor::Open(host::PIDescriptorHandle, host::DescriptorKeyID*) {
    active_->next_ = 0;
    return reinterpret_cast<host::PIReadDescriptor>(active_);
}

host::OSErr FakeDescriptor::Close(host::PIReadDescriptor) { return host::noErr; }

const FakeItem* FakeDescriptor::Current() {
    return active_->next_ == 0 ? nullptr : &active_->items_[active_->next_ - 1];
}

host::Boolean FakeDescriptor::GetKey(host::PIReadDescriptor, host::DescriptorKeyID* key,
                                     host::DescriptorTypeID* type, int32_t* flags) {
    if (active_->next_ == active_->items_.size()) return 0;
    const FakeItem& item = active_->items_[active_->next_++];
    *key = item.key;
    *type = std::holds_alternative<int32_t>(item.value)  ? host::typeInteger
            : std::holds_alternative<bool>(item.value) ? host::typeBoolean
                                                       : host::typeChar;
    *flags = 0;
    return 1;
}

host::OSErr FakeDescriptor::GetInteger(host::PIReadDescriptor, int32_t* value) {
    const FakeItem* item = Current();
    if (!item || !std::holds_alternative<int32_t>(item->value)) return host::paramErr;
    *value = std::get<int32_t>(item->value);
    return host::noErr;
}

host::OSErr FakeDescriptor::GetBoolean(host::PIReadDescriptor, host::Boolean* value) {
    const FakeItem* item = Current();
    if (!item || !std::holds_alternative<bool>(item->value)) return host::paramErr;
    *value = std::get<bool>(item->value) ? 1 : 0;
    return host::noErr;
}

host::OSErr FakeDescriptor::GetString(host::PIReadDescriptor, host::Str255* value) {
    const FakeItem* item = Current();
    if (!item || !std::holds_alternative<std::string>(item->value)) return host::paramErr;
    const std::string& text = std::get<std::string>(item->value);
    (*value)[0] = uint8_t(text.size());
    std::memcpy(*value + 1, text.data(), text.size());
    return host::noErr;
}

std::vector<FakeItem> DefaultTableItems() {
    return {
        {FourCC("rowS"), 4},           {FourCC("colS"), 3},          {FourCC("lefM"), 40},
        {FourCC("topM"), 20},          {FourCC("tabW"), 420},        {FourCC("tabH"), 120},
        {FourCC("gdlZ"), 1},           {FourCC("gdlT"), 0},          {FourCC("gdlC"), 0xD7B395},
        {FourCC("bdlZ"), 1},           {FourCC("bdlT"), 0},          {FourCC("bbdS"), 15},
        {FourCC("filB"), true},        {FourCC("docK"), true},       {FourCC("lioP"), 255},
        {FourCC("bkoP"), 128},         {FourCC("firC"), 0xBD814F},   {FourCC("bkc1"), 0xE4CCB8},
        {FourCC("bkc2"), 0xF1E5DB},    {FourCC("rowZ"), std::string()}, {FourCC("colZ"), std::string()},
    };
}

void SetItem(std::vector<FakeItem>& items, uint32_t key, int32_t value) {
    for (FakeItem& item : items)
        if (item.key == key) item.value = value;
}

}  // namespace gridsmith::testing
