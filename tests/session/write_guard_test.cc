// What keeps the core from writing where nothing may be written: a mouse that
// was not accepted, a mouse that left, a read that lost reports, a transfer
// that would start inside another.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "session/image_writes.h"
#include "session/session.h"
#include "session/write_roads.h"
#include "support/session_rig.h"
#include "support/temp_dir.h"
#include "tables/own_texts.h"

namespace vrdk {
namespace {

using ::testing::ElementsAre;
using testing::SessionRig;
using testing::TempDir;

std::string Name(const ::testing::TestParamInfo<MemoryType>& info) {
  return std::string(MemoryTypeName(info.param));
}

std::size_t FireAddress(MemoryType type) {
  return type == MemoryType::kI2C ? image::i2c::kFire : image::flash::kFire;
}

const std::vector<std::uint8_t> kOldFile(2048, 0x5A);

// --- Saving -------------------------------------------------------------------------

class SaveTest : public ::testing::TestWithParam<MemoryType> {
 protected:
  MemoryType Type() const { return GetParam(); }
  void SetUp() override {
    rig_.Connect();
    TempDir::Write(path_, kOldFile);
  }
  // The fresh read of the save starts with its first transfer from now.
  long ReadStart() const { return rig_.mouse.TransferCount(); }

  SessionRig rig_{GetParam()};
  TempDir dir_;
  std::string path_ = dir_.File("backup.bin");
};

TEST_P(SaveTest, OneLostAnswerInTheFreshReadIsReadAgainAndSaved) {
  SimulatedFaults faults;
  faults.drop_answer_from = ReadStart() + 40;
  rig_.mouse.SetFaults(faults);
  ASSERT_TRUE(ImageWrites(rig_.session).SaveProfileFile(path_).ok());
  EXPECT_EQ(TempDir::Read(path_), rig_.mouse.Memory());
  EXPECT_TRUE(rig_.events.messages.empty());
}

TEST_P(SaveTest, AnswersLostAtEveryTryKeepTheOldFileAndTheMouseIsReadAgainLater) {
  SimulatedFaults faults;
  faults.drop_answer_from = ReadStart() + 40;
  faults.drop_answer_count = 1000;  // through all three tries
  rig_.mouse.SetFaults(faults);
  const Result<void> outcome = ImageWrites(rig_.session).SaveProfileFile(path_);
  EXPECT_TRUE(outcome.Is(ErrorKind::kDeviceFailed));
  EXPECT_TRUE(outcome.error().shown);
  ASSERT_EQ(rig_.events.messages.size(), 2u);
  EXPECT_THAT(rig_.events.messages[0], ::testing::HasSubstr("could not be read whole"));
  EXPECT_EQ(rig_.events.messages[1], OwnTextFor(OwnText::kSaveReadDamaged, 1));
  EXPECT_EQ(TempDir::Read(path_), kOldFile);
  // Nothing read in part is shown or written to: the no-device state, until
  // the next tick reads the mouse again.
  EXPECT_EQ(rig_.session.Conn().state, ConnectionState::kNoDevice);
  EXPECT_TRUE(rig_.session.Conn().read_failed);
  rig_.mouse.SetFaults({});
  rig_.session.DevTimerTimer();
  EXPECT_EQ(rig_.session.Conn().state, ConnectionState::kConnected);
}

TEST_P(SaveTest, AMouseLeavingDuringTheFreshReadKeepsTheOldFileAndClosesItsHandles) {
  SimulatedFaults faults;
  faults.unplug_at_transfer = ReadStart() + 100;
  rig_.mouse.SetFaults(faults);
  const Result<void> outcome = ImageWrites(rig_.session).SaveProfileFile(path_);
  EXPECT_TRUE(outcome.Is(ErrorKind::kDeviceFailed));
  EXPECT_THAT(rig_.events.messages, ElementsAre(OwnTextFor(OwnText::kSaveReadLost, 1)));
  EXPECT_EQ(TempDir::Read(path_), kOldFile);
  EXPECT_EQ(rig_.session.Conn().state, ConnectionState::kNoDevice);
  EXPECT_FALSE(rig_.session.Link().IsOpen());
  EXPECT_EQ(rig_.session.Link().InputHandle(), kInvalidHandle);
}

TEST_P(SaveTest, AnUnplugBeforeTheNextTickSavesNothingAndTheNextSaveAsksForTheMouse) {
  rig_.mouse.Unplug();
  EXPECT_TRUE(ImageWrites(rig_.session).SaveProfileFile(path_).Is(ErrorKind::kDeviceFailed));
  EXPECT_EQ(TempDir::Read(path_), kOldFile);
  // The lost mouse's handles went at once: no second read is even tried.
  rig_.mouse.ClearTranscript();
  EXPECT_TRUE(ImageWrites(rig_.session).SaveProfileFile(path_).Is(ErrorKind::kNoMouse));
  EXPECT_TRUE(rig_.Reports().empty());
  EXPECT_EQ(rig_.events.messages.back(), "Str022");
  EXPECT_EQ(TempDir::Read(path_), kOldFile);
}

INSTANTIATE_TEST_SUITE_P(BothMemories, SaveTest,
                         ::testing::Values(MemoryType::kI2C, MemoryType::kFlash), Name);

// --- Mice that may not be written ---------------------------------------------------

// Every road that writes to the mouse, as the window's buttons call them.
struct Road {
  const char* name;
  std::function<void(Session&, const std::string& file)> run;
};

const Road kRoads[] = {
    {"Reset", [](Session& s, const std::string&) { ImageWrites(s).ConfirmClick(1); }},
    {"ConfirmTwo",
     [](Session& s, const std::string&) { ImageWrites(s).DefaultParameterConfirm(2); }},
    {"LoadProfile", [](Session& s, const std::string& f) { ImageWrites(s).LoadProfileFile(f); }},
    {"MemoToDataBuf", [](Session& s, const std::string&) { ImageWrites(s).WriteLoadedImage(); }},
    {"RestoreDefaults",
     [](Session& s, const std::string&) { ImageWrites(s).TLDefaultParameter(); }},
    {"SaveProfile", [](Session& s, const std::string& f) { ImageWrites(s).SaveProfileFile(f); }},
    {"WriteProfiles", [](Session& s, const std::string&) { WriteRoads(s).WriteProfiles(); }},
    {"WriteVendor", [](Session& s, const std::string&) { WriteRoads(s).WriteVendorSection(); }},
    {"LiveField", [](Session& s, const std::string&) { WriteRoads(s).WriteLiveField(170, 1); }},
};

struct Refused {
  const char* name;
  MemoryType build;
  std::function<SimulatedMouseConfig()> mouse;
};

SimulatedMouseConfig WithCustomerCodes(MemoryType type, std::uint8_t vendor, std::uint8_t product) {
  auto config = testing::MouseFor(type);
  config.memory[FireAddress(type)] = vendor;
  config.memory[FireAddress(type) + 1] = product;
  return config;
}

const Refused kRefusedMice[] = {
    {"ForeignCodesI2C", MemoryType::kI2C,
     [] { return WithCustomerCodes(MemoryType::kI2C, 0x12, 0x34); }},
    {"ForeignCodesFlash", MemoryType::kFlash,
     [] { return WithCustomerCodes(MemoryType::kFlash, 0x12, 0x34); }},
    {"FlashMouseInI2CBuild", MemoryType::kI2C,
     [] { return testing::MouseFor(MemoryType::kFlash); }},
    {"I2CMouseInFlashBuild", MemoryType::kFlash,
     [] { return testing::MouseFor(MemoryType::kI2C); }},
};

class RefusedMouseTest : public ::testing::TestWithParam<std::tuple<Refused, Road>> {};

TEST_P(RefusedMouseTest, GetsNothingAndStaysUnaccepted) {
  const auto& [refused, road] = GetParam();
  SessionRig rig(refused.build, refused.mouse());
  rig.Connect();
  ASSERT_TRUE(rig.session.Link().IsOpen());  // opened, then not accepted
  ASSERT_NE(rig.session.Conn().state, ConnectionState::kConnected);
  TempDir dir;
  const auto file = dir.File("profile.bin");
  TempDir::Write(file, testing::MouseFor(refused.build).memory);
  const auto memory = rig.mouse.Memory();
  const auto data = rig.session.Data();

  road.run(rig.session, file);
  EXPECT_EQ(rig.CountWrites(), 0);
  EXPECT_EQ(rig.CountSent("> 40 09"), 0) << "a refused mouse is not read either";
  EXPECT_EQ(rig.mouse.Memory(), memory);
  EXPECT_EQ(rig.session.Data(), data);
  EXPECT_NE(rig.session.Conn().state, ConnectionState::kConnected);
  // And whatever the road did, a later profile write still gets nothing.
  WriteRoads(rig.session).WriteProfiles();
  EXPECT_EQ(rig.CountWrites(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryRoad, RefusedMouseTest,
                         ::testing::Combine(::testing::ValuesIn(kRefusedMice),
                                            ::testing::ValuesIn(kRoads)),
                         [](const auto& test) {
                           return std::string(std::get<0>(test.param).name) + "_" +
                                  std::get<1>(test.param).name;
                         });

TEST(NoMouse, RestoreDefaultsDoesNothingAtAll) {
  SessionRig rig(MemoryType::kI2C);
  const auto data = rig.session.Data();
  const Result<void> outcome = ImageWrites(rig.session).TLDefaultParameter();
  EXPECT_TRUE(outcome.Is(ErrorKind::kNoMouse));
  EXPECT_EQ(rig.session.Data(), data);
  EXPECT_EQ(rig.clock.TotalSlept(), Milliseconds(0));
  EXPECT_TRUE(rig.Reports().empty());
}

// --- A mouse the user may not open -------------------------------------------------

TEST(AccessDenied, TheSearchEndsInTheNoDeviceStateNamingTheInterface) {
  SessionRig rig(MemoryType::kI2C);
  rig.backend.SetMouseAccessDenied(true);
  rig.session.DevTimerTimer();
  const Connection& conn = rig.session.Conn();
  EXPECT_EQ(conn.state, ConnectionState::kNoDevice);
  ASSERT_TRUE(conn.access_denied.has_value());
  EXPECT_EQ(conn.access_denied->path, "sim:mouse/2");
  EXPECT_THAT(conn.access_denied->reason, ::testing::HasSubstr("Permission denied"));
  EXPECT_FALSE(rig.session.Link().IsOpen());
  // Once the user may (the rule installed, the mouse plugged in again), the
  // next change of the bus finds it and the note goes.
  rig.backend.SetMouseAccessDenied(false);
  rig.mouse.Unplug();
  rig.session.DevTimerTimer();
  rig.mouse.Plug();
  rig.session.DevTimerTimer();
  EXPECT_EQ(conn.state, ConnectionState::kConnected);
  EXPECT_FALSE(conn.access_denied.has_value());
}

// --- The live read-back of a profile write -------------------------------------------

TEST(ProfileReload, ALostLiveAnswerKeepsTheUserSectionAndReloadsTheProfileShown) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  const auto user = image::User(rig.session.Data());
  const std::vector<std::uint8_t> before(user.begin(), user.end());
  // The profile block is 1 command and 21 data reports; the live read-back
  // command follows, then its first answer is lost.
  SimulatedFaults faults;
  faults.drop_answer_from = rig.mouse.TransferCount() + 23;
  rig.mouse.SetFaults(faults);
  ASSERT_TRUE(WriteRoads(rig.session).WriteProfiles());
  const auto after = image::User(rig.session.Data());
  EXPECT_EQ(std::vector<std::uint8_t>(after.begin(), after.end()), before);
  const auto reports = rig.Reports();
  ASSERT_GE(reports.size(), 2u);
  // The second reload write carries the profile byte, not 0xFF.
  char expected[40];
  std::snprintf(expected, sizeof expected, "> 40 05 00 A4 %02X 00 00 01", before[0]);
  EXPECT_EQ(reports.back(), expected);
}

// --- One transfer at a time ------------------------------------------------------------

TEST(ReEntry, AClickWhileAProfileWriteBreathesSendsNothing) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  rig.events.busy_changes.clear();
  bool nested = true;
  Refusal refusal = Refusal::kNone;
  rig.clock.on_pump = [&] {
    refusal = rig.session.CheckAccess();
    nested = WriteRoads(rig.session).WriteProfiles();
  };
  ASSERT_TRUE(WriteRoads(rig.session).WriteProfiles());
  EXPECT_FALSE(nested);
  EXPECT_EQ(refusal, Refusal::kBusy);
  EXPECT_EQ(rig.CountSent("> 40 07"), 1);
  EXPECT_EQ(rig.CountSent("> 40 06"), 1);
  EXPECT_THAT(rig.events.busy_changes, ElementsAre(true, false));
}

TEST(ReEntry, RawTransfersAskedForWhileAReadBreathesAreRefused) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  bool sent = true;
  rig.clock.on_pump = [&] {
    std::array<std::uint8_t, 1> byte{};
    sent = rig.session.Link().SendCommand(command::kRestart) ||
           rig.session.Link().ReadLive(0, 1, byte);
  };
  EXPECT_EQ(rig.session.Btn_Read(), ReadResult::kComplete);
  EXPECT_FALSE(sent);
  EXPECT_EQ(rig.CountSent("> 40 0E"), 0);
  EXPECT_EQ(rig.CountSent("> 40 06"), 0);
}

TEST(ReEntry, ATickDuringTheSettleWaitOfAnotherTickDoesNothing) {
  SessionRig rig(MemoryType::kI2C);
  rig.mouse.Unplug();
  rig.session.DevTimerTimer();
  rig.mouse.Plug();  // an arrival: the next tick settles
  rig.clock.on_pump = [&] {
    rig.session.Conn().timer_busy = false;  // even past the timer's own guard
    rig.session.DevTimerTimer();
  };
  rig.session.DevTimerTimer();
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kConnected);
  EXPECT_EQ(rig.CountSent("> 40 09"), 2);  // the Fire section and the image, once
  EXPECT_EQ(rig.clock.TotalSlept(), Milliseconds(2100));
}

TEST(ReEntry, AnInputReportDuringATransferIsReadBackAfterIt) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  rig.clock.on_pump = [&] {
    rig.session.HandleInputReport({kInputReportId, 0, 0, 0});
    EXPECT_EQ(rig.CountSent("> 40 06 00 16"), 0) << "no read inside the write";
  };
  ASSERT_TRUE(WriteRoads(rig.session).WriteProfiles());
  // Once the write is over, the reads the report asks for follow.
  const auto reports = rig.Reports();
  EXPECT_EQ(rig.CountSent("> 40 06 00 16"), 1);
  EXPECT_EQ(rig.CountSent("> 40 06 00 18"), 1);
  EXPECT_EQ(reports.back().rfind("< 41", 0), 0u);
}

}  // namespace
}  // namespace vrdk
