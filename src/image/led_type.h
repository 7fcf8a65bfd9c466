// The LED type of the mouse, decoded from User section byte 1:
//   bits 7..6 = 00 "RGB", 01 "Sync", 10 with bits 5..4 = 00 "MCULED",
//   10 with bits 5..4 != 00 "NT", 11 "NT".
// Before the first User section has been shown the type is unknown (the
// empty text), and section defaults treat it like "RGB".
#pragma once

#include <cstdint>
#include <string_view>

namespace vrdk::image {

enum class LedType { kUnknown, kRGB, kSync, kNT, kMCULED };

constexpr LedType LedTypeFromUserByte(std::uint8_t byte) {
  switch (byte >> 6) {
    case 0:
      return LedType::kRGB;
    case 1:
      return LedType::kSync;
    case 2:
      return (byte & 0x30) == 0 ? LedType::kMCULED : LedType::kNT;
    default:
      return LedType::kNT;
  }
}

// "RGB", "Sync", "NT", "MCULED", or "" while unknown.
constexpr std::string_view LedTypeName(LedType type) {
  switch (type) {
    case LedType::kRGB:
      return "RGB";
    case LedType::kSync:
      return "Sync";
    case LedType::kNT:
      return "NT";
    case LedType::kMCULED:
      return "MCULED";
    case LedType::kUnknown:
      break;
  }
  return "";
}

}  // namespace vrdk::image
