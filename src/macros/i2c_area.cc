#include "macros/i2c_area.h"

#include <algorithm>

namespace vrdk::macros {
namespace {

constexpr std::size_t kArea = image::kMacroAreaSize;
constexpr std::size_t kPageEnd = kI2CHalf - 1;  // the last byte of the first half

bool PageRuleByte(std::uint8_t value) {
  return value == opcode::kDelay || value == opcode::kModifierDown ||
         value == opcode::kModifierUp || value == opcode::kKeyDown || value == opcode::kKeyUp;
}

bool FreeName(const MacroArea& area, std::size_t p) {
  if (p + image::kMacroNameSize > kArea) return true;
  return I2CNameReadsAsFree(std::span(area).subspan(p, 2));
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

// The page rule applied to one macro (its events and end byte, `size` bytes)
// whose events begin at area offset `first`.
LayoutProblem ApplyPageRule(std::size_t first, EventBytes& events, std::size_t& size) {
  if (first > kPageEnd || kPageEnd - first >= size) return LayoutProblem::kNone;
  const std::size_t at = kPageEnd - first;
  if (!PageRuleByte(events[at])) return LayoutProblem::kNone;
  if (!EventStartsAt(events, at)) return LayoutProblem::kSplitsEvent;
  if (size + 1 > kEventBytes) return LayoutProblem::kTooLong;
  std::copy_backward(events.begin() + static_cast<std::ptrdiff_t>(at),
                     events.begin() + static_cast<std::ptrdiff_t>(size),
                     events.begin() + static_cast<std::ptrdiff_t>(size + 1));
  events[at] = opcode::kLoopEnd;
  ++size;
  return LayoutProblem::kNone;
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

LayoutResult LayOutMacroArea(I2CSlots& slots, MacroArea& area) {
  I2CSlots out;
  MacroArea laid{};
  std::size_t b = 0;
  std::size_t j = 0;
  for (std::size_t k = 0; k < kI2CSlots; ++k) {
    if (slots.lengths[k] == 0) continue;
    if (I2CNameReadsAsFree(slots.names[k])) return {LayoutProblem::kFreeName, k};
    const EventWalk walk = WalkEvents(slots.events[k]);
    if (!walk.whole()) return {LayoutProblem::kNotWhole, k};
    EventBytes events{};
    std::copy_n(slots.events[k].begin(), walk.length, events.begin());
    std::size_t size = walk.length;
    const std::size_t first = b + image::kMacroNameSize;
    if (const auto problem = ApplyPageRule(first, events, size); problem != LayoutProblem::kNone) {
      return {problem, k, walk.length + 1};
    }
    if (first + size > kArea) return {LayoutProblem::kNoRoom, k};
    std::copy(slots.names[k].begin(), slots.names[k].end(),
              laid.begin() + static_cast<std::ptrdiff_t>(b));
    std::copy_n(events.begin(), size, laid.begin() + static_cast<std::ptrdiff_t>(first));
    out.names[j] = slots.names[k];
    out.events[j] = events;
    // Name, events, end byte and, with events, the pad byte (which only the
    // last record may lose off the end of the area).
    out.lengths[j] = static_cast<std::uint16_t>(size == 1 ? kI2CRecordOverhead
                                                          : image::kMacroNameSize + size + 1);
    b = first + (out.lengths[j] - image::kMacroNameSize);
    ++j;
  }
  ComputeAddresses(out);
  CheckMacroLen2310(out);
  if (!ReadsBack(laid, out)) return {LayoutProblem::kNotReadBack, 0};
  slots = out;
  area = laid;
  return {};
}

bool ReadsBack(const MacroArea& area, const I2CSlots& slots) {
  return ParseMacroAreaOnly(area) == slots;
}

std::string LayoutMessage(const LayoutResult& result, const I2CSlots& slots) {
  const std::string name =
      "macro \"" + Utf16ToUtf8(DecodeMacroName(slots.names[std::min(result.slot, kI2CSlots - 1)])) +
      "\"";
  switch (result.problem) {
    case LayoutProblem::kNone:
      return {};
    case LayoutProblem::kNoRoom:
      return "the macros do not fit: the mouse's macro area holds 512 bytes";
    case LayoutProblem::kTooLong:
      return name + " would take " + std::to_string(result.bytes) +
             " bytes in the mouse, where it must be moved past offset 255 of the macro area "
             "behind a loop end; a macro holds at most 256, its end byte included";
    case LayoutProblem::kSplitsEvent:
      return name +
             " would have a loop end put inside one of its events at offset 255 of the macro "
             "area, which changes what it does; add or remove an event before it, or store the "
             "macros in another order";
    case LayoutProblem::kFreeName:
      return name + " has a name the mouse reads as a free place";
    case LayoutProblem::kNotWhole:
      return name + " holds no whole macro: " +
             WalkProblem(WalkEvents(slots.events[result.slot]), slots.events[result.slot]);
    case LayoutProblem::kNotReadBack:
      break;
  }
  return "the macro area would not read back as the macros laid out";
}

I2CSlots ParseMacroArea(const MacroArea& area, MacroArea& laid_out) {
  I2CSlots slots = ParseMacroAreaOnly(area);
  I2CSlots relaid = slots;
  if (LayOutMacroArea(relaid, laid_out).ok()) return relaid;
  laid_out = area;
  return slots;
}

}  // namespace vrdk::macros
