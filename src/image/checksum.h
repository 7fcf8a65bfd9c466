// The section checksum: the last byte of a checked section is the 8-bit sum
// (carry discarded) of all its other bytes, XOR 0x5A. The MCU LED section
// (patch code header bytes 8..15) follows the same rule.
#pragma once

#include <cstdint>
#include <span>

namespace vrdk::image {

// The checksum the rule gives for section[0 .. size-2]. REQUIRES: size >= 1.
std::uint8_t SectionChecksum(std::span<const std::uint8_t> section);
bool SectionChecksumValid(std::span<const std::uint8_t> section);
// Stores the checksum in the last byte (the writers for sizes 164, 28 and 49).
void WriteSectionChecksum(std::span<std::uint8_t> section);

// Checksum of patch code header bytes 8..14, stored in byte 15.
// REQUIRES: header.size() == 16.
void TLCheckMCULEDSection(std::span<std::uint8_t> header);

}  // namespace vrdk::image
