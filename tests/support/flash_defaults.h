// A "Flash" default image made from the section defaults, each placed where
// the flash map puts it: what a "Flash" build would ship as its resources.
#pragma once

#include <vector>

#include "image/checksum.h"
#include "image/layout.h"
#include "image/section_defaults.h"

namespace vrdk::testing {

inline std::vector<std::uint8_t> FlashDefaultImage() {
  using namespace image;
  const DefaultInputs in{MemoryType::kFlash, LedType::kMCULED, 0};
  DataBuf buf{};
  for (Section section : kCheckedSections) FillSectionDefaults(buf, section, in);
  FillFireDefaults(Fire(buf), in);

  std::vector<std::uint8_t> image(flash::kSize, 0);
  auto place = [&](std::size_t at, std::span<const std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
  };
  place(flash::kVendor, Vendor(buf));
  place(flash::kProfile1, std::span(buf).subspan(databuf::kProfile1, kProfileBlockSize));
  place(flash::kUser, User(buf));
  place(flash::kFire, Fire(buf));
  std::fill_n(image.begin() + flash::kReserved, kReservedSize, 0xFF);
  // Info block: the 1024-byte patch area (all zeros) and its checksum 0x015A.
  const std::uint8_t info[8] = {0xC0, 0x00, 0x04, 0x00, 0x00, 0x1A, 0x01, 0x5A};
  place(flash::kInfo + 8, info);
  return image;
}

}  // namespace vrdk::testing
