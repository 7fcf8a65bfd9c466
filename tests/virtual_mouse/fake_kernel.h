// The kernel's end of a uhid device, played by the other end of a
// SOCK_SEQPACKET socket pair: one message is one event, as on /dev/uhid.
#pragma once

#include <linux/uhid.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "virtual_mouse/uhid_device.h"

namespace vrdk::testing {

class FakeKernel {
 public:
  FakeKernel() {
    int fds[2];
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds), 0);
    device_fd_ = fds[0];
    kernel_fd_ = fds[1];
  }
  ~FakeKernel() {
    if (device_fd_ >= 0) ::close(device_fd_);
    if (kernel_fd_ >= 0) ::close(kernel_fd_);
  }

  // The device's end, for a UhidDevice to own.
  UhidDevice Device() { return UhidDevice(std::exchange(device_fd_, -1)); }
  // The kernel goes away (the file ends for the device).
  void Close() { ::close(std::exchange(kernel_fd_, -1)); }

  // Every event the device wrote since the last call, in order.
  std::vector<uhid_event> Events() {
    std::vector<uhid_event> events;
    for (;;) {
      uhid_event event{};
      const ssize_t got = ::recv(kernel_fd_, &event, sizeof event, 0);
      if (got <= 0) return events;
      events.push_back(event);
    }
  }
  std::vector<std::uint32_t> EventTypes() {
    std::vector<std::uint32_t> types;
    for (const auto& event : Events()) types.push_back(event.type);
    return types;
  }

  // Sends the first `size` bytes of an event, as a kernel may shorten them.
  void Send(const uhid_event& event, std::size_t size = sizeof(uhid_event)) {
    ASSERT_EQ(::send(kernel_fd_, &event, size, 0), static_cast<ssize_t>(size));
  }
  void GetReport(std::uint32_t id, std::uint8_t number, std::uint8_t type = UHID_FEATURE_REPORT) {
    uhid_event event{};
    event.type = UHID_GET_REPORT;
    event.u.get_report.id = id;
    event.u.get_report.rnum = number;
    event.u.get_report.rtype = type;
    Send(event);
  }
  void SetReport(std::uint32_t id, const std::vector<std::uint8_t>& data,
                 std::uint8_t type = UHID_FEATURE_REPORT) {
    uhid_event event{};
    event.type = UHID_SET_REPORT;
    event.u.set_report.id = id;
    event.u.set_report.rnum = data.empty() ? 0 : data[0];
    event.u.set_report.rtype = type;
    event.u.set_report.size = static_cast<std::uint16_t>(data.size());
    std::copy(data.begin(), data.end(), event.u.set_report.data);
    Send(event);
  }

 private:
  int device_fd_ = -1;
  int kernel_fd_ = -1;
};

}  // namespace vrdk::testing
