// Fuzz target: report descriptors as any device may hand them to us.
#include <cstddef>
#include <cstdint>
#include <span>

#include "hid/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto collections = vrdk::CollectionLengthsFromDescriptor(std::span(data, size));
  if (!collections) return 0;
  // Every interface has its lengths within the limits, and there is always one.
  if (collections->empty()) __builtin_trap();
  for (const auto& caps : *collections) {
    for (const auto length : {caps.input_report_byte_length, caps.output_report_byte_length,
                              caps.feature_report_byte_length}) {
      if (length > vrdk::kMaxReportBytes + 1) __builtin_trap();
    }
  }
  return 0;
}
