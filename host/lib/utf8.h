// UTF-8 text to and from the Windows API's UTF-16 (Windows build only).
#pragma once

#include <string>

namespace gridsmith::hosting {

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

}  // namespace gridsmith::hosting
