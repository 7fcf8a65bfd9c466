// The three default images the program ships ("VRDK2280MData_Cfg1" ..
// "VRDK2280MData_Cfg3"). The first also tells which mouse this build looks
// for (vendor and product id in bytes 0..3) and which memory it expects
// (byte 495 = 0xE0 means "I2C", anything else "Flash").
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "image/memory_type.h"

namespace vrdk {

class DefaultImageSet {
 public:
  // REQUIRES: each image holds at least 512 bytes.
  explicit DefaultImageSet(std::array<std::vector<std::uint8_t>, 3> images);
  // The images embedded in the program; nothing when one is missing or short.
  static std::optional<DefaultImageSet> FromResources();

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
