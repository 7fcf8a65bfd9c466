// The HID devices the virtual mouse puts on the bus: the mouse itself, as one
// vendor-defined collection with the feature reports 0x40 and 0x41 and the
// input report 0x42 (7 data bytes each, 8 with the report id), and an
// unrelated boot keyboard that answers no feature report.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "simulator/simulated_backend.h"
#include "simulator/simulated_mouse.h"

namespace vrdk {

// The mouse's report descriptor as the kernel sees it.
std::span<const std::uint8_t> MouseReportDescriptor();
// A plain keyboard (modifiers, LEDs, six keys, no report ids, no feature report).
std::span<const std::uint8_t> KeyboardReportDescriptor();

inline constexpr std::uint16_t kKeyboardVendorId = 0x1209;   // an open test id, unrelated
inline constexpr std::uint16_t kKeyboardProductId = 0x0001;  // to the mouse's

// The one collection the virtual mouse serves, its report lengths taken from
// MouseReportDescriptor: it takes commands, answers and sends input.
std::vector<SimulatedCollection> VirtualMouseCollections();

// The keyboard as an in-process bus device, with the lengths of its descriptor,
// so a simulated run sees the same bus as the real one.
SimulatedHidDevice KeyboardAsSimulatedDevice();

}  // namespace vrdk
