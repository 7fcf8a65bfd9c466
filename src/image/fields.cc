#include "image/fields.h"

#include <bit>
#include <cassert>

namespace vrdk::image {
namespace {

int Shift(Field field) { return std::countr_zero(static_cast<unsigned>(field.mask)); }

}  // namespace

int Get(std::span<const std::uint8_t> settings, Field field) {
  assert(field.size == 1);
  return (settings[Place(field)] & field.mask) >> Shift(field);
}

std::uint8_t With(std::uint8_t byte, Field field, int value) {
  const auto bits = static_cast<unsigned>(value << Shift(field)) & field.mask;
  return static_cast<std::uint8_t>((byte & ~field.mask) | bits);
}

void Set(std::span<std::uint8_t> settings, Field field, int value) {
  assert(field.size == 1);
  std::uint8_t& byte = settings[Place(field)];
  byte = With(byte, field, value);
}

std::span<const std::uint8_t> Bytes(std::span<const std::uint8_t> settings, Field field) {
  return settings.subspan(Place(field), field.size);
}

std::span<std::uint8_t> Bytes(std::array<std::uint8_t, databuf::kSize>& data, Field field) {
  return std::span(data).subspan(Place(field), field.size);
}

int PollingRateIndex(std::span<const std::uint8_t> settings) {
  return Get(settings, field::kPollingRate);
}

int PollingRateHz(std::span<const std::uint8_t> settings) {
  return kPollingRates[static_cast<std::size_t>(PollingRateIndex(settings))];
}

namespace {
int Word(std::span<const std::uint8_t> bytes) { return bytes[0] << 8 | bytes[1]; }
}  // namespace

int VendorId(std::span<const std::uint8_t> settings) {
  return Word(Bytes(settings, field::kVendorId));
}

int ProductId(std::span<const std::uint8_t> settings) {
  return Word(Bytes(settings, field::kProductId));
}

int LevelValueIndex(std::span<const std::uint8_t> settings, int level) {
  const std::uint8_t pair =
      Bytes(settings, field::kLevelValues)[static_cast<std::size_t>(level / 2)];
  return level % 2 == 0 ? pair & 0x0F : pair >> 4;
}

namespace {
Rgb ColourAt(std::span<const std::uint8_t> block, int n) {
  const auto at = static_cast<std::size_t>(3 * n);
  return {block[at], block[at + 1], block[at + 2]};
}
}  // namespace

Rgb EffectColour(std::span<const std::uint8_t> settings, int n) {
  return ColourAt(Bytes(settings, field::kEffectColours), n);
}

Rgb LevelColour(std::span<const std::uint8_t> settings, int level) {
  return ColourAt(Bytes(settings, field::kLevelColours), level);
}

int BreathValue(std::span<const std::uint8_t> settings, int n) {
  return Word(Bytes(settings, field::kBreath).subspan(static_cast<std::size_t>(2 * n), 2));
}

void SetBreathValue(std::array<std::uint8_t, databuf::kSize>& data, int n, int value) {
  const auto word = Bytes(data, field::kBreath).subspan(static_cast<std::size_t>(2 * n), 2);
  word[0] = static_cast<std::uint8_t>(value >> 8);
  word[1] = static_cast<std::uint8_t>(value & 0xFF);
}

std::string ProductString(std::span<const std::uint8_t> settings) {
  std::string text;
  for (const std::uint8_t c : Bytes(settings, field::kProductString)) {
    if (c == 0) break;
    text.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
  }
  return text;
}

int RecoilOffset(std::span<const std::uint8_t> settings, bool x_axis, int n) {
  return static_cast<std::int8_t>(
      settings[static_cast<std::size_t>(RecoilOffsetAddress(x_axis, n))]);
}

StoredFirePreset FirePresetOf(std::span<const std::uint8_t> settings, int n) {
  const auto preset =
      Bytes(settings, field::kFirePresets).subspan(static_cast<std::size_t>(3 * n), 3);
  return {preset[0], Word(preset.subspan(1))};
}

void SetFirePreset(std::array<std::uint8_t, databuf::kSize>& data, int n, int count, int interval) {
  const auto preset = Bytes(data, field::kFirePresets).subspan(static_cast<std::size_t>(3 * n), 3);
  preset[0] = static_cast<std::uint8_t>(count - 1);
  preset[1] = static_cast<std::uint8_t>(interval >> 8);
  preset[2] = static_cast<std::uint8_t>(interval & 0xFF);
}

}  // namespace vrdk::image
