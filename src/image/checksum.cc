#include "image/checksum.h"

#include "image/layout.h"

namespace vrdk::image {

std::uint8_t SectionChecksum(std::span<const std::uint8_t> section) {
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i + 1 < section.size(); ++i) {
    sum = static_cast<std::uint8_t>(sum + section[i]);
  }
  return static_cast<std::uint8_t>(sum ^ 0x5A);
}

bool SectionChecksumValid(std::span<const std::uint8_t> section) {
  return !section.empty() && section.back() == SectionChecksum(section);
}

void WriteSectionChecksum(std::span<std::uint8_t> section) {
  if (!section.empty()) section.back() = SectionChecksum(section);
}

void TLCheckMCULEDSection(std::span<std::uint8_t> header) {
  if (header.size() < kPatchHeaderSize) return;
  WriteSectionChecksum(header.subspan(8, 8));
}

}  // namespace vrdk::image
