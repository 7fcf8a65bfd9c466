#include "virtual_mouse/hid_devices.h"

#include <array>

#include "hid/report_descriptor.h"

namespace vrdk {
namespace {

constexpr std::array<std::uint8_t, 37> kMouseDescriptor = {
    0x06, 0x00, 0xFF,  // Usage Page (vendor 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x07,        //   Report Count (7)
    0x85, 0x40,        //   Report ID (0x40): commands
    0x09, 0x02,        //   Usage (2)
    0xB1, 0x02,        //   Feature (Data, Variable, Absolute)
    0x85, 0x41,        //   Report ID (0x41): responses and data
    0x09, 0x03,        //   Usage (3)
    0xB1, 0x02,        //   Feature (Data, Variable, Absolute)
    0x85, 0x42,        //   Report ID (0x42): button tests
    0x09, 0x04,        //   Usage (4)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0xC0,              // End Collection
};

constexpr std::array<std::uint8_t, 63> kKeyboardDescriptor = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x06,  // Usage (Keyboard)
    0xA1, 0x01,  // Collection (Application)
    0x05, 0x07,  //   Usage Page (Keyboard)
    0x19, 0xE0,  //   Usage Minimum (Left Control)
    0x29, 0xE7,  //   Usage Maximum (Right GUI)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x01,  //   Logical Maximum (1)
    0x75, 0x01,  //   Report Size (1)
    0x95, 0x08,  //   Report Count (8)
    0x81, 0x02,  //   Input (Data, Variable, Absolute): modifiers
    0x95, 0x01,  //   Report Count (1)
    0x75, 0x08,  //   Report Size (8)
    0x81, 0x01,  //   Input (Constant): reserved byte
    0x95, 0x05,  //   Report Count (5)
    0x75, 0x01,  //   Report Size (1)
    0x05, 0x08,  //   Usage Page (LEDs)
    0x19, 0x01,  //   Usage Minimum (Num Lock)
    0x29, 0x05,  //   Usage Maximum (Kana)
    0x91, 0x02,  //   Output (Data, Variable, Absolute): LEDs
    0x95, 0x01,  //   Report Count (1)
    0x75, 0x03,  //   Report Size (3)
    0x91, 0x01,  //   Output (Constant): padding
    0x95, 0x06,  //   Report Count (6)
    0x75, 0x08,  //   Report Size (8)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x65,  //   Logical Maximum (101)
    0x05, 0x07,  //   Usage Page (Keyboard)
    0x19, 0x00,  //   Usage Minimum (0)
    0x29, 0x65,  //   Usage Maximum (101)
    0x81, 0x00,  //   Input (Data, Array): six keys
    0xC0,        // End Collection
};

}  // namespace

std::span<const std::uint8_t> MouseReportDescriptor() { return kMouseDescriptor; }

std::span<const std::uint8_t> KeyboardReportDescriptor() { return kKeyboardDescriptor; }

std::vector<SimulatedCollection> VirtualMouseCollections() {
  const HidCaps caps = ReportLengthsFromDescriptor(kMouseDescriptor).value_or(HidCaps{});
  return {{"vendor", caps, true, true, true}};
}

SimulatedHidDevice KeyboardAsSimulatedDevice() {
  return {"keyboard", kKeyboardVendorId, kKeyboardProductId,
          ReportLengthsFromDescriptor(kKeyboardDescriptor), true};
}

}  // namespace vrdk
