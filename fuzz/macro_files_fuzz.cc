// Fuzz target: bytes as a macro library file, a single-macro file and a
// fire-macro file. Reading must stay inside the bytes and writing what was
// read must give the fixed file sizes back. Every library macro the mouse
// would take shows as lines that encode back to its bytes, and laid out into
// the "I2C" area it reads back as itself or is refused.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "macros/event_lines.h"
#include "macros/fire_macros.h"
#include "macros/i2c_area.h"
#include "macros/library_file.h"
#include "macros/macro_name.h"

namespace {

using namespace vrdk::macros;

void CheckRecord(const LibraryRecord& record) {
  const EventWalk walk = WalkEvents(record.events);
  if (!walk.whole()) return;  // the store refuses it
  const auto events = std::span(record.events).first(walk.length);
  // Shown as the library shows it: up to its first three zero bytes, the
  // whole record when it has none.
  const std::size_t length = record.ShownLength().value_or(kEventBytes);
  const auto encoded = EncodeLines(DecodeEvents(record.events, length).lines);
  if (!encoded.ok() ||
      !std::equal(events.begin(), events.end(), encoded.value().begin(), encoded.value().end())) {
    __builtin_trap();
  }
  if (I2CNameReadsAsFree(record.name)) return;
  I2CSlots slots;
  slots.names[0] = record.name;
  std::copy(events.begin(), events.end(), slots.events[0].begin());
  slots.lengths[0] = static_cast<std::uint16_t>(16 + walk.length);
  MacroArea area{};
  if (!LayOutMacroArea(slots, area).ok()) return;
  // Alone in the area its events begin at offset 16: a loop end at 255
  // would make it one byte longer, nothing else may differ.
  const I2CSlots parsed = ParseMacroAreaOnly(area);
  if (!ReadsBack(area, slots) || parsed.Count() != 1 || parsed.names[0] != record.name ||
      parsed.lengths[0] < slots.lengths[0] || parsed.lengths[0] > slots.lengths[0] + 1) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  LibraryRecords records{};
  ReadLibraryRecords(bytes, records);
  if (WriteLibraryRecords(records).size() != kLibraryFileSize) __builtin_trap();
  for (const auto& record : records) {
    if (DecodeMacroName(record.name).size() > kMacroNameUnits) __builtin_trap();
    if (auto length = record.ShownLength(); length && *length > kEventBytes) __builtin_trap();
    CheckRecord(record);
  }
  const LibraryRecord single = ReadSingleMacro(bytes);
  if (WriteSingleMacro(single).size() != kLibraryRecordSize) __builtin_trap();
  if (size >= 4) {
    const FireMacroCode code{data[0], data[1], data[2], data[3]};
    const FireMacroParameters shown = ShowFireMacroCode(code);
    if (!BuildFireMacroCode(shown)) __builtin_trap();
  }
  const auto text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  if (text && Utf8ToUtf16(Utf16ToUtf8(*text)) != text) __builtin_trap();
  return 0;
}
