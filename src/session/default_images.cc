#include "session/default_images.h"

#include <algorithm>
#include <string>

#include "image/layout.h"
#include "resources/resources.h"

namespace vrdk {
namespace {
constexpr std::size_t kHeadSize = 512;
}  // namespace

DefaultImageSet::DefaultImageSet(std::array<std::vector<std::uint8_t>, 3> images)
    : images_(std::move(images)) {
  for (auto& image : images_) {
    if (image.size() < kHeadSize) image.resize(kHeadSize, 0);
  }
}

std::string DefaultImageSet::ResourceName(MemoryType type, int n) {
  return std::string(type == MemoryType::kI2C ? "VRDK2280MData_Cfg" : "VRDK2280MData_Flash_Cfg") +
         std::to_string(n);
}

std::optional<DefaultImageSet> DefaultImageSet::FromResources(MemoryType type) {
  std::array<std::vector<std::uint8_t>, 3> images;
  for (int n = 1; n <= 3; ++n) {
    const auto bytes = resources::Find(ResourceName(type, n));
    if (!bytes || bytes->size() < kHeadSize) return std::nullopt;
    images[static_cast<std::size_t>(n - 1)].assign(bytes->begin(), bytes->end());
  }
  return DefaultImageSet(std::move(images));
}

MemoryType DefaultImageSet::ImageMemoryType() const {
  return images_[0][image::i2c::kMemoryTypeMarker] == image::kI2CMarker ? MemoryType::kI2C
                                                                        : MemoryType::kFlash;
}

std::uint16_t DefaultImageSet::TargetVendorId() const {
  return static_cast<std::uint16_t>(images_[0][0] << 8 | images_[0][1]);
}

std::uint16_t DefaultImageSet::TargetProductId() const {
  return static_cast<std::uint16_t>(images_[0][2] << 8 | images_[0][3]);
}

std::vector<std::uint8_t> DefaultImageSet::WorkingImage(int n) const {
  const auto& source = images_[static_cast<std::size_t>(std::clamp(n, 1, 3) - 1)];
  std::vector<std::uint8_t> image(MemorySize(ImageMemoryType()), 0);
  std::copy_n(source.begin(), std::min(source.size(), image.size()), image.begin());
  return image;
}

}  // namespace vrdk
