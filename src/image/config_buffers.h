// DataBuf and the side buffers: the editor's working copy of the mouse's
// configuration, filled by every read, reset and file load and changed in
// place by the editors.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "image/layout.h"

namespace vrdk::image {

using DataBuf = std::array<std::uint8_t, databuf::kSize>;

struct ConfigBuffers {
  DataBuf data_buf{};
  std::array<std::uint8_t, kReservedSize> reserved{};
  // "I2C": up to 15 macros packed one after another.
  std::array<std::uint8_t, kMacroAreaSize> macro_area{};
  // "Flash": 32 names of 16 bytes and 32 slots of 256 bytes.
  std::array<std::uint8_t, kMacroNameTableSize> macro_names{};
  std::array<std::uint8_t, kMacroPagesSize> macro_pages{};
  // "I2C" patch code header and code (PatchHeader, PatchCode).
  std::array<std::uint8_t, kPatchHeaderSize> patch_header{};
  std::array<std::uint8_t, kPatchCodeSize> patch_code{};
  // "Flash" info block and patch code (FlashPatchCode).
  std::array<std::uint8_t, kFlashInfoSize> flash_info{};
  std::array<std::uint8_t, kPatchCodeSize> flash_patch_code{};
  // PatchLength as the header gives it, and whether it fits default image 1.
  int patch_length = 0;
  bool patch_fits_image1 = true;
  // "Flash": the patch area of this mouse is fixed (info block byte 0 = 0x80).
  bool patch_locked = false;
};

// The sections of DataBuf.
inline std::span<std::uint8_t, kVendorSize> Vendor(DataBuf& buf) {
  return std::span(buf).subspan<databuf::kVendor, kVendorSize>();
}
inline std::span<const std::uint8_t, kVendorSize> Vendor(const DataBuf& buf) {
  return std::span(buf).subspan<databuf::kVendor, kVendorSize>();
}
inline std::span<std::uint8_t, kUserSize> User(DataBuf& buf) {
  return std::span(buf).subspan<databuf::kUser, kUserSize>();
}
inline std::span<const std::uint8_t, kUserSize> User(const DataBuf& buf) {
  return std::span(buf).subspan<databuf::kUser, kUserSize>();
}
// profile: 0, 1 or 2.
inline std::span<std::uint8_t, kProfileSize> Profile(DataBuf& buf, std::size_t profile) {
  return std::span<std::uint8_t, kProfileSize>(
      buf.data() + databuf::kProfile1 + profile * kProfileSize, kProfileSize);
}
inline std::span<const std::uint8_t, kProfileSize> Profile(const DataBuf& buf,
                                                           std::size_t profile) {
  return std::span<const std::uint8_t, kProfileSize>(
      buf.data() + databuf::kProfile1 + profile * kProfileSize, kProfileSize);
}
inline std::span<std::uint8_t, kFireSize> Fire(DataBuf& buf) {
  return std::span(buf).subspan<databuf::kFire, kFireSize>();
}
inline std::span<const std::uint8_t, kFireSize> Fire(const DataBuf& buf) {
  return std::span(buf).subspan<databuf::kFire, kFireSize>();
}
std::span<std::uint8_t> SectionBytes(DataBuf& buf, Section section);

}  // namespace vrdk::image
