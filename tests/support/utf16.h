// Bytes of UTF-16 little-endian text, as the language tables are stored.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vrdk::testing {

// The code units of `text` as little-endian bytes, after the byte-order mark
// FF FE when `with_bom` is set.
inline std::vector<std::uint8_t> Utf16Le(std::u16string_view text, bool with_bom = true) {
  std::vector<std::uint8_t> bytes;
  if (with_bom) bytes = {0xFF, 0xFE};
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

}  // namespace vrdk::testing
