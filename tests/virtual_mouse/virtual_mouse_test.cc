// VirtualMouse against a fake kernel: what it puts on the bus, how it answers
// the requests the kernel forwards (and refuses the ones the firmware model
// refuses), how it carries out restarts and unplugs, forwards input reports
// and saves the memory. The clock is a CountingClock; nothing sleeps.

#include "virtual_mouse/virtual_mouse.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "fake_kernel.h"
#include "support/simulated_rig.h"
#include "virtual_mouse/hid_devices.h"

namespace vrdk {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::FakeKernel;
using testing::Hex;
using Bytes = std::vector<std::uint8_t>;

Bytes PatternMemory() {
  Bytes memory(kI2CMemorySize);
  for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<std::uint8_t>(i * 7 + 1);
  return memory;
}

SimulatedMouseConfig Config() {
  SimulatedMouseConfig config;
  config.memory = PatternMemory();
  config.collections = VirtualMouseCollections();
  return config;
}

std::string ReplyData(const uhid_event& event) {
  const auto& reply = event.u.get_report_reply;
  return Hex(Bytes(reply.data, reply.data + std::min<std::size_t>(reply.size, 16)));
}

class VirtualMouseTest : public ::testing::Test {
 protected:
  void Make(bool keyboard = false, Bytes saved = {}) {
    std::optional<UhidDevice> keyboard_device;
    if (keyboard) keyboard_device.emplace(keyboard_kernel_.Device());
    virtual_mouse_ = std::make_unique<VirtualMouse>(
        mouse_, clock_, kernel_.Device(), std::move(keyboard_device),
        [this](std::span<const std::uint8_t> memory) {
          saves_.emplace_back(memory.begin(), memory.end());
          return save_works_;
        },
        std::move(saved), [this](std::string_view line) { log_.emplace_back(line); });
  }

  void Start(bool keyboard = false) {
    Make(keyboard);
    ASSERT_TRUE(virtual_mouse_->Start());
    ASSERT_THAT(kernel_.EventTypes(), ElementsAre(UHID_CREATE2));
  }

  bool Turn() {
    bool woken = false;
    return virtual_mouse_->Turn(Milliseconds(0), -1, &woken);
  }

  // One SET_REPORT through the bus; true when the device accepted it. Any
  // other events the device wrote meanwhile stay in after_.
  bool Set(const Bytes& report, std::uint8_t type = UHID_FEATURE_REPORT) {
    kernel_.SetReport(++id_, report, type);
    EXPECT_TRUE(Turn());
    return TakeReply(UHID_SET_REPORT_REPLY).u.set_report_reply.err == 0;
  }

  // One GET_REPORT: the reply.
  uhid_event Get(std::uint8_t number, std::uint8_t type = UHID_FEATURE_REPORT) {
    kernel_.GetReport(++id_, number, type);
    EXPECT_TRUE(Turn());
    return TakeReply(UHID_GET_REPORT_REPLY);
  }

  uhid_event TakeReply(std::uint32_t type) {
    auto events = kernel_.Events();
    EXPECT_FALSE(events.empty());
    if (events.empty()) return {};
    const uhid_event reply = events.front();
    EXPECT_EQ(reply.type, type);
    EXPECT_EQ(reply.u.set_report_reply.id, id_);  // the id sits first in both replies
    after_.assign(events.begin() + 1, events.end());
    return reply;
  }

  CountingClock clock_;
  SimulatedMouse mouse_{clock_, Config()};
  FakeKernel kernel_;
  FakeKernel keyboard_kernel_;
  std::unique_ptr<VirtualMouse> virtual_mouse_;
  std::vector<Bytes> saves_;
  bool save_works_ = true;
  std::vector<std::string> log_;
  std::uint32_t id_ = 100;
  std::vector<uhid_event> after_;
};

TEST(VirtualMouseDescriptors, GiveTheLengthsTheHostLooksFor) {
  const auto collections = VirtualMouseCollections();
  ASSERT_EQ(collections.size(), 1u);
  EXPECT_EQ(collections[0].caps, (HidCaps{8, 0, 8}));
  EXPECT_TRUE(collections[0].takes_commands && collections[0].answers &&
              collections[0].sends_input);
  // A keyboard: 8-byte input, the LED output byte, no feature report, each
  // with the report id byte Windows counts.
  EXPECT_EQ(KeyboardAsSimulatedDevice().caps, (HidCaps{9, 2, 0}));
  // The composite mouse: its mouse and consumer collections take nothing of
  // the protocol, and the consumer's own feature report is 17 bytes long.
  const auto composite = VirtualMouseCollections(MouseLayout::kComposite);
  ASSERT_EQ(composite.size(), 3u);
  EXPECT_EQ(composite[0].caps, (HidCaps{7, 0, 0}));
  EXPECT_EQ(composite[1].caps, (HidCaps{3, 0, 17}));
  EXPECT_EQ(composite[2].caps, (HidCaps{8, 0, 8}));
  EXPECT_FALSE(composite[1].takes_commands || composite[1].answers);
  EXPECT_TRUE(composite[2].takes_commands && composite[2].answers && composite[2].sends_input);
}

TEST_F(VirtualMouseTest, PutsTheMouseAndTheKeyboardOnTheBus) {
  Make(true);
  ASSERT_TRUE(virtual_mouse_->Start());
  const auto events = kernel_.Events();
  ASSERT_EQ(events.size(), 1u);
  const auto& create = events[0].u.create2;
  EXPECT_EQ(events[0].type, UHID_CREATE2);
  EXPECT_EQ(create.vendor, 0x1BCFu);
  EXPECT_EQ(create.product, 0x08B8u);
  EXPECT_EQ(create.bus, 0x03);
  const auto descriptor = MouseReportDescriptor();
  ASSERT_EQ(create.rd_size, descriptor.size());
  EXPECT_TRUE(std::equal(descriptor.begin(), descriptor.end(), create.rd_data));
  EXPECT_STREQ(reinterpret_cast<const char*>(create.name), "VRDK virtual mouse");

  const auto keyboard = keyboard_kernel_.Events();
  ASSERT_EQ(keyboard.size(), 1u);
  EXPECT_EQ(keyboard[0].u.create2.vendor, kKeyboardVendorId);
  EXPECT_EQ(keyboard[0].u.create2.rd_size, KeyboardReportDescriptor().size());
  EXPECT_TRUE(virtual_mouse_->MouseOnBus());
}

TEST_F(VirtualMouseTest, AnswersFeatureReportsFromTheFirmwareModel) {
  Start();
  EXPECT_TRUE(Set({0x40, 0x0D, 0, 0, 0, 0, 0, 0}));
  const auto info = Get(0x41);
  EXPECT_EQ(info.u.get_report_reply.err, 0);
  EXPECT_EQ(info.u.get_report_reply.size, 8);
  EXPECT_EQ(ReplyData(info), "41 40 3A C0 00 00 00 00");

  // A memory read: the command, then one answer per 7 bytes.
  EXPECT_TRUE(Set({0x40, 0x09, 0x01, 0x00, 0x00, 0x0A, 0, 0}));
  EXPECT_EQ(ReplyData(Get(0x41)), "41 01 08 0F 16 1D 24 2B");
  EXPECT_EQ(ReplyData(Get(0x41)), "41 32 39 40 00 00 00 00");
}

TEST_F(VirtualMouseTest, MemoryWrittenThroughTheBusLandsInTheMouse) {
  Start();
  EXPECT_TRUE(Set({0x40, 0x07, 0x00, 0x10, 0x00, 0x09, 0, 0}));
  EXPECT_TRUE(Set({0x41, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_TRUE(Set({0x41, 8, 9, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE}));
  const auto memory = mouse_.Memory();
  EXPECT_EQ(Hex(Bytes(memory.begin() + 0x10, memory.begin() + 0x1A)),
            "01 02 03 04 05 06 07 08 09 " + Hex(Bytes{PatternMemory()[0x19]}));
}

TEST_F(VirtualMouseTest, RefusesWhatTheFirmwareRefuses) {
  Start();
  // Reading the command report, a report id the mouse does not have, another
  // report type, a report of the wrong length: each refused, none answered.
  EXPECT_NE(Get(0x40).u.get_report_reply.err, 0);
  EXPECT_NE(Get(0x42).u.get_report_reply.err, 0);
  EXPECT_NE(Get(0x41, UHID_INPUT_REPORT).u.get_report_reply.err, 0);
  EXPECT_NE(Get(0x41, 7).u.get_report_reply.err, 0);
  EXPECT_FALSE(Set({0x40, 0x0D, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(Set({0x40, 0x0D, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(Set({0x40, 0x0D, 0, 0, 0, 0, 0, 0}, UHID_OUTPUT_REPORT));
  EXPECT_FALSE(Set({0x43, 0x0D, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(Set({}));
  EXPECT_EQ(Get(0x41).u.get_report_reply.size, 8) << "still answering";
}

TEST_F(VirtualMouseTest, SurvivesMalformedEvents) {
  Start();
  // A size past the largest report, cut short after the header: refused.
  uhid_event event{};
  event.type = UHID_SET_REPORT;
  event.u.set_report.id = ++id_;
  event.u.set_report.rnum = 0x40;
  event.u.set_report.size = 0xFFFF;
  kernel_.Send(event, 12);
  EXPECT_TRUE(Turn());
  EXPECT_NE(TakeReply(UHID_SET_REPORT_REPLY).u.set_report_reply.err, 0);
  // A GET_REPORT shortened to its type: asks for report 0, refused.
  event = {};
  event.type = UHID_GET_REPORT;
  kernel_.Send(event, 4);
  EXPECT_TRUE(Turn());
  auto events = kernel_.Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_NE(events[0].u.get_report_reply.err, 0);
  // Two bytes, an unknown type, and the events that need no answer.
  kernel_.Send(event, 2);
  event.type = 0x7777;
  kernel_.Send(event);
  for (const std::uint32_t type : {UHID_START, UHID_OPEN, UHID_OUTPUT, UHID_CLOSE, UHID_STOP}) {
    event.type = type;
    kernel_.Send(event);
  }
  EXPECT_TRUE(Turn());
  EXPECT_TRUE(kernel_.Events().empty());
  EXPECT_TRUE(Set({0x40, 0x0D, 0, 0, 0, 0, 0, 0}));
}

TEST_F(VirtualMouseTest, RestartLeavesTheBusShortlyAfterTheCommandAndComesBackAfterTheRestartTime) {
  Start();
  EXPECT_TRUE(Set({0x40, 0x0E, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(after_.empty()) << "the caller hears of the command's success first";
  EXPECT_NE(Get(0x41).u.get_report_reply.err, 0) << "a restarting mouse answers nothing";
  clock_.Elapse(VirtualMouse::kRestartLeaveDelay);
  EXPECT_TRUE(Turn());
  EXPECT_THAT(kernel_.EventTypes(), ElementsAre(UHID_DESTROY));
  EXPECT_FALSE(virtual_mouse_->MouseOnBus());

  clock_.Elapse(mouse_.Config().restart_time - VirtualMouse::kRestartLeaveDelay - Milliseconds(1));
  EXPECT_TRUE(Turn());
  EXPECT_TRUE(kernel_.Events().empty()) << "back too early";
  clock_.Elapse(Milliseconds(1));
  EXPECT_TRUE(Turn());
  EXPECT_THAT(kernel_.EventTypes(), ElementsAre(UHID_CREATE2));
  EXPECT_TRUE(Set({0x40, 0x0D, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(ReplyData(Get(0x41)), "41 40 3A C0 00 00 00 00");
}

TEST_F(VirtualMouseTest, ARestartShorterThanTheLeaveDelayStillReenumerates) {
  SimulatedMouseConfig config = Config();
  config.restart_time = Milliseconds(10);
  SimulatedMouse quick(clock_, config);
  virtual_mouse_ = std::make_unique<VirtualMouse>(quick, clock_, kernel_.Device(), std::nullopt,
                                                  nullptr, Bytes{}, nullptr);
  ASSERT_TRUE(virtual_mouse_->Start());
  kernel_.Events();
  EXPECT_TRUE(Set({0x40, 0x0E, 0, 0, 0, 0, 0, 0}));
  clock_.Elapse(VirtualMouse::kRestartLeaveDelay);
  EXPECT_TRUE(Turn());
  EXPECT_THAT(kernel_.EventTypes(), ElementsAre(UHID_DESTROY, UHID_CREATE2));
}

TEST_F(VirtualMouseTest, UnplugFailsItsTransferAndLeavesForGood) {
  SimulatedFaults faults;
  faults.unplug_at_transfer = 2;
  mouse_.SetFaults(faults);
  Start();
  EXPECT_TRUE(Set({0x40, 0x09, 0, 0, 0, 0x20, 0, 0}));
  EXPECT_EQ(Get(0x41).u.get_report_reply.err, 0);
  EXPECT_NE(Get(0x41).u.get_report_reply.err, 0);
  ASSERT_EQ(after_.size(), 1u);
  EXPECT_EQ(after_[0].type, UHID_DESTROY);
  // A request the kernel had already queued is refused; it never comes back.
  EXPECT_NE(Get(0x41).u.get_report_reply.err, 0);
  clock_.Elapse(std::chrono::minutes(1));
  EXPECT_TRUE(Turn());
  EXPECT_TRUE(kernel_.Events().empty());
}

TEST_F(VirtualMouseTest, ForwardsInputReportsWhileOnTheBus) {
  Start();
  mouse_.PressButton(ButtonTest::kDpiUp);
  virtual_mouse_->Sync();
  const auto events = kernel_.Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].type, UHID_INPUT2);
  ASSERT_EQ(events[0].u.input2.size, 8);
  EXPECT_EQ(Hex(Bytes(events[0].u.input2.data, events[0].u.input2.data + 8)),
            "42 00 00 02 00 00 00 00");
}

TEST_F(VirtualMouseTest, KeyboardRefusesFeatureReports) {
  Start(true);
  keyboard_kernel_.Events();
  keyboard_kernel_.GetReport(7, 0x41);
  keyboard_kernel_.SetReport(8, {0x40, 0x0D, 0, 0, 0, 0, 0, 0});
  EXPECT_TRUE(Turn());
  const auto events = keyboard_kernel_.Events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_NE(events[0].u.get_report_reply.err, 0);
  EXPECT_NE(events[1].u.set_report_reply.err, 0);
  EXPECT_TRUE(kernel_.Events().empty()) << "the mouse saw nothing of it";
}

TEST_F(VirtualMouseTest, SavesChangedMemoryOnceTheBusIsQuiet) {
  Start();
  EXPECT_TRUE(Set({0x40, 0x07, 0x00, 0x00, 0x00, 0x01, 0, 0}));
  EXPECT_TRUE(Set({0x41, 0xAB, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(saves_.empty()) << "not in the middle of a transfer";
  clock_.Elapse(VirtualMouse::kSaveQuiet);
  EXPECT_TRUE(Turn());
  ASSERT_EQ(saves_.size(), 1u);
  EXPECT_EQ(saves_[0][0], 0xAB);
  EXPECT_TRUE(std::equal(saves_[0].begin() + 1, saves_[0].end(), PatternMemory().begin() + 1));

  // Commands that change nothing save nothing, and neither does stopping.
  EXPECT_TRUE(Set({0x40, 0x0D, 0, 0, 0, 0, 0, 0}));
  clock_.Elapse(VirtualMouse::kSaveQuiet);
  EXPECT_TRUE(Turn());
  virtual_mouse_->Stop();
  EXPECT_EQ(saves_.size(), 1u);
  EXPECT_THAT(kernel_.EventTypes(), ElementsAre(UHID_DESTROY));
}

TEST_F(VirtualMouseTest, SavesAtOnceWhenTheMouseLeavesTheBus) {
  Start();
  // A live write saves its section to memory; the restart follows at once.
  EXPECT_TRUE(Set({0x40, 0x05, 0x00, 0x02, 0x11, 0x00, 0x00, 0x01}));
  EXPECT_TRUE(Set({0x40, 0x0E, 0, 0, 0, 0, 0, 0}));
  clock_.Elapse(VirtualMouse::kRestartLeaveDelay);
  EXPECT_TRUE(Turn());
  ASSERT_EQ(saves_.size(), 1u);
  EXPECT_EQ(saves_[0][2], 0x11);
}

TEST_F(VirtualMouseTest, ASaveThatFailedIsTriedAgainAtTheEnd) {
  Make(false, PatternMemory());
  ASSERT_TRUE(virtual_mouse_->Start());
  kernel_.Events();
  save_works_ = false;
  EXPECT_TRUE(Set({0x40, 0x07, 0x00, 0x00, 0x00, 0x01, 0, 0}));
  EXPECT_TRUE(Set({0x41, 0xCD, 0, 0, 0, 0, 0, 0}));
  clock_.Elapse(VirtualMouse::kSaveQuiet);
  EXPECT_TRUE(Turn());
  save_works_ = true;
  virtual_mouse_->Stop();
  ASSERT_EQ(saves_.size(), 2u);
  EXPECT_EQ(saves_[1][0], 0xCD);
}

TEST_F(VirtualMouseTest, EndsWhenTheKernelSideCloses) {
  Start();
  kernel_.Close();
  EXPECT_FALSE(Turn());
}

TEST_F(VirtualMouseTest, WakesForTheWakeFile) {
  Start();
  FakeKernel other;
  auto wake = other.Device();
  other.GetReport(1, 0x41);  // anything readable will do
  bool woken = false;
  EXPECT_TRUE(virtual_mouse_->Turn(Milliseconds(0), wake.Fd(), &woken));
  EXPECT_TRUE(woken);
}

}  // namespace
}  // namespace vrdk
