// The only door to the platform's HID stack. DeviceLink talks to the mouse
// through this interface alone; hidraw (Linux), hid.dll (Windows) and the
// simulated mouse each implement it.
//
// Reports are passed with their report id in byte 0, as on every platform:
// an 8-byte feature report is an 8-byte buffer whose byte 0 is 0x40 or 0x41.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vrdk {

using HidHandle = std::intptr_t;
inline constexpr HidHandle kInvalidHandle = -1;

enum class HidAccess {
  kNone,       // enough for attributes, capabilities and feature reports
  kReadWrite,  // needed to read input reports
};

struct HidAttributes {
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  std::uint16_t version = 0;
};

// Report byte lengths as HidP_GetCaps gives them: the largest report of each
// kind, plus one byte for the report id when the interface uses report ids;
// 0 when the interface has no report of that kind.
struct HidCaps {
  std::uint16_t input_report_byte_length = 0;
  std::uint16_t output_report_byte_length = 0;
  std::uint16_t feature_report_byte_length = 0;
  friend bool operator==(const HidCaps&, const HidCaps&) = default;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;

  // Device paths of the HID interfaces present now, in a stable order: one
  // per top-level collection, as Windows makes them.
  virtual std::vector<std::string> ListInterfaces() = 0;
  // How many of them can be opened now (DevTimer's count of the bus). The
  // default opens each without access rights and closes it again, as on
  // Windows; a backend that can count without opening does so.
  virtual int CountInterfaces();
  // Whether an interface came onto the bus within the last `span`: a mouse
  // that was there before the program started needs no time to settle. A
  // backend that cannot tell says no.
  virtual bool ArrivedWithin(std::chrono::milliseconds span);
  // kInvalidHandle when the interface cannot be opened with this access.
  virtual HidHandle Open(const std::string& path, HidAccess access) = 0;
  virtual void Close(HidHandle handle) = 0;

  virtual std::optional<HidAttributes> GetAttributes(HidHandle handle) = 0;
  // Nothing when the interface's report descriptor is not usable.
  virtual std::optional<HidCaps> GetCaps(HidHandle handle) = 0;

  // report.size() is the interface's feature report length; byte 0 is the id.
  virtual bool SetFeature(HidHandle handle, std::span<const std::uint8_t> report) = 0;
  // Byte 0 of report names the report asked for; the answer replaces report.
  virtual bool GetFeature(HidHandle handle, std::span<std::uint8_t> report) = 0;
  // Blocks until an input report arrives (true, report filled from byte 0),
  // the handle is closed, or InterruptReads is called (false).
  virtual bool ReadInput(HidHandle handle, std::span<std::uint8_t> report) = 0;
  // Wakes every blocked ReadInput and makes every later one fail at once.
  // The program calls it when it ends, so the input listener can be joined.
  virtual void InterruptReads() = 0;

  // The reason of the last failed call, naming the call ("ioctl (SFEATURE): Broken pipe").
  virtual std::string LastError() const = 0;
  // The last failed call failed because the user may not use the device
  // (its file's permissions), not because the device failed.
  virtual bool LastErrorWasAccessDenied() const { return false; }
};

}  // namespace vrdk
