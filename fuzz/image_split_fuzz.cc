// Fuzz target: whole configuration images as a mouse or a memory file may
// hand them to us. The bytes, laid over factory memory of each type, are
// split into the editor's buffers: every checked section then holds a valid
// checksum, exactly the sections whose checksum failed were repaired, every
// other byte is the image's, the patch code copied stays inside the patch
// area, and splitting is repeatable. The buffers assembled back give the
// image again (repaired sections aside), which splits with no repair. As a
// memory file, the bytes load when they are an image of a given size and
// type, as themselves, and are refused with a message otherwise.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "buffers_before.h"
#include "image/checksum.h"
#include "image/image_assembly.h"
#include "image/image_split.h"
#include "simulator/memory_image.h"
#include "simulator/simulated_mouse.h"
#include "temp_file.h"

namespace {

using namespace vrdk;
using namespace vrdk::image;
using fuzz::BuffersBefore;
using fuzz::kBefore;
using fuzz::Same;
using fuzz::Untouched;

// Whether the image holds `bytes` from `at` on.
bool Holds(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> image,
           std::size_t at) {
  return std::equal(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(at),
                    image.begin() + static_cast<std::ptrdiff_t>(at + bytes.size()));
}

// Where a checked section lies in an image of this memory type.
std::size_t SectionAddress(MemoryType type, Section section) {
  const bool i2c = type == MemoryType::kI2C;
  switch (section) {
    case Section::kVendor:
      return i2c ? i2c::kVendor : flash::kVendor;
    case Section::kUser:
      return i2c ? i2c::kUser : flash::kUser;
    case Section::kProfile1:
    case Section::kProfile2:
    case Section::kProfile3:
      break;
  }
  const auto p = static_cast<std::size_t>(section) - static_cast<std::size_t>(Section::kProfile1);
  return (i2c ? i2c::kProfile1 : flash::kProfile1) + p * kProfileSize;
}

RepairedSections Split(MemoryType type, std::span<const std::uint8_t> image, ConfigBuffers& out,
                       const DefaultInputs& in) {
  if (type == MemoryType::kI2C) {
    return SplitI2CImage(image.first<i2c::kSize>(), out, in);
  }
  return SplitFlashImage(image.first<flash::kSize>(), out, in);
}

void CheckSideBuffers(MemoryType type, std::span<const std::uint8_t> image,
                      const ConfigBuffers& out) {
  if (!Holds(Fire(out.data_buf), image, type == MemoryType::kI2C ? i2c::kFire : flash::kFire)) {
    __builtin_trap();
  }
  if (type == MemoryType::kFlash) {
    if (!Holds(out.reserved, image, flash::kReserved) ||
        !Holds(out.flash_info, image, flash::kInfo) ||
        !Holds(out.macro_names, image, flash::kMacroNames) ||
        !Holds(out.macro_pages, image, flash::kMacroPages) ||
        !Holds(out.flash_patch_code, image, flash::kPatchCode) ||
        out.patch_locked != (image[flash::kInfo] == kPatchLockMark)) {
      __builtin_trap();
    }
    // The "I2C" buffers are not this image's.
    if (!Untouched(out.macro_area) || !Untouched(out.patch_header) || !Untouched(out.patch_code) ||
        out.patch_length != -1) {
      __builtin_trap();
    }
    return;
  }
  if (!Holds(out.reserved, image, i2c::kReserved) ||
      !Holds(out.macro_area, image, i2c::kMacroArea) ||
      !Holds(out.patch_header, image, i2c::kPatchHeader)) {
    __builtin_trap();
  }
  // The length is the header's, whatever it claims; the code copied is what
  // the 1024-byte patch area holds of it, and the rest stays as it was.
  const int claimed = image[i2c::kPatchHeader + 2] << 8 | image[i2c::kPatchHeader + 3];
  if (out.patch_length != claimed ||
      out.patch_fits_image1 != (claimed <= static_cast<int>(kPatchFitsImage1Max))) {
    __builtin_trap();
  }
  const std::size_t copied =
      std::min<std::size_t>(static_cast<std::size_t>(claimed), kPatchCodeSize);
  if (i2c::kPatchCode + copied > image.size() ||
      !Holds(std::span(out.patch_code).first(copied), image, i2c::kPatchCode) ||
      !std::all_of(out.patch_code.begin() + static_cast<std::ptrdiff_t>(copied),
                   out.patch_code.end(), [](std::uint8_t b) { return b == kBefore; })) {
    __builtin_trap();
  }
  if (!Untouched(out.macro_names) || !Untouched(out.macro_pages) || !Untouched(out.flash_info) ||
      !Untouched(out.flash_patch_code)) {
    __builtin_trap();
  }
}

void CheckSplit(MemoryType type, std::span<const std::uint8_t> image, const DefaultInputs& in) {
  ConfigBuffers out = BuffersBefore();
  RepairedSections repaired = Split(type, image, out, in);

  RepairedSections failed;
  for (const Section section : kCheckedSections) {
    const std::size_t size = SectionBytes(out.data_buf, section).size();
    if (!SectionChecksumValid(image.subspan(SectionAddress(type, section), size))) {
      failed.push_back(section);
    }
    // Repaired or not, every checked section passes its check now.
    if (!SectionChecksumValid(SectionBytes(out.data_buf, section))) __builtin_trap();
  }
  std::sort(repaired.begin(), repaired.end());
  if (repaired != failed) __builtin_trap();
  for (const Section section : kCheckedSections) {
    if (std::find(failed.begin(), failed.end(), section) != failed.end()) continue;
    if (!Holds(SectionBytes(out.data_buf, section), image, SectionAddress(type, section))) {
      __builtin_trap();
    }
  }
  CheckSideBuffers(type, image, out);

  ConfigBuffers again = BuffersBefore();
  RepairedSections repaired_again = Split(type, image, again, in);
  std::sort(repaired_again.begin(), repaired_again.end());
  if (!Same(out, again) || repaired_again != repaired) __builtin_trap();

  // Assembled back over the image: the image again, but for the repairs.
  std::vector<std::uint8_t> assembled(image.begin(), image.end());
  AssembleImage(out, type, assembled);
  std::vector<bool> repaired_byte(image.size(), false);
  for (const Section section : repaired) {
    const std::size_t at = SectionAddress(type, section);
    const std::size_t size = SectionBytes(out.data_buf, section).size();
    std::fill_n(repaired_byte.begin() + static_cast<std::ptrdiff_t>(at), size, true);
  }
  for (std::size_t i = 0; i < image.size(); ++i) {
    if (!repaired_byte[i] && assembled[i] != image[i]) __builtin_trap();
  }
  ConfigBuffers resplit = BuffersBefore();
  if (!Split(type, assembled, resplit, in).empty() || !Same(resplit, out)) __builtin_trap();
}

// The bytes over the factory memory of the type, cut to its size.
std::vector<std::uint8_t> OverFactory(MemoryType type, std::span<const std::uint8_t> data) {
  static const std::vector<std::uint8_t> kI2C = SimulatedMouse::FactoryMemory(MemoryType::kI2C);
  static const std::vector<std::uint8_t> kFlash = SimulatedMouse::FactoryMemory(MemoryType::kFlash);
  std::vector<std::uint8_t> image = type == MemoryType::kI2C ? kI2C : kFlash;
  std::copy_n(data.begin(), std::min(data.size(), image.size()), image.begin());
  return image;
}

void AsMemoryFile(std::span<const std::uint8_t> data) {
  const fuzz::TempFile file("memory-image", data);
  // Only these two sizes are images, and the size tells the type.
  const bool sized = data.size() == kI2CMemorySize || data.size() == kFlashMemorySize;
  const MemoryType by_size = data.size() == kI2CMemorySize ? MemoryType::kI2C : MemoryType::kFlash;
  for (const auto type : {std::optional<MemoryType>(), std::optional(MemoryType::kI2C),
                          std::optional(MemoryType::kFlash)}) {
    const auto image = LoadMemoryImage(file.Path(), type);
    const bool wanted = sized && (!type || *type == by_size);
    if (image.ok() != wanted) __builtin_trap();
    if (!image.ok()) {
      if (image.message().find(file.Path()) == std::string::npos) __builtin_trap();
      continue;
    }
    if (!image.value().from_file || image.value().type != by_size ||
        !std::equal(image.value().bytes.begin(), image.value().bytes.end(), data.begin(),
                    data.end())) {
      __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  // The inputs that steer the repairs, chosen by the input's size.
  DefaultInputs in;
  in.led_type = static_cast<LedType>(size % 5);
  if (const std::size_t package = size / 5 % 3; package != 2) {
    in.package = static_cast<int>(package);
  }
  for (const MemoryType type : {MemoryType::kI2C, MemoryType::kFlash}) {
    in.memory_type = type;
    CheckSplit(type, OverFactory(type, bytes), in);
  }
  AsMemoryFile(bytes);
  return 0;
}
