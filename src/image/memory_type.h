// The two kinds of persistent memory a mouse keeps its configuration in, and
// the facts of each that every map and transfer branches on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vrdk {

// A 2048-byte EEPROM ("I2C") or 32 pages of 2048 bytes of flash ("Flash").
enum class MemoryType { kI2C, kFlash };

inline constexpr std::size_t kPageSize = 2048;
inline constexpr std::size_t kFlashPages = 32;
inline constexpr std::size_t kI2CMemorySize = kPageSize;
inline constexpr std::size_t kFlashMemorySize = kPageSize * kFlashPages;

// Live settings: the device's working copy of the Vendor section (0..163) and
// the User section (164..191), at the same addresses on both memory types.
inline constexpr std::size_t kLiveSize = 192;
inline constexpr std::size_t kLiveUserAddress = 164;

constexpr std::size_t MemorySize(MemoryType type) {
  return type == MemoryType::kI2C ? kI2CMemorySize : kFlashMemorySize;
}

// "I2C" or "Flash": the memory type's name as the program shows it.
constexpr std::string_view MemoryTypeName(MemoryType type) {
  return type == MemoryType::kI2C ? "I2C" : "Flash";
}

constexpr std::optional<MemoryType> MemoryTypeFromName(std::string_view name) {
  if (name == "I2C") return MemoryType::kI2C;
  if (name == "Flash") return MemoryType::kFlash;
  return std::nullopt;
}

// Byte 2 of the mouse's device information answer names its memory type.
inline constexpr std::uint8_t kDeviceInfoFlash = 0x80;
inline constexpr std::uint8_t kDeviceInfoI2C = 0xC0;

constexpr std::uint8_t DeviceInfoCode(MemoryType type) {
  return type == MemoryType::kI2C ? kDeviceInfoI2C : kDeviceInfoFlash;
}
constexpr std::optional<MemoryType> MemoryTypeFromDeviceInfo(std::uint8_t code) {
  if (code == kDeviceInfoI2C) return MemoryType::kI2C;
  if (code == kDeviceInfoFlash) return MemoryType::kFlash;
  return std::nullopt;
}

}  // namespace vrdk
