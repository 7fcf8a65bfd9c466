// The factory values of each section, used to repair a section whose
// checksum fails and to restore defaults. Three inputs steer them: the memory
// type, the LED type shown, and the LED package chosen on the engineer page
// (no choice leaves the package-dependent bytes as they were).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "image/config_buffers.h"
#include "image/led_type.h"
#include "image/memory_type.h"

namespace vrdk::image {

struct DefaultInputs {
  MemoryType memory_type = MemoryType::kI2C;
  LedType led_type = LedType::kUnknown;
  // cb_Package: 0 "A-Tech LED", 1 "RGB LED", nothing while no item is chosen.
  std::optional<int> package;
};

// Each filler writes the defaults into the section's bytes; the checked ones
// do not write the checksum (the caller's checksum writer does).
void FillVendorDefaults(std::span<std::uint8_t, kVendorSize> vendor, const DefaultInputs& in);
void FillUserDefaults(std::span<std::uint8_t, kUserSize> user, const DefaultInputs& in);
void FillProfileDefaults(std::span<std::uint8_t, kProfileSize> profile, const DefaultInputs& in);
void FillFireDefaults(std::span<std::uint8_t, kFireSize> fire, const DefaultInputs& in);

// Fills a checked section of DataBuf with its defaults and its checksum.
void FillSectionDefaults(DataBuf& buf, Section section, const DefaultInputs& in);

// Checks a section of DataBuf by the checksum rule; on a mismatch fills it with
// defaults and a fresh checksum. True when the section had to be repaired.
bool CheckSection(DataBuf& buf, Section section, const DefaultInputs& in);

}  // namespace vrdk::image
