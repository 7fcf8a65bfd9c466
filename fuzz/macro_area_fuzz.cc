// Fuzz target: bytes as an "I2C" macro area read from a mouse, and as event
// bytes shown as lines. Parsing and layout must stay inside the area, a parsed
// area laid out again must parse to the same lengths, and decoded lines must
// encode without error.
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
  MacroArea again{};
  const I2CSlots reparsed = ParseMacroArea(laid_out, again);
  if (reparsed.Count() > slots.Count()) __builtin_trap();
  for (int k = 0; k < slots.Count(); ++k) {
    if (slots.addresses[static_cast<std::size_t>(k)] < kI2CFirstAddress) __builtin_trap();
  }

  const std::span<const std::uint8_t> events(data, size);
  const DecodedMacro decoded = DecodeEvents(events, size);
  if (decoded.lines.empty()) __builtin_trap();
  if (!EncodeLines(decoded.lines).ok()) __builtin_trap();
  for (const auto& line : decoded.lines) LineDisplayText(line);
  return 0;
}
