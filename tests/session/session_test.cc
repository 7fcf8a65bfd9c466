// The connection: start-up, noticing the mouse, identifying and reading it,
// repairs, losing it, restarting it, and the input listener. The shared cases
// run for an "I2C" and a "Flash" build, each with a mouse of its kind.

#include "session/session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "image/checksum.h"
#include "support/session_rig.h"

namespace vrdk {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::SessionRig;

constexpr int kReadsPerImage(MemoryType type) { return type == MemoryType::kI2C ? 1 : 32; }

std::size_t FireAddress(MemoryType type) {
  return type == MemoryType::kI2C ? image::i2c::kFire : image::flash::kFire;
}
std::size_t UserAddress(MemoryType type) {
  return type == MemoryType::kI2C ? image::i2c::kUser : image::flash::kUser;
}

class ConnectionTest : public ::testing::TestWithParam<MemoryType> {
 protected:
  MemoryType Type() const { return GetParam(); }
  SimulatedMouseConfig Mouse() const { return testing::MouseFor(Type()); }
};

TEST_P(ConnectionTest, StartUpShowsTheDefaultImageInTheNoDeviceState) {
  SessionRig rig(Type());
  const auto& conn = rig.session.Conn();
  EXPECT_EQ(conn.state, ConnectionState::kNoDevice);
  EXPECT_EQ(conn.target, (DeviceIds{0x1BCF, 0x08B8}));
  EXPECT_EQ(conn.search_list[1], DeviceIds{});
  EXPECT_EQ(conn.image_memory_type, Type());
  EXPECT_FALSE(conn.device_memory_type.has_value());
  EXPECT_EQ(conn.expected_customer_codes, (std::array<std::uint8_t, 2>{0xFF, 0xFF}));
  EXPECT_TRUE(rig.session.Pages().no_device_shown);
  EXPECT_FALSE(conn.loading);
  EXPECT_THAT(rig.session.Pages().repaired, IsEmpty());
  EXPECT_EQ(image::Vendor(rig.session.Data())[0], 0x1B);
  EXPECT_EQ(rig.session.Link().CommandHandle(), kInvalidHandle);
}

TEST_P(ConnectionTest, TheFirstTickFindsAndReadsAMouseThatWasThereWithoutSettling) {
  SessionRig rig(Type());
  rig.session.DevTimerTimer();
  const auto& conn = rig.session.Conn();
  EXPECT_EQ(conn.state, ConnectionState::kConnected);
  EXPECT_EQ(conn.device_memory_type, Type());
  EXPECT_EQ(conn.last_interface_count, 3);
  EXPECT_FALSE(conn.loading);
  EXPECT_FALSE(conn.timer_busy);
  EXPECT_TRUE(conn.dev_timer_enabled);
  EXPECT_FALSE(rig.events.covers);
  EXPECT_FALSE(rig.session.Pages().no_device_shown);
  EXPECT_EQ(rig.clock.TotalSlept(), Milliseconds(0));
  EXPECT_THAT(rig.events.states, ElementsAre(ConnectionState::kOpening, ConnectionState::kReading,
                                             ConnectionState::kConnected));
  // Identification reads the Fire section; then the whole memory follows.
  // The open probes the keyboard collection (refused) and the vendor one,
  // then identification asks once more.
  EXPECT_EQ(rig.CountSent("> 40 0D"), 3);
  EXPECT_EQ(rig.CountSent("> 40 09"), 1 + kReadsPerImage(Type()));
  const auto memory = rig.mouse.Memory();
  EXPECT_EQ(rig.session.WorkingImage(), memory);
  EXPECT_TRUE(std::equal(memory.begin() + static_cast<long>(UserAddress(Type())),
                         memory.begin() + static_cast<long>(UserAddress(Type())) + 28,
                         image::User(rig.session.Data()).begin()));
  EXPECT_THAT(rig.session.Pages().repaired, IsEmpty());
  // The loading window counted through the whole read.
  const int chunks = 293 * kReadsPerImage(Type());
  EXPECT_EQ(rig.events.last_progress, std::make_pair(chunks - 1, chunks));
}

TEST_P(ConnectionTest, AMouseThatArrivesLaterIsGivenItsSettleTime) {
  SessionRig rig(Type());
  rig.mouse.Unplug();
  rig.session.DevTimerTimer();
  EXPECT_NE(rig.session.Conn().state, ConnectionState::kConnected);
  rig.mouse.Plug();
  rig.session.DevTimerTimer();
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kConnected);
  EXPECT_EQ(rig.clock.TotalSlept(), Milliseconds(2100));
}

TEST_P(ConnectionTest, AnIdleTickOnlyCountsInterfaces) {
  SessionRig rig(Type());
  rig.Connect();
  rig.session.DevTimerTimer();
  EXPECT_TRUE(rig.mouse.Transcript().empty());
  EXPECT_TRUE(rig.clock.Waits().empty());
}

TEST_P(ConnectionTest, UnpluggingAnUnrelatedDeviceTriggersARescanAndAFreshRead) {
  SessionRig rig(Type());
  const int keyboard = rig.backend.AddDevice({"keyboard", 0x046D, 0xC31C, HidCaps{9, 2, 0}});
  rig.Connect();
  rig.backend.RemoveDevice(keyboard);
  rig.session.DevTimerTimer();
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kConnected);
  EXPECT_EQ(rig.CountSent("> 40 09"), 1 + kReadsPerImage(Type()));
  EXPECT_EQ(rig.session.Conn().last_interface_count, 3);
}

TEST_P(ConnectionTest, AMouseOfTheOtherMemoryTypeIsNeverRead) {
  const MemoryType other = Type() == MemoryType::kI2C ? MemoryType::kFlash : MemoryType::kI2C;
  SessionRig rig(Type(), testing::MouseFor(other));
  rig.session.DevTimerTimer();
  EXPECT_THAT(rig.events.messages, ElementsAre("Str102"));
  EXPECT_EQ(rig.CountSent("> 40 09"), 0);
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kNoDevice);
  EXPECT_FALSE(rig.session.Conn().device_memory_type.has_value());
  EXPECT_TRUE(rig.session.Pages().no_device_shown);
}

TEST_P(ConnectionTest, GenericCustomerCodesAreAccepted) {
  SessionRig rig(Type());
  rig.session.DevTimerTimer();
  EXPECT_THAT(rig.events.messages, IsEmpty());
  EXPECT_EQ(rig.session.Conn().read_customer_codes, (std::array<std::uint8_t, 2>{255, 255}));
}

TEST_P(ConnectionTest, OtherCustomerCodesAreRejectedWithTheTimerStoppedUntilAcknowledged) {
  auto mouse = Mouse();
  mouse.memory[FireAddress(Type())] = 0x12;
  mouse.memory[FireAddress(Type()) + 1] = 0x34;
  SessionRig rig(Type(), mouse);
  bool timer_ran_during_message = true;
  rig.events.on_message = [&](std::string_view) {
    timer_ran_during_message = rig.session.Conn().dev_timer_enabled;
  };
  rig.session.DevTimerTimer();
  EXPECT_THAT(rig.events.messages, ElementsAre("Str107"));
  EXPECT_FALSE(timer_ran_during_message);
  EXPECT_TRUE(rig.session.Conn().dev_timer_enabled);
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kRejected);
  EXPECT_EQ(rig.CountSent("> 40 09"), 1);    // only the Fire section
  EXPECT_TRUE(rig.session.Link().IsOpen());  // stays open, unread
}

TEST_P(ConnectionTest, OtherCustomerCodesAreAcceptedWhenTheBrandNamesThem) {
  auto mouse = Mouse();
  mouse.memory[FireAddress(Type())] = 0x12;
  mouse.memory[FireAddress(Type()) + 1] = 0x34;
  SessionRig rig(Type(), mouse);
  rig.session.SetReservedCustomerCodes(0x12, 0x34);
  rig.session.DevTimerTimer();
  EXPECT_THAT(rig.events.messages, IsEmpty());
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kConnected);
}

TEST_P(ConnectionTest, AnUnstableCountIsIgnoredUntilALaterTick) {
  SessionRig rig(Type());
  // The mouse drops off the bus after every second transfer count would be
  // too subtle; instead an interface that comes and goes on every count.
  int calls = 0;
  class Flicker : public SimulatedBackend {
   public:
    Flicker(SimulatedMouse* mouse, int& calls) : SimulatedBackend(mouse), calls_(calls) {}
    std::vector<std::string> ListInterfaces() override {
      auto paths = SimulatedBackend::ListInterfaces();
      if (flicker && ++calls_ % 2 == 0) paths.pop_back();
      return paths;
    }
    bool flicker = true;

   private:
    int& calls_;
  };
  Flicker flicker(&rig.mouse, calls);
  testing::RecordingEvents events;
  Session session(flicker, rig.clock, events, testing::DefaultsFor(Type()));
  session.StartUp();
  session.DevTimerTimer();
  EXPECT_EQ(session.Conn().state, ConnectionState::kNoDevice);
  EXPECT_EQ(session.Conn().last_interface_count, 0);
  EXPECT_TRUE(rig.clock.Waits().empty());
  flicker.flicker = false;
  session.DevTimerTimer();
  EXPECT_EQ(session.Conn().state, ConnectionState::kConnected);
}

TEST_P(ConnectionTest, AnAllFFMemoryComesBackAsDefaultsInDataBufOnly) {
  auto mouse = Mouse();
  std::fill(mouse.memory.begin(), mouse.memory.end(), 0xFF);
  SessionRig rig(Type(), mouse);
  rig.session.DevTimerTimer();
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kConnected);
  EXPECT_EQ(rig.session.Pages().repaired.size(), 5u);
  for (auto section : image::kCheckedSections) {
    EXPECT_TRUE(image::SectionChecksumValid(image::SectionBytes(rig.session.Data(), section)));
  }
  EXPECT_EQ(rig.CountSent("> 40 07"), 0);
  EXPECT_EQ(rig.CountSent("> 40 05"), 0);
  const auto memory = rig.mouse.Memory();
  EXPECT_TRUE(std::all_of(memory.begin(), memory.end(), [](auto b) { return b == 0xFF; }));
}

TEST_P(ConnectionTest, AChunkFailingAtEveryTryMakesAFailedReadThatTakesNothing) {
  SessionRig rig(Type());
  // The fourth answer of every command fails: identification is shorter, so
  // only the whole-memory reads lose answers, at every try.
  rig.mouse.SetFaults({.fail_chunk = 3});
  rig.session.DevTimerTimer();
  const Connection& conn = rig.session.Conn();
  EXPECT_EQ(conn.state, ConnectionState::kNoDevice);
  EXPECT_TRUE(conn.read_failed);
  EXPECT_FALSE(rig.session.Link().IsOpen());
  ASSERT_EQ(rig.events.messages.size(), 1u);
  EXPECT_THAT(rig.events.messages[0], ::testing::HasSubstr("after 3 tries"));
  // No 0xFF of a lost answer reached DataBuf: the defaults are shown.
  EXPECT_TRUE(rig.session.Pages().repaired.empty());
  // The next tick reads again even though the bus did not change; the user
  // is told once while it keeps failing.
  rig.session.DevTimerTimer();
  EXPECT_TRUE(conn.read_failed);
  EXPECT_EQ(rig.events.messages.size(), 1u);
  rig.mouse.SetFaults({});
  rig.session.DevTimerTimer();
  EXPECT_EQ(conn.state, ConnectionState::kConnected);
  EXPECT_FALSE(conn.read_failed);
}

TEST_P(ConnectionTest, ASectionFailingItsCheckIsReadAgainThenRepairedAndTold) {
  SessionRig rig(Type());
  const std::size_t profile2 = (Type() == MemoryType::kI2C ? 241u : 0x1049u);
  auto memory = rig.mouse.Memory();
  memory[profile2 + 5] ^= 0xFF;
  rig.mouse.SetMemory(memory);
  rig.session.DevTimerTimer();
  // Read on its own once more, still wrong: repaired in DataBuf only, and the
  // user is told before anything could write the repair to the mouse.
  EXPECT_EQ(
      rig.CountSent(Type() == MemoryType::kI2C ? "> 40 09 00 F1 00 31" : "> 40 09 10 49 00 31"), 1);
  EXPECT_THAT(rig.session.Pages().repaired, ElementsAre(image::Section::kProfile2));
  ASSERT_EQ(rig.events.messages.size(), 1u);
  EXPECT_THAT(rig.events.messages[0], ::testing::HasSubstr(": Profile2. They are shown with"));
  EXPECT_EQ(rig.mouse.Memory(), memory);
}

TEST_P(ConnectionTest, AMouseUnpluggedDuringTheReadEndsInTheNoDeviceState) {
  SessionRig rig(Type());
  rig.Connect();
  rig.mouse.SetFaults({.unplug_at_transfer = rig.mouse.TransferCount() + 100});
  rig.session.Btn_Read();
  const auto& conn = rig.session.Conn();
  EXPECT_EQ(conn.state, ConnectionState::kNoDevice);
  EXPECT_TRUE(conn.lost_during_read);
  EXPECT_FALSE(conn.loading);
  EXPECT_TRUE(conn.dev_timer_enabled);
  EXPECT_TRUE(rig.session.Pages().no_device_shown);
  EXPECT_THAT(rig.session.Pages().repaired, IsEmpty());  // the defaults, not a damaged read
}

TEST_P(ConnectionTest, UnpluggingTheMouseEndsInTheNoDeviceState) {
  SessionRig rig(Type());
  rig.Connect();
  rig.mouse.Unplug();
  rig.session.DevTimerTimer();
  const auto& conn = rig.session.Conn();
  EXPECT_EQ(conn.state, ConnectionState::kNoDevice);
  EXPECT_FALSE(conn.device_memory_type.has_value());
  EXPECT_FALSE(conn.read_customer_codes.has_value());
  EXPECT_TRUE(rig.events.covers);
  EXPECT_TRUE(rig.session.Pages().no_device_shown);
  EXPECT_EQ(conn.last_interface_count, 0);
}

TEST_P(ConnectionTest, RestartingWaitsForTheMouseAndReadsItAgain) {
  SessionRig rig(Type());
  rig.Connect();
  const auto slept = rig.clock.TotalSlept();
  rig.session.RestartDevice();
  EXPECT_EQ(rig.mouse.Restarts(), 1);
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kConnected);
  EXPECT_TRUE(rig.session.Conn().dev_timer_enabled);
  EXPECT_EQ(rig.clock.TotalSlept() - slept, Milliseconds(500 + 5100));
  EXPECT_EQ(rig.CountSent("> 40 09"), 1 + kReadsPerImage(Type()));
}

TEST_P(ConnectionTest, AMouseThatDoesNotComeBackLeavesTheTimerLooking) {
  SimulatedMouseConfig mouse = Mouse();
  mouse.restart_time = Milliseconds(60000);
  SessionRig rig(Type(), mouse);
  rig.Connect();
  rig.session.RestartDevice();
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kNoDevice);
  EXPECT_TRUE(rig.session.Conn().dev_timer_enabled);
}

TEST_P(ConnectionTest, ProfileParametersAreReadFromTheLiveSettings) {
  SessionRig rig(Type());
  rig.Connect();
  ASSERT_TRUE(rig.session.Link().WriteLiveBytes(164 + 3, 0x00, 0, 0, 1));
  ASSERT_TRUE(rig.session.RefreshProfileParameter());
  EXPECT_EQ(image::User(rig.session.Data())[3], 0x00);
  EXPECT_EQ(image::User(rig.session.Data())[27], rig.mouse.Live()[191]);
  // Without the mouse DataBuf keeps what it had.
  const auto before = rig.session.Data();
  rig.mouse.Unplug();
  EXPECT_FALSE(rig.session.RefreshProfileParameter());
  EXPECT_EQ(rig.session.Data(), before);
}

TEST_P(ConnectionTest, ButtonPressesTickTheTestBoxesAndReadBack) {
  SessionRig rig(Type());
  rig.Connect();
  rig.session.StartInputListener();
  rig.mouse.PressButton(ButtonTest::kDpiUp);
  rig.mouse.PressButton(ButtonTest::kReleased);
  ASSERT_TRUE(rig.events.RunPosted(2));
  rig.session.StopInputListener();
  ASSERT_EQ(rig.events.button_tests.size(), 2u);
  EXPECT_TRUE(rig.events.button_tests[0].dpi_up);
  EXPECT_EQ(rig.events.button_tests[1], ButtonTests{});
  // After each report: live bytes 22 and 24.
  EXPECT_EQ(rig.CountSent("> 40 06 00 16 00 01 00 00"), 2);
  EXPECT_EQ(rig.CountSent("> 40 06 00 18 00 01 00 00"), 2);
}

TEST_P(ConnectionTest, TheProfileButtonSwitchesTheShownProfile) {
  SessionRig rig(Type());
  rig.Connect();
  const int before = image::User(rig.session.Data())[0] & 0x0F;
  const auto slept = rig.clock.TotalSlept();
  rig.session.StartInputListener();
  rig.mouse.PressProfileButton();
  ASSERT_TRUE(rig.events.RunPosted(2));
  rig.session.StopInputListener();
  const int after = image::User(rig.session.Data())[0] & 0x0F;
  EXPECT_EQ(after, (before + 1) % 3);
  EXPECT_EQ(rig.session.Pages().mode_page, after + 1);
  EXPECT_FALSE(rig.session.Pages().button_tests.profile);
  EXPECT_EQ(rig.clock.TotalSlept() - slept, Milliseconds(200));
  EXPECT_EQ(rig.CountSent("> 40 09"), 1);  // one byte of the User section
}

INSTANTIATE_TEST_SUITE_P(BothMemories, ConnectionTest,
                         ::testing::Values(MemoryType::kI2C, MemoryType::kFlash),
                         [](const auto& test) { return std::string(MemoryTypeName(test.param)); });

TEST(InputListener, StopsWhileBlockedAndWithoutAMouse) {
  SessionRig rig(MemoryType::kI2C);
  rig.session.StartInputListener();  // no mouse opened yet: waits for handles
  rig.session.StopInputListener();
  rig.Connect();
  rig.session.StartInputListener();  // blocked in a read
  rig.session.StopInputListener();
  SUCCEED();
}

TEST(InputListener, ReadsAgainAfterTheMouseCameBack) {
  SessionRig rig(MemoryType::kI2C);
  rig.session.StartInputListener();
  rig.Connect();
  rig.session.RestartDevice();
  rig.mouse.PressButton(ButtonTest::kDpi);
  EXPECT_TRUE(rig.events.RunPosted(1));
  rig.session.StopInputListener();
}

}  // namespace
}  // namespace vrdk
