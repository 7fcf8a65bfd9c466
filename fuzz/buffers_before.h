// The editor's buffers as a reader finds them, so a target can tell what a
// reader wrote from what it left alone.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "image/config_buffers.h"

namespace vrdk::fuzz {

// Every byte of the buffers before a reader runs.
inline constexpr std::uint8_t kBefore = 0xA5;

inline image::ConfigBuffers BuffersBefore() {
  image::ConfigBuffers buffers;
  auto fill = [](auto& bytes) { std::fill(bytes.begin(), bytes.end(), kBefore); };
  fill(buffers.data_buf);
  fill(buffers.reserved);
  fill(buffers.macro_area);
  fill(buffers.macro_names);
  fill(buffers.macro_pages);
  fill(buffers.patch_header);
  fill(buffers.patch_code);
  fill(buffers.flash_info);
  fill(buffers.flash_patch_code);
  buffers.patch_length = -1;
  buffers.patch_fits_image1 = false;
  buffers.patch_locked = true;
  return buffers;
}

template <std::size_t N>
bool Untouched(const std::array<std::uint8_t, N>& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == kBefore; });
}

inline bool Same(const image::ConfigBuffers& a, const image::ConfigBuffers& b) {
  return a.data_buf == b.data_buf && a.reserved == b.reserved && a.macro_area == b.macro_area &&
         a.macro_names == b.macro_names && a.macro_pages == b.macro_pages &&
         a.patch_header == b.patch_header && a.patch_code == b.patch_code &&
         a.flash_info == b.flash_info && a.flash_patch_code == b.flash_patch_code &&
         a.patch_length == b.patch_length && a.patch_fits_image1 == b.patch_fits_image1 &&
         a.patch_locked == b.patch_locked;
}

}  // namespace vrdk::fuzz
