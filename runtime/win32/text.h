#pragma once

#include <string>
#include <string_view>

namespace tolvane::runtime {

// UTF-8 (the contract's strings) to and from UTF-16 (the wide Win32 API).
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace tolvane::runtime
