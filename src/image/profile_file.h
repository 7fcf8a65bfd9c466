// Profile files checked whole before any of them reaches a mouse: a file is
// the raw memory of one memory type, so its size, its memory type marker,
// every checked section's checksum and (for "I2C") the patch code header's
// length must be right. A file that is sound but would leave the mouse one
// this program no longer finds or accepts (other USB ids, other customer
// codes) is a problem the user may override.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "image/layout.h"
#include "image/memory_type.h"

namespace vrdk::image {

struct ProfileFileRules {
  MemoryType type = MemoryType::kI2C;
  std::uint16_t vendor_id = 0;  // the USB ids the program looks for
  std::uint16_t product_id = 0;
  // The customer code pairs (vendor code, product code) the program accepts.
  std::vector<std::array<int, 2>> accepted_codes;
};

struct ProfileFileProblem {
  enum class Kind {
    kSize,           // not the memory type's size (detail: the file's size)
    kMarker,         // the Fire section's memory type marker is not the type's
    kSections,       // checked sections with a wrong checksum
    kPatchLength,    // "I2C": the header announces more than the patch area (detail: length)
    kCustomerCodes,  // codes the program does not accept (may be overridden)
    kUsbIds,         // USB ids the program does not look for (may be overridden)
  };
  Kind kind = Kind::kSize;
  std::size_t detail = 0;
  std::vector<Section> sections;
  std::array<std::uint8_t, 2> codes{};
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  // The user may load the file anyway (--force, or a yes in the window).
  bool overridable() const { return kind == Kind::kCustomerCodes || kind == Kind::kUsbIds; }
};

// Every problem of the file, the ones that refuse it first. A file of the
// wrong size or marker is checked no further.
std::vector<ProfileFileProblem> CheckProfileFile(std::span<const std::uint8_t> bytes,
                                                 const ProfileFileRules& rules);

}  // namespace vrdk::image
