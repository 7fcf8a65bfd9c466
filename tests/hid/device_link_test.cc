// DeviceLink against the simulated mouse: the bytes of every report, chunk
// counts and fills, handle rules, waits and the loading window.

#include "hid/device_link.h"

#include "hid/bits.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>
#include <thread>

#include "support/simulated_rig.h"

namespace vrdk {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Eq;
using testing::Hex;
using testing::SimulatedRig;

std::vector<std::uint8_t> Counting(int length, int first = 0) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
  std::iota(bytes.begin(), bytes.end(), static_cast<std::uint8_t>(first));
  return bytes;
}

SimulatedMouseConfig WithMemory(std::vector<std::uint8_t> memory) {
  SimulatedMouseConfig config;
  config.memory = std::move(memory);
  return config;
}

// --- The bytes of each command ------------------------------------------------

class CommandBytesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(rig.OpenMouse()); }
  SimulatedRig rig;
};

TEST_F(CommandBytesTest, SendCommandPadsWithZeros) {
  EXPECT_TRUE(rig.link.SendCommand(command::kDeviceInfo));
  EXPECT_TRUE(rig.link.SendCommand(command::kWriteXData, 0x12, 0x34, 0x56));
  EXPECT_TRUE(rig.link.SendCommand(command::kReadXData, 0x12, 0x34, 0, 1));
  EXPECT_TRUE(rig.link.SendCommand(command::kRestart));
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 0D 00 00 00 00 00 00", "> 40 01 12 34 56 00 00 00",
                                         "> 40 02 12 34 00 01 00 00", "> 40 0E 00 00 00 00 00 00"));
}

TEST_F(CommandBytesTest, DeviceInformationAnswerFillsResponseData) {
  ASSERT_TRUE(rig.link.SendCommand(command::kDeviceInfo));
  rig.link.ReadResponse();
  EXPECT_EQ(Hex(rig.link.ResponseData()), "40 3A C0 00 00 00 00");
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 0D 00 00 00 00 00 00", "< 41 40 3A C0 00 00 00 00"));
}

TEST_F(CommandBytesTest, XDataWriteThenReadComesBack) {
  ASSERT_TRUE(rig.link.SendCommand(command::kWriteXData, 0xF0, 0x21, 0x5A));
  ASSERT_TRUE(rig.link.SendCommand(command::kReadXData, 0xF0, 0x21, 0, 1));
  rig.link.ReadResponse();
  EXPECT_EQ(rig.link.ResponseData()[0], 0x5A);
  EXPECT_EQ(rig.mouse.XData(0xF021), 0x5A);
}

TEST_F(CommandBytesTest, LiveWritesCarryAddressDataAndCount) {
  EXPECT_TRUE(rig.link.WriteLiveBytes(43, 0x05, 0, 0, 1));
  EXPECT_TRUE(rig.link.WriteLiveBytes(57, 0xFF, 0x80, 0x00, 3));
  EXPECT_TRUE(rig.link.WriteLiveQuad(123 + 4 * 2, 0x03, 0x00, 0xCD, 0x00));
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 2B 05 00 00 01", "> 40 05 00 39 FF 80 00 03",
                                         "> 40 05 01 83 03 00 CD 00"));
}

TEST_F(CommandBytesTest, LiveWriteOfABadCountSendsNothing) {
  EXPECT_FALSE(rig.link.WriteLiveBytes(1, 1, 2, 3, 0));
  EXPECT_FALSE(rig.link.WriteLiveBytes(1, 1, 2, 3, 4));
  EXPECT_TRUE(rig.Reports().empty());
}

TEST_F(CommandBytesTest, LiveReadAsksAddressAndOneByteLength) {
  std::vector<std::uint8_t> user(28);
  ASSERT_TRUE(rig.link.ReadLive(164, 28, user));
  const auto reports = rig.Reports();
  ASSERT_EQ(reports.size(), 5u);  // the command and ceil(28 / 7) answers
  EXPECT_EQ(reports[0], "> 40 06 00 A4 00 1C 00 00");
  const auto live = rig.mouse.Live();
  EXPECT_TRUE(std::equal(user.begin(), user.end(), live.begin() + 164));
}

TEST_F(CommandBytesTest, LiveReadRefusesLengthsThatDoNotFitOneByte) {
  std::vector<std::uint8_t> buffer(300);
  EXPECT_FALSE(rig.link.ReadLive(0, 0, buffer));
  EXPECT_FALSE(rig.link.ReadLive(0, 256, buffer));
  EXPECT_FALSE(rig.link.ReadLive(0, 20, std::span(buffer).first(10)));
  EXPECT_TRUE(rig.Reports().empty());
}

TEST_F(CommandBytesTest, MemoryWriteSendsCommandAndSevenByteDataReports) {
  const auto profiles = Counting(147, 1);
  ASSERT_TRUE(rig.link.WriteMemory(192, 147, profiles));
  const auto reports = rig.Reports();
  ASSERT_EQ(reports.size(), 1u + 21u);
  EXPECT_EQ(reports[0], "> 40 07 00 C0 00 93 00 00");
  EXPECT_EQ(reports[1], "> 41 01 02 03 04 05 06 07");
  EXPECT_EQ(reports[21], "> 41 8D 8E 8F 90 91 92 93");
  const auto memory = rig.mouse.Memory();
  EXPECT_TRUE(std::equal(profiles.begin(), profiles.end(), memory.begin() + 192));
}

TEST_F(CommandBytesTest, MemoryReadAsksAddressAndLengthHighByteFirst) {
  std::vector<std::uint8_t> buffer(0x123);
  ASSERT_TRUE(rig.link.ReadMemory(0x0456, 0x123, buffer));
  EXPECT_EQ(rig.Reports().front(), "> 40 09 04 56 01 23 00 00");
}

// --- Chunking --------------------------------------------------------------------

struct ChunkCase {
  int length;
  int chunks;
};

class ReadChunkingTest : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(ReadChunkingTest, ReadsCeilLengthOverSevenAnswersAndCopiesOnlyLength) {
  const auto [length, chunks] = GetParam();
  SimulatedRig rig(WithMemory(Counting(2048)));
  ASSERT_TRUE(rig.OpenMouse());
  // One canary byte behind the requested length must stay untouched.
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(length) + 1, 0xAA);
  ASSERT_TRUE(rig.link.ReadMemory(0, length, buffer));
  EXPECT_EQ(rig.Reports().size(), 1u + static_cast<std::size_t>(chunks));
  const auto expected = Counting(length);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), buffer.begin()));
  EXPECT_EQ(buffer.back(), 0xAA);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ReadChunkingTest,
                         ::testing::Values(ChunkCase{14, 2}, ChunkCase{12, 2}, ChunkCase{7, 1},
                                           ChunkCase{1, 1}, ChunkCase{2048, 293}));

TEST(ReadChunking, TwelveBytesCopyFiveFromTheSecondAnswer) {
  SimulatedRig rig(WithMemory(Counting(2048, 0x10)));
  ASSERT_TRUE(rig.OpenMouse());
  std::vector<std::uint8_t> buffer(12);
  ASSERT_TRUE(rig.link.ReadMemory(0, 12, buffer));
  // The mouse answers only the bytes asked for.
  EXPECT_EQ(rig.Reports().back(), "< 41 17 18 19 1A 1B 00 00");
  EXPECT_EQ(Hex(buffer), "10 11 12 13 14 15 16 17 18 19 1A 1B");
}

TEST(ReadChunking, WholeImageTakesTwoHundredNinetyThreeAnswersLastCopyingFour) {
  SimulatedRig rig(WithMemory(Counting(2048)));
  ASSERT_TRUE(rig.OpenMouse());
  std::vector<std::uint8_t> buffer(2048);
  ASSERT_TRUE(rig.link.ReadMemory(0, 2048, buffer));
  const auto reports = rig.Reports();
  ASSERT_EQ(reports.size(), 294u);
  EXPECT_EQ(reports.back(), "< 41 FC FD FE FF 00 00 00");
  EXPECT_EQ(Hex(std::span(buffer).subspan(2040)), "F8 F9 FA FB FC FD FE FF");
}

TEST(ReadChunking, EveryAnswerIsFollowedByAFiveHundredMicrosecondBusyWait) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  std::vector<std::uint8_t> buffer(2048);
  ASSERT_TRUE(rig.link.ReadMemory(0, 2048, buffer));
  const auto waits = rig.clock.Waits();
  EXPECT_EQ(waits.size(), 293u);
  EXPECT_THAT(waits,
              Each(Eq(CountingClock::Wait{CountingClock::WaitKind::kBusyWait, Microseconds(500)})));
  EXPECT_EQ(rig.clock.TotalSlept(), Microseconds(0));
}

TEST(ReadChunking, AFailedAnswerLeavesFFInItsBytesAndTheReadGoesOn) {
  SimulatedRig rig(WithMemory(Counting(2048)));
  ASSERT_TRUE(rig.OpenMouse());
  rig.mouse.SetFaults({.fail_chunk = 1});
  std::vector<std::uint8_t> buffer(21);
  ASSERT_TRUE(rig.link.ReadMemory(0, 21, buffer));
  EXPECT_EQ(Hex(buffer), "00 01 02 03 04 05 06 FF FF FF FF FF FF FF 0E 0F 10 11 12 13 14");
  // No wait follows the failed answer.
  EXPECT_EQ(rig.clock.Waits().size(), 2u);
}

TEST(ReadChunking, WithoutAResponseHandleReadReturnsTrueAndAllFF) {
  SimulatedMouseConfig config;
  for (auto& collection : config.collections) collection.answers = false;
  SimulatedRig rig(std::move(config));
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_NE(rig.link.CommandHandle(), kInvalidHandle);
  ASSERT_EQ(rig.link.ResponseHandle(), kInvalidHandle);
  std::vector<std::uint8_t> buffer(100, 0x00);
  EXPECT_TRUE(rig.link.ReadMemory(0, 100, buffer));
  EXPECT_THAT(buffer, Each(Eq(0xFF)));
  EXPECT_EQ(rig.Reports(), std::vector<std::string>{"> 40 09 00 00 00 64 00 00"});
}

TEST(ReadChunking, AFailedCommandReturnsFalseAndSendsNothingMore) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  rig.mouse.SetFaults({.fail_command_report = 0});
  std::vector<std::uint8_t> buffer(14, 0);
  EXPECT_FALSE(rig.link.ReadMemory(0, 14, buffer));
  EXPECT_THAT(buffer, Each(Eq(0xFF)));
  EXPECT_EQ(rig.Reports(), std::vector<std::string>{"> 40 09 00 00 00 0E 00 00 FAIL"});
}

TEST(ReadChunking, UnpluggedMidReadLeavesTheRestFF) {
  SimulatedRig rig(WithMemory(Counting(2048)));
  ASSERT_TRUE(rig.OpenMouse());
  rig.mouse.SetFaults({.unplug_at_transfer = rig.mouse.TransferCount() + 3});
  std::vector<std::uint8_t> buffer(35);
  EXPECT_TRUE(rig.link.ReadMemory(0, 35, buffer));
  EXPECT_EQ(Hex(std::span(buffer).first(14)), Hex(Counting(14)));
  EXPECT_THAT(std::vector(buffer.begin() + 14, buffer.end()), Each(Eq(0xFF)));
  EXPECT_FALSE(rig.link.SendCommand(command::kDeviceInfo));
}

TEST(WriteChunking, ShortLastChunkKeepsThePreviousChunksBytes) {
  SimulatedRig rig(WithMemory(std::vector<std::uint8_t>(2048, 0xEE)));
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_TRUE(rig.link.WriteMemory(0x100, 9, Counting(9, 1)));
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 07 01 00 00 09 00 00", "> 41 01 02 03 04 05 06 07",
                                         "> 41 08 09 03 04 05 06 07"));
  // The device takes only the nine bytes the command announced.
  const auto memory = rig.mouse.Memory();
  EXPECT_EQ(Hex(std::span(memory).subspan(0x100, 10)), "01 02 03 04 05 06 07 08 09 EE");
}

TEST(WriteChunking, ASingleShortChunkIsPaddedWithFF) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_TRUE(rig.link.WriteMemory(484, 3, Counting(3, 0xA0)));
  EXPECT_EQ(rig.Reports().back(), "> 41 A0 A1 A2 FF FF FF FF");
}

TEST(WriteChunking, FailedDataReportsAreIgnored) {
  SimulatedRig rig(WithMemory(std::vector<std::uint8_t>(2048, 0x00)));
  ASSERT_TRUE(rig.OpenMouse());
  rig.mouse.SetFaults({.fail_chunk = 0});
  EXPECT_TRUE(rig.link.WriteMemory(0, 14, std::vector<std::uint8_t>(14, 0x77)));
  const auto memory = rig.mouse.Memory();
  EXPECT_EQ(Hex(std::span(memory).first(14)), "00 00 00 00 00 00 00 77 77 77 77 77 77 77");
}

TEST(WriteChunking, RefusesLengthsBeyondTheData) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  EXPECT_FALSE(rig.link.WriteMemory(0, 20, Counting(10)));
  EXPECT_FALSE(rig.link.WriteLiveBlock(0, 0, 20, Counting(10)));
  EXPECT_FALSE(rig.link.WriteLiveBlock(2, 0, 3, Counting(3)));
  EXPECT_TRUE(rig.Reports().empty());
}

// --- Live blocks -------------------------------------------------------------

TEST(LiveBlock, VendorSectionTakesFiftyFiveReportsTheLastCarryingTwo) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  const auto vendor = Counting(164);
  ASSERT_TRUE(rig.link.WriteLiveBlock(0, 0, 164, vendor));
  const auto reports = rig.Reports();
  ASSERT_EQ(reports.size(), 55u);
  EXPECT_EQ(reports[0], "> 40 05 00 00 00 01 02 03");
  EXPECT_EQ(reports[53], "> 40 05 00 9F 9F A0 A1 03");
  // Two valid bytes; the third is left over from the previous chunk.
  EXPECT_EQ(reports[54], "> 40 05 00 A2 A2 A3 A1 02");
  // Block writes do not sleep, and the window is shown before every chunk.
  EXPECT_EQ(rig.clock.TotalSlept(), Microseconds(0));
  EXPECT_EQ(rig.loading.shows, 55);
  EXPECT_EQ(rig.loading.hides, 0);
}

TEST(LiveBlock, SubOneShortLastChunkCarriesThePreviousChunksBytes) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_TRUE(rig.link.WriteLiveBlock(1, 0x10, 6, Counting(6, 1)));
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 01 10 01 02 03 04", "> 40 05 01 14 05 06 03 04"));
}

TEST(LiveBlock, ASingleShortChunkIsPaddedWithFF) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_TRUE(rig.link.WriteLiveBlock(1, 0, 2, Counting(2, 7)));
  ASSERT_TRUE(rig.link.WriteLiveBlock(0, 0, 1, Counting(1, 9)));
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 01 00 07 08 FF FF", "> 40 05 00 00 09 FF FF 01"));
}

TEST(LiveBlock, AddressesAboveTwoHundredFiftyFiveWrapToOneByte) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_TRUE(rig.link.WriteLiveBlock(0, 250, 12, Counting(12)));
  ASSERT_TRUE(rig.link.WriteLiveBytes(256 + 5, 0x11, 0, 0, 1));
  ASSERT_TRUE(rig.link.WriteLiveQuad(511, 1, 2, 3, 4));
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 FA 00 01 02 03", "> 40 05 00 FD 03 04 05 03",
                                         "> 40 05 00 00 06 07 08 03", "> 40 05 00 03 09 0A 0B 03",
                                         "> 40 05 00 05 11 00 00 01", "> 40 05 01 FF 01 02 03 04"));
}

TEST(LiveBlock, FailedChunksAreIgnoredAndTheBlockReportsDone) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  rig.mouse.SetFaults({.fail_command_report = 1});
  EXPECT_TRUE(rig.link.WriteLiveBlock(0, 0, 9, Counting(9)));
  EXPECT_EQ(rig.Reports().size(), 3u);
  EXPECT_EQ(rig.Reports()[1], "> 40 05 00 03 03 04 05 03 FAIL");
}

// --- Single live writes --------------------------------------------------------

TEST(LiveWrite, ShowsTheWindowSleepsAHundredMillisecondsAndHides) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  EXPECT_TRUE(rig.link.WriteLiveBytes(166, 2, 0, 0, 1));
  EXPECT_EQ(rig.loading.shows, 1);
  EXPECT_EQ(rig.loading.hides, 1);
  EXPECT_THAT(rig.clock.Waits(),
              ElementsAre(CountingClock::Wait{CountingClock::WaitKind::kSleep, Milliseconds(100)}));
  EXPECT_EQ(rig.mouse.Live()[166], 2);
}

TEST(LiveWrite, AFailedSendIsReportedAfterTheSameSleep) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  rig.mouse.SetFaults({.fail_every_command = true});
  EXPECT_FALSE(rig.link.WriteLiveQuad(123, 1, 2, 3, 4));
  EXPECT_EQ(rig.clock.TotalSlept(), Milliseconds(100));
  EXPECT_EQ(rig.loading.hides, 1);
}

TEST(LiveWrite, WithoutADeviceReturnsFalseAndShowsNothing) {
  CountingClock clock;
  SimulatedBackend backend(nullptr);
  testing::RecordingLoading loading;
  DeviceLink link(backend, clock, &loading);
  EXPECT_FALSE(link.OpenDevice(0x1BCF, 0x08B8));
  EXPECT_FALSE(link.WriteLiveBytes(1, 2, 3, 4, 1));
  EXPECT_FALSE(link.WriteLiveQuad(1, 2, 3, 4, 5));
  EXPECT_FALSE(link.WriteLiveBlock(0, 0, 3, Counting(3)));
  EXPECT_EQ(loading.shows, 0);
  EXPECT_EQ(loading.hides, 0);
  EXPECT_TRUE(clock.Waits().empty());
}

// --- Loading window on block transfers -------------------------------------------

TEST(LoadingWindow, ShowingReadShowsBeforeEveryChunkAndPlainReadNever) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  std::vector<std::uint8_t> buffer(2048);
  ASSERT_TRUE(rig.link.ReadMemory(0, 2048, buffer));
  EXPECT_EQ(rig.loading.shows, 0);
  ASSERT_TRUE(rig.link.ReadMemoryShowingProgress(0, 2048, buffer));
  EXPECT_EQ(rig.loading.shows, 293);
  EXPECT_EQ(rig.loading.last_done, 292);
  EXPECT_EQ(rig.loading.last_total, 293);
  EXPECT_EQ(rig.loading.hides, 0);
}

TEST(LoadingWindow, MemoryWriteReplacesTheWindowOnlyWhenLengthIsNotWholeChunks) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_TRUE(rig.link.WriteMemory(192, 147, Counting(147)));
  EXPECT_EQ(rig.loading.shows, 0);
  const auto pumps = rig.clock.MessagePumps();
  ASSERT_TRUE(rig.link.WriteMemory(484, 12, Counting(12)));
  EXPECT_EQ(rig.loading.shows, 2);
  EXPECT_EQ(rig.clock.MessagePumps(), pumps + 2);
  EXPECT_EQ(rig.loading.hides, 0);  // the caller hides it
}

// --- Opening: which interface becomes which handle --------------------------------

SimulatedCollection Collection(std::string name, std::uint16_t feature, bool commands,
                               bool answers) {
  return {std::move(name), HidCaps{8, 0, feature}, commands, answers, true};
}

TEST(OpenDevice, FindsTheVendorCollectionOfTheStandardMouse) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.link.OpenDevice(0x1BCF, 0x08B8));
  EXPECT_TRUE(rig.link.IsOpen());
  EXPECT_EQ(rig.link.VendorId(), 0x1BCF);
  EXPECT_EQ(rig.link.ProductId(), 0x08B8);
  EXPECT_EQ(rig.link.FeatureReportLength(), 8);
  EXPECT_EQ(rig.link.InputReportLength(), 8);
  // The keyboard collection (feature length 8) is probed and refuses; the
  // vendor collection takes the command and answers it.
  EXPECT_THAT(rig.Reports(),
              ElementsAre("> 40 0D 00 00 00 00 00 00 FAIL", "< 41 00 00 00 00 00 00 00 FAIL",
                          "> 40 0D 00 00 00 00 00 00", "< 41 40 3A C0 00 00 00 00"));
}

TEST(OpenDevice, CommandAndResponseHandlesEndOnTheLastCollectionThatWorks) {
  SimulatedMouseConfig config;
  config.collections = {Collection("a", 8, true, true), Collection("b", 8, true, false),
                        Collection("c", 8, false, true), Collection("d", 8, false, false)};
  SimulatedRig rig(std::move(config));
  ASSERT_TRUE(rig.OpenMouse());
  EXPECT_NE(rig.link.CommandHandle(), rig.link.ResponseHandle());
  // Commands go to "b" and answers come from "c": a read works across them.
  std::vector<std::uint8_t> buffer(7);
  ASSERT_TRUE(rig.link.ReadMemory(0, 7, buffer));
  const auto transcript = rig.mouse.Transcript();
  ASSERT_EQ(transcript.size(), 2u);
  EXPECT_EQ(transcript[0].collection, 1);
  EXPECT_EQ(transcript[1].collection, 2);
  EXPECT_EQ(Hex(buffer), "1B CF 08 B8 BF 1F 7F");
  // The input handle is on the last interface with feature length 8: "d".
  EXPECT_NE(rig.link.InputHandle(), kInvalidHandle);
}

TEST(OpenDevice, AnInterfaceWithTheRightIdsButFeatureLengthNineIsNeverUsed) {
  SimulatedMouseConfig config;
  config.collections = {Collection("nine", 9, true, true)};
  SimulatedRig rig(std::move(config));
  EXPECT_FALSE(rig.OpenMouse());
  rig.link.OpenDevice(0x1BCF, 0x08B8);
  EXPECT_TRUE(rig.Reports().empty());
  EXPECT_EQ(rig.link.CommandHandle(), kInvalidHandle);
  EXPECT_EQ(rig.link.ResponseHandle(), kInvalidHandle);
  EXPECT_EQ(rig.link.InputHandle(), kInvalidHandle);
}

TEST(OpenDevice, TheInputHandleGoesToTheLastInterfaceWithFeatureLengthEightWhateverItsIds) {
  SimulatedRig rig;
  const int other = rig.backend.AddDevice({"other", 0x046D, 0xC077, HidCaps{4, 0, 8}});
  ASSERT_TRUE(rig.OpenMouse());
  EXPECT_NE(rig.link.InputHandle(), kInvalidHandle);
  EXPECT_NE(rig.link.InputHandle(), rig.link.CommandHandle());
  // With the other device gone, the input handle is dead although the mouse
  // has a report waiting: the handle was the other device's.
  rig.mouse.PressButton(ButtonTest::kProfile);
  rig.backend.RemoveDevice(other);
  std::array<std::uint8_t, 4> buffer{};
  EXPECT_FALSE(rig.link.ReadInputReport(buffer));
}

TEST(OpenDevice, WithoutAMatchNothingIsSentAndEverySendFailsAtOnce) {
  SimulatedRig rig;
  EXPECT_FALSE(rig.link.OpenDevice(0x1234, 0x5678));
  EXPECT_TRUE(rig.Reports().empty());
  std::vector<std::uint8_t> buffer(14);
  EXPECT_FALSE(rig.link.SendCommand(command::kDeviceInfo));
  EXPECT_FALSE(rig.link.SendDataReport(std::span<const std::uint8_t, 7>(buffer.data(), 7)));
  EXPECT_FALSE(rig.link.ReadMemory(0, 14, buffer));
  EXPECT_FALSE(rig.link.ReadLive(0, 14, buffer));
  EXPECT_FALSE(rig.link.WriteMemory(0, 14, buffer));
  rig.link.ReadResponse();
  EXPECT_EQ(Hex(rig.link.ResponseData()), "FF FF FF FF FF FF FF");
  EXPECT_TRUE(rig.Reports().empty());
}

TEST(OpenDevice, ReopeningAndInvalidatingLeaveNoHandleOpen) {
  SimulatedRig rig;
  rig.backend.AddDevice({"other", 0x046D, 0xC077, HidCaps{4, 0, 8}});
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_TRUE(rig.OpenMouse());
  EXPECT_EQ(rig.backend.OpenHandles(), 2);  // the vendor collection and the input handle
  rig.link.InvalidateHandles();
  EXPECT_EQ(rig.backend.OpenHandles(), 0);
  EXPECT_EQ(rig.link.InputHandle(), kInvalidHandle);
}

TEST(OpenDevice, AfterARestartTheOldHandlesAreDeadUntilReopened) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  ASSERT_TRUE(rig.link.SendCommand(command::kRestart));
  EXPECT_FALSE(rig.link.SendCommand(command::kDeviceInfo));
  EXPECT_FALSE(rig.OpenMouse());
  rig.clock.Sleep(Milliseconds(5100));
  ASSERT_TRUE(rig.OpenMouse());
  EXPECT_TRUE(rig.link.SendCommand(command::kDeviceInfo));
}

// --- Counting and input ------------------------------------------------------------

TEST(CountHidInterfaces, CountsEveryOpenableInterfaceAndKeepsNoneOpen) {
  SimulatedRig rig;
  EXPECT_EQ(rig.link.CountHidInterfaces(), 3);
  const int keyboard = rig.backend.AddDevice({"keyboard", 1, 2, HidCaps{9, 2, 0}});
  rig.backend.AddDevice({"locked", 3, 4, HidCaps{}, /*can_open=*/false});
  EXPECT_EQ(rig.link.CountHidInterfaces(), 4);
  rig.backend.RemoveDevice(keyboard);
  rig.mouse.Unplug();
  EXPECT_EQ(rig.link.CountHidInterfaces(), 0);
  EXPECT_EQ(rig.backend.OpenHandles(), 0);
}

TEST(InputReports, AButtonPressArrivesWithItsTestCode) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  rig.mouse.PressButton(ButtonTest::kDpiUp);
  std::array<std::uint8_t, 4> buffer{};
  ASSERT_TRUE(rig.link.ReadInputReport(buffer));
  EXPECT_EQ(Hex(buffer), "42 00 00 02");
}

TEST(InputReports, InterruptingEndsABlockedRead) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  bool result = true;
  std::thread listener([&] {
    std::array<std::uint8_t, 4> buffer{};
    result = rig.link.ReadInputReport(buffer);
  });
  rig.backend.InterruptReads();
  listener.join();
  EXPECT_FALSE(result);
  std::array<std::uint8_t, 4> buffer{};
  EXPECT_FALSE(rig.link.ReadInputReport(buffer));
}

TEST(InputReports, UnpluggingEndsABlockedRead) {
  SimulatedRig rig;
  ASSERT_TRUE(rig.OpenMouse());
  std::atomic<bool> done = false;
  bool result = true;
  std::thread listener([&] {
    std::array<std::uint8_t, 4> buffer{};
    result = rig.link.ReadInputReport(buffer);
    done = true;
  });
  rig.mouse.Unplug();
  listener.join();
  EXPECT_TRUE(done);
  EXPECT_FALSE(result);
}

TEST(InputReports, WithoutAnInputHandleTheReadFailsAtOnce) {
  SimulatedRig rig;
  std::array<std::uint8_t, 4> buffer{};
  EXPECT_FALSE(rig.link.ReadInputReport(buffer));
}

// --- Small helpers -------------------------------------------------------------------

TEST(BitOperations, TakeTheBitNumberModuloThirtyTwo) {
  EXPECT_TRUE(TestBit(0x80, 7));
  EXPECT_FALSE(TestBit(0x80, 6));
  EXPECT_TRUE(TestBit(0x2, 33));
  EXPECT_EQ(SetBit(0x10, 0), 0x11u);
  EXPECT_EQ(SetBit(0, 31), 0x80000000u);
  EXPECT_EQ(ClearBit(0xFF, 36), 0xEFu);
}

TEST(WaitMicroseconds, BusyWaitsOnTheClock) {
  SimulatedRig rig;
  rig.link.WaitMicroseconds(1234);
  EXPECT_THAT(rig.clock.Waits(), ElementsAre(CountingClock::Wait{CountingClock::WaitKind::kBusyWait,
                                                                 Microseconds(1234)}));
}

}  // namespace
}  // namespace vrdk
