// HidrawBackend: the HidBackend of Linux. Interfaces are the top-level
// collections of the hidraw nodes listed in sysfs (/sys/class/hidraw): Linux
// puts every collection of a USB interface on one node, where Windows makes
// an interface of each. A node with one collection is listed as its path
// ("/dev/hidraw3"), one with several as path#n for its n-th collection
// ("/dev/hidraw3#2", from 1). Ids come from the device's uevent and report
// lengths from its report descriptor, both read from sysfs.
//
// The first open of a hidraw node powers the device up (usbhid starts polling
// it), so nothing here opens a node just to count or identify it: an access-0
// handle opens its node at its first feature transfer, a read/write handle at
// once. Feature reports go through HIDIOCSFEATURE / HIDIOCGFEATURE, input
// reports through read().
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "hid/hid_backend.h"

namespace vrdk {

struct HidrawPaths {
  std::string sysfs_class = "/sys/class/hidraw";
  std::string dev = "/dev";
};

class HidrawBackend : public HidBackend {
 public:
  explicit HidrawBackend(HidrawPaths paths = {});
  ~HidrawBackend() override;

  std::vector<std::string> ListInterfaces() override;
  int CountInterfaces() override;
  // A hidraw node made within the span (its change time).
  bool ArrivedWithin(std::chrono::milliseconds span) override;
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
  struct Node;

  std::shared_ptr<Node> Find(HidHandle handle);
  // Opens the node for transfers unless it is open already.
  bool OpenForTransfers(Node& node);
  void Fail(const std::string& call, int error);
  void Fail(const std::string& message);

  HidrawPaths paths_;
  mutable std::mutex mutex_;
  std::map<HidHandle, std::shared_ptr<Node>> handles_;
  HidHandle next_handle_ = 1;
  std::atomic<bool> interrupted_ = false;
  std::string last_error_;
  bool last_access_denied_ = false;
};

// "HID_ID=0003:00001BCF:000008B8" in a uevent text: vendor and product id.
std::optional<HidAttributes> AttributesFromUevent(std::string_view uevent);

}  // namespace vrdk
