#include "image/section_defaults.h"

#include <algorithm>
#include <initializer_list>

#include "image/checksum.h"

namespace vrdk::image {
namespace {

bool IsSync(LedType type) { return type == LedType::kSync; }
bool IsNTOrMCULED(LedType type) { return type == LedType::kNT || type == LedType::kMCULED; }

void Put(std::span<std::uint8_t> to, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), to.begin() + static_cast<std::ptrdiff_t>(at));
}

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
  Put(v, 0, {0x1B, 0xCF, 0x08, 0xB8});
  v[4] = in.memory_type == MemoryType::kI2C ? 0xBF : 0xFF;
  v[5] = IsSync(led) || IsNTOrMCULED(led) ? 0x3F : 0xFF;
  v[6] = 0x7F;
  v[7] = IsSync(led) ? 0xBF : IsNTOrMCULED(led) ? 0xCF : 0x7F;
  std::copy(std::begin(kSensorDefaults), std::end(kSensorDefaults), v.begin() + 8);
  if (in.package == 0) Put(v, 40, {0x06, 0x87});
  if (in.package == 1) Put(v, 40, {0x10, 0xE0});
  v[42] = IsSync(led) ? 0x05 : led == LedType::kNT ? 0x37 : led == LedType::kMCULED ? 0x7F : 0x3F;
  Put(v, 43, {0x03, 0x64, 0x98, 0x00, 0x00});
  if (IsSync(led)) {
    Put(v, 48, {0x00, 0x00, 0x00, 0xFF, 0x00, 0x64, 0x6D, 0x60, 0x08});
  } else if (IsNTOrMCULED(led)) {
    Put(v, 48, {0x00, 0x00, 0x00, 0xFF, 0x00, 0x64, 0x00, 0x64, 0x08});
  } else {
    Put(v, 48, {0x01, 0x00, 0x80, 0x00, 0x00, 0x64, 0x00, 0x64, 0x08});
  }
  if (!IsSync(led)) {
    std::copy(std::begin(kLedColours), std::end(kLedColours), v.begin() + 57);
    std::copy(std::begin(kDpiColours), std::end(kDpiColours), v.begin() + 87);
  }
  std::copy(kProductString, kProductString + 16, v.begin() + 111);
  std::fill(v.begin() + 127, v.begin() + 163, 0x00);
  Put(v, 127 + 2 * kCodeSize, {0x08, 0x01, 0x00, 0x00});
}

void FillUserDefaults(std::span<std::uint8_t, kUserSize> u, const DefaultInputs& in) {
  std::fill(u.begin(), u.end() - 1, 0x00);
  switch (in.led_type) {
    case LedType::kSync:
      u[1] = 0x42;
      break;
    case LedType::kNT:
      u[1] = 0xF5;
      break;
    case LedType::kMCULED:
      u[1] = 0x81;
      break;
    default:
      u[1] = 0x05;
      break;
  }
  u[2] = 0x01;
  u[3] = 0x01;
}

void FillProfileDefaults(std::span<std::uint8_t, kProfileSize> p, const DefaultInputs& in) {
  if (!in.package) return;
  for (std::size_t key = 0; key < kKeysPerProfile; ++key) {
    std::copy_n(kProfileCodes[key], kCodeSize,
                p.begin() + static_cast<std::ptrdiff_t>(key * kCodeSize));
  }
}

void FillFireDefaults(std::span<std::uint8_t, kFireSize> f, const DefaultInputs& in) {
  Put(f, 0, {0xFF, 0xFF, 0x01, 0x00, 0x3C, 0x03, 0x00, 0x78, 0x07, 0x00, 0xC8});
  f[11] = in.memory_type == MemoryType::kI2C ? kI2CMarker : kFlashMarker;
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
