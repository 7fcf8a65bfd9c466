// Report lengths from a HID report descriptor, computed the way HidP_GetCaps
// computes them: for each kind (input, output, feature) the largest report in
// bytes, plus one byte for the report id when the descriptor uses report ids.
//
// Item grammar (HID 1.11, 6.2.2): a prefix byte bTag(7..4) bType(3..2)
// bSize(1..0) with bSize 0, 1, 2 or 4 data bytes; 0xFE starts a long item
// (data size, tag, data). Only these items change the result:
//   Global  Report Size 0x74, Report ID 0x84, Report Count 0x94, Push 0xA4, Pop 0xB4
//   Main    Input 0x80, Output 0x90, Feature 0xB0, Collection 0xA0, End Collection 0xC0
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "hid/hid_backend.h"

namespace vrdk {

// Limits beyond which a descriptor is not usable (the same as the Linux HID
// core's): descriptor size, report size in bits, report count, global stack
// depth, collection depth, and a report's length in bytes.
inline constexpr std::size_t kMaxDescriptorSize = 4096;
inline constexpr std::uint32_t kMaxReportSizeBits = 256;
inline constexpr std::uint32_t kMaxReportCount = 12288;
inline constexpr int kMaxGlobalStack = 4;
inline constexpr int kMaxCollectionDepth = 256;
inline constexpr std::uint32_t kMaxReportBytes = 16384;

// Nothing when the descriptor is malformed (truncated item, report id 0 or
// above 255, a limit above exceeded, Pop without Push, unbalanced collections).
std::optional<HidCaps> ReportLengthsFromDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace vrdk
