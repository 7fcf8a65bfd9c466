#include "image/image_split.h"

#include <algorithm>
#include <cstdio>

namespace vrdk::image {
namespace {

template <std::size_t N>
void CopyFrom(std::span<const std::uint8_t> image, std::size_t at, std::span<std::uint8_t, N> to) {
  std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(at), N, to.begin());
}

template <std::size_t N>
void CopyFrom(std::span<const std::uint8_t> image, std::size_t at,
              std::array<std::uint8_t, N>& to) {
  CopyFrom(image, at, std::span<std::uint8_t, N>(to));
}

void CheckInto(RepairedSections& repaired, DataBuf& buf, Section section, const DefaultInputs& in) {
  if (CheckSection(buf, section, in)) repaired.push_back(section);
}

void CopyAndCheckProfiles(std::span<const std::uint8_t> image, std::size_t first,
                          ConfigBuffers& out, const DefaultInputs& in, RepairedSections& repaired) {
  constexpr Section kProfiles[] = {Section::kProfile1, Section::kProfile2, Section::kProfile3};
  for (std::size_t p = 0; p < kProfileCount; ++p) {
    CopyFrom(image, first + p * kProfileSize, Profile(out.data_buf, p));
    CheckInto(repaired, out.data_buf, kProfiles[p], in);
  }
}

std::string Hex4(std::uint8_t high, std::uint8_t low) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X", high, low);
  return text;
}

}  // namespace

RepairedSections SplitI2CImage(std::span<const std::uint8_t, i2c::kSize> image, ConfigBuffers& out,
                               const DefaultInputs& in) {
  RepairedSections repaired;
  CopyFrom(image, i2c::kVendor, Vendor(out.data_buf));
  CheckInto(repaired, out.data_buf, Section::kVendor, in);
  CopyFrom(image, i2c::kUser, User(out.data_buf));
  CheckInto(repaired, out.data_buf, Section::kUser, in);
  CopyAndCheckProfiles(image, i2c::kProfile1, out, in, repaired);
  CopyFrom(image, i2c::kReserved, out.reserved);
  CopyFrom(image, i2c::kFire, Fire(out.data_buf));
  CopyFrom(image, i2c::kMacroArea, out.macro_area);
  CopyFrom(image, i2c::kPatchHeader, out.patch_header);
  TakePatchHeader(out);
  // A header may claim more than the 1024-byte patch area: copy what the
  // area holds; the length stays marked as not fitting.
  const std::size_t length =
      std::min<std::size_t>(static_cast<std::size_t>(out.patch_length), kPatchCodeSize);
  std::copy_n(image.begin() + i2c::kPatchCode, length, out.patch_code.begin());
  return repaired;
}

RepairedSections SplitFlashImage(std::span<const std::uint8_t, flash::kSize> image,
                                 ConfigBuffers& out, const DefaultInputs& in) {
  RepairedSections repaired;
  CopyFrom(image, flash::kVendor, Vendor(out.data_buf));
  CheckInto(repaired, out.data_buf, Section::kVendor, in);
  CopyFrom(image, flash::kInfo, out.flash_info);
  CopyAndCheckProfiles(image, flash::kProfile1, out, in, repaired);
  CopyFrom(image, flash::kReserved, out.reserved);
  CopyFrom(image, flash::kUser, User(out.data_buf));
  CheckInto(repaired, out.data_buf, Section::kUser, in);
  CopyFrom(image, flash::kMacroNames, out.macro_names);
  CopyFrom(image, flash::kMacroPages, out.macro_pages);
  CopyFrom(image, flash::kFire, Fire(out.data_buf));
  CopyFrom(image, flash::kPatchCode, out.flash_patch_code);
  out.patch_locked = out.flash_info[0] == kPatchLockMark;
  return repaired;
}

int PatchLengthOf(std::span<const std::uint8_t, kPatchHeaderSize> header) {
  return header[2] << 8 | header[3];
}

void TakePatchHeader(ConfigBuffers& buffers) {
  buffers.patch_length = PatchLengthOf(buffers.patch_header);
  buffers.patch_fits_image1 = buffers.patch_length <= static_cast<int>(kPatchFitsImage1Max);
}

std::string PatchChecksumText(const ConfigBuffers& buffers, MemoryType type) {
  return type == MemoryType::kI2C ? Hex4(buffers.patch_header[6], buffers.patch_header[7])
                                  : Hex4(buffers.flash_info[14], buffers.flash_info[15]);
}

}  // namespace vrdk::image
