// The program's built-in resources: default images, skin and language tables,
// pictures. Names are compared without regard to case, as the resource names
// of the shipped program are.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace vrdk::resources {

// The bytes of the resource with this name, or nothing when there is none.
std::optional<std::span<const std::uint8_t>> Find(std::string_view name);

// Every resource name, in the order the build embedded them.
std::vector<std::string_view> Names();

}  // namespace vrdk::resources
