// The HID devices the virtual mouse puts on the bus: the mouse itself, as one
// vendor-defined collection with the feature reports 0x40 and 0x41 and the
// input report 0x42 (7 data bytes each, 8 with the report id), and an
// unrelated boot keyboard that answers no feature report.
//
// The composite mouse is laid out as gaming mice commonly are: one USB
// interface with a mouse collection (report 1), a consumer-control
// collection (report 3, with a 16-byte feature report of its own) and the
// vendor collection. Windows makes three interfaces of it; Linux one hidraw
// node.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "simulator/simulated_backend.h"
#include "simulator/simulated_mouse.h"

namespace vrdk {

enum class MouseLayout {
  kVendorOnly,  // the vendor collection alone
  kComposite,   // mouse, consumer control and vendor collections
};

// The mouse's report descriptor as the kernel sees it.
std::span<const std::uint8_t> MouseReportDescriptor(MouseLayout layout = MouseLayout::kVendorOnly);
// A plain keyboard (modifiers, LEDs, six keys, no report ids, no feature report).
std::span<const std::uint8_t> KeyboardReportDescriptor();

inline constexpr std::uint16_t kKeyboardVendorId = 0x1209;   // an open test id, unrelated
inline constexpr std::uint16_t kKeyboardProductId = 0x0001;  // to the mouse's

// The collections of the virtual mouse, their report lengths taken from
// MouseReportDescriptor: the vendor collection takes commands, answers and
// sends input; the others do none of it.
std::vector<SimulatedCollection> VirtualMouseCollections(
    MouseLayout layout = MouseLayout::kVendorOnly);

// The keyboard as an in-process bus device, with the lengths of its descriptor,
// so a simulated run sees the same bus as the real one.
SimulatedHidDevice KeyboardAsSimulatedDevice();

}  // namespace vrdk
