// Readable, unique names for the rows of a parameterised test: the row's
// index, then its text with everything but letters and digits as "_".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vrdk::testing {

inline std::string CaseName(std::size_t index, std::string_view text) {
  std::string name = std::to_string(index);
  if (!text.empty()) name += '_';
  for (const char c : text) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    name += alnum ? c : '_';
  }
  return name;
}

inline std::string CaseName(std::size_t index, int number) {
  return CaseName(index, number < 0 ? "minus" + std::to_string(-number) : std::to_string(number));
}

}  // namespace vrdk::testing
