// A macro as the editor holds it: text lines, line 0 the delay-mode header,
// lines 1..n one event each (a MacroEventLine). The first character of an
// event line is its kind:
//
//   "0 150"                 delay of 150 ms               FE 00 96
//   "1 A CODE:8204"         key or button down            82 04
//   "2 A CODE:0204"         key or button up              02 04
//   "3 04F605"              pointer movement X=-10, Y=5   04 F6 05
//   "7 FD0A"                loop start, 10 repeats        FD 0A
//   "8 FC"                  loop end                      FC
//
// Key lines carry "82"/"02" + the HID usage for keyboard keys, "81"/"01" + the
// modifier bit for modifiers, and "00" + the one-byte opcode for mouse buttons.
// The header is "10" (delays as recorded), "01" + milliseconds (a fixed delay
// between events) or "00" (no delays).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "macros/event_codec.h"

namespace vrdk::macros {

using MacroText = std::vector<std::string>;

enum class DelayMode { kRecorded, kFixed, kNone };

inline constexpr int kMaxDelay = 65535;
inline constexpr int kDefaultDelay = 50;

std::string HeaderLine(DelayMode mode, int fixed_delay);

// Line builders.
std::string DelayLine(int milliseconds);  // held between 0 and 65535
std::string KeyboardKeyLine(bool down, std::string_view name, std::uint8_t usage);
std::string ModifierLine(bool down, std::string_view name, std::uint8_t bit);
// button: the button bit (0x01 left, 0x02 right, 0x04 middle, 0x08 Forward,
// 0x10 Backward); the fixed lines "1 LeftKey CODE:00A1" and so on.
std::string MouseButtonLine(bool down, std::uint8_t button);
std::string MoveLine(int x, int y);    // held between -128 and 127
std::string LoopStartLine(int count);  // held between 0 and 255
std::string LoopEndLine();

// The line as the list shows it: the key name, "150 ms", "X: -10  Y: 5",
// "Rep-Start  10", "Rep-Stop".
std::string LineDisplayText(const std::string& line);
// The milliseconds a delay line waits, as the encoder reads them: 0 when the
// line holds no number, held at 65535.
int DelayOf(std::string_view delay_line);
// The key name a key line carries (between "1 " and " CODE:xxxx").
std::string LineKeyName(const std::string& line);

// Lines 1..n to event bytes, the end byte appended. A delay that is not a
// number encodes as 0 and one above 65535 as 65535. Lines of unknown kind are
// skipped; a line whose digits are not hexadecimal or too few is an error
// (kInvalid).
Result<std::vector<std::uint8_t>> EncodeLines(const MacroText& lines);
// EncodeLines, refused (kTooLong) when the bytes would not fit a 256-byte
// record.
Result<std::vector<std::uint8_t>> EncodeLinesForRecord(const MacroText& lines);
// Two upper-case hexadecimal digits per byte, no separators.
std::string HexText(std::span<const std::uint8_t> bytes);

struct DecodedMacro {
  MacroText lines;  // header first
  DelayMode mode = DelayMode::kNone;
  int fixed_delay = kDefaultDelay;
};
// Events at index 0 while the index is below length - 1, as lines. The walk
// ends at an end byte, at a byte that starts no event and at an event that
// runs past the bytes. The header follows the first four delays (fewer count
// as 0): all 0 "00", all equal "01" + value, otherwise "10".
DecodedMacro DecodeEvents(std::span<const std::uint8_t> events, std::size_t length);

// Deleting the event line at text index `line` (1..n): a down line takes its
// up line along (searched forward from the line before it), an up line its
// down line (searched backward). Loop-start lines are not deleted.
// Not deletable: kRefused, with no message. An event without its partner:
// kInvalid, with kContentErrorText.
using DeleteResult = Result<void>;
inline constexpr std::string_view kContentErrorText = "Macro Content Error";
DeleteResult DeleteLine(MacroText& lines, std::size_t line);

// The insert panel's items, in its order.
enum class InsertItem {
  kDelayFront,
  kDelayBack,
  kKeyFront,
  kKeyBack,
  kMoveFront,
  kMoveBack,
  kLoopStart,
  kLoopEnd
};
// The values a number field of the editor takes: what is typed is held
// between `low` and `high`; `start` is what the field shows first and what it
// reads as when it holds no number.
struct FieldRange {
  int low;
  int high;
  int start;
};

// The fixed delay between recorded events, and the delay an inserted delay
// line waits (milliseconds).
inline constexpr FieldRange kDelayRange{1, kMaxDelay, kDefaultDelay};
// X and Y of an inserted pointer movement (one signed byte each).
inline constexpr FieldRange kMoveRange{-128, 127, 0};
// The repeat count of an inserted loop start (one byte).
inline constexpr FieldRange kRepeatRange{0, 255, 10};

struct InsertValues {
  int delay = kDelayRange.start;
  int x = kMoveRange.start;
  int y = kMoveRange.start;
  int repeat = kRepeatRange.start;
};
// Inserts a line for the item around event line `selected` (0-based list
// index): before it ("Front", loop start) or after it ("Back", loop end).
// Returns the list index of the new line; nothing for the key items (those
// are recorded) or a selection outside the lines.
std::optional<std::size_t> InsertLine(MacroText& lines, std::size_t selected, InsertItem item,
                                      const InsertValues& values);

// Changing a line: a delay line takes a new value (held between 1 and
// 65535); a key line becomes the keyboard-key form of the key (modifiers
// too). Other lines cannot be changed.
bool EditDelayLine(MacroText& lines, std::size_t line, int milliseconds);
bool EditKeyLine(MacroText& lines, std::size_t line, int virtual_key);

}  // namespace vrdk::macros
