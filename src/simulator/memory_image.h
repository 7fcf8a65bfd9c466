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

#include "image/memory_type.h"

namespace vrdk {

struct MemoryImage {
  MemoryType type = MemoryType::kI2C;
  std::vector<std::uint8_t> bytes;
  bool from_file = false;  // false: the file was missing; bytes are factory memory
};

// Reads the image at path. A missing file gives the factory memory of
// `type` ("I2C" when none is given). Nothing, with a message in *error, when
// the file cannot be read, has another size, or is of a type other than a
// given `type`.
std::optional<MemoryImage> LoadMemoryImage(const std::string& path, std::optional<MemoryType> type,
                                           std::string* error);

// Replaces the file at path with bytes. False, with a message in *error, when
// anything fails; the old file is then untouched and no temporary is left.
bool SaveMemoryImage(const std::string& path, std::span<const std::uint8_t> bytes,
                     std::string* error);

}  // namespace vrdk
