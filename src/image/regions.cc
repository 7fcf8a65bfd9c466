#include "image/regions.h"

#include <array>

#include "image/checksum.h"

namespace vrdk::image {
namespace {

constexpr std::array kI2CRegions = {
    Region{RegionName::kVendor, i2c::kVendor, kVendorSize, Section::kVendor, true},
    Region{RegionName::kUser, i2c::kUser, kUserSize, Section::kUser, true},
    Region{RegionName::kProfile1, i2c::kProfile1, kProfileSize, Section::kProfile1},
    Region{RegionName::kProfile2, i2c::kProfile1 + kProfileSize, kProfileSize, Section::kProfile2},
    Region{RegionName::kProfile3, i2c::kProfile1 + 2 * kProfileSize, kProfileSize,
           Section::kProfile3},
    Region{RegionName::kReserved, i2c::kReserved, kReservedSize, std::nullopt},
    Region{RegionName::kFire, i2c::kFire, kFireSize, std::nullopt},
    Region{RegionName::kMacroArea, i2c::kMacroArea, kMacroAreaSize, std::nullopt},
    Region{RegionName::kPatchHeader, i2c::kPatchHeader, kPatchHeaderSize, std::nullopt},
    Region{RegionName::kPatchCode, i2c::kPatchCode, kPatchCodeSize, std::nullopt},
};

constexpr std::array kFlashRegions = {
    Region{RegionName::kVendor, flash::kVendor, kVendorSize, Section::kVendor, true},
    Region{RegionName::kFlashInfo, flash::kInfo, kFlashInfoSize, std::nullopt},
    Region{RegionName::kProfile1, flash::kProfile1, kProfileSize, Section::kProfile1},
    Region{RegionName::kProfile2, flash::kProfile1 + kProfileSize, kProfileSize,
           Section::kProfile2},
    Region{RegionName::kProfile3, flash::kProfile1 + 2 * kProfileSize, kProfileSize,
           Section::kProfile3},
    Region{RegionName::kReserved, flash::kReserved, kReservedSize, std::nullopt},
    Region{RegionName::kUser, flash::kUser, kUserSize, Section::kUser, true},
    Region{RegionName::kMacroNames, flash::kMacroNames, kMacroNameTableSize, std::nullopt},
    Region{RegionName::kMacroSlotPages, flash::kMacroPages, kMacroPagesSize, std::nullopt},
    Region{RegionName::kFire, flash::kFire, kFireSize, std::nullopt},
    Region{RegionName::kPatchCode, flash::kPatchCode, kPatchCodeSize, std::nullopt},
};

}  // namespace

std::span<const Region> MemoryRegions(MemoryType type) {
  if (type == MemoryType::kI2C) return kI2CRegions;
  return kFlashRegions;
}

bool RegionSound(const Region& region, std::span<const std::uint8_t> memory) {
  if (!region.checked || region.offset + region.size > memory.size()) return true;
  return SectionChecksumValid(memory.subspan(region.offset, region.size));
}

}  // namespace vrdk::image
