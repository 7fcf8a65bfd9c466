#include "resources/resources.h"

#include <algorithm>

#include "resources/embedded.h"

namespace vrdk::resources {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace

std::optional<std::span<const std::uint8_t>> Find(std::string_view name) {
  for (std::size_t i = 0; i < internal::kEmbeddedCount; ++i) {
    const auto& resource = internal::kEmbedded[i];
    if (SameName(resource.name, name)) {
      return std::span<const std::uint8_t>(resource.data, resource.size);
    }
  }
  return std::nullopt;
}

std::vector<std::string_view> Names() {
  std::vector<std::string_view> names;
  for (std::size_t i = 0; i < internal::kEmbeddedCount; ++i) {
    names.emplace_back(internal::kEmbedded[i].name);
  }
  return names;
}

}  // namespace vrdk::resources
