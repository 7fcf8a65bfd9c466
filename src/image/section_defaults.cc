#include "image/section_defaults.h"

#include <algorithm>
#include <initializer_list>

#include "image/checksum.h"
#include "image/fields.h"

namespace vrdk::image {
namespace {

bool IsSync(LedType type) { return type == LedType::kSync; }
bool IsNTOrMCULED(LedType type) { return type == LedType::kNT || type == LedType::kMCULED; }

// Writes `bytes` from the field's place on, inside its own section.
void Put(std::span<std::uint8_t> section, Field field, std::initializer_list<std::uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(),
            section.begin() + static_cast<std::ptrdiff_t>(field.offset));
}
void Put(std::span<std::uint8_t> section, Field field, std::span<const std::uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(),
            section.begin() + static_cast<std::ptrdiff_t>(field.offset));
}
std::uint8_t& At(std::span<std::uint8_t> section, Field field) { return section[field.offset]; }

// The option bytes 4..7 (IC type and polling rate, package, ...), the
// sensor registers from 8 and the LED initial values at 40.
constexpr Field kOptions{Area::kVendor, 4, 4};
constexpr Field kSensorRegisters{Area::kVendor, 8, 32};
constexpr Field kLedInit{Area::kVendor, 40, 2};

// Bytes 8..39: chip options and the sensor tuning registers.
constexpr std::uint8_t kSensorDefaults[32] = {
    0xAF, 0x20, 0x35, 0x29, 0x10, 0x30, 0x1A, 0x00, 0x00, 0x45, 0x02, 0xEF, 0x10, 0xEF, 0x10, 0xEF,
    0x10, 0xFF, 0x10, 0x50, 0x03, 0x01, 0x02, 0x48, 0x96, 0xFA, 0x20, 0x1E, 0x02, 0x01, 0x20, 0x00};

constexpr std::uint8_t kLedColours[30] = {
    0xFF, 0x00, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF,
    0x00, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};

constexpr std::uint8_t kDpiColours[24] = {0x00, 0xFF, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0x80,
                                          0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x80, 0xFF,
                                          0x00, 0xFF, 0x80, 0x00, 0xFF, 0x00, 0x00, 0xFF};

constexpr char kProductString[] = "HID Gaming mouse";

constexpr std::uint8_t kProfileCodes[kKeysPerProfile][kCodeSize] = {
    {0x01, 0x01, 0x00, 0x00}, {0x01, 0x08, 0x00, 0x00}, {0x06, 0x12, 0x00, 0x10},
    {0x01, 0x02, 0x00, 0x00}, {0x01, 0x10, 0x00, 0x00}, {0x02, 0x08, 0x07, 0x00},
    {0x01, 0x04, 0x00, 0x00}, {0x09, 0x00, 0x00, 0x00}, {0x08, 0x00, 0x00, 0x00},
    {0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x00, 0x00}};

}  // namespace

void FillVendorDefaults(std::span<std::uint8_t, kVendorSize> v, const DefaultInputs& in) {
  const LedType led = in.led_type;
  Put(v, field::kVendorId, {0x1B, 0xCF, 0x08, 0xB8});  // and the product id
  Put(v, kOptions,
      {in.memory_type == MemoryType::kI2C ? std::uint8_t{0xBF} : std::uint8_t{0xFF},
       IsSync(led) || IsNTOrMCULED(led) ? std::uint8_t{0x3F} : std::uint8_t{0xFF}, 0x7F,
       IsSync(led)         ? std::uint8_t{0xBF}
       : IsNTOrMCULED(led) ? std::uint8_t{0xCF}
                           : std::uint8_t{0x7F}});
  Put(v, kSensorRegisters, kSensorDefaults);
  if (in.package == 0) Put(v, kLedInit, {0x06, 0x87});
  if (in.package == 1) Put(v, kLedInit, {0x10, 0xE0});
  At(v, field::kEffectsEnabled) = IsSync(led)               ? 0x05
                                  : led == LedType::kNT     ? 0x37
                                  : led == LedType::kMCULED ? 0x7F
                                                            : 0x3F;
  // Four levels, and the value indexes of the eight.
  Put(v, field::kLevelCount, {0x03, 0x64, 0x98, 0x00, 0x00});
  // The breathing values and the step time.
  if (IsSync(led)) {
    Put(v, field::kBreath, {0x00, 0x00, 0x00, 0xFF, 0x00, 0x64, 0x6D, 0x60, 0x08});
  } else if (IsNTOrMCULED(led)) {
    Put(v, field::kBreath, {0x00, 0x00, 0x00, 0xFF, 0x00, 0x64, 0x00, 0x64, 0x08});
  } else {
    Put(v, field::kBreath, {0x01, 0x00, 0x80, 0x00, 0x00, 0x64, 0x00, 0x64, 0x08});
  }
  if (!IsSync(led)) {
    Put(v, field::kEffectColours, kLedColours);
    Put(v, field::kLevelColours, kDpiColours);
  }
  Put(v, field::kProductString,
      std::span(reinterpret_cast<const std::uint8_t*>(kProductString), field::kProductString.size));
  const auto combinations =
      v.subspan(field::kCombinationCodes.offset, field::kCombinationCodes.size);
  std::fill(combinations.begin(), combinations.end(), 0x00);
  Put(combinations, Field{Area::kVendor, 2 * kCodeSize}, {0x08, 0x01, 0x00, 0x00});
}

void FillUserDefaults(std::span<std::uint8_t, kUserSize> u, const DefaultInputs& in) {
  std::fill(u.begin(), u.end() - 1, 0x00);
  std::uint8_t& mode = At(u, field::kLedModeByte);
  switch (in.led_type) {
    case LedType::kSync:
      mode = 0x42;
      break;
    case LedType::kNT:
      mode = 0xF5;
      break;
    case LedType::kMCULED:
      mode = 0x81;
      break;
    default:
      mode = 0x05;
      break;
  }
  At(u, field::kCurrentLevel) = 0x01;
  At(u, field::kButtonFlash) = 0x01;
}

void FillProfileDefaults(std::span<std::uint8_t, kProfileSize> p, const DefaultInputs& in) {
  if (!in.package) return;
  for (std::size_t key = 0; key < kKeysPerProfile; ++key) {
    std::copy_n(kProfileCodes[key], kCodeSize,
                p.begin() + static_cast<std::ptrdiff_t>(key * kCodeSize));
  }
}

void FillFireDefaults(std::span<std::uint8_t, kFireSize> f, const DefaultInputs& in) {
  Put(f, field::kCustomerCodes, {0xFF, 0xFF});
  // Presets of 2, 4 and 8 shots at intervals of 60, 120 and 200.
  Put(f, field::kFirePresets, {0x01, 0x00, 0x3C, 0x03, 0x00, 0x78, 0x07, 0x00, 0xC8});
  At(f, field::kMemoryTypeMarker) = in.memory_type == MemoryType::kI2C ? kI2CMarker : kFlashMarker;
}

void FillSectionDefaults(DataBuf& buf, Section section, const DefaultInputs& in) {
  switch (section) {
    case Section::kVendor:
      FillVendorDefaults(Vendor(buf), in);
      break;
    case Section::kUser:
      FillUserDefaults(User(buf), in);
      break;
    case Section::kProfile1:
    case Section::kProfile2:
    case Section::kProfile3:
      FillProfileDefaults(Profile(buf, static_cast<std::size_t>(section) -
                                           static_cast<std::size_t>(Section::kProfile1)),
                          in);
      break;
  }
  WriteSectionChecksum(SectionBytes(buf, section));
}

bool CheckSection(DataBuf& buf, Section section, const DefaultInputs& in) {
  if (SectionChecksumValid(SectionBytes(buf, section))) return false;
  FillSectionDefaults(buf, section, in);
  return true;
}

}  // namespace vrdk::image
