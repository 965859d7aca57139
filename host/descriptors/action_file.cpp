#include "host/descriptors/action_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <utility>

#include "host/descriptors/text_values.h"
#include "host/files/replacing_file.h"

namespace gridsmith::hosting {
namespace {

constexpr size_t kMaxTextBytes = 255;  // what a Pascal string carries

struct OptionName {
    const char* name;
    int16_t value;
};
constexpr OptionName kPlayNames[] = {
    {"dont-display", host::plugInDialogDontDisplay},
    {"display", host::plugInDialogDisplay},
    {"silent", host::plugInDialogSilent},
};
constexpr OptionName kRecordNames[] = {
    {"optional", host::plugInDialogOptional},
    {"required", host::plugInDialogRequired},
    {"none", host::plugInDialogNone},
};

// A name from `names`, or any 16-bit number (hosts may pass other values).
template <size_t N>
bool ParseOption(std::string_view text, const OptionName (&names)[N], int16_t& value) {
    for (const OptionName& option : names) {
        if (text == option.name) {
            value = option.value;
            return true;
        }
    }
    int32_t number = 0;
    if (!ParseDecimal(text, number) || number < INT16_MIN || number > INT16_MAX) return false;
    value = int16_t(number);
    return true;
}

template <size_t N>
std::string OptionText(int16_t value, const OptionName (&names)[N]) {
    for (const OptionName& option : names)
        if (option.value == value) return option.name;
    return std::to_string(value);
}

// ---- keys ----------------------------------------------------------------------

bool IsKeyChar(char c) { return c > ' ' && c < 0x7F && c != '"'; }

std::string KeyText(uint32_t key) {
    const char chars[4] = {char(key >> 24), char(key >> 16), char(key >> 8), char(key)};
    bool plain = chars[0] != '#';
    for (char c : chars)
        plain = plain && IsKeyChar(c);
    const std::string text(chars, 4);
    if (plain && text != "play") return text;  // 'play' would read as the option line
    char hex[11];
    std::snprintf(hex, sizeof hex, "0x%08X", unsigned(key));
    return hex;
}

bool ParseKey(std::string_view text, uint32_t& key) {
    if (text.size() == 10 && text.substr(0, 2) == "0x") return ParseHex32(text, key);
    if (text.size() != 4) return false;
    key = 0;
    for (char c : text) {
        if (!IsKeyChar(c)) return false;
        key = key << 8 | uint8_t(c);
    }
    return true;
}

// ---- text values ---------------------------------------------------------------

std::string EscapeText(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out + "\"";
}

// One escape after a backslash at `text[at]`; advances `at` past it.
bool Unescape(std::string_view text, size_t& at, std::string& out) {
    if (at >= text.size()) return false;
    const char c = text[at++];
    switch (c) {
    case '"':
    case '\\': out += c; return true;
    case 'n': out += '\n'; return true;
    case 'r': out += '\r'; return true;
    case 't': out += '\t'; return true;
    case 'x': {
        uint32_t byte = 0;
        if (at + 2 > text.size() || !ParseHex32(text.substr(at, 2), byte)) return false;
        out += char(byte);
        at += 2;
        return true;
    }
    default: return false;
    }
}

bool ParseText(std::string_view text, std::string& bytes, std::string& message) {
    if (text.size() < 2 || text.front() != '"') {
        message = "text must be in double quotes";
        return false;
    }
    size_t at = 1;
    while (at < text.size() && text[at] != '"') {
        if (text[at] != '\\') {
            bytes += text[at++];
        } else if (!Unescape(text, ++at, bytes)) {
            message = "bad escape in " + Quoted(text) + " (\\\" \\\\ \\n \\r \\t \\xHH)";
            return false;
        }
    }
    if (at + 1 != text.size()) {
        message = at >= text.size() ? "missing closing quote" : "text after the closing quote";
        return false;
    }
    if (bytes.size() > kMaxTextBytes) {
        message = "text longer than 255 bytes";
        return false;
    }
    return true;
}

// ---- items -----------------------------------------------------------------------

bool ParseInteger(std::string_view text, int32_t& value) {
    uint32_t bits = 0;
    if (text.size() > 2 && text.substr(0, 2) == "0x" && ParseHex32(text, bits)) {
        value = int32_t(bits);
        return true;
    }
    return ParseDecimal(text, value);
}

bool ParseValue(std::string_view type, std::string_view text, DescriptorValue& value,
                std::string& message) {
    if (type == "long") {
        int32_t number = 0;
        if (!ParseInteger(text, number)) message = Quoted(text) + " is not a 32-bit integer";
        value = number;
    } else if (type == "bool") {
        if (text != "true" && text != "false") message = Quoted(text) + " is not true or false";
        value = text == "true";
    } else if (type == "TEXT") {
        std::string bytes;
        ParseText(text, bytes, message);
        value = std::move(bytes);
    } else {
        message = "unknown type " + Quoted(type) + " (long, bool or TEXT)";
    }
    return message.empty();
}

bool ParseItem(std::string_view line, Descriptor& descriptor, std::string& message) {
    const auto [keyText, rest] = SplitWord(line);
    uint32_t key = 0;
    if (!ParseKey(keyText, key)) {
        message = Quoted(keyText) + " is not a four-character key or 0xHHHHHHHH";
        return false;
    }
    const auto [type, valueText] = SplitWord(rest);
    DescriptorValue value;
    if (!ParseValue(type, valueText, value, message)) {
        message = KeyText(key) + ": " + message;
        return false;
    }
    descriptor.push_back({key, std::move(value)});
    return true;
}

bool ParseLine(std::string_view line, ActionFile& action, std::string& message) {
    const auto [word, rest] = SplitWord(line);
    if (word == "play") {
        if (!ParsePlayOption(rest, action.playInfo))
            message = "play: " + Quoted(rest) + " is not display, dont-display or silent";
    } else if (word == "record") {
        if (!ParseRecordOption(rest, action.recordInfo))
            message = "record: " + Quoted(rest) + " is not optional, required or none";
    } else {
        ParseItem(line, action.descriptor, message);
    }
    return message.empty();
}

std::string ValueText(const DescriptorValue& value) {
    if (auto* number = std::get_if<int32_t>(&value)) return "long " + std::to_string(*number);
    if (auto* flag = std::get_if<bool>(&value)) return *flag ? "bool true" : "bool false";
    return "TEXT " + EscapeText(std::get<std::string>(value));
}

}  // namespace

bool ParsePlayOption(std::string_view text, int16_t& playInfo) {
    return ParseOption(Trim(text), kPlayNames, playInfo);
}

bool ParseRecordOption(std::string_view text, int16_t& recordInfo) {
    return ParseOption(Trim(text), kRecordNames, recordInfo);
}

bool ParseActionFile(std::string_view text, ActionFile& out, std::string& error) {
    ActionFile action;
    const bool ok = ForEachLine(text, [&](int number, std::string_view raw) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line[0] == '#') return true;
        std::string message;
        if (ParseLine(line, action, message)) return true;
        error = "line " + std::to_string(number) + ": " + message;
        return false;
    });
    if (ok) out = std::move(action);
    return ok;
}

std::string FormatActionFile(const ActionFile& action) {
    std::string text = "# Gridsmith action\n";
    text += "play " + OptionText(action.playInfo, kPlayNames) + "\n";
    text += "record " + OptionText(action.recordInfo, kRecordNames) + "\n";
    for (const DescriptorItem& item : action.descriptor)
        text += KeyText(item.key) + " " + ValueText(item.value) + "\n";
    return text;
}

bool LoadActionFile(const std::string& path, ActionFile& out, std::string& error) {
    std::string text;
    if (!ReadTextFile(path, text, error)) return false;
    if (ParseActionFile(text, out, error)) return true;
    error = path + ": " + error;
    return false;
}

bool SaveActionFile(const std::string& path, const ActionFile& action, std::string& error) {
    return WriteTextFile(path, FormatActionFile(action), error);
}

bool ReadTextFile(const std::string& path, std::string& text, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    if (file) contents << file.rdbuf();
    if (!file || file.bad()) {
        error = "cannot read '" + path + "'";
        return false;
    }
    text = contents.str();
    return true;
}

bool WriteTextFile(const std::string& path, const std::string& text, std::string& error) {
    std::string problem = ReplaceFileContents(path, text);
    if (problem.empty()) return true;
    error = std::move(problem);
    return false;
}

}  // namespace gridsmith::hosting
