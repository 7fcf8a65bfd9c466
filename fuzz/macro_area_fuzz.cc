// Fuzz target: bytes as an "I2C" macro area read from a mouse, and as event
// bytes shown as lines. Parsing and layout must stay inside the area and
// decoded lines must encode without error.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "macros/event_lines.h"
#include "macros/i2c_area.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vrdk::macros;
  MacroArea area{};
  std::copy_n(data, std::min(size, area.size()), area.begin());
  MacroArea laid_out{};
  const I2CSlots slots = ParseMacroArea(area, laid_out);
  // Laid out, every record lies inside the area (only a pad byte may fall off
  // its end). Parsing the layout again may read differently: a 0xFC put at
  // offset 255 in the middle of an event is read as the mouse reads it.
  for (int k = 0; k < slots.Count(); ++k) {
    const auto i = static_cast<std::size_t>(k);
    if (slots.addresses[i] < kI2CFirstAddress) __builtin_trap();
    const std::size_t end = slots.addresses[i] - kI2CAreaAddress + slots.lengths[i] - 16;
    if (end > area.size() + 1) __builtin_trap();
  }
  MacroArea again{};
  ParseMacroArea(laid_out, again);

  const std::span<const std::uint8_t> events(data, size);
  const DecodedMacro decoded = DecodeEvents(events, size);
  if (decoded.lines.empty()) __builtin_trap();
  if (!EncodeLines(decoded.lines).ok()) __builtin_trap();
  for (const auto& line : decoded.lines) LineDisplayText(line);
  return 0;
}
