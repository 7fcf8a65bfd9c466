#include "macros/macro_name.h"

#include <algorithm>

namespace vrdk::macros {

MacroName EncodeMacroName(std::u16string_view name) {
  MacroName bytes{};
  const std::size_t units = std::min(name.size(), kMacroNameUnits);
  for (std::size_t i = 0; i < units; ++i) {
    bytes[2 * i] = static_cast<std::uint8_t>(name[i] >> 8);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(name[i] & 0xFF);
  }
  return bytes;
}

std::u16string DecodeMacroName(std::span<const std::uint8_t, image::kMacroNameSize> bytes) {
  std::u16string name;
  for (std::size_t i = 0; i < kMacroNameUnits; ++i) {
    const auto unit = static_cast<char16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
    if (unit == 0) break;
    name.push_back(unit);
  }
  return name;
}

std::array<std::uint8_t, image::kMacroNameTableSize> DefaultMacroNameTable() {
  std::array<std::uint8_t, image::kMacroNameTableSize> table{};
  for (std::size_t slot = 0; slot < image::kMacroSlots; ++slot) {
    std::u16string name = u"Macro";
    for (char c : std::to_string(slot + 1)) name.push_back(static_cast<char16_t>(c));
    const MacroName bytes = EncodeMacroName(name);
    std::copy(bytes.begin(), bytes.end(),
              table.begin() + static_cast<std::ptrdiff_t>(slot * image::kMacroNameSize));
  }
  return table;
}

}  // namespace vrdk::macros
