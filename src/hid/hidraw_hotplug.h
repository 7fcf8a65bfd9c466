// HidrawHotplug: tells when a hidraw node comes or goes, at once, so the
// program need not wait for its next count of the bus (the 3500 ms DevTimer
// stays as the fallback). It listens to the kernel's device events
// (NETLINK_KOBJECT_UEVENT): they reach any user, need neither udevd nor a
// library, and arrive as the node is made; the settle wait before the mouse
// is opened leaves udev the time to give the node its permissions.
//
// The face watches Fd() in its event loop (it becomes readable when events
// wait) and calls TakeChanges(); on true it counts the bus at once.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"

namespace vrdk {

class HidrawHotplug {
 public:
  // kFileError, saying why, when the socket cannot be made.
  static Result<HidrawHotplug> Open();
  // Takes over fd, a datagram socket that delivers kernel uevent messages
  // (the tests hand one end of a socket pair).
  explicit HidrawHotplug(int fd);
  ~HidrawHotplug();
  HidrawHotplug(HidrawHotplug&& other) noexcept;
  HidrawHotplug& operator=(HidrawHotplug&& other) noexcept;
  HidrawHotplug(const HidrawHotplug&) = delete;
  HidrawHotplug& operator=(const HidrawHotplug&) = delete;

  int Fd() const { return fd_; }
  // Reads every message waiting; true when one of them adds or removes a
  // hidraw node. Never blocks.
  bool TakeChanges();

 private:
  int fd_;
};

// A kernel uevent message ("add@/devices/...\0ACTION=add\0SUBSYSTEM=hidraw\0...")
// adds or removes a hidraw node.
bool IsHidrawChange(std::string_view message);

}  // namespace vrdk
