// VirtualMouse: serves a SimulatedMouse through uhid, so the kernel's HID
// stack (hid-generic, hidraw) sees a real mouse with vendor 0x1BCF and product
// 0x08B8, and optionally an unrelated keyboard beside it.
//
// - GET_REPORT and SET_REPORT of the mouse go to SimulatedMouse::GetFeature /
//   SetFeature of its one collection; anything the firmware model refuses
//   (wrong id, wrong length, a report type other than feature) is refused to
//   the kernel. The keyboard refuses every request.
// - The mouse's presence is followed after every event and every turn: when
//   SimulatedMouse::Present() turns false the uhid device is destroyed, when
//   it turns true again it is created anew. An unplug destroys it at once; a
//   restart kRestartLeaveDelay after the command, as a real mouse finishes
//   the command's transfer before it resets (the kernel fails a request
//   whose device is destroyed before the waiting caller has run, even when
//   it was answered).
// - Input reports the mouse queues go out as UHID_INPUT2.
// - The memory is handed to the saver when the mouse leaves the bus, when
//   it stops, and after writes once the bus has been quiet for kSaveQuiet;
//   only when it changed since the last save.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "hid/clock.h"
#include "simulator/simulated_mouse.h"
#include "virtual_mouse/hid_devices.h"
#include "virtual_mouse/uhid_device.h"

namespace vrdk {

class VirtualMouse {
 public:
  using Saver = std::function<bool(std::span<const std::uint8_t>)>;
  using Logger = std::function<void(std::string_view)>;

  static constexpr Milliseconds kSaveQuiet{200};
  static constexpr Milliseconds kRestartLeaveDelay{50};
  // How often the presence is looked at while the mouse is off the bus.
  static constexpr Milliseconds kAwayPoll{5};

  // mouse and clock must outlive this. keyboard may be empty. saver may be
  // empty (nothing is saved); `saved` is what the saver holds already (empty:
  // nothing yet, so the first chance saves).
  VirtualMouse(SimulatedMouse& mouse, Clock& clock, UhidDevice mouse_device,
               std::optional<UhidDevice> keyboard, Saver saver, std::vector<std::uint8_t> saved,
               Logger log, MouseLayout layout = MouseLayout::kVendorOnly);
  ~VirtualMouse();
  VirtualMouse(const VirtualMouse&) = delete;
  VirtualMouse& operator=(const VirtualMouse&) = delete;

  // Puts the devices on the bus. False when a uhid device cannot be created.
  bool Start();
  // One turn: waits for an event of the devices or for wake_fd (-1: none), at
  // most longest_wait and less when the mouse is away or a save is due,
  // answers every event that waits, and follows the mouse. Returns false when
  // a device's file has closed or failed (the devices are gone then).
  bool Turn(Milliseconds longest_wait, int wake_fd, bool* woken);
  // Follows the mouse's presence, forwards its input reports and saves when due.
  void Sync();
  // Takes the devices off the bus and saves the memory.
  void Stop();

  bool MouseOnBus() const { return mouse_device_.Created(); }

 private:
  class MouseHandler;
  class KeyboardHandler;

  bool HandleWaiting(UhidDevice& device, UhidReportHandler& handler);
  void SaveIfChanged();
  int WaitLimitMs(Milliseconds longest_wait) const;

  SimulatedMouse& mouse_;
  Clock& clock_;
  UhidDevice mouse_device_;
  std::optional<UhidDevice> keyboard_;
  Saver saver_;
  std::vector<std::uint8_t> saved_;
  Logger log_;
  MouseLayout layout_;
  std::unique_ptr<MouseHandler> mouse_handler_;
  std::unique_ptr<KeyboardHandler> keyboard_handler_;
  bool save_due_ = false;
  Microseconds last_write_{0};
  bool stopped_ = false;
  int restarts_seen_ = 0;
  std::optional<Microseconds> leave_at_;  // a restart takes the mouse off the bus then
  bool broken_ = false;                   // a device could not be put on the bus
};

}  // namespace vrdk
