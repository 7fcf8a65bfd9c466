// The named parts of each memory map, for telling the user which parts of
// the mouse's memory a write changed, kept or damaged, and for judging a
// write journal against the memory. Bytes no part covers ("I2C" 380..483,
// the rest of a "Flash" page) are not interpreted.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "image/layout.h"
#include "image/memory_type.h"

namespace vrdk::image {

enum class RegionName {
  kVendor,
  kUser,
  kProfile1,
  kProfile2,
  kProfile3,
  kReserved,
  kFire,
  kMacroArea,       // "I2C"
  kMacroNames,      // "Flash"
  kMacroSlotPages,  // "Flash"
  kPatchHeader,     // "I2C"
  kPatchCode,
  kFlashInfo,  // "Flash"
};

struct Region {
  RegionName name;
  std::size_t offset;
  std::size_t size;
  std::optional<Section> checked;  // a section with a checksum
  // The mouse keeps a working copy of it (the live settings) that it may
  // store at any time.
  bool live_backed = false;
};

// The parts of the map of `type`, in address order.
std::span<const Region> MemoryRegions(MemoryType type);

// Whether a checked part is whole in `memory` (the map's image of `type`);
// true for parts without a checksum.
bool RegionSound(const Region& region, std::span<const std::uint8_t> memory);

}  // namespace vrdk::image
