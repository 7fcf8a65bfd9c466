#include "macros/event_lines.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "keys/keyboard_keys.h"

namespace vrdk::macros {
namespace {

constexpr std::string_view kCodeMark = " CODE:";
constexpr std::size_t kKeyTail = 10;  // " CODE:" and four digits

std::string Hex2(int value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned>(value) & 0xFF;
  return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

int Clamp(int value, int low, int high) { return std::clamp(value, low, high); }

// A whole decimal number held between 0 and `high` however many digits it
// has (a negative one is 0); nothing when the text is not one.
std::optional<int> HeldDecimal(std::string_view text, int high) {
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  const bool digits = !text.empty() && std::all_of(text.begin(), text.end(),
                                                   [](char c) { return c >= '0' && c <= '9'; });
  if (!digits) return std::nullopt;
  if (negative) return 0;
  int value = 0;
  for (char c : text) {
    value = value * 10 + (c - '0');
    if (value > high) return high;
  }
  return value;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool AppendHex(std::string_view digits, std::vector<std::uint8_t>& out) {
  if (digits.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const int high = HexDigit(digits[i]);
    const int low = HexDigit(digits[i + 1]);
    if (high < 0 || low < 0) return false;
    out.push_back(static_cast<std::uint8_t>(high << 4 | low));
  }
  return true;
}

std::string KeyLine(bool down, std::string_view name, std::string_view code) {
  return std::string(down ? "1 " : "2 ") + std::string(name) + std::string(kCodeMark) +
         std::string(code);
}

struct ButtonName {
  std::uint8_t bit;
  const char* name;
};
constexpr std::array<ButtonName, 5> kButtons = {{{0x01, "LeftKey"},
                                                 {0x02, "RightKey"},
                                                 {0x04, "MiddleKey"},
                                                 {0x08, "Forward"},
                                                 {0x10, "Backward"}}};

std::string ModifierName(std::uint8_t bit) {
  switch (bit) {
    case 0x01:
      return std::string(VirtualKeyName(17));
    case 0x02:
      return std::string(VirtualKeyName(16));
    case 0x04:
      return std::string(VirtualKeyName(18));
    case 0x08:
      return std::string(VirtualKeyName(91));
    case 0x80:
      return std::string(VirtualKeyName(92));
    default:
      return std::string(VirtualKeyName(0));
  }
}

// The line of one event; nothing for the end byte or a byte that starts no
// event.
std::optional<std::string> EventLine(std::span<const std::uint8_t> ev, std::size_t i,
                                     std::optional<int>* delay) {
  const std::uint8_t op = ev[i];
  const bool down = (op & opcode::kDownBit) != 0;
  switch (op) {
    case opcode::kModifierDown:
    case opcode::kModifierUp:
      return ModifierLine(down, ModifierName(ev[i + 1]), ev[i + 1]);
    case opcode::kKeyDown:
    case opcode::kKeyUp:
      return KeyboardKeyLine(down, UsageName(ev[i + 1]), ev[i + 1]);
    case opcode::kMove:
      return "3 04" + Hex2(ev[i + 1]) + Hex2(ev[i + 2]);
    case opcode::kDelay:
      *delay = ev[i + 1] << 8 | ev[i + 2];
      return DelayLine(**delay);
    case opcode::kLoopStart:
      return "7 FD" + Hex2(ev[i + 1]);
    case opcode::kLoopEnd:
      return LoopEndLine();
    default:
      break;
  }
  const auto bit = static_cast<std::uint8_t>(op & ~opcode::kDownBit & ~opcode::kButtonBase);
  for (const auto& button : kButtons) {
    if (button.bit == bit) return MouseButtonLine(down, bit);
  }
  return std::nullopt;
}

}  // namespace

std::string HeaderLine(DelayMode mode, int fixed_delay) {
  switch (mode) {
    case DelayMode::kRecorded:
      return "10";
    case DelayMode::kFixed:
      return "01" + std::to_string(Clamp(fixed_delay, 1, kMaxDelay));
    case DelayMode::kNone:
      break;
  }
  return "00";
}

std::string DelayLine(int milliseconds) {
  return "0 " + std::to_string(Clamp(milliseconds, 0, kMaxDelay));
}

std::string KeyboardKeyLine(bool down, std::string_view name, std::uint8_t usage) {
  return KeyLine(down, name, (down ? "82" : "02") + Hex2(usage));
}

std::string ModifierLine(bool down, std::string_view name, std::uint8_t bit) {
  return KeyLine(down, name, (down ? "81" : "01") + Hex2(bit));
}

std::string MouseButtonLine(bool down, std::uint8_t button) {
  for (const auto& entry : kButtons) {
    if (entry.bit == button) {
      const int op = opcode::kButtonBase + button + (down ? opcode::kDownBit : 0);
      return KeyLine(down, entry.name, "00" + Hex2(op));
    }
  }
  return {};
}

std::string MoveLine(int x, int y) {
  return "3 04" + Hex2(Clamp(x, kMoveRange.low, kMoveRange.high)) +
         Hex2(Clamp(y, kMoveRange.low, kMoveRange.high));
}

std::string LoopStartLine(int count) {
  return "7 FD" + Hex2(Clamp(count, kRepeatRange.low, kRepeatRange.high));
}

std::string LoopEndLine() { return "8 FC"; }

int DelayOf(std::string_view delay_line) {
  return HeldDecimal(delay_line.substr(std::min<std::size_t>(2, delay_line.size())), kMaxDelay)
      .value_or(0);
}

std::string LineKeyName(const std::string& line) {
  if (line.size() < 2 + kKeyTail) return {};
  return line.substr(2, line.size() - 2 - kKeyTail);
}

std::string LineDisplayText(const std::string& line) {
  if (line.empty()) return {};
  switch (line[0]) {
    case '0':
      return line.substr(std::min<std::size_t>(2, line.size())) + " ms";
    case '1':
    case '2':
      return LineKeyName(line);
    case '3': {
      if (line.size() < 8) return {};
      std::vector<std::uint8_t> xy;
      if (!AppendHex(std::string_view(line).substr(line.size() - 4), xy)) return {};
      return "X: " + std::to_string(static_cast<std::int8_t>(xy[0])) +
             "  Y: " + std::to_string(static_cast<std::int8_t>(xy[1]));
    }
    case '7': {
      std::vector<std::uint8_t> count;
      if (line.size() < 4 || !AppendHex(std::string_view(line).substr(line.size() - 2), count)) {
        return {};
      }
      return "Rep-Start  " + std::to_string(count[0]);
    }
    case '8':
      return "Rep-Stop";
    default:
      return {};
  }
}

std::string HexText(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (std::uint8_t byte : bytes) text += Hex2(byte);
  return text;
}

namespace {

// How many hexadecimal digits at the end of a line of this kind are its
// bytes; 0 for a delay line (a decimal number) and nothing for a kind that
// encodes to nothing.
std::optional<std::size_t> DigitsOfKind(std::string_view line) {
  switch (line[0]) {
    case '0':
      return 0;
    case '1':
    case '2':
      return line.size() >= 4 && line.substr(line.size() - 4, 2) == "00" ? 2 : 4;
    case '3':
    case '4':
    case '5':
    case '6':
      return 6;
    case '7':
      return 4;
    case '8':
      return 2;
    default:
      return std::nullopt;
  }
}

Error Invalid(std::string message) { return Error{ErrorKind::kInvalid, std::move(message)}; }

// One event line's bytes appended to `out`; the error otherwise.
Result<void> EncodeLine(std::string_view line, std::size_t n, std::vector<std::uint8_t>& out) {
  const auto take = DigitsOfKind(line);
  if (!take) return {};
  const std::string named = "line " + std::to_string(n) + " (\"" + std::string(line) + "\")";
  if (*take == 0) {
    const int ms = DelayOf(line);
    out.insert(out.end(), {opcode::kDelay, static_cast<std::uint8_t>(ms >> 8),
                           static_cast<std::uint8_t>(ms & 0xFF)});
    return {};
  }
  std::vector<std::uint8_t> bytes;
  if (line.size() < *take + 2 || !AppendHex(line.substr(line.size() - *take), bytes)) {
    return Invalid(named + " does not end in " + std::to_string(*take) + " hexadecimal digits");
  }
  // The bytes must be one whole event: anything else would end the macro
  // early or make the bytes after it read as other events.
  const auto size = EventSize(bytes[0]);
  if (bytes[0] == opcode::kEnd || !size || *size != bytes.size()) {
    return Invalid(named + " is no event: its bytes " + HexText(bytes) +
                   " are not one whole event");
  }
  out.insert(out.end(), bytes.begin(), bytes.end());
  return {};
}

bool IsHeaderLine(std::string_view line) {
  if (line == "10" || line == "00") return true;
  const std::string_view delay = line.substr(std::min<std::size_t>(2, line.size()));
  return line.substr(0, 2) == "01" && !delay.empty() && delay.size() <= 5 &&
         std::all_of(delay.begin(), delay.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

Result<std::vector<std::uint8_t>> EncodeLines(const MacroText& lines) {
  if (!lines.empty() && !IsHeaderLine(lines[0])) {
    return Error{ErrorKind::kInvalid,
                 "the first line (\"" + lines[0] +
                     "\") is no header: it must be the delay mode, 10, 00 or 01 and milliseconds"};
  }
  std::vector<std::uint8_t> bytes;
  for (std::size_t n = 1; n < lines.size(); ++n) {
    if (lines[n].empty()) continue;
    if (auto encoded = EncodeLine(lines[n], n, bytes); !encoded.ok()) return encoded.error();
  }
  bytes.push_back(opcode::kEnd);
  return bytes;
}

Result<std::vector<std::uint8_t>> EncodeLinesForRecord(const MacroText& lines) {
  auto result = EncodeLines(lines);
  if (result.ok() && result.value().size() > kEventBytes) {
    return Error{ErrorKind::kTooLong,
                 "the macro would take " + std::to_string(result.value().size()) +
                     " bytes; a macro holds at most 256, its end byte included"};
  }
  return result;
}

DecodedMacro DecodeEvents(std::span<const std::uint8_t> events, std::size_t length) {
  DecodedMacro decoded;
  decoded.lines.push_back("00");
  const std::size_t limit = std::min(length, events.size() + 1);
  std::array<int, 4> delays{};
  std::size_t delay_count = 0;
  std::size_t i = 0;
  while (i + 1 < limit) {
    const auto size = EventSize(events[i]);
    if (!size || events[i] == opcode::kEnd || i + *size > events.size()) break;
    std::optional<int> delay;
    auto line = EventLine(events, i, &delay);
    if (!line) break;
    decoded.lines.push_back(std::move(*line));
    if (delay && delay_count < delays.size()) delays[delay_count++] = *delay;
    i += *size;
  }
  const bool all_zero = std::all_of(delays.begin(), delays.end(), [](int d) { return d == 0; });
  const bool all_equal =
      std::all_of(delays.begin(), delays.end(), [&](int d) { return d == delays[0]; });
  if (all_zero) {
    decoded.mode = DelayMode::kNone;
  } else if (all_equal) {
    decoded.mode = DelayMode::kFixed;
    decoded.fixed_delay = delays[0];
  } else {
    decoded.mode = DelayMode::kRecorded;
  }
  decoded.lines[0] = HeaderLine(decoded.mode, decoded.fixed_delay);
  return decoded;
}

DeleteResult DeleteLine(MacroText& lines, std::size_t line) {
  if (line == 0 || line >= lines.size() || lines[line].empty())
    return Error{ErrorKind::kRefused, {}};
  const char kind = lines[line][0];
  if (kind == '7') return Error{ErrorKind::kRefused, {}};
  if (kind != '1' && kind != '2') {
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(line));
    return {};
  }
  const std::string name = LineKeyName(lines[line]);
  const char partner_kind = kind == '1' ? '2' : '1';
  auto is_partner = [&](std::size_t i) {
    return !lines[i].empty() && lines[i][0] == partner_kind && LineKeyName(lines[i]) == name;
  };
  std::optional<std::size_t> partner;
  if (kind == '1') {
    for (std::size_t i = line - 1; i < lines.size() && !partner; ++i) {
      if (i != 0 && is_partner(i)) partner = i;
    }
  } else {
    for (std::size_t i = line - 1; i > 0 && !partner; --i) {
      if (is_partner(i)) partner = i;
    }
  }
  if (!partner) return Error{ErrorKind::kInvalid, std::string(kContentErrorText)};
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(std::max(line, *partner)));
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(std::min(line, *partner)));
  return {};
}

std::optional<std::size_t> InsertLine(MacroText& lines, std::size_t selected, InsertItem item,
                                      const InsertValues& values) {
  if (selected + 1 >= lines.size()) return std::nullopt;
  std::string line;
  bool front = true;
  switch (item) {
    case InsertItem::kDelayFront:
    case InsertItem::kDelayBack:
      line = DelayLine(Clamp(values.delay, kDelayRange.low, kDelayRange.high));
      front = item == InsertItem::kDelayFront;
      break;
    case InsertItem::kMoveFront:
    case InsertItem::kMoveBack:
      line = MoveLine(values.x, values.y);
      front = item == InsertItem::kMoveFront;
      break;
    case InsertItem::kLoopStart:
      line = LoopStartLine(values.repeat);
      break;
    case InsertItem::kLoopEnd:
      line = LoopEndLine();
      front = false;
      break;
    case InsertItem::kKeyFront:
    case InsertItem::kKeyBack:
      return std::nullopt;
  }
  const std::size_t at = selected + (front ? 1 : 2);
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), line);
  return at - 1;
}

bool EditDelayLine(MacroText& lines, std::size_t line, int milliseconds) {
  if (line == 0 || line >= lines.size() || lines[line].rfind('0', 0) != 0) return false;
  lines[line] = DelayLine(Clamp(milliseconds, kDelayRange.low, kDelayRange.high));
  return true;
}

bool EditKeyLine(MacroText& lines, std::size_t line, int virtual_key) {
  if (line == 0 || line >= lines.size() || lines[line].empty()) return false;
  const char kind = lines[line][0];
  if (kind != '1' && kind != '2') return false;
  lines[line] =
      KeyboardKeyLine(kind == '1', VirtualKeyName(virtual_key), VirtualKeyToUsage(virtual_key));
  return true;
}

}  // namespace vrdk::macros
