#include "hid/hidraw_hotplug.h"

#include <linux/netlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace vrdk {
namespace {

// The multicast group of the kernel's own events (udevd sends its
// processed ones to group 2, in a format of its own).
constexpr unsigned kKernelEvents = 1;

}  // namespace

bool IsHidrawChange(std::string_view message) {
  bool hidraw = false;
  bool change = false;
  // Fields are NUL-separated; the first is "ACTION@DEVPATH".
  while (!message.empty()) {
    const auto end = message.find('\0');
    const std::string_view field = message.substr(0, end);
    message = end == std::string_view::npos ? std::string_view{} : message.substr(end + 1);
    if (field == "SUBSYSTEM=hidraw") hidraw = true;
    if (field == "ACTION=add" || field == "ACTION=remove") change = true;
  }
  return hidraw && change;
}

Result<HidrawHotplug> HidrawHotplug::Open() {
  const int fd =
      ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT);
  if (fd < 0) {
    return Error{ErrorKind::kFileError,
                 std::string("socket (NETLINK_KOBJECT_UEVENT): ") + std::strerror(errno)};
  }
  sockaddr_nl address{};
  address.nl_family = AF_NETLINK;
  address.nl_groups = kKernelEvents;
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    Error failed{ErrorKind::kFileError,
                 std::string("bind (kernel device events): ") + std::strerror(errno)};
    ::close(fd);
    return failed;
  }
  return HidrawHotplug(fd);
}

HidrawHotplug::HidrawHotplug(int fd) : fd_(fd) {}

HidrawHotplug::~HidrawHotplug() {
  if (fd_ >= 0) ::close(fd_);
}

HidrawHotplug::HidrawHotplug(HidrawHotplug&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

HidrawHotplug& HidrawHotplug::operator=(HidrawHotplug&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

bool HidrawHotplug::TakeChanges() {
  bool changed = false;
  std::array<char, 8192> message;
  for (;;) {
    const ssize_t got = ::recv(fd_, message.data(), message.size(), MSG_DONTWAIT);
    if (got < 0 && errno == EINTR) continue;
    // A message longer than the buffer is cut; its fields that matter come first.
    if (got <= 0) return changed;
    changed =
        IsHidrawChange(std::string_view(message.data(), static_cast<std::size_t>(got))) || changed;
  }
}

}  // namespace vrdk
