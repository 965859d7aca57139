// ANSI code pages through glibc's iconv. Its converters write whole
// characters only, so stopping at the output's capacity never splits one.
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "params/ansi_text.h"
#include "params/ansi_text_native.h"

namespace gridsmith {
namespace {

unsigned g_systemCodePage = 1252;

std::string CharsetName(unsigned codePage) {
    if (codePage == kSystemAnsiCodePage) codePage = g_systemCodePage;
    if (codePage == 65001) return "UTF-8";
    return "CP" + std::to_string(codePage);  // CP1252, CP936 (GBK), ...
}

const char* Utf16Name() {
    const char16_t probe = 1;
    return *reinterpret_cast<const unsigned char*>(&probe) == 1 ? "UTF-16LE" : "UTF-16BE";
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

// One conversion direction, with the input and output cursors it advances.
class Converter {
public:
    Converter(const std::string& to, const std::string& from)
        : cd_(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (Ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts until the input ends, the output is full (true for both) or an
    // undecodable or unmappable sequence stops it (false).
    bool Run(const char*& in, size_t& inLeft, char*& out, size_t& outLeft) {
        auto* input = const_cast<char*>(in);
        const size_t r = iconv(cd_, &input, &inLeft, &out, &outLeft);
        const int err = errno;
        in = input;
        return r != size_t(-1) || err == E2BIG;
    }

private:
    iconv_t cd_;
};

}  // namespace

void SetSystemAnsiCodePage(unsigned codePage) { g_systemCodePage = codePage; }
unsigned SystemAnsiCodePage() { return g_systemCodePage; }

size_t AnsiToUtf16(const uint8_t* bytes, size_t count, char16_t* out, size_t capacity,
                   unsigned codePage) {
    if (!bytes || !out) return 0;
    Converter converter(Utf16Name(), CharsetName(codePage));
    if (!converter.Ok()) return 0;
    const char* in = reinterpret_cast<const char*>(bytes);
    char* to = reinterpret_cast<char*>(out);
    size_t inLeft = count;
    size_t outLeft = capacity * sizeof(char16_t);
    while (inLeft > 0 && !converter.Run(in, inLeft, to, outLeft)) {
        // A byte the code page cannot decode becomes U+FFFD, as on Windows.
        if (outLeft < sizeof(char16_t)) break;
        const char16_t replacement = u'\uFFFD';
        std::memcpy(to, &replacement, sizeof replacement);
        to += sizeof replacement;
        outLeft -= sizeof replacement;
        ++in;
        --inLeft;
    }
    return size_t(to - reinterpret_cast<char*>(out)) / sizeof(char16_t);
}

size_t Utf16ToAnsi(const char16_t* text, uint8_t* out, size_t capacity, unsigned codePage) {
    if (!text || !out) return 0;
    Converter converter(CharsetName(codePage), Utf16Name());
    if (!converter.Ok()) return 0;
    size_t length = 0;
    while (text[length])
        ++length;
    const char* in = reinterpret_cast<const char*>(text);
    char* to = reinterpret_cast<char*>(out);
    size_t inLeft = length * sizeof(char16_t);
    size_t outLeft = capacity;
    while (inLeft > 0 && !converter.Run(in, inLeft, to, outLeft)) {
        // A character the code page lacks (or a lone surrogate) becomes '?',
        // as WideCharToMultiByte writes it.
        if (outLeft < 1) break;
        *to++ = '?';
        --outLeft;
        const auto* unit = reinterpret_cast<const char16_t*>(in);
        const bool pair =
            inLeft >= 2 * sizeof(char16_t) && IsHighSurrogate(unit[0]) && IsLowSurrogate(unit[1]);
        const size_t skip = (pair ? 2 : 1) * sizeof(char16_t);
        in += skip;
        inLeft -= skip;
    }
    return size_t(to - reinterpret_cast<char*>(out));
}

}  // namespace gridsmith
