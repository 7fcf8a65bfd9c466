// Fuzz target: bytes as an "I2C" macro area read from a mouse, as macros to
// lay out, and as event bytes shown as lines. The program's copy of an area
// always reads back as the macros it lists; a layout that is accepted reads
// back as exactly the macros it was given (a loop end at offset 255 aside);
// decoded lines encode back to the bytes they came from.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "macros/event_lines.h"
#include "macros/i2c_area.h"

namespace {

using namespace vrdk::macros;

void AsAreaReadFromTheMouse(std::span<const std::uint8_t> data) {
  MacroArea area{};
  std::copy_n(data.begin(), std::min(data.size(), area.size()), area.begin());
  MacroArea laid_out{};
  const I2CSlots slots = ParseMacroArea(area, laid_out);
  if (!ReadsBack(laid_out, slots)) __builtin_trap();
  for (int k = 0; k < slots.Count(); ++k) {
    const auto i = static_cast<std::size_t>(k);
    if (slots.addresses[i] < kI2CFirstAddress) __builtin_trap();
    const std::size_t end = slots.addresses[i] - kI2CAreaAddress + slots.lengths[i] - 16;
    if (end > area.size() + 1) __builtin_trap();
  }
  // Laying out what was parsed again changes nothing.
  I2CSlots again = slots;
  MacroArea relaid{};
  if (LayOutMacroArea(again, relaid).ok() && (!(again == slots) || relaid != laid_out)) {
    __builtin_trap();
  }
}

// The bytes the area holds for one macro against the macro given: the same,
// or the same with one loop end at area offset 255.
bool SameMacro(std::span<const std::uint8_t> given, std::span<const std::uint8_t> held,
               std::size_t first) {
  if (std::equal(given.begin(), given.end(), held.begin(), held.end())) return true;
  if (held.size() != given.size() + 1 || first > 255 || 255 - first >= held.size()) return false;
  const std::size_t at = 255 - first;
  std::vector<std::uint8_t> without(held.begin(), held.end());
  if (without[at] != opcode::kLoopEnd) return false;
  without.erase(without.begin() + static_cast<std::ptrdiff_t>(at));
  return std::equal(given.begin(), given.end(), without.begin(), without.end());
}

// Macros given to the layout: per macro a length byte and that many event
// bytes.
void AsMacrosToLayOut(std::span<const std::uint8_t> data) {
  I2CSlots slots;
  std::size_t p = 0;
  for (std::size_t k = 0; k < kI2CSlots && p < data.size(); ++k) {
    const std::uint8_t wanted = data[p++];
    const std::size_t size = std::min<std::size_t>(wanted, data.size() - p);
    slots.names[k] = EncodeMacroName(u"M");
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(p), size, slots.events[k].begin());
    slots.lengths[k] = static_cast<std::uint16_t>(16 + size + 1);
    p += size;
  }
  const I2CSlots given = slots;
  MacroArea area{};
  if (!LayOutMacroArea(slots, area).ok()) {
    if (!(slots == given)) __builtin_trap();  // a refusal changes nothing
    return;
  }
  if (!ReadsBack(area, slots) || slots.Count() != given.Count()) __builtin_trap();
  for (std::size_t k = 0; k < static_cast<std::size_t>(slots.Count()); ++k) {
    const EventWalk walk = WalkEvents(given.events[k]);
    const std::size_t held = slots.lengths[k] == kI2CRecordOverhead ? 1 : slots.lengths[k] - 17u;
    const std::size_t first = slots.addresses[k] - kI2CAreaAddress;
    if (!walk.whole() || !SameMacro(std::span(given.events[k]).first(walk.length),
                                    std::span(slots.events[k]).first(held), first)) {
      __builtin_trap();
    }
  }
}

void AsEventBytes(std::span<const std::uint8_t> data) {
  const DecodedMacro decoded = DecodeEvents(data, data.size());
  if (decoded.lines.empty()) __builtin_trap();
  const auto encoded = EncodeLines(decoded.lines);
  if (!encoded.ok()) __builtin_trap();
  // The lines are the events the walk went over, and nothing else.
  const auto& bytes = encoded.value();
  if (bytes.back() != opcode::kEnd || bytes.size() - 1 > data.size() ||
      !std::equal(bytes.begin(), bytes.end() - 1, data.begin())) {
    __builtin_trap();
  }
  for (const auto& line : decoded.lines) LineDisplayText(line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  AsAreaReadFromTheMouse(bytes);
  AsMacrosToLayOut(bytes);
  AsEventBytes(bytes);
  return 0;
}
