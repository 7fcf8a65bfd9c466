// Splitting a whole configuration image into DataBuf and the side buffers.
// Each checked section is checked as soon as it is copied, in map order, so
// the Vendor section is repaired with the LED type shown before this read.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "image/config_buffers.h"
#include "image/section_defaults.h"

namespace vrdk::image {

// Sections that failed their check and were filled with defaults.
using RepairedSections = std::vector<Section>;

RepairedSections SplitI2CImage(std::span<const std::uint8_t, i2c::kSize> image, ConfigBuffers& out,
                               const DefaultInputs& in);
RepairedSections SplitFlashImage(std::span<const std::uint8_t, flash::kSize> image,
                                 ConfigBuffers& out, const DefaultInputs& in);

// PatchLength of a patch code header: bytes 2..3, high byte first.
int PatchLengthOf(std::span<const std::uint8_t, kPatchHeaderSize> header);
// Takes the patch length from the header held and notes whether the patch
// fits default image 1 (874 bytes or less).
void TakePatchHeader(ConfigBuffers& buffers);

// The patch checksum as edt_PatCodeCk shows it: four upper-case hex digits,
// from the patch code header ("I2C") or the Flash info block ("Flash").
std::string PatchChecksumText(const ConfigBuffers& buffers, MemoryType type);

}  // namespace vrdk::image
