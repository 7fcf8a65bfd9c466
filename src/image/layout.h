// Where everything lies in the mouse's configuration memory, in the editor's
// working copy DataBuf, and in the side buffers.
//
//   "I2C" (2048 bytes)                 "Flash" (32 pages of 2048 bytes)
//   0     Vendor section   164          0x0000 Vendor section   164  (page 0)
//   164   User section      28          0x1000 Flash info block  24  (page 2)
//   192   Profile1          49          0x1018 Profile1          49
//   241   Profile2          49          0x1049 Profile2          49
//   290   Profile3          49          0x107A Profile3          49
//   339   Reserved block    41          0x10AB Reserved block    41
//   380   (not interpreted)             0x2000 User section      28  (page 4)
//   484   Fire section      12          0x3000 macro names   32 x 16 (page 6)
//   496   MacroArea        512          0x4000 macro slots  32 x 256 (pages 8..11)
//   1008  patch code header 16          0x6000 Fire section      12  (page 12)
//   1024  patch code      <= 874        0xC000 patch code      1024  (page 24)
//
// DataBuf (351 bytes): Vendor 0..163, User 164..191, Profile1..3 192..338,
// Fire 339..350. Checked sections end in a checksum byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vrdk::image {

inline constexpr std::size_t kVendorSize = 164;
inline constexpr std::size_t kUserSize = 28;
inline constexpr std::size_t kProfileSize = 49;
inline constexpr std::size_t kProfileCount = 3;
inline constexpr std::size_t kProfileBlockSize = kProfileSize * kProfileCount;  // 147
inline constexpr std::size_t kFireSize = 12;
inline constexpr std::size_t kReservedSize = 41;
inline constexpr std::size_t kMacroAreaSize = 512;
inline constexpr std::size_t kPatchHeaderSize = 16;
inline constexpr std::size_t kPatchCodeSize = 1024;      // the patch area of either memory
inline constexpr std::size_t kPatchFitsImage1Max = 874;  // longest patch default image 1 holds
inline constexpr std::size_t kFlashInfoSize = 24;
inline constexpr std::size_t kMacroNameSize = 16;
inline constexpr std::size_t kMacroSlots = 32;
inline constexpr std::size_t kMacroNameTableSize = kMacroNameSize * kMacroSlots;  // 512
inline constexpr std::size_t kMacroSlotSize = 256;
inline constexpr std::size_t kMacroPagesSize = kMacroSlotSize * kMacroSlots;  // 8192
inline constexpr std::size_t kKeysPerProfile = 12;
inline constexpr std::size_t kCodeSize = 4;
inline constexpr std::size_t kCombinationSlots = 9;

// Offsets inside DataBuf.
namespace databuf {
inline constexpr std::size_t kVendor = 0;
inline constexpr std::size_t kUser = 164;
inline constexpr std::size_t kProfile1 = 192;
inline constexpr std::size_t kFire = 339;
inline constexpr std::size_t kSize = 351;
}  // namespace databuf

// Offsets inside an "I2C" image.
namespace i2c {
inline constexpr std::size_t kVendor = 0;
inline constexpr std::size_t kUser = 164;
inline constexpr std::size_t kProfile1 = 192;
inline constexpr std::size_t kReserved = 339;
inline constexpr std::size_t kFire = 484;
inline constexpr std::size_t kMemoryTypeMarker = 495;  // Fire section byte 11
inline constexpr std::size_t kMacroArea = 496;
inline constexpr std::size_t kPatchHeader = 1008;
inline constexpr std::size_t kPatchCode = 1024;
inline constexpr std::size_t kSize = 2048;
}  // namespace i2c

// Offsets inside a "Flash" image.
namespace flash {
inline constexpr std::size_t kVendor = 0x0000;
inline constexpr std::size_t kInfo = 0x1000;
inline constexpr std::size_t kProfile1 = 0x1018;
inline constexpr std::size_t kReserved = 0x10AB;
inline constexpr std::size_t kPage1BlockSize = 256;  // info, profiles, reserved, zeros
inline constexpr std::size_t kUser = 0x2000;
inline constexpr std::size_t kMacroNames = 0x3000;
inline constexpr std::size_t kMacroPages = 0x4000;
inline constexpr std::size_t kFire = 0x6000;
inline constexpr std::size_t kMemoryTypeMarker = 0x600B;  // Fire section byte 11
inline constexpr std::size_t kPatchCode = 0xC000;
inline constexpr std::size_t kPageSize = 2048;
inline constexpr std::size_t kPages = 32;
inline constexpr std::size_t kSize = kPageSize * kPages;
}  // namespace flash

// Fire section byte 11: which memory the image belongs to.
inline constexpr std::uint8_t kI2CMarker = 0xE0;
inline constexpr std::uint8_t kFlashMarker = 0xF0;

// Flash info block byte 0: the patch area of this mouse must not be replaced.
inline constexpr std::uint8_t kPatchLockMark = 0x80;

// The checked sections, in the order a read checks them.
enum class Section { kVendor, kUser, kProfile1, kProfile2, kProfile3 };
inline constexpr std::array<Section, 5> kCheckedSections = {
    Section::kVendor, Section::kUser, Section::kProfile1, Section::kProfile2, Section::kProfile3};

// "Vendor", "User", "Profile1", "Profile2", "Profile3".
const char* SectionName(Section section);

}  // namespace vrdk::image
