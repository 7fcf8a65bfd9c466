// Assembling what is written to the mouse from DataBuf and the side buffers:
// the profile block, the flash page-1 block, and whole images by the maps.
// The inverse of image_split.h.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "image/config_buffers.h"
#include "image/memory_type.h"

namespace vrdk::image {

// The three Profile sections back to back (147 bytes), as DataBuf holds them.
std::array<std::uint8_t, kProfileBlockSize> ProfileBlock(const DataBuf& buf);

// 256 bytes for flash address 0x1000: the Flash info block (0..23), the
// profile block (24..170), the Reserved block (171..211), zeros (212..255).
std::array<std::uint8_t, flash::kPage1BlockSize> FlashPage1Block(const ConfigBuffers& buffers);

// Places every section and side buffer at its "I2C" address. The patch code
// takes the length its header gives, at most the patch area. Bytes the map
// does not cover keep what the image held.
void AssembleI2CImage(const ConfigBuffers& buffers, std::span<std::uint8_t, i2c::kSize> image);
// The same by the flash map (the patch code is always 1024 bytes).
void AssembleFlashImage(const ConfigBuffers& buffers, std::span<std::uint8_t, flash::kSize> image);

// AssembleI2CImage or AssembleFlashImage by the memory type. REQUIRES: the
// image has that memory's size.
void AssembleImage(const ConfigBuffers& buffers, MemoryType type, std::span<std::uint8_t> image);

// Rewrites the checksums of the Vendor, User and three Profile sections.
void WriteAllChecksums(DataBuf& buf);

}  // namespace vrdk::image
