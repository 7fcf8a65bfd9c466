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

Result<MemoryImage> LoadMemoryImage(const std::string& path, std::optional<MemoryType> type) {
  // One byte more than the largest image tells a file that is too long.
  auto file = files::ReadFilePrefix(path, kFlashMemorySize + 1);
  if (file.Is(ErrorKind::kMissing)) {
    const MemoryType factory_type = type.value_or(MemoryType::kI2C);
    return MemoryImage{factory_type, SimulatedMouse::FactoryMemory(factory_type), false};
  }
  if (!file.ok()) return file.error();
  const auto size_type = TypeOfSize(file.value().size());
  if (!size_type) {
    return Error{ErrorKind::kWrongKind, path + ": not a memory image (an \"I2C\" image has " +
                                            std::to_string(kI2CMemorySize) +
                                            " bytes, a \"Flash\" image " +
                                            std::to_string(kFlashMemorySize) + ")"};
  }
  if (type && *type != *size_type) {
    return Error{ErrorKind::kWrongKind, path + ": a \"" + std::string(MemoryTypeName(*size_type)) +
                                            "\" image, not \"" +
                                            std::string(MemoryTypeName(*type)) + "\""};
  }
  return MemoryImage{*size_type, std::move(file).value(), true};
}

Result<void> SaveMemoryImage(const std::string& path, std::span<const std::uint8_t> bytes) {
  return files::WriteFileAtomically(path, bytes);
}

}  // namespace vrdk
