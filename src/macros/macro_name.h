// Device macro names: 16 bytes holding up to 8 UTF-16 code units, each high
// byte first, the rest zero. A shown name ends at the first zero unit.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "image/layout.h"

namespace vrdk::macros {

using MacroName = std::array<std::uint8_t, image::kMacroNameSize>;

inline constexpr std::size_t kMacroNameUnits = image::kMacroNameSize / 2;

// Units past the eighth are dropped.
MacroName EncodeMacroName(std::u16string_view name);
std::u16string DecodeMacroName(std::span<const std::uint8_t, image::kMacroNameSize> bytes);

// The "Flash" name table of a mouse without macros: "Macro1" .. "Macro32".
std::array<std::uint8_t, image::kMacroNameTableSize> DefaultMacroNameTable();

}  // namespace vrdk::macros

namespace vrdk::macros {

// A name typed as UTF-8 (a command line, a text file) as UTF-16 units; nothing
// when the text is not valid UTF-8. The caller checks the length.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace vrdk::macros
