// Device macro names: 16 bytes holding up to 8 UTF-16 code units, each high
// byte first, the rest zero. A shown name ends at the first zero unit.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/result.h"
#include "image/layout.h"

namespace vrdk::macros {

using MacroName = std::array<std::uint8_t, image::kMacroNameSize>;

inline constexpr std::size_t kMacroNameUnits = image::kMacroNameSize / 2;

// Units past the eighth are dropped.
MacroName EncodeMacroName(std::u16string_view name);
std::u16string DecodeMacroName(std::span<const std::uint8_t, image::kMacroNameSize> bytes);

// How each memory type tells a free place from a macro by the first two name
// bytes: "I2C" ends its list at a name that starts 00 00 or has 0xFF in
// either byte; "Flash" takes a slot as free when they are 00 00 or FF FF.
bool I2CNameReadsAsFree(std::span<const std::uint8_t> name);
bool FlashNameReadsAsFree(std::span<const std::uint8_t> name);
// Whether a name can be given to a macro: kBadName, saying why, when it is
// empty, more than 8 units, holds a NUL unit, or begins with a unit that
// either memory type reads as a free place (a byte 0xFF, as in U+4EFF).
Result<void> CheckMacroName(std::u16string_view name);

// The "Flash" name table of a mouse without macros: "Macro1" .. "Macro32".
std::array<std::uint8_t, image::kMacroNameTableSize> DefaultMacroNameTable();

}  // namespace vrdk::macros

namespace vrdk::macros {

// A name typed as UTF-8 (a command line, a text file) as UTF-16 units; nothing
// when the text is not valid UTF-8. The caller checks the length.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace vrdk::macros
