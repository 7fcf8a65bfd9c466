// The hotplug monitor over a socket pair that stands in for the kernel's
// device events: which messages count as a hidraw node coming or going.

#include "hid/hidraw_hotplug.h"

#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

namespace vrdk {
namespace {

using namespace std::string_literals;

const std::string kHidrawAdd =
    "add@/devices/virtual/misc/uhid/0003:1BCF:08B8.0001/hidraw/hidraw0\0ACTION=add\0"
    "DEVPATH=/devices/virtual/misc/uhid/0003:1BCF:08B8.0001/hidraw/hidraw0\0"
    "SUBSYSTEM=hidraw\0MAJOR=242\0MINOR=0\0DEVNAME=hidraw0\0SEQNUM=2011\0"s;
const std::string kHidrawRemove =
    "remove@/devices/x/hidraw/hidraw0\0ACTION=remove\0DEVPATH=/devices/x/hidraw/hidraw0\0"
    "SUBSYSTEM=hidraw\0"s;
const std::string kInputAdd = "add@/devices/x/input/input7\0ACTION=add\0SUBSYSTEM=input\0"s;
const std::string kHidrawChange =
    "change@/devices/x/hidraw/hidraw0\0ACTION=change\0SUBSYSTEM=hidraw\0"s;

TEST(HidrawChange, OnlyAHidrawNodeComingOrGoingCounts) {
  EXPECT_TRUE(IsHidrawChange(kHidrawAdd));
  EXPECT_TRUE(IsHidrawChange(kHidrawRemove));
  EXPECT_FALSE(IsHidrawChange(kInputAdd));
  EXPECT_FALSE(IsHidrawChange(kHidrawChange));
  EXPECT_FALSE(IsHidrawChange(""));
  // A field that only starts like one is no field.
  EXPECT_FALSE(IsHidrawChange("add@/x\0ACTION=add\0SUBSYSTEM=hidrawx\0"s));
}

class HotplugTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK, 0, fds), 0);
    monitor_.emplace(fds[0]);
    kernel_ = fds[1];
  }
  void TearDown() override { ::close(kernel_); }
  void Send(const std::string& message) {
    ASSERT_EQ(::send(kernel_, message.data(), message.size(), 0),
              static_cast<ssize_t>(message.size()));
  }

  std::optional<HidrawHotplug> monitor_;
  int kernel_ = -1;
};

TEST_F(HotplugTest, TakesEveryWaitingMessageAndTellsWhetherAHidrawNodeChanged) {
  EXPECT_FALSE(monitor_->TakeChanges()) << "nothing waiting, and it does not block";
  Send(kInputAdd);
  EXPECT_FALSE(monitor_->TakeChanges());
  Send(kInputAdd);
  Send(kHidrawAdd);
  Send(kInputAdd);
  EXPECT_TRUE(monitor_->TakeChanges());
  EXPECT_FALSE(monitor_->TakeChanges()) << "all three were taken";
}

TEST_F(HotplugTest, MovesWithItsSocket) {
  HidrawHotplug moved = std::move(*monitor_);
  EXPECT_EQ(monitor_->Fd(), -1);
  Send(kHidrawRemove);
  EXPECT_TRUE(moved.TakeChanges());
}

}  // namespace
}  // namespace vrdk
