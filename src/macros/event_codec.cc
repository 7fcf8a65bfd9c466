#include "macros/event_codec.h"

namespace vrdk::macros {

std::optional<std::size_t> EventSize(std::uint8_t op) {
  switch (op) {
    case opcode::kEnd:
    case opcode::kLoopEnd:
      return 1;
    case opcode::kModifierDown:
    case opcode::kModifierUp:
    case opcode::kKeyDown:
    case opcode::kKeyUp:
    case opcode::kLoopStart:
      return 2;
    case opcode::kMove:
    case opcode::kDelay:
      return 3;
    default:
      break;
  }
  const auto button = static_cast<std::uint8_t>(op & ~opcode::kDownBit);
  switch (button) {
    case 0x21:
    case 0x22:
    case 0x24:
    case 0x28:
    case 0x30:
      return 1;
    default:
      return std::nullopt;
  }
}

std::optional<std::size_t> StoredMacroLength(std::span<const std::uint8_t> events) {
  auto at = [&](std::size_t i) -> std::uint8_t { return i < events.size() ? events[i] : 0; };
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (at(i) == 0 && at(i + 1) == 0 && at(i + 2) == 0) return i + 1;
  }
  return std::nullopt;
}

}  // namespace vrdk::macros
