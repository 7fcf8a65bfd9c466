// WinHidBackend: the HidBackend of Windows, over the HID class driver.
// Interfaces are the device paths SetupAPI lists for the HID interface class
// (one per top-level collection); an access-0 open (no read or write rights)
// is enough for attributes, capabilities and feature reports, which go
// through HidD_SetFeature / HidD_GetFeature; report lengths come from
// HidP_GetCaps. Input reports are read with overlapped ReadFile, so that
// Close and InterruptReads end a read that waits.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "hid/hid_backend.h"

namespace vrdk {

class WinHidBackend : public HidBackend {
 public:
  WinHidBackend();
  ~WinHidBackend() override;
  WinHidBackend(const WinHidBackend&) = delete;
  WinHidBackend& operator=(const WinHidBackend&) = delete;

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

 private:
  struct Device;

  std::shared_ptr<Device> Find(HidHandle handle);
  // Records the failed call with the system's error.
  void Fail(const std::string& call);
  void Fail(const std::string& call, unsigned long error);

  mutable std::mutex mutex_;
  std::map<HidHandle, std::shared_ptr<Device>> devices_;
  HidHandle next_handle_ = 1;
  void* interrupt_ = nullptr;  // a manual-reset event, set by InterruptReads
  std::atomic<bool> interrupted_ = false;
  std::string last_error_;
  bool last_access_denied_ = false;
};

// "CreateFile: Access is denied. (5)": a failed call with the system's text.
std::string WindowsErrorText(const std::string& call, unsigned long error);

}  // namespace vrdk
