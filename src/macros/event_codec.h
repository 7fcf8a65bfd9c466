// The event bytes a macro is stored as, in the mouse and in the library: a
// sequence of events, each an opcode followed by 0, 1 or 2 operand bytes,
// ended by the opcode 0x00. Bit 7 of a key or button opcode means "down".
//
//   0x00          1  end of the macro
//   0x81 / 0x01   2  modifier down / up; operand: 0x01 Ctrl, 0x02 Shift,
//                    0x04 Alt, 0x08 left Windows, 0x80 right Windows
//   0x82 / 0x02   2  keyboard key down / up; operand: HID keyboard usage
//   0xA1 / 0x21   1  left button       0xA2 / 0x22  right button
//   0xA4 / 0x24   1  middle button     0xA8 / 0x28  Forward button
//   0xB0 / 0x30   1  Backward button
//   0x04          3  pointer movement; X, Y as signed bytes
//   0xFE          3  delay; milliseconds, 16 bits, high byte first
//   0xFD          2  loop start; repeat count
//   0xFC          1  loop end
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vrdk::macros {

inline constexpr std::size_t kEventBytes = 256;  // a library record or a "Flash" slot
using EventBytes = std::array<std::uint8_t, kEventBytes>;

namespace opcode {
inline constexpr std::uint8_t kEnd = 0x00;
inline constexpr std::uint8_t kModifierDown = 0x81;
inline constexpr std::uint8_t kModifierUp = 0x01;
inline constexpr std::uint8_t kKeyDown = 0x82;
inline constexpr std::uint8_t kKeyUp = 0x02;
inline constexpr std::uint8_t kMove = 0x04;
inline constexpr std::uint8_t kDelay = 0xFE;
inline constexpr std::uint8_t kLoopStart = 0xFD;
inline constexpr std::uint8_t kLoopEnd = 0xFC;
inline constexpr std::uint8_t kButtonBase = 0x20;  // + button bit (+ 0x80 when down)
inline constexpr std::uint8_t kDownBit = 0x80;
}  // namespace opcode

// The size of the event an opcode starts (opcode included), or nothing for a
// byte that starts no event.
std::optional<std::size_t> EventSize(std::uint8_t op);

// How the events of a macro walk: event by event from its first byte, by the
// sizes above, to its end byte.
struct EventWalk {
  enum class Stop {
    kEnd,        // met the end byte: `length` bytes, end included
    kStrayByte,  // a byte that starts no event at `at`
    kCutShort,   // the event at `at` runs past the bytes
    kNoEnd,      // the bytes ran out without an end byte
  };
  Stop stop = Stop::kNoEnd;
  std::size_t length = 0;  // kEnd: the bytes up to and including the end byte
  std::size_t at = 0;      // kStrayByte, kCutShort: where the walk stopped
  bool whole() const { return stop == Stop::kEnd; }
};
EventWalk WalkEvents(std::span<const std::uint8_t> events);
// Whether an event begins at index `at` of a macro (walking from 0; the end
// byte counts as an event).
bool EventStartsAt(std::span<const std::uint8_t> events, std::size_t at);
// What is wrong with a walk that did not end: "the byte 0x12 at event byte 3
// starts no event".
std::string WalkProblem(const EventWalk& walk, std::span<const std::uint8_t> events);

// The number of bytes up to and including the first run of three 0x00 bytes'
// first byte: the length a stored macro is shown with (end byte included).
// Bytes past the buffer count as 0x00, so a macro whose last byte is its end
// byte is found; nothing when the buffer holds no end at all.
std::optional<std::size_t> StoredMacroLength(std::span<const std::uint8_t> events);

}  // namespace vrdk::macros
