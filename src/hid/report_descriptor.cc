#include "hid/report_descriptor.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

namespace vrdk {
namespace {

enum Kind { kInput = 0, kOutput = 1, kFeature = 2 };

struct Globals {
  std::uint32_t report_size = 0;
  std::uint32_t report_count = 0;
  std::uint32_t report_id = 0;
};

// An item's prefix byte: its tag in the high four bits, its type in bits 2
// and 3, the size of its data in the low two (3 means four bytes).
constexpr std::uint8_t kTypeMain = 0;
constexpr std::uint8_t kTypeGlobal = 1;
constexpr std::uint8_t kLongItem = 0xFE;

// The tags of the main items.
enum MainTag : std::uint8_t {
  kTagInput = 0x8,
  kTagOutput = 0x9,
  kTagCollection = 0xA,
  kTagFeature = 0xB,
  kTagEndCollection = 0xC,
};

// The tags of the global items this reader keeps.
enum GlobalTag : std::uint8_t {
  kTagReportSize = 0x7,
  kTagReportId = 0x8,
  kTagReportCount = 0x9,
  kTagPush = 0xA,
  kTagPop = 0xB,
};

}  // namespace

std::optional<std::vector<HidCaps>> CollectionLengthsFromDescriptor(
    std::span<const std::uint8_t> descriptor) {
  if (descriptor.size() > kMaxDescriptorSize) return std::nullopt;

  Globals globals;
  std::array<Globals, kMaxGlobalStack> stack;
  int stack_depth = 0;
  int collection_depth = 0;
  int top_level = 0;  // collections begun at depth 0 so far
  // Bits per (top-level collection, kind, report id).
  std::map<std::tuple<int, int, std::uint32_t>, std::uint32_t> bits;

  std::size_t at = 0;
  while (at < descriptor.size()) {
    const std::uint8_t prefix = descriptor[at++];
    if (prefix == kLongItem) {  // skipped whole
      if (descriptor.size() - at < 2) return std::nullopt;
      const std::size_t size = descriptor[at];
      at += 2;
      if (descriptor.size() - at < size) return std::nullopt;
      at += size;
      continue;
    }
    const std::size_t size = (prefix & 0x03) == 3 ? 4 : (prefix & 0x03);
    if (descriptor.size() - at < size) return std::nullopt;
    std::uint32_t data = 0;
    for (std::size_t i = 0; i < size; ++i) {
      data |= static_cast<std::uint32_t>(descriptor[at + i]) << (8 * i);
    }
    at += size;
    const std::uint8_t type = (prefix >> 2) & 0x03;
    const std::uint8_t tag = prefix >> 4;

    if (type == kTypeGlobal) {
      switch (tag) {
        case kTagReportSize:
          if (data > kMaxReportSizeBits) return std::nullopt;
          globals.report_size = data;
          break;
        case kTagReportId:
          if (data == 0 || data > 0xFF) return std::nullopt;
          globals.report_id = data;
          break;
        case kTagReportCount:
          if (data > kMaxReportCount) return std::nullopt;
          globals.report_count = data;
          break;
        case kTagPush:
          if (stack_depth == kMaxGlobalStack) return std::nullopt;
          stack[static_cast<std::size_t>(stack_depth++)] = globals;
          break;
        case kTagPop:
          if (stack_depth == 0) return std::nullopt;
          globals = stack[static_cast<std::size_t>(--stack_depth)];
          break;
        default:
          break;
      }
    } else if (type == kTypeMain) {
      int kind = -1;
      switch (tag) {
        case kTagInput:
          kind = kInput;
          break;
        case kTagOutput:
          kind = kOutput;
          break;
        case kTagFeature:
          kind = kFeature;
          break;
        case kTagCollection:
          if (collection_depth == 0) ++top_level;
          if (++collection_depth > kMaxCollectionDepth) return std::nullopt;
          break;
        case kTagEndCollection:
          if (--collection_depth < 0) return std::nullopt;
          break;
        default:
          break;
      }
      if (kind >= 0) {
        // Both factors are bounded above, so the product fits in 32 bits.
        const int collection = std::max(top_level - 1, 0);
        auto& total = bits[{collection, kind, globals.report_id}];
        total += globals.report_size * globals.report_count;
        if (total > kMaxReportBytes * 8) return std::nullopt;
      }
    }
  }
  if (collection_depth != 0) return std::nullopt;

  std::vector<std::array<std::uint32_t, 3>> longest(
      static_cast<std::size_t>(std::max(top_level, 1)));
  for (const auto& [key, count] : bits) {
    const auto [collection, kind, id] = key;
    auto& slot = longest[static_cast<std::size_t>(collection)][static_cast<std::size_t>(kind)];
    slot = std::max(slot, (count + 7) / 8);
  }
  std::vector<HidCaps> caps;
  for (const auto& lengths : longest) {
    // The report id byte comes first in every report, 0 when ids are unused.
    auto length = [&](Kind kind) {
      const std::uint32_t bytes = lengths[kind];
      return static_cast<std::uint16_t>(bytes == 0 ? 0 : bytes + 1);
    };
    caps.push_back(HidCaps{length(kInput), length(kOutput), length(kFeature)});
  }
  return caps;
}

}  // namespace vrdk
