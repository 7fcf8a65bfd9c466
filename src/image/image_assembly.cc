#include "image/image_assembly.h"

#include <algorithm>

#include "image/checksum.h"

namespace vrdk::image {
namespace {

void Place(std::span<std::uint8_t> image, std::size_t at, std::span<const std::uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::array<std::uint8_t, kProfileBlockSize> ProfileBlock(const DataBuf& buf) {
  std::array<std::uint8_t, kProfileBlockSize> block;
  std::copy_n(buf.begin() + databuf::kProfile1, kProfileBlockSize, block.begin());
  return block;
}

std::array<std::uint8_t, flash::kPage1BlockSize> FlashPage1Block(const ConfigBuffers& buffers) {
  std::array<std::uint8_t, flash::kPage1BlockSize> block{};
  Place(block, 0, buffers.flash_info);
  Place(block, kFlashInfoSize, ProfileBlock(buffers.data_buf));
  Place(block, kFlashInfoSize + kProfileBlockSize, buffers.reserved);
  return block;
}

void AssembleI2CImage(const ConfigBuffers& buffers, std::span<std::uint8_t, i2c::kSize> image) {
  const DataBuf& buf = buffers.data_buf;
  Place(image, i2c::kVendor, Vendor(buf));
  Place(image, i2c::kUser, User(buf));
  Place(image, i2c::kProfile1, ProfileBlock(buf));
  Place(image, i2c::kReserved, buffers.reserved);
  Place(image, i2c::kFire, Fire(buf));
  Place(image, i2c::kMacroArea, buffers.macro_area);
  Place(image, i2c::kPatchHeader, buffers.patch_header);
  const auto length = std::clamp<std::size_t>(
      static_cast<std::size_t>(std::max(buffers.patch_length, 0)), 0, kPatchCodeSize);
  Place(image, i2c::kPatchCode, std::span(buffers.patch_code).first(length));
}

void AssembleFlashImage(const ConfigBuffers& buffers, std::span<std::uint8_t, flash::kSize> image) {
  const DataBuf& buf = buffers.data_buf;
  Place(image, flash::kVendor, Vendor(buf));
  Place(image, flash::kInfo, buffers.flash_info);
  Place(image, flash::kProfile1, ProfileBlock(buf));
  Place(image, flash::kReserved, buffers.reserved);
  Place(image, flash::kUser, User(buf));
  Place(image, flash::kMacroNames, buffers.macro_names);
  Place(image, flash::kMacroPages, buffers.macro_pages);
  Place(image, flash::kFire, Fire(buf));
  Place(image, flash::kPatchCode, buffers.flash_patch_code);
}

void AssembleImage(const ConfigBuffers& buffers, MemoryType type, std::span<std::uint8_t> image) {
  if (type == MemoryType::kI2C && image.size() >= i2c::kSize) {
    AssembleI2CImage(buffers, image.first<i2c::kSize>());
  } else if (type == MemoryType::kFlash && image.size() >= flash::kSize) {
    AssembleFlashImage(buffers, image.first<flash::kSize>());
  }
}

void WriteAllChecksums(DataBuf& buf) {
  for (Section section : kCheckedSections) WriteSectionChecksum(SectionBytes(buf, section));
}

}  // namespace vrdk::image
