// Fuzz target: event-line text as a user writes it, split into lines as
// vrdkctl reads a lines file (a trailing CR dropped, empty lines skipped) and
// also taken as it is. Whatever encodes is whole events and one end byte;
// its lines, decoded again, encode to the same bytes; the record encoder
// takes exactly what fits 256 bytes. The list and the editing operations
// handle any line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "macros/event_lines.h"

namespace {

using namespace vrdk::macros;

MacroText Split(std::string_view text, bool as_a_file) {
  MacroText lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string line(text.substr(start, end - start));
    start = end + 1;
    if (as_a_file) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty()) continue;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

void CheckEncoding(const MacroText& lines) {
  const auto encoded = EncodeLines(lines);
  const auto record = EncodeLinesForRecord(lines);
  if (!encoded.ok()) {  // a refusal says why, and the record encoder refuses too
    if (encoded.message().empty() || record.ok()) __builtin_trap();
    return;
  }
  const auto& bytes = encoded.value();
  const EventWalk walk = WalkEvents(bytes);
  if (!walk.whole() || walk.length != bytes.size()) __builtin_trap();
  if (record.ok() != (bytes.size() <= kEventBytes) || (record.ok() && record.value() != bytes)) {
    __builtin_trap();
  }
  const DecodedMacro decoded = DecodeEvents(bytes, bytes.size());
  const auto again = EncodeLines(decoded.lines);
  if (!again.ok() || again.value() != bytes) __builtin_trap();
  for (const auto& line : decoded.lines) LineDisplayText(line);
}

void Edit(MacroText lines, std::size_t at) {
  const std::size_t count = lines.size();
  const DeleteResult deleted = DeleteLine(lines, at);
  const std::size_t gone = count - lines.size();
  if ((deleted.ok() && gone != 1 && gone != 2) || (!deleted.ok() && gone != 0)) {
    __builtin_trap();
  }
  for (const InsertItem item : {InsertItem::kDelayFront, InsertItem::kMoveBack,
                                InsertItem::kLoopStart, InsertItem::kLoopEnd}) {
    const std::size_t before = lines.size();
    const auto inserted = InsertLine(lines, at, item, {});
    if (inserted.has_value() != (lines.size() == before + 1)) __builtin_trap();
    if (inserted && *inserted + 1 >= lines.size()) __builtin_trap();
  }
  EditDelayLine(lines, at, 100);
  EditKeyLine(lines, at, 0x41);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const bool as_a_file : {true, false}) {
    const MacroText lines = Split(text, as_a_file);
    CheckEncoding(lines);
    for (const auto& line : lines) {
      LineDisplayText(line);
      LineKeyName(line);
    }
    Edit(lines, size % (lines.size() + 1));
  }
  return 0;
}
