#pragma once

#include <string>
#include <string_view>

namespace tolvane::testing {

// Decodes well-formed UTF-8 (what the program writes); enough for checking passwords.
inline std::u32string FromUtf8(std::string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < text.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    out.push_back(c);
    i += 1 + extra;
  }
  return out;
}

}  // namespace tolvane::testing
