// Button codes as the pages show them before naming: eight upper-case hex
// digits of the four code bytes, for every key of every profile and for the
// nine combination slots of the Vendor section.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "image/config_buffers.h"

namespace vrdk::image {

inline constexpr std::size_t kCombinationOffset = 127;  // in the Vendor section

std::string CodeText(std::span<const std::uint8_t, kCodeSize> code);

struct CodeTexts {
  std::array<std::array<std::string, kKeysPerProfile>, kProfileCount> profiles;
  std::array<std::string, kCombinationSlots> combinations;
};

// The code display strings of DataBufToUI.
CodeTexts BuildCodeTexts(const DataBuf& buf);

// Key k (0-based) of profile p, and combination slot s (0-based).
std::span<std::uint8_t, kCodeSize> KeyCode(DataBuf& buf, std::size_t profile, std::size_t key);
std::span<std::uint8_t, kCodeSize> CombinationCode(DataBuf& buf, std::size_t slot);

}  // namespace vrdk::image
