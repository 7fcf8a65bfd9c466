// The table that the build writes from the files of resources/. Only the
// registry reads it; everything else asks resources.h.
#pragma once

#include <cstddef>

namespace vrdk::resources::internal {

struct EmbeddedResource {
  const char* name;
  const unsigned char* data;
  std::size_t size;
};

extern const EmbeddedResource kEmbedded[];
extern const std::size_t kEmbeddedCount;

}  // namespace vrdk::resources::internal
