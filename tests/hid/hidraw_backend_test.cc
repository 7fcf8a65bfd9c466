// HidrawBackend over a sysfs and /dev tree made in a temporary folder: what it
// lists, identifies and measures, and how its failures read. Real transfers
// through the kernel are exercised by the virtual-mouse test in a VM.

#include "hid/hidraw_backend.h"

#include <sys/stat.h>
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
  EXPECT_EQ(link.CountHidInterfaces(), 2);
  // Ids and feature length match, so the mouse counts as found, but neither
  // probe goes through a plain file.
  EXPECT_TRUE(link.OpenDevice(0x1BCF, 0x08B8));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_NE(link.InputHandle(), kInvalidHandle);
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
