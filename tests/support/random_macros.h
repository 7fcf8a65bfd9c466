// Random macros of every event kind from a fixed seed, and what the "I2C"
// macro area must make of them, worked out here on its own: records one
// after another, a loop end put at offset 255 before an event that starts
// there with 0xFE, 0x81, 0x01, 0x82 or 0x02, and the cases the area cannot
// hold.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace vrdk::testing {

struct GeneratedMacro {
  std::u16string name;
  std::vector<std::uint8_t> events;  // the end byte included
  std::vector<std::size_t> starts;   // where each event begins (the end byte too)
};

class RandomMacros {
 public:
  explicit RandomMacros(std::uint32_t seed) : engine_(seed) {}

  int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(Int(0, 255)); }

  // 1 to 8 characters; none has a byte 0x00 or 0xFF.
  std::u16string Name() {
    std::u16string name;
    const int units = Int(1, 8);
    for (int i = 0; i < units; ++i) {
      name.push_back(Int(0, 3) == 0 ? static_cast<char16_t>(0x4E01 + Int(0, 0xFD))
                                    : static_cast<char16_t>(Int(0x21, 0x7E)));
    }
    return name;
  }

  // One event of a random kind, operands included.
  std::vector<std::uint8_t> Event() {
    static constexpr std::uint8_t kModifiers[] = {0x01, 0x02, 0x04, 0x08, 0x80};
    static constexpr std::uint8_t kButtons[] = {0x21, 0x22, 0x24, 0x28, 0x30};
    const bool down = Int(0, 1) == 1;
    switch (Int(0, 7)) {
      case 0:
        return {static_cast<std::uint8_t>(down ? 0x81 : 0x01), kModifiers[Int(0, 4)]};
      case 1:
        return {static_cast<std::uint8_t>(down ? 0x82 : 0x02), Byte()};
      case 2:
        return {static_cast<std::uint8_t>(kButtons[Int(0, 4)] | (down ? 0x80 : 0))};
      case 3:
        return {0x04, Byte(), Byte()};
      case 4:  // delays of 0 ms now and then: zero operands before the end byte
        return Int(0, 4) == 0 ? std::vector<std::uint8_t>{0xFE, 0, 0}
                              : std::vector<std::uint8_t>{0xFE, Byte(), Byte()};
      case 5:
        return {0xFD, Byte()};
      case 6:
        return {0xFC};
      default:
        return {static_cast<std::uint8_t>(down ? 0x82 : 0x02), 0x04};
    }
  }

  // A macro of at most `max_events` event bytes (exactly that many when
  // `full`, loop ends making up the rest), end byte after them.
  GeneratedMacro Macro(std::size_t max_events, bool full = false) {
    GeneratedMacro macro{Name(), {}, {}};
    const auto target =
        full ? max_events : static_cast<std::size_t>(Int(0, static_cast<int>(max_events)));
    while (macro.events.size() < target) {
      auto event = Event();
      if (macro.events.size() + event.size() > max_events) {
        if (!full) break;
        event = {0xFC};
      }
      macro.starts.push_back(macro.events.size());
      macro.events.insert(macro.events.end(), event.begin(), event.end());
    }
    macro.starts.push_back(macro.events.size());
    macro.events.push_back(0x00);
    return macro;
  }

 private:
  std::mt19937 engine_;
};

// What the area makes of macros laid out in order.
struct ExpectedArea {
  enum class Outcome { kFits, kNoRoom, kTooLong, kSplitsEvent };
  Outcome outcome = Outcome::kFits;
  std::size_t slot = 0;                           // the macro refused
  std::vector<std::vector<std::uint8_t>> events;  // as the area holds them, end included
  std::vector<std::uint16_t> addresses;
  int loop_ends_added = 0;
};

inline ExpectedArea ExpectI2CArea(const std::vector<GeneratedMacro>& macros) {
  ExpectedArea expected;
  std::size_t b = 0;
  for (std::size_t k = 0; k < macros.size(); ++k) {
    std::vector<std::uint8_t> events = macros[k].events;
    const std::size_t first = b + 16;
    const std::uint8_t page_rule[] = {0xFE, 0x81, 0x01, 0x82, 0x02};
    if (first <= 255 && 255 - first < events.size() &&
        std::find(std::begin(page_rule), std::end(page_rule), events[255 - first]) !=
            std::end(page_rule)) {
      const std::size_t at = 255 - first;
      const auto& starts = macros[k].starts;
      if (std::find(starts.begin(), starts.end(), at) == starts.end()) {
        return {ExpectedArea::Outcome::kSplitsEvent, k, {}, {}, 0};
      }
      if (events.size() + 1 > 256) return {ExpectedArea::Outcome::kTooLong, k, {}, {}, 0};
      events.insert(events.begin() + static_cast<std::ptrdiff_t>(at), 0xFC);
      ++expected.loop_ends_added;
    }
    if (first + events.size() > 512) return {ExpectedArea::Outcome::kNoRoom, k, {}, {}, 0};
    expected.addresses.push_back(static_cast<std::uint16_t>(0x01F0 + first));
    b = first + events.size() + (events.size() > 1 ? 1 : 0);
    expected.events.push_back(std::move(events));
  }
  return expected;
}

}  // namespace vrdk::testing
