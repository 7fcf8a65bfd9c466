#include "macros/macro_name.h"

#include <algorithm>
#include <cstdio>

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

bool I2CNameReadsAsFree(std::span<const std::uint8_t> name) {
  if (name.size() < 2) return true;
  return (name[0] == 0 && name[1] == 0) || name[0] == 0xFF || name[1] == 0xFF;
}

bool FlashNameReadsAsFree(std::span<const std::uint8_t> name) {
  if (name.size() < 2) return true;
  return (name[0] == 0 && name[1] == 0) || (name[0] == 0xFF && name[1] == 0xFF);
}

Result<void> CheckMacroName(std::u16string_view name) {
  auto bad = [](std::string why) { return Error{ErrorKind::kBadName, std::move(why)}; };
  if (name.empty()) return bad("a macro name cannot be empty");
  if (name.size() > kMacroNameUnits) return bad("a macro name has at most 8 characters");
  if (name.find(u'\0') != std::u16string_view::npos) {
    return bad("a macro name cannot hold a NUL character");
  }
  if ((name[0] & 0xFF) == 0xFF || (name[0] >> 8) == 0xFF) {
    char text[128];
    std::snprintf(text, sizeof text,
                  "a macro name cannot begin with U+%04X: the mouse reads a name whose first "
                  "character has a byte FF as a free place",
                  static_cast<unsigned>(name[0]));
    return bad(text);
  }
  return {};
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

namespace vrdk::macros {

std::optional<std::u16string> Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3;
      cp = lead & 0x07;
    } else {
      return std::nullopt;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((c & 0xC0) != 0x80) return std::nullopt;
      cp = cp << 6 | (c & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // a lone surrogate
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | cp >> 6));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | cp >> 12));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | cp >> 18));
      out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace vrdk::macros
