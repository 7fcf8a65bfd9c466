// The Windows backend where no mouse can be: what it says and does when an
// interface is missing, and that a read ends when it is interrupted.
#include "hid/win_hid_backend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

namespace vrdk {
namespace {

using ::testing::HasSubstr;

TEST(WinHidBackend, AMissingInterfaceIsNamedWithTheSystemsReason) {
  WinHidBackend backend;
  const std::string path =
      R"(\\?\hid#vid_1bcf&pid_08b8#missing#{4d1e55b2-f16f-11cf-88cb-001111000030})";
  EXPECT_EQ(backend.Open(path, HidAccess::kNone), kInvalidHandle);
  EXPECT_THAT(backend.LastError(), HasSubstr("CreateFile " + path + ": "));
  EXPECT_FALSE(backend.LastErrorWasAccessDenied());
}

TEST(WinHidBackend, CallsOnAHandleItDoesNotHoldFailWithoutTouchingTheSystem) {
  WinHidBackend backend;
  std::vector<std::uint8_t> report(8, 0);
  report[0] = 0x41;
  EXPECT_FALSE(backend.GetAttributes(42).has_value());
  EXPECT_FALSE(backend.GetCaps(42).has_value());
  EXPECT_FALSE(backend.SetFeature(42, report));
  EXPECT_FALSE(backend.GetFeature(42, report));
  EXPECT_FALSE(backend.ReadInput(42, report));
  EXPECT_EQ(backend.LastError(), "no such HID handle");
  backend.Close(42);  // nothing to close
}

TEST(WinHidBackend, EveryInterfaceListedOpensWithoutRightsAndTellsItsIdsAndLengths) {
  WinHidBackend backend;
  // Whatever the machine holds (wine has a keyboard and a mouse of its own),
  // a path listed opens without rights or says why not, and an open one
  // answers HidD_GetAttributes and HidP_GetCaps.
  for (const std::string& path : backend.ListInterfaces()) {
    EXPECT_EQ(path.rfind(R"(\\?\)", 0), 0u) << path;
    const HidHandle handle = backend.Open(path, HidAccess::kNone);
    if (handle == kInvalidHandle) {
      EXPECT_FALSE(backend.LastError().empty()) << path;
      continue;
    }
    const auto attributes = backend.GetAttributes(handle);
    ASSERT_TRUE(attributes.has_value()) << backend.LastError();
    EXPECT_NE(attributes->vendor_id, 0) << path;
    const auto caps = backend.GetCaps(handle);
    ASSERT_TRUE(caps.has_value()) << backend.LastError();
    EXPECT_GT(caps->input_report_byte_length + caps->feature_report_byte_length, 0) << path;
    backend.Close(handle);
    EXPECT_FALSE(backend.GetAttributes(handle).has_value());  // closed
  }
}

TEST(WinHidBackend, ReadsFailAtOnceAfterInterruptReads) {
  WinHidBackend backend;
  backend.InterruptReads();
  std::vector<std::uint8_t> report(4, 0);
  EXPECT_FALSE(backend.ReadInput(1, report));
}

TEST(WindowsErrorText, NamesTheCallTheReasonAndTheNumber) {
  const std::string text = WindowsErrorText("HidD_SetFeature", ERROR_ACCESS_DENIED);
  EXPECT_THAT(text, HasSubstr("HidD_SetFeature: "));
  EXPECT_THAT(text, HasSubstr("(5)"));
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace vrdk
