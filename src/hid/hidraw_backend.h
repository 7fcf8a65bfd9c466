// HidrawBackend: the HidBackend of Linux. Interfaces are the hidraw nodes
// listed in sysfs (/sys/class/hidraw); ids come from the device's uevent and
// report lengths from its report descriptor, both read from sysfs, so a node
// the user may not open can still be counted and identified, as an
// access-0 open on Windows can. Feature reports go through HIDIOCSFEATURE /
// HIDIOCGFEATURE, input reports through read().
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
  HidHandle Open(const std::string& path, HidAccess access) override;
  void Close(HidHandle handle) override;
  std::optional<HidAttributes> GetAttributes(HidHandle handle) override;
  std::optional<HidCaps> GetCaps(HidHandle handle) override;
  bool SetFeature(HidHandle handle, std::span<const std::uint8_t> report) override;
  bool GetFeature(HidHandle handle, std::span<std::uint8_t> report) override;
  bool ReadInput(HidHandle handle, std::span<std::uint8_t> report) override;
  void InterruptReads() override;
  std::string LastError() const override;

 private:
  struct Node;

  std::shared_ptr<Node> Find(HidHandle handle);
  void Fail(const std::string& call, int error);
  void Fail(const std::string& message);

  HidrawPaths paths_;
  mutable std::mutex mutex_;
  std::map<HidHandle, std::shared_ptr<Node>> handles_;
  HidHandle next_handle_ = 1;
  std::atomic<bool> interrupted_ = false;
  std::string last_error_;
};

// "HID_ID=0003:00001BCF:000008B8" in a uevent text: vendor and product id.
std::optional<HidAttributes> AttributesFromUevent(std::string_view uevent);

}  // namespace vrdk
