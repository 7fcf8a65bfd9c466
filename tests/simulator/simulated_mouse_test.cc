// The simulated mouse's firmware model: what it keeps, where, and how it
// leaves and rejoins the bus. Both memory types run the shared cases.

#include "simulator/simulated_mouse.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "resources/resources.h"
#include "support/simulated_rig.h"

namespace vrdk {
namespace {

using ::testing::ElementsAre;
using testing::Hex;
using testing::SimulatedRig;

std::uint8_t Checksum(std::span<const std::uint8_t> section) {
  unsigned sum = 0;
  for (std::size_t i = 0; i + 1 < section.size(); ++i) sum += section[i];
  return static_cast<std::uint8_t>((sum & 0xFF) ^ 0x5A);
}

class FirmwareTest : public ::testing::TestWithParam<MemoryType> {
 protected:
  FirmwareTest() : rig(Config()) {}
  static SimulatedMouseConfig Config() {
    SimulatedMouseConfig config;
    config.memory_type = GetParam();
    return config;
  }
  std::size_t UserAddress() const { return GetParam() == MemoryType::kI2C ? 164 : 0x2000; }

  SimulatedRig rig;
};

TEST_P(FirmwareTest, AnswersDeviceInformationWithItsMemoryType) {
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_TRUE(rig.link.SendCommand(command::kDeviceInfo));
  rig.link.ReadResponse();
  const auto& answer = rig.link.ResponseData();
  EXPECT_GE(answer[0], 0x40);
  EXPECT_EQ(answer[1], 0x3A);
  EXPECT_EQ(answer[2], GetParam() == MemoryType::kI2C ? 0xC0 : 0x80);
}

TEST_P(FirmwareTest, LiveSettingsStartAsTheVendorAndUserSectionsOfMemory) {
  const auto memory = rig.mouse.Memory();
  const auto live = rig.mouse.Live();
  EXPECT_TRUE(std::equal(live.begin(), live.begin() + 164, memory.begin()));
  EXPECT_TRUE(std::equal(live.begin() + 164, live.end(),
                         memory.begin() + static_cast<long>(UserAddress())));
}

TEST_P(FirmwareTest, ALiveChangeIsSavedWithAFreshChecksumAndSurvivesARestart) {
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_TRUE(rig.link.WriteLiveBytes(43, 0x02, 0, 0, 1));       // Vendor: DPI level count
  ASSERT_TRUE(rig.link.WriteLiveBytes(164 + 2, 0x04, 0, 0, 1));  // User: current DPI level
  ASSERT_TRUE(rig.link.SendCommand(command::kRestart));
  rig.clock.Sleep(Milliseconds(5100));
  ASSERT_TRUE(rig.OpenMouse());

  std::vector<std::uint8_t> live(192);
  ASSERT_TRUE(rig.link.ReadLive(0, 192, live));
  EXPECT_EQ(live[43], 0x02);
  EXPECT_EQ(live[166], 0x04);
  EXPECT_EQ(live[163], Checksum(std::span(live).first(164)));
  EXPECT_EQ(live[191], Checksum(std::span(live).subspan(164, 28)));
  const auto memory = rig.mouse.Memory();
  EXPECT_EQ(memory[43], 0x02);
  EXPECT_EQ(memory[UserAddress() + 2], 0x04);
  EXPECT_EQ(memory[UserAddress() + 27], live[191]);
}

TEST_P(FirmwareTest, MemoryWritesDoNotChangeTheLiveSettingsUntilARestart) {
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_TRUE(rig.link.WriteMemory(43, 1, std::vector<std::uint8_t>{0x07}));
  EXPECT_NE(rig.mouse.Live()[43], 0x07);
  ASSERT_TRUE(rig.link.SendCommand(command::kRestart));
  rig.clock.Sleep(Milliseconds(5000));
  EXPECT_EQ(rig.mouse.Live()[43], 0x07);
}

TEST_P(FirmwareTest, RestartLeavesTheBusForTheRestartTime) {
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_EQ(rig.link.CountHidInterfaces(), 3);
  ASSERT_TRUE(rig.link.SendCommand(command::kRestart));
  EXPECT_EQ(rig.link.CountHidInterfaces(), 0);
  rig.clock.Sleep(Milliseconds(1999));
  EXPECT_EQ(rig.link.CountHidInterfaces(), 0);
  rig.clock.Sleep(Milliseconds(1));
  EXPECT_EQ(rig.link.CountHidInterfaces(), 3);
  EXPECT_EQ(rig.mouse.Restarts(), 1);
}

TEST_P(FirmwareTest, LiveBytesBeyondTheSectionsAreNotStored) {
  ASSERT_TRUE(rig.OpenMouse());
  const auto before = rig.mouse.Memory();
  ASSERT_TRUE(rig.link.WriteLiveBytes(200, 1, 2, 3, 3));
  EXPECT_EQ(rig.mouse.Memory(), before);
  std::vector<std::uint8_t> live(7);
  ASSERT_TRUE(rig.link.ReadLive(189, 7, live));
  EXPECT_EQ(Hex(std::span(live).subspan(3)), "FF FF FF FF");
}

INSTANTIATE_TEST_SUITE_P(BothMemories, FirmwareTest,
                         ::testing::Values(MemoryType::kI2C, MemoryType::kFlash),
                         [](const auto& test) { return std::string(MemoryTypeName(test.param)); });

TEST(FactoryMemory, I2CIsTheDefaultImage) {
  const auto image = resources::Find("vrdk2280mdata_cfg1");
  ASSERT_TRUE(image.has_value());
  const auto memory = SimulatedMouse::FactoryMemory(MemoryType::kI2C);
  ASSERT_EQ(memory.size(), 2048u);
  EXPECT_TRUE(std::equal(memory.begin(), memory.end(), image->begin()));
}

TEST(FactoryMemory, FlashPlacesTheSectionsAtTheirPages) {
  const auto memory = SimulatedMouse::FactoryMemory(MemoryType::kFlash);
  const auto image = SimulatedMouse::FactoryMemory(MemoryType::kI2C);
  ASSERT_EQ(memory.size(), 65536u);
  EXPECT_EQ(Hex(std::span(memory).first(4)), "1B CF 08 B8");
  EXPECT_TRUE(
      std::equal(memory.begin() + 0x1018, memory.begin() + 0x1018 + 147, image.begin() + 192));
  EXPECT_TRUE(
      std::equal(memory.begin() + 0x2000, memory.begin() + 0x2000 + 28, image.begin() + 164));
  EXPECT_EQ(memory[0x600B], 0xF0);
  // Flash info block bytes 8..15 describe the 1024-byte patch with its checksum.
  unsigned sum = 0;
  for (int i = 0; i < 1024; ++i) sum += memory[0xC000 + static_cast<std::size_t>(i)];
  const unsigned checksum = (sum & 0xFFFF) ^ 0x015A;
  EXPECT_EQ(Hex(std::span(memory).subspan(0x1008, 6)), "C0 00 04 00 00 1A");
  EXPECT_EQ(memory[0x100E] << 8 | memory[0x100F], static_cast<int>(checksum));
}

TEST(Faults, WrongDeviceInformationIsAnsweredAsConfigured) {
  SimulatedMouseConfig config;
  config.device_info = std::array<std::uint8_t, 7>{0x3F, 0x3A, 0xC0};
  SimulatedRig rig(std::move(config));
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_TRUE(rig.link.SendCommand(command::kDeviceInfo));
  rig.link.ReadResponse();
  EXPECT_EQ(Hex(rig.link.ResponseData()), "3F 3A C0 00 00 00 00");
}

TEST(Faults, TheNthCommandFailsAndOnlyIt) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  rig.mouse.SetFaults({.fail_command_report = 2});
  EXPECT_TRUE(rig.link.SendCommand(command::kDeviceInfo));
  EXPECT_TRUE(rig.link.SendCommand(command::kDeviceInfo));
  EXPECT_FALSE(rig.link.SendCommand(command::kDeviceInfo));
  EXPECT_TRUE(rig.link.SendCommand(command::kDeviceInfo));
}

TEST(Faults, AnUnpluggedMouseComesBackOnlyWhenPluggedIn) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  rig.mouse.Unplug();
  EXPECT_FALSE(rig.link.SendCommand(command::kDeviceInfo));
  rig.clock.Sleep(Milliseconds(60000));
  EXPECT_FALSE(rig.OpenMouse());
  rig.mouse.Plug();
  EXPECT_TRUE(rig.OpenMouse());
}

TEST(Firmware, ANewCommandDropsTheAnswersOfTheLastOne) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_TRUE(rig.link.SendCommand(command::kReadMemory, 0, 0, 0, 14));
  ASSERT_TRUE(rig.link.SendCommand(command::kDeviceInfo));
  rig.link.ReadResponse();
  EXPECT_EQ(rig.link.ResponseData()[1], 0x3A);
  rig.link.ReadResponse();
  EXPECT_EQ(Hex(rig.link.ResponseData()), "00 00 00 00 00 00 00");
}

TEST(Firmware, TheTranscriptRecordsInputReportsAsTheyAreTaken) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  rig.mouse.PressButton(ButtonTest::kDpi);
  std::array<std::uint8_t, 8> buffer{};
  ASSERT_TRUE(rig.link.ReadInputReport(buffer));
  EXPECT_THAT(rig.Reports(), ElementsAre("I 42 00 00 01 00 00 00 00"));
}

TEST(Firmware, TransferLatencyPassesOnTheClockWithoutCountingAsAWait) {
  SimulatedMouseConfig config;
  config.transfer_latency = Microseconds(1000);
  SimulatedRig rig(std::move(config));
  ASSERT_TRUE(rig.OpenMouse());
  const auto start = rig.clock.Now();
  std::vector<std::uint8_t> buffer(2048);
  ASSERT_TRUE(rig.link.ReadMemory(0, 2048, buffer));
  // 294 transfers of 1 ms and 293 waits of 500 us.
  EXPECT_EQ(rig.clock.Now() - start, Microseconds(294 * 1000 + 293 * 500));
  EXPECT_EQ(rig.clock.TotalBusyWaited(), Microseconds(293 * 500));
}

}  // namespace
}  // namespace vrdk
