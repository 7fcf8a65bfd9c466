// The reports a change sent before writes were read back: a transcript
// without the read that follows each write of the same range (a memory read
// after a memory write, a live read after a run of live writes that covers
// exactly its range). Tests of what a change sends compare with this, and
// tests of the read-back look at the whole transcript.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vrdk::testing {

inline std::vector<std::string> WithoutReadBacks(const std::vector<std::string>& lines) {
  struct Written {
    bool live;
    int address;
    int length;
    bool operator==(const Written&) const = default;
  };
  auto byte = [](const std::string& line, std::size_t n) {
    // "> 40 07 00 C0 00 93 00 00": byte n starts at 2 + 3 n.
    return std::stoi(line.substr(2 + 3 * n, 2), nullptr, 16);
  };
  std::vector<std::string> out;
  std::optional<Written> last;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const bool command = line.rfind("> 40 ", 0) == 0 && line.size() >= 25;
    if (!command) {
      out.push_back(line);
      continue;
    }
    const int code = byte(line, 1);
    const int address = byte(line, 2) << 8 | byte(line, 3);
    const int length = byte(line, 4) << 8 | byte(line, 5);
    if (code == 0x09 || code == 0x06) {
      const Written read{code == 0x06, address, length};
      if (last == read) {
        i += static_cast<std::size_t>((length + 6) / 7);  // and its answers
        last.reset();
        continue;
      }
      last.reset();
    } else if (code == 0x07) {
      last = Written{false, address, length};
    } else if (code == 0x05) {
      const int at = byte(line, 3);
      const int count = byte(line, 2) == 1 ? 4 : byte(line, 7);
      if (last && last->live && last->address + last->length == at) {
        last->length += count;
      } else {
        last = Written{true, at, count};
      }
    } else {
      last.reset();
    }
    out.push_back(line);
  }
  return out;
}

}  // namespace vrdk::testing
