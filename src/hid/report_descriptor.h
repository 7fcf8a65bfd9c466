// Report lengths from a HID report descriptor, computed the way HidP_GetCaps
// computes them for each top-level collection (Windows makes one interface
// of each): for each kind (input, output, feature) the largest report of the
// collection in bytes, plus one byte for the report id. Windows counts that
// byte whether the descriptor uses report ids or not (it is 0 when unused),
// so a boot mouse's 3-byte report has an input length of 4.
//
// Linux puts every top-level collection of a USB interface on one hidraw
// node, so a node can hold several such interfaces.
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
#include <vector>

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

// The lengths of each top-level collection, in descriptor order. Main items
// outside every collection count with the collection before them (before the
// first: with the first); a descriptor without collections is one interface.
// Nothing when the descriptor is malformed (truncated item, report id 0 or
// above 255, a limit above exceeded, Pop without Push, unbalanced collections).
std::optional<std::vector<HidCaps>> CollectionLengthsFromDescriptor(
    std::span<const std::uint8_t> descriptor);

}  // namespace vrdk
