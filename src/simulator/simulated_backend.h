// SimulatedBackend: a HidBackend whose bus holds a SimulatedMouse (one
// interface per collection, listed first) and any number of unrelated HID
// devices that tests plug in and out. It never touches real hardware.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "hid/hid_backend.h"
#include "simulator/simulated_mouse.h"

namespace vrdk {

// An unrelated HID device: it can be counted and opened, refuses every
// feature report and never sends input. No caps means an unusable descriptor.
struct SimulatedHidDevice {
  std::string name;
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  std::optional<HidCaps> caps = HidCaps{};
  bool can_open = true;
};

class SimulatedBackend : public HidBackend {
 public:
  // mouse may be null (a machine without the mouse). It must outlive the backend.
  explicit SimulatedBackend(SimulatedMouse* mouse);
  ~SimulatedBackend() override;

  // Adds a device at the end of the bus; returns its id for RemoveDevice.
  int AddDevice(SimulatedHidDevice device);
  void RemoveDevice(int id);

  std::vector<std::string> ListInterfaces() override;
  HidHandle Open(const std::string& path, HidAccess access) override;
  void Close(HidHandle handle) override;
  std::optional<HidAttributes> GetAttributes(HidHandle handle) override;
  std::optional<HidCaps> GetCaps(HidHandle handle) override;
  bool SetFeature(HidHandle handle, std::span<const std::uint8_t> report) override;
  bool GetFeature(HidHandle handle, std::span<std::uint8_t> report) override;
  bool ReadInput(HidHandle handle, std::span<std::uint8_t> report) override;
  void InterruptReads() override;
  std::string LastError() const override;

  bool LastErrorWasAccessDenied() const override;

  // The user may not open the mouse's interfaces for transfers (a hidraw node
  // without the udev rule): they are listed and identified, but transfers
  // and read/write opens fail as "Permission denied".
  void SetMouseAccessDenied(bool denied);

  // Handles open now (for tests that look for leaks).
  int OpenHandles() const;

 private:
  struct Target {
    bool mouse = false;
    int index = 0;  // mouse collection, or device id
  };
  struct OpenEntry {
    Target target;
    std::uint64_t generation = 0;
    HidAccess access = HidAccess::kNone;
  };

  std::optional<Target> Resolve(const std::string& path);
  void WakeReaders();
  // The entry of a live handle, or nothing (closed, or its device gone).
  std::optional<OpenEntry> Live(HidHandle handle);
  void Fail(std::string message, bool access_denied = false) const;
  bool Denied(const OpenEntry& entry) const;

  SimulatedMouse* mouse_;
  mutable std::mutex mutex_;
  std::condition_variable input_ready_;
  std::map<int, SimulatedHidDevice> devices_;
  std::map<HidHandle, OpenEntry> handles_;
  HidHandle next_handle_ = 1;
  int next_device_ = 1;
  bool interrupted_ = false;
  std::uint64_t wake_ups_ = 0;  // moves on whenever a blocked reader should look again
  mutable std::string last_error_;
  mutable bool last_access_denied_ = false;
  bool mouse_access_denied_ = false;
};

}  // namespace vrdk
