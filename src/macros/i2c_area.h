// The "I2C" macro area: 512 bytes of the EEPROM (device 0x01F0..0x03EF) that
// hold up to 15 macros packed one after another from offset 0, in slot order:
//
//   record = name (16) | event bytes (n) | 0x00 end | 0x00 pad (only if n > 0)
//
// so a record takes 17 bytes without events and n + 18 with. A slot's address
// is the device address of its event bytes: 0x0200 + the lengths of the
// records before it. The first record whose name starts 00 00, or has 0xFF in
// its first two bytes, ends the area.
//
// Page rule: the mouse reads the area in halves of 256 bytes and must not see
// a delay, key or modifier opcode (0xFE, 0x81, 0x01, 0x82, 0x02) in the last
// byte of the first half. When the layout would put such a byte value there
// (whichever event it belongs to), 0xFC goes to offset 255 instead and the
// record continues at 256, one byte longer. The mouse walks that 0xFC as a
// loop end, so it stays part of the macro from then on.
//
// Bounds: the event walk of a record stops at the 256th byte after its name
// and at the end of the area; a record whose events run past either keeps no
// events (length 17). A byte that starts no event ends the record there.
//
// The layout lays out only what reads back as the macros it was given: it
// refuses, and changes nothing, when a macro's events do not walk to an end
// byte, a name reads as a free place, an end byte would lie past offset 511
// (the pad byte of the last record may fall off the area), the page rule
// would make a macro longer than 256 bytes (events and end byte), or its
// loop end would land inside an event (the byte at 255 an operand, which the
// mouse would then read as an opcode).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "image/layout.h"
#include "macros/event_codec.h"
#include "macros/macro_name.h"

namespace vrdk::macros {

inline constexpr std::size_t kI2CSlots = 15;
inline constexpr std::uint16_t kI2CFirstAddress = 0x0200;
inline constexpr std::uint16_t kI2CAreaAddress = image::i2c::kMacroArea;  // 0x01F0
inline constexpr std::size_t kI2CHalf = 256;
inline constexpr std::size_t kI2CRecordOverhead = 17;  // name and end byte

using MacroArea = std::array<std::uint8_t, image::kMacroAreaSize>;

struct I2CSlots {
  std::array<MacroName, kI2CSlots> names{};
  std::array<EventBytes, kI2CSlots> events{};
  // Bytes the slot's record takes in the area; 0 for a free slot.
  std::array<std::uint16_t, kI2CSlots> lengths{};
  std::array<std::uint16_t, kI2CSlots> addresses{};
  std::uint32_t area_used = 0;  // MacroAreaUsed: the sum of the lengths

  int Count() const;  // present slots, contiguous from 0
  bool operator==(const I2CSlots&) const = default;
};

enum class LayoutProblem {
  kNone,
  kNoRoom,       // the records pass the 512 bytes
  kTooLong,      // the page rule would make a macro 257 bytes
  kSplitsEvent,  // the page rule's loop end would land inside an event
  kFreeName,     // the name reads as a free place
  kNotWhole,     // the events do not walk to an end byte
  kNotReadBack,  // parsing the laid-out area would give other macros
};
struct LayoutResult {
  LayoutProblem problem = LayoutProblem::kNone;
  std::size_t slot = 0;   // the slot (as given) the problem is with
  std::size_t bytes = 0;  // kTooLong: the bytes the macro would take
  bool ok() const { return problem == LayoutProblem::kNone; }
};
// For the user: what is wrong, naming the macro.
std::string LayoutMessage(const LayoutResult& result, const I2CSlots& slots);

// ReadAndRefreshMacro2310 without the lists: parses the area into slots and
// lays it out again (pad bytes and the page rule included). When the layout
// refuses, `laid_out` is the area as read and the slots are as parsed, so
// the two still read the same.
I2CSlots ParseMacroArea(const MacroArea& area, MacroArea& laid_out);
// The parse alone.
I2CSlots ParseMacroAreaOnly(const MacroArea& area);
// RefreshMacro2310: lays the present slots out into the area, closing up the
// free ones, and recomputes the lengths (pad bytes, page rule), addresses and
// area_used. On a problem neither slots nor area change.
LayoutResult LayOutMacroArea(I2CSlots& slots, MacroArea& area);
// Whether parsing the area gives exactly these slots.
bool ReadsBack(const MacroArea& area, const I2CSlots& slots);
// CheckMacroLen2310.
void CheckMacroLen2310(I2CSlots& slots);

}  // namespace vrdk::macros
