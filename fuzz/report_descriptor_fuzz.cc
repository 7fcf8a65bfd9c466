// Fuzz target: report descriptors as any device may hand them to us.
#include <cstddef>
#include <cstdint>
#include <span>

#include "hid/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto caps = vrdk::ReportLengthsFromDescriptor(std::span(data, size));
  if (caps && caps->feature_report_byte_length > vrdk::kMaxReportBytes + 1) __builtin_trap();
  return 0;
}
