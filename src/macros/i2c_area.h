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
// events (length 17). A byte that starts no event ends the record there. The
// layout lays out only records whose end byte fits in the area; the pad byte
// of a record that ends at offset 511 is not stored.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "image/layout.h"
#include "macros/event_codec.h"
#include "macros/macro_name.h"

namespace vrdk::macros {

inline constexpr std::size_t kI2CSlots = 15;
inline constexpr std::uint16_t kI2CFirstAddress = 0x0200;
inline constexpr std::uint16_t kI2CAreaAddress = 0x01F0;
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
};

// ReadAndRefreshMacro2310 without the lists: parses the area into slots and
// lays it out again (pad bytes and the page rule included).
I2CSlots ParseMacroArea(const MacroArea& area, MacroArea& laid_out);
// The parse alone.
I2CSlots ParseMacroAreaOnly(const MacroArea& area);
// RefreshMacro2310: lays the slots out into the area and recomputes the
// addresses and area_used. A slot whose end byte would not fit is dropped with
// every later one; returns false when that happened.
bool LayOutMacroArea(I2CSlots& slots, MacroArea& area);
// CheckMacroLen2310.
void CheckMacroLen2310(I2CSlots& slots);

}  // namespace vrdk::macros
