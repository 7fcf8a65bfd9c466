#include "macros/i2c_area.h"

#include <algorithm>

namespace vrdk::macros {
namespace {

constexpr std::size_t kArea = image::kMacroAreaSize;

bool PageRuleByte(std::uint8_t value) {
  return value == opcode::kDelay || value == opcode::kModifierDown ||
         value == opcode::kModifierUp || value == opcode::kKeyDown || value == opcode::kKeyUp;
}

bool FreeName(const MacroArea& area, std::size_t p) {
  if (p + image::kMacroNameSize > kArea) return true;
  const std::uint8_t a = area[p];
  const std::uint8_t b = area[p + 1];
  return (a == 0 && b == 0) || a == 0xFF || b == 0xFF;
}

// Walks the events at p; the bytes up to and including the end byte, 0 when
// no end lies within 256 bytes and the area. *ended_early: the walk met a byte
// that starts no event (the record ends there).
std::size_t WalkRecord(const MacroArea& area, std::size_t p, bool* ended_early) {
  *ended_early = false;
  std::size_t o = 0;
  while (o < kEventBytes && p + o < kArea) {
    const std::uint8_t op = area[p + o];
    if (op == opcode::kEnd) return o + 1;
    const auto size = EventSize(op);
    if (!size) {
      *ended_early = true;
      return o + 1;
    }
    o += *size;
  }
  return 0;
}

void ComputeAddresses(I2CSlots& slots) {
  std::uint32_t sum = 0;
  for (std::size_t k = 0; k < kI2CSlots; ++k) {
    slots.addresses[k] =
        k == 0 || slots.lengths[k] != 0 ? static_cast<std::uint16_t>(kI2CFirstAddress + sum) : 0;
    sum += slots.lengths[k];
  }
}

}  // namespace

int I2CSlots::Count() const {
  int count = 0;
  while (count < static_cast<int>(kI2CSlots) && lengths[static_cast<std::size_t>(count)] != 0) {
    ++count;
  }
  return count;
}

void CheckMacroLen2310(I2CSlots& slots) {
  slots.area_used = 0;
  for (auto length : slots.lengths) slots.area_used += length;
}

I2CSlots ParseMacroAreaOnly(const MacroArea& area) {
  I2CSlots slots;
  std::size_t p = 0;
  for (std::size_t k = 0; k < kI2CSlots; ++k) {
    if (FreeName(area, p)) break;
    std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(p), image::kMacroNameSize,
                slots.names[k].begin());
    p += image::kMacroNameSize;
    std::size_t c = 0;
    if (p < kArea && area[p] != opcode::kEnd) {
      bool ended_early = false;
      c = WalkRecord(area, p, &ended_early);
      std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(p), c, slots.events[k].begin());
      if (ended_early) slots.events[k][c - 1] = opcode::kEnd;
      // Nothing before the stray byte: a macro without events.
      if (ended_early && c == 1) c = 0;
    }
    // Without events the record is name and end byte; with events a pad
    // byte follows the end byte.
    slots.lengths[k] = static_cast<std::uint16_t>(c == 0 ? kI2CRecordOverhead : c + 17);
    p += slots.lengths[k] - image::kMacroNameSize;
  }
  ComputeAddresses(slots);
  CheckMacroLen2310(slots);
  return slots;
}

bool LayOutMacroArea(I2CSlots& slots, MacroArea& area) {
  area.fill(0);
  bool all_fit = true;
  std::size_t b = 0;
  for (std::size_t k = 0; k < kI2CSlots; ++k) {
    if (slots.lengths[k] == 0) continue;
    // The record's bytes after its name: events, end byte and (once parsed)
    // the pad byte; the event buffer is zero past the events.
    const std::size_t body =
        std::min<std::size_t>(slots.lengths[k] - image::kMacroNameSize, kEventBytes);
    const std::size_t first = b + image::kMacroNameSize;
    const std::size_t at = 255 - std::min<std::size_t>(first, 255);
    const bool splits = first <= 255 && at < body && PageRuleByte(slots.events[k][at]);
    const std::size_t size = body + (splits ? 1 : 0);
    // Only a last byte that is a pad byte may fall off the end of the area.
    const std::size_t needed = first + (size >= 2 ? size - 1 : size);
    if (!all_fit || needed > kArea) {
      all_fit = false;
      slots = [&] {
        I2CSlots kept = slots;
        for (std::size_t j = k; j < kI2CSlots; ++j) {
          kept.names[j] = {};
          kept.events[j] = {};
          kept.lengths[j] = 0;
        }
        return kept;
      }();
      break;
    }
    if (splits) {
      // 0xFC at offset 255 becomes part of the macro's events.
      auto& events = slots.events[k];
      std::copy_backward(events.begin() + static_cast<std::ptrdiff_t>(at), events.end() - 1,
                         events.end());
      events[at] = opcode::kLoopEnd;
      ++slots.lengths[k];
    }
    std::copy(slots.names[k].begin(), slots.names[k].end(),
              area.begin() + static_cast<std::ptrdiff_t>(b));
    for (std::size_t j = 0; j < size && first + j < kArea; ++j) {
      area[first + j] = j < kEventBytes ? slots.events[k][j] : 0;
    }
    b = first + (slots.lengths[k] - image::kMacroNameSize);
  }
  ComputeAddresses(slots);
  CheckMacroLen2310(slots);
  return all_fit;
}

I2CSlots ParseMacroArea(const MacroArea& area, MacroArea& laid_out) {
  I2CSlots slots = ParseMacroAreaOnly(area);
  LayOutMacroArea(slots, laid_out);
  return slots;
}

}  // namespace vrdk::macros
