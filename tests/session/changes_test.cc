// Changes that the mouse did not take whole: what the user is told, what the
// write journal keeps, and how the next connection finishes the write.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "image/checksum.h"
#include "session/write_roads.h"
#include "support/session_rig.h"
#include "support/temp_dir.h"

namespace vrdk {
namespace {

using ::testing::HasSubstr;
using testing::SessionRig;
using testing::TempDir;

class ChangesTest : public ::testing::TestWithParam<MemoryType> {
 protected:
  void SetUp() override {
    rig_.session.SetJournal(WriteJournal(dir_.File("state"), ""));
    rig_.Connect();
  }
  bool I2C() const { return GetParam() == MemoryType::kI2C; }
  std::size_t Profile1() const { return I2C() ? 192 : 0x1018; }
  std::size_t Fire() const { return I2C() ? 484 : 0x6000; }
  std::size_t User() const { return I2C() ? 164 : 0x2000; }
  // Transfers of the profile write and its read-back.
  long ProfileWriteTransfers() const { return I2C() ? 44 : 76; }
  long Next() const { return rig_.mouse.TransferCount(); }
  std::string Record() const { return rig_.session.Journal().PathFor(0x1BCF, 0x08B8, GetParam()); }
  // Key 3 of Profile1 plays "Play / Pause" in DataBuf.
  void ChangeKey3() {
    auto code = image::KeyCode(rig_.session.Data(), 0, 2);
    code[0] = 0x03;
    code[2] = 0xCD;
  }
  std::uint8_t Key3InMemory() const { return rig_.mouse.Memory()[Profile1() + 8 + 2]; }
  // The mouse comes back and the next tick reads it.
  void Reconnect() {
    rig_.mouse.Plug();
    rig_.session.DevTimerTimer();
    ASSERT_EQ(rig_.session.Conn().state, ConnectionState::kConnected);
  }

  TempDir dir_;
  SessionRig rig_{GetParam()};
};

TEST_P(ChangesTest, AProfileWriteCutShortIsFinishedByTheJournalAtTheNextConnection) {
  ChangeKey3();
  // Cut inside Profile1, after the data report with key 3.
  rig_.mouse.SetFaults({.unplug_at_transfer = Next() + (I2C() ? 3 : 6)});
  EXPECT_FALSE(WriteRoads(rig_.session).WriteProfiles());
  ASSERT_EQ(rig_.session.Troubles().size(), 1u);
  EXPECT_THAT(rig_.session.Troubles()[0],
              HasSubstr("The mouse did not take all of the profiles. What the mouse holds now "
                        "could not be read. The write journal will finish the write at the next "
                        "connection (" +
                        Record() + ")."));
  EXPECT_TRUE(std::filesystem::exists(Record()));
  const auto cut = rig_.mouse.Memory();
  EXPECT_FALSE(image::SectionChecksumValid(std::span(cut).subspan(Profile1(), 49)));
  rig_.events.messages.clear();
  Reconnect();
  EXPECT_EQ(Key3InMemory(), 0xCD);
  const auto memory = rig_.mouse.Memory();
  EXPECT_TRUE(image::SectionChecksumValid(std::span(memory).subspan(Profile1(), 49)));
  EXPECT_FALSE(std::filesystem::exists(Record()));
  EXPECT_THAT(rig_.events.messages,
              ::testing::Contains("A write of the profiles that was cut short earlier was "
                                  "finished."));
  // The pages show what the mouse holds, and its current profile is whole.
  EXPECT_EQ(image::KeyCode(rig_.session.Data(), 0, 2)[2], 0xCD);
  EXPECT_LE(memory[User()] & 0x0F, 2);
}

TEST_P(ChangesTest, ARecordTheMemoryNoLongerFitsIsKeptAsideAndTheMouseLeftAlone) {
  JournalRecord record;
  record.vendor_id = 0x1BCF;
  record.product_id = 0x08B8;
  record.memory_type = GetParam();
  record.subject = WriteSubject::kCustomerCodes;
  record.ranges.push_back({false, static_cast<std::uint32_t>(Fire()), {0x01, 0x02}, {0x03, 0x04}});
  ASSERT_TRUE(rig_.session.Journal().Save(record).ok());
  const auto before = rig_.mouse.Memory();
  rig_.events.messages.clear();
  rig_.mouse.Unplug();
  rig_.session.DevTimerTimer();
  Reconnect();
  EXPECT_EQ(rig_.mouse.Memory(), before);
  EXPECT_FALSE(std::filesystem::exists(Record()));
  EXPECT_TRUE(std::filesystem::exists(Record() + ".kept-1"));
  EXPECT_THAT(rig_.events.messages,
              ::testing::Contains(HasSubstr("so it was left alone. The record is kept in " +
                                            Record() + ".kept-1")));
}

TEST_P(ChangesTest, TheProfileByteGoesBackWhenTheReloadTriggerIsNotTaken) {
  ChangeKey3();
  // Every try of the 0x0F trigger fails; the profile byte is still written.
  rig_.mouse.SetFaults(
      {.fail_command_from = Next() + ProfileWriteTransfers() + 5, .fail_command_count = 3});
  EXPECT_FALSE(WriteRoads(rig_.session).WriteProfiles());
  EXPECT_EQ(rig_.CountSent("> 40 05 00 A4 0F"), 3);
  EXPECT_EQ(rig_.mouse.Live()[164], rig_.session.Data()[164]);
  EXPECT_NE(rig_.mouse.Live()[164], 0x0F);
  ASSERT_EQ(rig_.session.Troubles().size(), 1u);
  EXPECT_THAT(rig_.session.Troubles()[0], HasSubstr("not the profile reload"));
  // The journal does the reload at the next connection.
  EXPECT_TRUE(std::filesystem::exists(Record()));
  rig_.mouse.Unplug();
  rig_.session.DevTimerTimer();
  rig_.mouse.ClearTranscript();
  Reconnect();
  EXPECT_EQ(rig_.CountSent("> 40 05 00 A4 0F"), 1);
  EXPECT_FALSE(std::filesystem::exists(Record()));
}

TEST_P(ChangesTest, AWriteTheMouseNeverTakesSaysWhichPartsKeepTheirOldContent) {
  ChangeKey3();
  image::Fire(rig_.session.Data())[2] = 0x09;
  // The profiles go whole; the mouse takes the Fire section's data reports
  // but never keeps them.
  rig_.mouse.SetFaults({.forget_data_report_from = Next() + ProfileWriteTransfers(),
                        .forget_data_report_count = 1000});
  EXPECT_FALSE(WriteRoads(rig_.session).WriteProfilesAndIdentity());
  ASSERT_EQ(rig_.session.Troubles().size(), 1u);
  EXPECT_THAT(rig_.session.Troubles()[0],
              HasSubstr("The mouse did not take all of the profiles and the fire keys. These "
                        "parts hold the new content: Profile1. These parts keep their old "
                        "content: Fire. The write journal will finish"));
  EXPECT_EQ(Key3InMemory(), 0xCD);
  EXPECT_NE(rig_.mouse.Memory()[Fire() + 2], 0x09);
  // Nothing after the failed write is sent: no profile reload.
  EXPECT_EQ(rig_.CountSent("> 40 05 00 A4"), 0);
}

TEST_P(ChangesTest, AWriteTheMouseNeverStartsChangesNothingAndLeavesNoRecord) {
  ChangeKey3();
  rig_.mouse.SetFaults({.fail_command_from = Next(), .fail_command_count = 3});
  EXPECT_FALSE(WriteRoads(rig_.session).WriteProfiles());
  EXPECT_THAT(rig_.session.Troubles().at(0),
              ::testing::EndsWith("did not take all of the profiles. Nothing was changed."));
  EXPECT_FALSE(std::filesystem::exists(Record()));
}

TEST_P(ChangesTest, APendingRecordIsFinishedBeforeTheNextChange) {
  ChangeKey3();
  // Data reports fail from the sixth on, at every try: Profile1 is left
  // half written, key 3 new and its checksum old, and the mouse stays.
  rig_.mouse.SetFaults({.fail_data_report_from = Next() + 6, .fail_data_report_count = 1000});
  EXPECT_FALSE(WriteRoads(rig_.session).WriteProfiles());
  EXPECT_THAT(rig_.session.Troubles().at(0), HasSubstr("damaged"));
  ASSERT_TRUE(std::filesystem::exists(Record()));
  rig_.mouse.SetFaults({});
  image::Fire(rig_.session.Data())[2] = 0x0A;
  EXPECT_TRUE(WriteRoads(rig_.session).WriteProfilesAndIdentity());
  EXPECT_EQ(Key3InMemory(), 0xCD);
  EXPECT_EQ(rig_.mouse.Memory()[Fire() + 2], 0x0A);
  EXPECT_FALSE(std::filesystem::exists(Record()));
}

TEST_P(ChangesTest, NothingIsSentWhenTheJournalCannotBeRecorded) {
  TempDir::Write(dir_.File("file"), {1});
  rig_.session.SetJournal(WriteJournal(dir_.File("file") + "/state", ""));
  ChangeKey3();
  EXPECT_FALSE(WriteRoads(rig_.session).WriteProfiles());
  EXPECT_EQ(rig_.CountWrites(), 0);
  EXPECT_THAT(rig_.session.Troubles().at(0), HasSubstr("The write journal could not be recorded"));
  // A single live field is one report: it needs no record.
  EXPECT_TRUE(WriteRoads(rig_.session).WriteLiveField(43, 4));
}

TEST_P(ChangesTest, ALiveFieldTheMouseDoesNotTakeSaysWhatItHolds) {
  const std::uint8_t held = rig_.mouse.Live()[43];
  rig_.mouse.SetFaults({.fail_command_from = Next(), .fail_command_count = 3});
  EXPECT_FALSE(WriteRoads(rig_.session).WriteLiveField(43, 4));
  char text[8];
  std::snprintf(text, sizeof text, "%02X", held);
  EXPECT_EQ(
      rig_.session.Troubles().at(0),
      std::string("The mouse did not take the setting at live address 43; it holds ") + text + ".");
  // The next tick reads the mouse again, so the pages show what it holds.
  EXPECT_TRUE(rig_.session.Conn().search_again);
}

INSTANTIATE_TEST_SUITE_P(BothMemories, ChangesTest,
                         ::testing::Values(MemoryType::kI2C, MemoryType::kFlash),
                         [](const auto& test) { return std::string(MemoryTypeName(test.param)); });

}  // namespace
}  // namespace vrdk
