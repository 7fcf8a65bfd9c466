// The three default images of a set. The program ships two sets: "I2C"
// images ("VRDK2280MData_Cfg1" .. "VRDK2280MData_Cfg3", 2048 bytes) and
// "Flash" images ("VRDK2280MData_Flash_Cfg1" .. 3, 32 pages of 2048 bytes);
// the set chosen at start decides the memory type the program expects. The
// first image also tells which mouse this build looks for (vendor and product
// id in bytes 0..3) and which memory it expects (byte 495 = 0xE0 means "I2C",
// anything else "Flash").
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/memory_type.h"

namespace vrdk {

class DefaultImageSet {
 public:
  // REQUIRES: each image holds at least 512 bytes.
  explicit DefaultImageSet(std::array<std::vector<std::uint8_t>, 3> images);
  // The images of this memory type embedded in the program; nothing when one
  // is missing or short.
  static std::optional<DefaultImageSet> FromResources(MemoryType type = MemoryType::kI2C);
  // "VRDK2280MData_Cfg1", "VRDK2280MData_Flash_Cfg2", ...
  static std::string ResourceName(MemoryType type, int n);

  MemoryType ImageMemoryType() const;
  std::uint16_t TargetVendorId() const;
  std::uint16_t TargetProductId() const;

  // Default image n (1..3) as a working image of the build's memory type:
  // 2048 bytes for "I2C"; for "Flash" 32 pages, page i from offset i x 2048 of
  // the image, pages beyond its end zero.
  std::vector<std::uint8_t> WorkingImage(int n) const;

 private:
  std::array<std::vector<std::uint8_t>, 3> images_;
};

}  // namespace vrdk
