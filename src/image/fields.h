// The fields of the configuration image, each named once: the section it
// belongs to, its place in that section, its width in bytes and, for a field
// that shares its byte, the bits it owns. Editors, vrdkctl and the window
// read and write the image through these names and helpers only.
//
// The helpers take "settings bytes": a DataBuf, or the mouse's live settings
// (live addresses 0..191), which share DataBuf's layout up to the end of the
// User section. A Vendor or User field's DataBuf offset is also the live
// address the mouse takes it at.
//
//   Vendor   0  VendorId 2, ProductId 2 (high byte first)
//            4  polling rate (bits 5..4: 0 125 Hz .. 3 1000 Hz)
//            5  package (bit 7: "RGB LED")
//           42  effects enabled (one bit an effect)
//           43  DPI level count - 1
//           44  DPI value indexes, 4 pairs (low nibble the odd level)
//           48  breathing values, four 16-bit words, high byte first
//           56  step time
//           57  effect colours, ten RGB triples
//           87  DPI level colours, eight RGB triples
//          111  product string, 16 bytes, zero-padded
//          127  combination slots, nine codes of 4 bytes
//   User     0  current profile (bits 3..0), profile colour (bits 7..4)
//            1  LED mode byte (type bits 7..4, NT LED count bits 6..4, mode bits 3..0)
//            2  current DPI level
//            3  button flash (1 on)
//            4  profile parameters, 3 bytes, written when a profile is chosen
//            7  recoil X offsets 1..10, signed bytes
//           17  recoil Y offsets 1..10, signed bytes
//   Fire     0  customer vendor code, 1 customer product code
//            2  three fire presets: count - 1, interval high, interval low
//           11  memory type marker
//   Patch code header (I2C) 8  MCU LED step, 9  MCU LED control
//            (bit 7 the 3-step scan, bits 3..0 nine minus the LED count item)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "image/layout.h"

namespace vrdk::image {

enum class Area { kVendor, kUser, kFire };

struct Field {
  Area area;
  std::size_t offset;  // inside its section
  std::size_t size = 1;
  std::uint8_t mask = 0xFF;  // the bits of a one-byte field
};

// The field's offset in DataBuf; for Vendor and User fields also its live
// address.
constexpr std::size_t Place(Field field) {
  switch (field.area) {
    case Area::kVendor:
      return databuf::kVendor + field.offset;
    case Area::kUser:
      return databuf::kUser + field.offset;
    case Area::kFire:
      return databuf::kFire + field.offset;
  }
  return 0;
}
constexpr int LiveAddress(Field field) { return static_cast<int>(Place(field)); }
// The live address of item i of a block of `item_size`-byte items.
constexpr int LiveAddress(Field field, int item, int item_size = 1) {
  return LiveAddress(field) + item * item_size;
}

namespace field {
// Vendor section.
inline constexpr Field kVendorId{Area::kVendor, 0, 2};
inline constexpr Field kProductId{Area::kVendor, 2, 2};
inline constexpr Field kPollingRate{Area::kVendor, 4, 1, 0x30};
inline constexpr Field kPackage{Area::kVendor, 5, 1, 0x80};
// The chip's option bytes whole, as a dump shows them (the polling rate and
// package bits above lie among them).
inline constexpr Field kOptionBytes{Area::kVendor, 4, 5};
inline constexpr Field kEffectsEnabled{Area::kVendor, 42};
inline constexpr Field kLevelCount{Area::kVendor, 43};
inline constexpr Field kLevelValues{Area::kVendor, 44, 4};
inline constexpr Field kBreath{Area::kVendor, 48, 8};
inline constexpr Field kStepTime{Area::kVendor, 56};
inline constexpr Field kEffectColours{Area::kVendor, 57, 30};
inline constexpr Field kLevelColours{Area::kVendor, 87, 24};
inline constexpr Field kProductString{Area::kVendor, 111, 16};
inline constexpr Field kCombinationCodes{Area::kVendor, 127,
                                         (image::kCombinationSlots * kCodeSize)};
// User section.
inline constexpr Field kProfileByte{Area::kUser, 0};
inline constexpr Field kCurrentProfile{Area::kUser, 0, 1, 0x0F};
inline constexpr Field kProfileColour{Area::kUser, 0, 1, 0xF0};
inline constexpr Field kLedModeByte{Area::kUser, 1};
inline constexpr Field kLedMode{Area::kUser, 1, 1, 0x0F};
inline constexpr Field kNtLedCount{Area::kUser, 1, 1, 0x70};
inline constexpr Field kCurrentLevel{Area::kUser, 2};
inline constexpr Field kButtonFlash{Area::kUser, 3};
inline constexpr Field kProfileParameters{Area::kUser, 4, 3};
inline constexpr Field kXOffsets{Area::kUser, 7, 10};
inline constexpr Field kYOffsets{Area::kUser, 17, 10};
// Fire section.
inline constexpr Field kCustomerCodes{Area::kFire, 0, 2};
inline constexpr Field kFirePresets{Area::kFire, 2, 9};
inline constexpr Field kMemoryTypeMarker{Area::kFire, 11};
}  // namespace field

// The patch code header's MCU LED bytes ("I2C").
namespace patch_header {
inline constexpr std::size_t kMcuLedStep = 8;
inline constexpr std::size_t kMcuLedControl = 9;
}  // namespace patch_header

// A one-byte field's bits, shifted down.
int Get(std::span<const std::uint8_t> settings, Field field);
// Sets a one-byte field's bits and keeps the byte's others.
void Set(std::span<std::uint8_t> settings, Field field, int value);
// The byte `byte` with the field's bits replaced by `value`.
std::uint8_t With(std::uint8_t byte, Field field, int value);
// All bytes of a field.
std::span<const std::uint8_t> Bytes(std::span<const std::uint8_t> settings, Field field);
std::span<std::uint8_t> Bytes(std::array<std::uint8_t, databuf::kSize>& data, Field field);

// The polling rate: index 0..3 is 125, 250, 500 or 1000 Hz.
inline constexpr std::array<int, 4> kPollingRates = {125, 250, 500, 1000};
int PollingRateIndex(std::span<const std::uint8_t> settings);
int PollingRateHz(std::span<const std::uint8_t> settings);

// VendorId and ProductId.
int VendorId(std::span<const std::uint8_t> settings);
int ProductId(std::span<const std::uint8_t> settings);

// The value index DPI level `level` (0..7) holds, 0..15 as stored.
int LevelValueIndex(std::span<const std::uint8_t> settings, int level);
// The pair byte of levels 2k and 2k + 1.
constexpr std::uint8_t LevelValuePair(int even_level_index, int odd_level_index) {
  return static_cast<std::uint8_t>((odd_level_index & 0x0F) << 4 | (even_level_index & 0x0F));
}

using Rgb = std::array<std::uint8_t, 3>;
// Colour `n` (0-based) of the effect colours or the DPI level colours.
Rgb EffectColour(std::span<const std::uint8_t> settings, int n);
Rgb LevelColour(std::span<const std::uint8_t> settings, int level);

// Breathing value `n` (0..3).
int BreathValue(std::span<const std::uint8_t> settings, int n);
void SetBreathValue(std::array<std::uint8_t, databuf::kSize>& data, int n, int value);

// The product string up to its first zero byte; a byte that is not
// printable ASCII shows as '?'.
std::string ProductString(std::span<const std::uint8_t> settings);

// Recoil offset n (1..10) of one axis, as the signed byte it is stored as.
int RecoilOffset(std::span<const std::uint8_t> settings, bool x_axis, int n);
constexpr int RecoilOffsetAddress(bool x_axis, int n) {
  return LiveAddress(x_axis ? field::kXOffsets : field::kYOffsets) + n - 1;
}

// Fire preset n (0..2) as stored: the shot count less one, and the interval.
struct StoredFirePreset {
  int count_less_one;
  int interval;
};
StoredFirePreset FirePresetOf(std::span<const std::uint8_t> settings, int n);
void SetFirePreset(std::array<std::uint8_t, databuf::kSize>& data, int n, int count, int interval);

}  // namespace vrdk::image
