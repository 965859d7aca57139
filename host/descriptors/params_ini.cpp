#include "host/descriptors/params_ini.h"

#include <map>

#include "host/descriptors/action_file.h"
#include "host/descriptors/text_values.h"

namespace gridsmith::hosting {
namespace {

using host::FourCC;

enum class Kind { Integer, Opacity, Colour, Flag, List };

struct Param {
    const char* name;  // as in the parameter file
    uint32_t key;      // descriptor key
    Kind kind;
    int32_t fileDefault;    // for a key missing from a parameter file
    int32_t plugInDefault;  // the plug-in's own default
    bool inFile;
};

// In descriptor order.
constexpr Param kParams[] = {
    {"Rows", FourCC("rowS"), Kind::Integer, 0, 4, true},
    {"Cols", FourCC("colS"), Kind::Integer, 0, 3, true},
    {"LeftMargin", FourCC("lefM"), Kind::Integer, 0, 40, true},
    {"TopMargin", FourCC("topM"), Kind::Integer, 0, 20, true},
    {"TableWidth", FourCC("tabW"), Kind::Integer, 0, 420, true},
    {"TableHeight", FourCC("tabH"), Kind::Integer, 0, 120, true},
    {"GridLineSize", FourCC("gdlZ"), Kind::Integer, 1, 1, true},
    {"GridLineType", FourCC("gdlT"), Kind::Integer, 0, 0, true},
    {"LineColor", FourCC("gdlC"), Kind::Colour, 0, 0xD7B395, true},
    {"BorderLineSize", FourCC("bdlZ"), Kind::Integer, 2, 1, true},
    {"BorderLineType", FourCC("bdlT"), Kind::Integer, 0, 0, true},
    {"Borders", FourCC("bbdS"), Kind::Integer, 0, 15, true},
    {"FillBkGnd", FourCC("filB"), Kind::Flag, 1, 1, true},
    {"DockBorder", FourCC("docK"), Kind::Flag, 1, 1, false},
    {"LineOpaque", FourCC("lioP"), Kind::Opacity, 255, 255, true},
    {"BackOpaque", FourCC("bkoP"), Kind::Opacity, 255, 128, true},
    {"FirstBackClr", FourCC("firC"), Kind::Colour, 0, 0xBD814F, true},
    {"BackClr", FourCC("bkc1"), Kind::Colour, 0, 0xE4CCB8, true},
    {"BackClr2", FourCC("bkc2"), Kind::Colour, 0, 0xF1E5DB, true},
    {"RowSizes", FourCC("rowZ"), Kind::List, 0, 0, true},
    {"ColSizes", FourCC("colZ"), Kind::List, 0, 0, true},
};

constexpr size_t kMaxListBytes = 255;

const Param* FindParam(std::string_view name, bool fileOnly) {
    for (const Param& param : kParams)
        if (EqualsIgnoreCase(name, param.name) && (param.inFile || !fileOnly)) return &param;
    return nullptr;
}

std::string ParamNames() {
    std::string names;
    for (const Param& param : kParams)
        names += (names.empty() ? "" : ", ") + std::string(param.name);
    return names;
}

DescriptorValue DefaultValue(const Param& param, int32_t value) {
    switch (param.kind) {
    case Kind::Flag: return value != 0;
    case Kind::List: return std::string();
    default: return value;
    }
}

template <typename PickDefault>
Descriptor DescriptorOfDefaults(PickDefault pick) {
    Descriptor descriptor;
    for (const Param& param : kParams)
        descriptor.push_back({param.key, DefaultValue(param, pick(param))});
    return descriptor;
}

bool ParseFlag(std::string_view text, bool& flag) {
    int32_t number = 0;
    if (ParseDecimal(text, number)) {
        flag = number != 0;
        return true;
    }
    if (!EqualsIgnoreCase(text, "true") && !EqualsIgnoreCase(text, "false")) return false;
    flag = EqualsIgnoreCase(text, "true");
    return true;
}

// The value in the file's format for `param`; false with a message.
bool ParseValue(const Param& param, std::string_view text, DescriptorValue& value,
                std::string& message) {
    int32_t number = 0;
    uint32_t bits = 0;
    bool flag = false;
    switch (param.kind) {
    case Kind::Integer:
        if (!ParseDecimal(text, number)) message = "is not a signed 32-bit decimal number";
        value = number;
        break;
    case Kind::Opacity:
        if (!ParseDecimal(text, number)) message = "is not a decimal number";
        value = number & 0xFF;  // like the plug-in, keeps the low 8 bits
        break;
    case Kind::Colour:
        if (!ParseHex32(text, bits)) message = "is not a hexadecimal colour BBGGRR";
        value = int32_t(bits);
        break;
    case Kind::Flag:
        if (!ParseFlag(text, flag)) message = "is not 0, 1, true or false";
        value = flag;
        break;
    case Kind::List:
        if (text.size() > kMaxListBytes) message = "is longer than 255 bytes";
        value = std::string(text);
        break;
    }
    if (message.empty()) return true;
    message = std::string(param.name) + ": " + Quoted(text) + " " + message;
    return false;
}

// The profile reader drops one pair of matching quotes around a value.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool IsUtf16(std::string_view text) {
    return text.size() >= 2 && ((uint8_t(text[0]) == 0xFF && uint8_t(text[1]) == 0xFE) ||
                                (uint8_t(text[0]) == 0xFE && uint8_t(text[1]) == 0xFF));
}

// The raw values of the first [Gridsmith] section, first occurrence of each key.
bool ReadSection(std::string_view text, std::map<const Param*, std::string_view>& values) {
    bool inSection = false;
    bool found = false;
    ForEachLine(text, [&](int, std::string_view raw) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line[0] == ';') return true;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            const std::string_view name =
                Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            inSection = !found && EqualsIgnoreCase(name, "Gridsmith");
            found = found || inSection;
            return true;
        }
        const size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos) return true;
        if (const Param* param = FindParam(Trim(line.substr(0, equals)), true))
            values.emplace(param, Unquote(Trim(line.substr(equals + 1))));
        return true;
    });
    return found;
}

}  // namespace

Descriptor DefaultParamsDescriptor() {
    return DescriptorOfDefaults([](const Param& param) { return param.plugInDefault; });
}

bool ParseParamsIni(std::string_view text, Descriptor& out, std::string& error) {
    if (IsUtf16(text)) {
        error = "UTF-16 parameter files are not supported; save the file as ANSI text";
        return false;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::map<const Param*, std::string_view> values;
    if (!ReadSection(text, values)) {
        error = "no [Gridsmith] section";
        return false;
    }
    Descriptor descriptor =
        DescriptorOfDefaults([](const Param& param) { return param.fileDefault; });
    for (const auto& [param, raw] : values) {
        DescriptorValue value;
        if (!ParseValue(*param, raw, value, error)) return false;
        SetItem(descriptor, param->key, std::move(value));
    }
    out = std::move(descriptor);
    return true;
}

bool LoadParamsIni(const std::string& path, Descriptor& out, std::string& error) {
    std::string text;
    if (!ReadTextFile(path, text, error)) return false;
    if (ParseParamsIni(text, out, error)) return true;
    error = path + ": " + error;
    return false;
}

bool ApplyParamSetting(std::string_view setting, Descriptor& descriptor, std::string& error) {
    const size_t equals = setting.find('=');
    if (equals == std::string_view::npos) {
        error = Quoted(setting) + " is not KEY=VALUE";
        return false;
    }
    const std::string_view name = Trim(setting.substr(0, equals));
    const Param* param = FindParam(name, false);
    if (!param) {
        error = "unknown parameter " + Quoted(name) + "; known: " + ParamNames();
        return false;
    }
    DescriptorValue value;
    if (!ParseValue(*param, Trim(setting.substr(equals + 1)), value, error)) return false;
    SetItem(descriptor, param->key, std::move(value));
    return true;
}

}  // namespace gridsmith::hosting
