// The mouse's persistent memory kept in a raw image file: 2048 bytes is an
// "I2C" memory, 65536 bytes a "Flash" memory. Saving replaces the file
// atomically (a temporary file beside it, synced, then renamed), so a reader
// never sees half an image and a failed save leaves the old file as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"
#include "image/memory_type.h"

namespace vrdk {

struct MemoryImage {
  MemoryType type = MemoryType::kI2C;
  std::vector<std::uint8_t> bytes;
  bool from_file = false;  // false: the file was missing; bytes are factory memory
};

// Reads the image at path. A missing file gives the factory memory of
// `type` ("I2C" when none is given). An error (kFileError, or kWrongKind)
// when the file cannot be read, has another size, or is of a type other than
// a given `type`.
Result<MemoryImage> LoadMemoryImage(const std::string& path, std::optional<MemoryType> type);

// Replaces the file at path with bytes. When anything fails, the old file is
// untouched and no temporary is left.
Result<void> SaveMemoryImage(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace vrdk
