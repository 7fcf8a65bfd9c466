// HidrawBackend over a sysfs and /dev tree made in a temporary folder: what it
// lists, identifies and measures, and how its failures read. Real transfers
// through the kernel are exercised by the virtual-mouse test in a VM.

#include "hid/hidraw_backend.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "descriptors.h"
#include "hid/device_link.h"

namespace vrdk {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class FakeSysfs : public ::testing::Test {
 protected:
  FakeSysfs() {
    root_ = fs::temp_directory_path() /
            ("vrdk-hidraw-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "class");
    fs::create_directories(root_ / "dev");
  }
  ~FakeSysfs() override { fs::remove_all(root_); }

  HidrawPaths Paths() const { return {(root_ / "class").string(), (root_ / "dev").string()}; }

  // Adds hidrawN with this uevent id line and descriptor; the /dev node is a
  // plain file (or a FIFO, for input reads).
  void AddNode(int number, const std::string& hid_id, const std::vector<std::uint8_t>& descriptor,
               bool fifo = false) {
    const std::string name = "hidraw" + std::to_string(number);
    const fs::path device = root_ / "class" / name / "device";
    fs::create_directories(device);
    std::ofstream(device / "uevent")
        << "DRIVER=hid-generic\nHID_ID=" << hid_id << "\nHID_NAME=Test\n";
    std::ofstream(device / "report_descriptor", std::ios::binary)
        .write(reinterpret_cast<const char*>(descriptor.data()),
               static_cast<std::streamsize>(descriptor.size()));
    const fs::path node = root_ / "dev" / name;
    if (fifo) {
      ASSERT_EQ(::mkfifo(node.c_str(), 0600), 0);
    } else {
      std::ofstream(node).put('\0');
    }
  }

  std::string Dev(int number) const {
    return (root_ / "dev").string() + "/hidraw" + std::to_string(number);
  }

  fs::path root_;
};

TEST(Uevent, GivesVendorAndProductIds) {
  const auto attributes = AttributesFromUevent("DRIVER=x\nHID_ID=0003:00001BCF:000008B8\n");
  ASSERT_TRUE(attributes.has_value());
  EXPECT_EQ(attributes->vendor_id, 0x1BCF);
  EXPECT_EQ(attributes->product_id, 0x08B8);
}

TEST(Uevent, WithoutAUsableIdGivesNothing) {
  EXPECT_FALSE(AttributesFromUevent("DRIVER=x\n").has_value());
  EXPECT_FALSE(AttributesFromUevent("HID_ID=0003:00001BCF\n").has_value());
  EXPECT_FALSE(AttributesFromUevent("HID_ID=0003:0001BCFZ:000008B8\n").has_value());
  EXPECT_FALSE(AttributesFromUevent("HID_ID=0003:00011BCF:000008B8\n").has_value());
}

TEST_F(FakeSysfs, ListsNodesInNumericOrder) {
  AddNode(10, "0003:00000001:00000002", testing::kBootMouse);
  AddNode(2, "0003:00000001:00000002", testing::kBootMouse);
  fs::create_directories(root_ / "class" / "not-a-hidraw");
  HidrawBackend backend(Paths());
  EXPECT_THAT(backend.ListInterfaces(), ElementsAre(Dev(2), Dev(10)));
}

TEST_F(FakeSysfs, IdentifiesAndMeasuresEachNode) {
  AddNode(0, "0003:0000046D:0000C077", testing::kBootMouse);
  AddNode(1, "0003:00001BCF:000008B8", testing::kVendorProtocol);
  HidrawBackend backend(Paths());
  const HidHandle handle = backend.Open(Dev(1), HidAccess::kNone);
  ASSERT_NE(handle, kInvalidHandle);
  const auto attributes = backend.GetAttributes(handle);
  ASSERT_TRUE(attributes.has_value());
  EXPECT_EQ(attributes->vendor_id, 0x1BCF);
  EXPECT_EQ(attributes->product_id, 0x08B8);
  EXPECT_EQ(backend.GetCaps(handle), (HidCaps{8, 0, 8}));
  backend.Close(handle);
  EXPECT_FALSE(backend.GetCaps(handle).has_value());
}

TEST_F(FakeSysfs, AnUnusableDescriptorGivesNoCapsAndSaysWhy) {
  AddNode(0, "0003:00001BCF:000008B8", {0xA1, 0x01});
  HidrawBackend backend(Paths());
  const HidHandle handle = backend.Open(Dev(0), HidAccess::kNone);
  EXPECT_FALSE(backend.GetCaps(handle).has_value());
  EXPECT_THAT(backend.LastError(), HasSubstr("not usable"));
  backend.Close(handle);
}

TEST_F(FakeSysfs, ANodeWithoutDeviceFileCannotBeOpened) {
  AddNode(0, "0003:00001BCF:000008B8", testing::kVendorProtocol);
  fs::remove(root_ / "dev" / "hidraw0");
  HidrawBackend backend(Paths());
  EXPECT_EQ(backend.Open(Dev(0), HidAccess::kNone), kInvalidHandle);
  EXPECT_EQ(backend.Open("/etc/passwd", HidAccess::kNone), kInvalidHandle);
}

TEST_F(FakeSysfs, FeatureTransfersOnANonHidNodeFailNamingTheCall) {
  AddNode(0, "0003:00001BCF:000008B8", testing::kVendorProtocol);
  HidrawBackend backend(Paths());
  const HidHandle handle = backend.Open(Dev(0), HidAccess::kNone);
  std::array<std::uint8_t, 8> report{0x40, 0x0D};
  EXPECT_FALSE(backend.SetFeature(handle, report));
  EXPECT_THAT(backend.LastError(), HasSubstr("ioctl (SFEATURE)"));
  EXPECT_FALSE(backend.GetFeature(handle, report));
  EXPECT_THAT(backend.LastError(), HasSubstr("ioctl (GFEATURE)"));
  backend.Close(handle);
}

TEST_F(FakeSysfs, DeviceLinkCountsAndMatchesButOpensNoHandleWithoutAnswers) {
  AddNode(0, "0003:0000046D:0000C077", testing::kKeyboardWithReportIds);
  AddNode(1, "0003:00001BCF:000008B8", testing::kVendorProtocol);
  HidrawBackend backend(Paths());
  CountingClock clock;
  DeviceLink link(backend, clock);
  // The keyboard node holds a keyboard and a consumer control.
  EXPECT_EQ(link.CountHidInterfaces(), 3);
  // Ids and feature length match, so the mouse counts as found, but neither
  // probe goes through a plain file.
  EXPECT_TRUE(link.OpenDevice(0x1BCF, 0x08B8));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_NE(link.InputHandle(), kInvalidHandle);
}

TEST_F(FakeSysfs, EachCollectionOfANodeIsAnInterfaceWithItsOwnLengths) {
  AddNode(0, "0003:0000046D:0000C077", testing::kBootMouse);
  AddNode(1, "0003:00001BCF:000008B8", testing::kCompositeMouse);
  HidrawBackend backend(Paths());
  EXPECT_THAT(backend.ListInterfaces(),
              ElementsAre(Dev(0), Dev(1) + "#1", Dev(1) + "#2", Dev(1) + "#3"));
  std::vector<HidCaps> caps;
  for (const char* collection : {"#1", "#2", "#3"}) {
    const HidHandle handle = backend.Open(Dev(1) + collection, HidAccess::kNone);
    ASSERT_NE(handle, kInvalidHandle);
    caps.push_back(backend.GetCaps(handle).value_or(HidCaps{}));
    EXPECT_EQ(backend.GetAttributes(handle)->product_id, 0x08B8);
    backend.Close(handle);
  }
  EXPECT_THAT(caps, ElementsAre(HidCaps{7, 0, 0}, HidCaps{3, 0, 17}, HidCaps{8, 0, 8}));
  // Collections are counted from 1, and only those the descriptor has exist.
  EXPECT_FALSE(backend.GetCaps(backend.Open(Dev(1) + "#4", HidAccess::kNone)).has_value());
  EXPECT_EQ(backend.Open(Dev(1) + "#0", HidAccess::kNone), kInvalidHandle);
}

TEST_F(FakeSysfs, TheMouseIsFoundThroughItsVendorCollection) {
  AddNode(1, "0003:00001BCF:000008B8", testing::kCompositeMouse);
  HidrawBackend backend(Paths());
  CountingClock clock;
  DeviceLink link(backend, clock);
  EXPECT_EQ(link.CountHidInterfaces(), 3);
  EXPECT_TRUE(link.OpenDevice(0x1BCF, 0x08B8));
  EXPECT_EQ(link.FeatureReportLength(), 8);
  EXPECT_EQ(link.InputReportLength(), 8);
  EXPECT_NE(link.InputHandle(), kInvalidHandle);
}

// Opening a hidraw node powers its device up: counting and identifying the
// bus, as every idle DevTimer tick does, must not open any.
TEST_F(FakeSysfs, CountingAndIdentifyingOpensNoNode) {
  AddNode(0, "0003:0000046D:0000C077", testing::kKeyboardWithReportIds);
  AddNode(1, "0003:00001BCF:000008B8", testing::kCompositeMouse);
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(::inotify_add_watch(watch, (root_ / "dev").c_str(), IN_OPEN), 0);
  HidrawBackend backend(Paths());
  CountingClock clock;
  DeviceLink link(backend, clock);
  for (int tick = 0; tick < 10; ++tick) EXPECT_EQ(link.CountHidInterfaces(), 5);
  for (const auto& path : backend.ListInterfaces()) {
    const HidHandle handle = backend.Open(path, HidAccess::kNone);
    EXPECT_TRUE(backend.GetAttributes(handle).has_value());
    EXPECT_TRUE(backend.GetCaps(handle).has_value());
    backend.Close(handle);
  }
  alignas(inotify_event) char events[4096];
  EXPECT_LT(::read(watch, events, sizeof events), 0) << "a node was opened";
  // A transfer opens its node, and inotify sees that.
  const HidHandle handle = backend.Open(Dev(1) + "#3", HidAccess::kNone);
  std::array<std::uint8_t, 8> report{0x40, 0x0D};
  backend.SetFeature(handle, report);
  EXPECT_GT(::read(watch, events, sizeof events), 0);
  backend.Close(handle);
  ::close(watch);
}

// The node's owner allows no one else: the failure says so, so the user can
// be told how to get the mouse. Run as another user when this runs as root.
TEST_F(FakeSysfs, ANodeTheUserMayNotOpenIsReportedAsAccessDenied) {
  AddNode(0, "0003:00001BCF:000008B8", testing::kVendorProtocol);
  ASSERT_EQ(::chmod(Dev(0).c_str(), 0600), 0);
  auto check = [&] {
    HidrawBackend backend(Paths());
    const HidHandle handle = backend.Open(Dev(0), HidAccess::kNone);
    std::array<std::uint8_t, 8> report{0x40, 0x0D};
    return handle != kInvalidHandle && !backend.SetFeature(handle, report) &&
           backend.LastErrorWasAccessDenied() &&
           backend.LastError().find("Permission denied") != std::string::npos &&
           backend.Open(Dev(0), HidAccess::kReadWrite) == kInvalidHandle &&
           backend.LastErrorWasAccessDenied();
  };
  if (::getuid() != 0) {
    ASSERT_EQ(::chmod(Dev(0).c_str(), 0), 0);
    EXPECT_TRUE(check());
    return;
  }
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
    ::_exit(dropped && check() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(FakeSysfs, InputReadsArriveAndAnInterruptEndsAWaitingRead) {
  AddNode(0, "0003:00001BCF:000008B8", testing::kVendorProtocol, /*fifo=*/true);
  HidrawBackend backend(Paths());
  const HidHandle handle = backend.Open(Dev(0), HidAccess::kReadWrite);
  ASSERT_NE(handle, kInvalidHandle);
  {
    std::ofstream writer(Dev(0), std::ios::binary);
    writer.write("\x42\x00\x00\x08", 4);
  }
  std::array<std::uint8_t, 8> report{};
  ASSERT_TRUE(backend.ReadInput(handle, report));
  EXPECT_EQ(report[0], 0x42);
  EXPECT_EQ(report[3], 0x08);

  bool result = true;
  std::thread reader([&] { result = backend.ReadInput(handle, report); });
  backend.InterruptReads();
  reader.join();
  EXPECT_FALSE(result);
  backend.Close(handle);
}

TEST_F(FakeSysfs, ClosingAHandleEndsARead) {
  AddNode(0, "0003:00001BCF:000008B8", testing::kVendorProtocol, /*fifo=*/true);
  HidrawBackend backend(Paths());
  const HidHandle handle = backend.Open(Dev(0), HidAccess::kReadWrite);
  ASSERT_NE(handle, kInvalidHandle);
  bool result = true;
  std::thread reader([&] {
    std::array<std::uint8_t, 8> report{};
    result = backend.ReadInput(handle, report);
  });
  backend.Close(handle);
  reader.join();
  EXPECT_FALSE(result);
}

}  // namespace
}  // namespace vrdk
