#include "device/protocol.h"

namespace vrdk {

std::optional<MemoryType> MemoryTypeFromName(std::string_view name) {
  if (name == "I2C") return MemoryType::kI2C;
  if (name == "Flash") return MemoryType::kFlash;
  return std::nullopt;
}

std::optional<MemoryType> MemoryTypeFromDeviceInfo(std::uint8_t code) {
  if (code == kDeviceInfoI2C) return MemoryType::kI2C;
  if (code == kDeviceInfoFlash) return MemoryType::kFlash;
  return std::nullopt;
}

}  // namespace vrdk
