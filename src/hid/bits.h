// Single-bit helpers the editors use to pack flags into section bytes.
// The bit number is taken modulo 32.
#pragma once

#include <cstdint>

namespace vrdk {

constexpr bool TestBit(std::uint32_t value, unsigned bit) {
  return (value & (std::uint32_t{1} << (bit % 32))) != 0;
}
constexpr std::uint32_t SetBit(std::uint32_t value, unsigned bit) {
  return value | (std::uint32_t{1} << (bit % 32));
}
constexpr std::uint32_t ClearBit(std::uint32_t value, unsigned bit) {
  return value & ~(std::uint32_t{1} << (bit % 32));
}

}  // namespace vrdk
