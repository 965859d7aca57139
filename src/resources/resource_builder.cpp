#include "resources/resource_builder.h"

#include <cstring>

#include "params/script_params.h"
#include "plugin/host_abi.h"

namespace gridsmith::resources {

using host::FourCC;

const PluginDescription kGridsmith = {
    "Gridsmith",
    "Brackenhold",
    "Gridsmith Filter",
    "PluginMain",
    0x00040000,
    // Grayscale, RGB, CMYK, HSL, HSB, multichannel, duotone, Lab.
    {0x5F, 0xC0, 0x00, 0x00},
    "in (PSHOP_ImageMode, GrayScaleMode, RGBMode,CMYKMode, HSLMode, HSBMode, "
    "MultichannelMode,DuotoneMode, LabMode,Gray16Mode, RGB48Mode, CMYK64Mode, "
    "Lab48Mode, Gray32Mode, RGB96Mode, CMYK128Mode)",
    2000000,
    2000000,
    {0x80, 0x00, 0x00, 0x00},
    // Every case: matte with white both ways, no copy to the destination,
    // works on blank data, filters layer masks.
    {{4, 4, 7, 0}, {4, 4, 7, 0}, {4, 4, 7, 0}, {4, 4, 7, 0},
     {4, 4, 7, 0}, {4, 4, 7, 0}, {4, 4, 7, 0}},
    FourCC("grSm"),
    FourCC("grSm"),
    kAeteId,
    "37ce0fb1-7067-425f-8f08-555a0301d757",
};

namespace {

// Little-endian writer; four-character codes go out as little-endian integers,
// so their characters appear reversed.
class ByteWriter {
public:
    void U8(uint8_t v) { bytes_.push_back(v); }
    void I16(int32_t v) {
        U8(uint8_t(v));
        U8(uint8_t(v >> 8));
    }
    void U32(uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) U8(uint8_t(v >> shift));
    }
    void Code(uint32_t code) { U32(code); }
    void Raw(const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    void Zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void Append(const std::vector<uint8_t>& other) { Raw(other.data(), other.size()); }

    // One length byte and at most 255 characters.
    void PascalString(const char* text) {
        size_t length = std::strlen(text);
        if (length > 255) length = 255;
        U8(uint8_t(length));
        Raw(text, length);
    }
    void CString(const char* text) { Raw(text, std::strlen(text) + 1); }

    size_t Size() const { return bytes_.size(); }
    std::vector<uint8_t>& Bytes() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// Property-list strings are followed by one to four zero bytes, so that the
// string field ends on a multiple of four from its own start. The host's own
// resource converter pads them this way, and the lengths it expects follow.
void PiplPascalString(ByteWriter& out, const char* text) {
    size_t start = out.Size();
    out.PascalString(text);
    size_t used = out.Size() - start;
    out.Zeros(((used + 4) & ~size_t(3)) - used);
}

void PiplCString(ByteWriter& out, const char* text) {
    size_t start = out.Size();
    out.CString(text);
    size_t used = out.Size() - start;
    out.Zeros(((used + 4) & ~size_t(3)) - used);
}

class PropertyList {
public:
    // The recorded length includes the zero bytes that end the data, so every
    // property starts on a multiple of four from the first one.
    void Add(uint32_t key, ByteWriter& data) {
        size_t padded = (data.Size() + 3) & ~size_t(3);
        data.Zeros(padded - data.Size());
        body_.Code(FourCC("8BIM"));
        body_.Code(key);
        body_.U32(0);
        body_.U32(uint32_t(padded));
        body_.Append(data.Bytes());
        ++count_;
    }

    std::vector<uint8_t> Finish() {
        ByteWriter out;
        out.I16(1);
        out.U32(0);
        out.U32(count_);
        out.Append(body_.Bytes());
        return std::move(out.Bytes());
    }

private:
    ByteWriter body_;
    uint32_t count_ = 0;
};

}  // namespace

std::vector<uint8_t> BuildPipl(const PluginDescription& plugin) {
    PropertyList list;
    {
        ByteWriter d;
        d.Code(FourCC("8BFM"));
        list.Add(FourCC("kind"), d);
    }
    {
        ByteWriter d;
        PiplPascalString(d, plugin.name);
        list.Add(FourCC("name"), d);
    }
    {
        ByteWriter d;
        PiplPascalString(d, plugin.category);
        list.Add(FourCC("catg"), d);
    }
    {
        ByteWriter d;
        d.U32(uint32_t(plugin.interfaceVersion));
        list.Add(FourCC("vers"), d);
    }
    {
        ByteWriter d;
        d.U32(0);
        PiplCString(d, plugin.name);
        list.Add(FourCC("cmpt"), d);
    }
    {
        ByteWriter d;
        PiplCString(d, plugin.entryPoint);
        list.Add(FourCC("8664"), d);
    }
    {
        ByteWriter d;
        d.Raw(plugin.modes, sizeof plugin.modes);
        list.Add(FourCC("mode"), d);
    }
    {
        ByteWriter d;
        d.U32(0);
        d.Code(plugin.eventClass);
        d.Code(plugin.eventId);
        d.I16(plugin.terminologyId);
        PiplCString(d, plugin.terminologyScope);
        list.Add(FourCC("hstm"), d);
    }
    {
        ByteWriter d;
        PiplCString(d, plugin.enableExpression);
        list.Add(FourCC("enbl"), d);
    }
    {
        ByteWriter d;
        d.U32(uint32_t(plugin.maxHeight));
        d.U32(uint32_t(plugin.maxWidth));
        list.Add(FourCC("ms32"), d);
    }
    {
        ByteWriter d;
        d.Raw(plugin.layerSupport, sizeof plugin.layerSupport);
        list.Add(FourCC("flly"), d);
    }
    {
        ByteWriter d;
        for (const FilterCaseInfo& c : plugin.filterCases) {
            d.U8(c.inputHandling);
            d.U8(c.outputHandling);
            d.U8(c.flags1);
            d.U8(c.flags2);
        }
        list.Add(FourCC("fici"), d);
    }
    return list.Finish();
}

std::vector<uint8_t> BuildAete(const PluginDescription& plugin) {
    // The host's parsers expect exactly this shape: one suite with one event,
    // empty reply and direct-parameter descriptions, no padding.
    ByteWriter out;
    out.I16(1);
    out.U8(1);  // major version
    out.U8(0);  // minor version
    out.I16(0);  // language
    out.I16(0);  // script
    out.I16(1);  // suites

    out.PascalString(plugin.category);
    out.PascalString(plugin.description);
    out.Code(plugin.eventClass);
    out.I16(1);  // suite level
    out.I16(1);  // suite version
    out.I16(1);  // events

    out.PascalString(plugin.name);
    out.PascalString(plugin.description);
    out.Code(plugin.eventClass);
    out.Code(plugin.eventId);
    out.Code(host::typeNull);
    out.PascalString("");
    out.I16(0);  // reply: required, single, verb
    out.Code(host::typeImageReference);
    out.PascalString("");
    out.I16(0xB000);  // direct parameter: optional, enumerated, changes state

    out.I16(kScriptKeyCount);
    for (const ScriptKey& key : kScriptKeys) {
        out.PascalString(key.name);
        out.Code(key.key);
        out.Code(key.type);
        out.PascalString(key.description);
        out.I16(0);  // required, single item
    }

    out.I16(0);  // classes
    out.I16(0);  // comparison operators
    out.I16(0);  // enumerations
    return std::move(out.Bytes());
}

}  // namespace gridsmith::resources
