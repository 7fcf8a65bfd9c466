#include "macros/event_codec.h"

#include <cstdio>

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

EventWalk WalkEvents(std::span<const std::uint8_t> events) {
  std::size_t o = 0;
  while (o < events.size()) {
    if (events[o] == opcode::kEnd) return {EventWalk::Stop::kEnd, o + 1, o};
    const auto size = EventSize(events[o]);
    if (!size) return {EventWalk::Stop::kStrayByte, 0, o};
    if (o + *size > events.size()) return {EventWalk::Stop::kCutShort, 0, o};
    o += *size;
  }
  return {EventWalk::Stop::kNoEnd, 0, o};
}

bool EventStartsAt(std::span<const std::uint8_t> events, std::size_t at) {
  std::size_t o = 0;
  while (o < at && o < events.size()) {
    const auto size = EventSize(events[o]);
    if (!size || events[o] == opcode::kEnd) return false;
    o += *size;
  }
  return o == at;
}

std::string WalkProblem(const EventWalk& walk, std::span<const std::uint8_t> events) {
  char text[96];
  switch (walk.stop) {
    case EventWalk::Stop::kEnd:
      return {};
    case EventWalk::Stop::kStrayByte:
      std::snprintf(text, sizeof text, "the byte 0x%02X at event byte %zu starts no event",
                    events[walk.at], walk.at);
      return text;
    case EventWalk::Stop::kCutShort:
      std::snprintf(text, sizeof text, "the event at event byte %zu runs past the %zu bytes",
                    walk.at, events.size());
      return text;
    case EventWalk::Stop::kNoEnd:
      break;
  }
  std::snprintf(text, sizeof text, "no end byte within its %zu bytes", events.size());
  return text;
}

std::optional<std::size_t> StoredMacroLength(std::span<const std::uint8_t> events) {
  auto at = [&](std::size_t i) -> std::uint8_t { return i < events.size() ? events[i] : 0; };
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (at(i) == 0 && at(i + 1) == 0 && at(i + 2) == 0) return i + 1;
  }
  return std::nullopt;
}

}  // namespace vrdk::macros
