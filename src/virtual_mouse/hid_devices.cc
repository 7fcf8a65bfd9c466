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

// The mouse and consumer-control collections that come before the vendor
// collection in the composite mouse.
constexpr std::array<std::uint8_t, 105> kCompositeHead = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x02,        // Usage (Mouse)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x01,        //   Report ID (1)
    0x09, 0x01,        //   Usage (Pointer)
    0xA1, 0x00,        //   Collection (Physical)
    0x05, 0x09,        //     Usage Page (Buttons)
    0x19, 0x01,        //     Usage Minimum (1)
    0x29, 0x05,        //     Usage Maximum (5)
    0x15, 0x00,        //     Logical Minimum (0)
    0x25, 0x01,        //     Logical Maximum (1)
    0x75, 0x01,        //     Report Size (1)
    0x95, 0x05,        //     Report Count (5)
    0x81, 0x02,        //     Input (Data, Variable, Absolute): five buttons
    0x75, 0x03,        //     Report Size (3)
    0x95, 0x01,        //     Report Count (1)
    0x81, 0x01,        //     Input (Constant): padding
    0x05, 0x01,        //     Usage Page (Generic Desktop)
    0x09, 0x30,        //     Usage (X)
    0x09, 0x31,        //     Usage (Y)
    0x16, 0x01, 0x80,  //     Logical Minimum (-32767)
    0x26, 0xFF, 0x7F,  //     Logical Maximum (32767)
    0x75, 0x10,        //     Report Size (16)
    0x95, 0x02,        //     Report Count (2)
    0x81, 0x06,        //     Input (Data, Variable, Relative): X, Y
    0x09, 0x38,        //     Usage (Wheel)
    0x15, 0x81,        //     Logical Minimum (-127)
    0x25, 0x7F,        //     Logical Maximum (127)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x01,        //     Report Count (1)
    0x81, 0x06,        //     Input (Data, Variable, Relative): wheel
    0xC0,              //   End Collection
    0xC0,              // End Collection
    0x05, 0x0C,        // Usage Page (Consumer)
    0x09, 0x01,        // Usage (Consumer Control)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x03,        //   Report ID (3)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x03,  //   Logical Maximum (1023)
    0x19, 0x00,        //   Usage Minimum (0)
    0x2A, 0xFF, 0x03,  //   Usage Maximum (1023)
    0x75, 0x10,        //   Report Size (16)
    0x95, 0x01,        //   Report Count (1)
    0x81, 0x00,        //   Input (Data, Array): one key
    0x06, 0x01, 0xFF,  //   Usage Page (vendor 0xFF01)
    0x09, 0x10,        //   Usage (0x10)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x10,        //   Report Count (16)
    0xB1, 0x02,        //   Feature (Data, Variable, Absolute): 16 bytes of its own
    0xC0,              // End Collection
};

template <std::size_t A, std::size_t B>
constexpr std::array<std::uint8_t, A + B> Concat(const std::array<std::uint8_t, A>& a,
                                                 const std::array<std::uint8_t, B>& b) {
  std::array<std::uint8_t, A + B> out{};
  for (std::size_t i = 0; i < A; ++i) out[i] = a[i];
  for (std::size_t i = 0; i < B; ++i) out[A + i] = b[i];
  return out;
}

constexpr auto kCompositeDescriptor = Concat(kCompositeHead, kMouseDescriptor);

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

std::span<const std::uint8_t> MouseReportDescriptor(MouseLayout layout) {
  if (layout == MouseLayout::kComposite) return kCompositeDescriptor;
  return kMouseDescriptor;
}

std::span<const std::uint8_t> KeyboardReportDescriptor() { return kKeyboardDescriptor; }

std::vector<SimulatedCollection> VirtualMouseCollections(MouseLayout layout) {
  const auto caps = CollectionLengthsFromDescriptor(MouseReportDescriptor(layout))
                        .value_or(std::vector<HidCaps>{});
  std::vector<SimulatedCollection> collections;
  for (std::size_t i = 0; i < caps.size(); ++i) {
    // The vendor collection comes last in both layouts.
    const bool vendor = i + 1 == caps.size();
    collections.push_back(
        {vendor ? "vendor" : (i == 0 ? "mouse" : "consumer"), caps[i], vendor, vendor, vendor});
  }
  return collections;
}

SimulatedHidDevice KeyboardAsSimulatedDevice() {
  const auto caps = CollectionLengthsFromDescriptor(kKeyboardDescriptor);
  return {"keyboard", kKeyboardVendorId, kKeyboardProductId,
          caps ? std::optional<HidCaps>(caps->front()) : std::nullopt, true};
}

}  // namespace vrdk
