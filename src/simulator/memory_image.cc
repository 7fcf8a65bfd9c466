#include "simulator/memory_image.h"

#include "files/atomic_file.h"
#include "simulator/simulated_mouse.h"

namespace vrdk {
namespace {

std::optional<MemoryType> TypeOfSize(std::size_t size) {
  if (size == kI2CMemorySize) return MemoryType::kI2C;
  if (size == kFlashMemorySize) return MemoryType::kFlash;
  return std::nullopt;
}

}  // namespace

std::optional<MemoryImage> LoadMemoryImage(const std::string& path, std::optional<MemoryType> type,
                                           std::string* error) {
  // One byte more than the largest image tells a file that is too long.
  auto file = files::ReadFilePrefix(path, kFlashMemorySize + 1);
  if (file.Is(ErrorKind::kMissing)) {
    const MemoryType factory_type = type.value_or(MemoryType::kI2C);
    return MemoryImage{factory_type, SimulatedMouse::FactoryMemory(factory_type), false};
  }
  if (!file.ok()) {
    *error = file.message();
    return std::nullopt;
  }
  const auto size_type = TypeOfSize(file.value().size());
  if (!size_type) {
    *error = path + ": not a memory image (an \"I2C\" image has " + std::to_string(kI2CMemorySize) +
             " bytes, a \"Flash\" image " + std::to_string(kFlashMemorySize) + ")";
    return std::nullopt;
  }
  if (type && *type != *size_type) {
    *error = path + ": a \"" + std::string(MemoryTypeName(*size_type)) + "\" image, not \"" +
             std::string(MemoryTypeName(*type)) + "\"";
    return std::nullopt;
  }
  return MemoryImage{*size_type, std::move(file).value(), true};
}

bool SaveMemoryImage(const std::string& path, std::span<const std::uint8_t> bytes,
                     std::string* error) {
  if (auto written = files::WriteFileAtomically(path, bytes); !written.ok()) {
    *error = written.message();
    return false;
  }
  return true;
}

}  // namespace vrdk
