// The write journal's records: their text, how one is judged against the
// memory a connection read, and the files.

#include "session/write_journal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "image/checksum.h"
#include "simulator/simulated_mouse.h"
#include "support/temp_dir.h"

namespace vrdk {
namespace {

using ::testing::HasSubstr;
using testing::TempDir;

JournalRecord ProfileRecord() {
  JournalRecord record;
  record.vendor_id = 0x1BCF;
  record.product_id = 0x08B8;
  record.memory_type = MemoryType::kI2C;
  record.subject = WriteSubject::kProfiles;
  record.then = AfterWrite::kReloadProfile;
  record.profile_byte = 0x01;
  const auto memory = SimulatedMouse::FactoryMemory(MemoryType::kI2C);
  JournalRange range{false, 192, {memory.begin() + 192, memory.begin() + 339}, {}};
  range.new_bytes = range.old_bytes;
  range.new_bytes[8 + 2] = 0xCD;  // key 3 of Profile1
  range.new_bytes[48] = image::SectionChecksum(std::span(range.new_bytes).first(49));
  record.ranges.push_back(range);
  record.ranges.push_back({true, 166, {0x02}, {0x01}});
  return record;
}

TEST(JournalRecordText, ReadsBackAsItWasWritten) {
  const JournalRecord record = ProfileRecord();
  const std::string text = EncodeJournalRecord(record);
  EXPECT_THAT(text, HasSubstr("vrdk-write-journal 1\nmouse 1BCF:08B8 I2C\nwhat profiles\n"
                              "then reload 01\nrange 192 147\nold 0101"));
  EXPECT_THAT(text, HasSubstr("\nlive 166 1\nold 02\nnew 01\n"));
  const auto decoded = DecodeJournalRecord(text);
  ASSERT_TRUE(decoded.ok()) << decoded.message();
  EXPECT_EQ(decoded.value(), record);
  JournalRecord whole = record;
  whole.memory_type = MemoryType::kFlash;
  whole.subject = WriteSubject::kWholeMemory;
  whole.then = AfterWrite::kRestart;
  whole.profile_byte = 0;
  whole.ranges[0].address = 0xF800;
  EXPECT_EQ(DecodeJournalRecord(EncodeJournalRecord(whole)).value(), whole);
}

TEST(JournalRecordText, WhatIsNotAWholeRecordIsRefusedWithItsReason) {
  const std::string good = EncodeJournalRecord(ProfileRecord());
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "not a write journal record"},
      {replaced("journal 1", "journal 2"), "not a write journal record"},
      {replaced("1BCF:08B8", "1BCF-08B8"), "name the mouse"},
      {replaced("what profiles", "what everything"), "say what was written"},
      {replaced("reload 01", "reload 1"), "what follows"},
      {replaced("range 192 147", "range 2000 147"), "inside the memory"},
      {replaced("live 166 1", "live 191 2"), "inside the memory"},
      {replaced("old 02", "old 0"), "not whole"},
      {replaced("new 01\n", "new 0102\n"), "not whole"},
      {good + "range 0 1\n", "not whole"},
      {good + "\nx\n", "follows the last range"},
  };
  for (const auto& [text, reason] : cases) {
    const auto decoded = DecodeJournalRecord(text);
    EXPECT_FALSE(decoded.ok()) << text;
    EXPECT_THAT(decoded.message(), HasSubstr(reason)) << text;
  }
}

class JudgeTest : public ::testing::Test {
 protected:
  JournalRecord record_ = ProfileRecord();
  std::vector<std::uint8_t> memory_ = SimulatedMouse::FactoryMemory(MemoryType::kI2C);
  void PutNew(std::size_t from, std::size_t to) {
    const JournalRange& range = record_.ranges[0];
    std::copy(range.new_bytes.begin() + static_cast<long>(from),
              range.new_bytes.begin() + static_cast<long>(to),
              memory_.begin() + 192 + static_cast<long>(from));
  }
};

TEST_F(JudgeTest, MemoryOfOldOrNewBytesIsFinished) {
  EXPECT_EQ(JudgeJournalRecord(record_, memory_), JournalVerdict::kFinish);  // nothing written
  PutNew(0, 147);
  EXPECT_EQ(JudgeJournalRecord(record_, memory_), JournalVerdict::kFinish);  // all written
  memory_ = SimulatedMouse::FactoryMemory(MemoryType::kI2C);
  PutNew(0, 20);  // cut inside Profile1: its checksum is old
  EXPECT_EQ(JudgeJournalRecord(record_, memory_), JournalVerdict::kFinish);
}

TEST_F(JudgeTest, ADamagedSectionIsNotComparedButOtherChangesMakeTheMemoryForeign) {
  memory_[192 + 4] = 0x99;  // neither old nor new, and Profile1's checksum fails
  EXPECT_EQ(JudgeJournalRecord(record_, memory_), JournalVerdict::kFinish);
  // A Profile2 rewritten whole by someone else (checksum right) is foreign.
  memory_ = SimulatedMouse::FactoryMemory(MemoryType::kI2C);
  memory_[241 + 4] ^= 0x01;
  memory_[241 + 48] = image::SectionChecksum(std::span(memory_).subspan(241, 49));
  EXPECT_EQ(JudgeJournalRecord(record_, memory_), JournalVerdict::kForeign);
}

TEST_F(JudgeTest, LiveRangesAreJudgedByTheMemoryTheyAreKeptInButNotTheirChecksums) {
  JournalRecord record = record_;
  record.ranges = {{true, 164, {0x01, 0x84}, {0x02, 0x84}}, {true, 191, {0xEC}, {0xED}}};
  memory_[164] = 0x02;
  memory_[191] = 0x12;  // the mouse's own checksum
  EXPECT_EQ(JudgeJournalRecord(record, memory_), JournalVerdict::kFinish);
  memory_[165] = 0x05;
  EXPECT_EQ(JudgeJournalRecord(record, memory_), JournalVerdict::kForeign);
  // "Flash" keeps the User section at 0x2000.
  record.memory_type = MemoryType::kFlash;
  auto flash = SimulatedMouse::FactoryMemory(MemoryType::kFlash);
  flash[0x2000] = 0x77;
  EXPECT_EQ(JudgeJournalRecord(record, flash), JournalVerdict::kForeign);
  flash[0x2000] = 0x02;
  EXPECT_EQ(JudgeJournalRecord(record, flash), JournalVerdict::kFinish);
}

TEST(JournalFiles, ARecordIsSavedLoadedRemovedAndKeptAside) {
  TempDir dir;
  const WriteJournal journal(dir.File("state"), "mouse.bin.");
  EXPECT_FALSE(journal.Load(0x1BCF, 0x08B8, MemoryType::kI2C).present);
  const JournalRecord record = ProfileRecord();
  ASSERT_TRUE(journal.Save(record).ok());  // the folder is made
  const std::string path = journal.PathFor(0x1BCF, 0x08B8, MemoryType::kI2C);
  EXPECT_EQ(
      path,
      (std::filesystem::path(dir.File("state")) / "mouse.bin.1BCF-08B8-I2C.journal").string());
  const auto loaded = journal.Load(0x1BCF, 0x08B8, MemoryType::kI2C);
  ASSERT_TRUE(loaded.record.ok()) << loaded.record.message();
  EXPECT_EQ(loaded.record.value(), record);
  // Another memory type of the same ids is another mouse.
  EXPECT_FALSE(journal.Load(0x1BCF, 0x08B8, MemoryType::kFlash).present);
  EXPECT_EQ(journal.KeepAside(0x1BCF, 0x08B8, MemoryType::kI2C), path + ".kept-1");
  EXPECT_FALSE(journal.Load(0x1BCF, 0x08B8, MemoryType::kI2C).present);
  ASSERT_TRUE(journal.Save(record).ok());
  EXPECT_EQ(journal.KeepAside(0x1BCF, 0x08B8, MemoryType::kI2C), path + ".kept-2");
  ASSERT_TRUE(journal.Save(record).ok());
  EXPECT_TRUE(journal.Remove(0x1BCF, 0x08B8, MemoryType::kI2C));
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(JournalFiles, ADamagedOrForeignFileIsPresentButNoRecord) {
  TempDir dir;
  const WriteJournal journal(dir.File(""), "");
  const std::string path = journal.PathFor(0x1BCF, 0x08B8, MemoryType::kI2C);
  TempDir::Write(path, {'x'});
  auto loaded = journal.Load(0x1BCF, 0x08B8, MemoryType::kI2C);
  EXPECT_TRUE(loaded.present);
  EXPECT_FALSE(loaded.record.ok());
  JournalRecord other = ProfileRecord();
  other.product_id = 0x1234;
  const std::string text = EncodeJournalRecord(other);
  TempDir::Write(path, std::vector<std::uint8_t>(text.begin(), text.end()));
  loaded = journal.Load(0x1BCF, 0x08B8, MemoryType::kI2C);
  EXPECT_FALSE(loaded.record.ok());
  EXPECT_THAT(loaded.record.message(), HasSubstr("another mouse"));
}

TEST(JournalFiles, AFolderThatCannotBeMadeIsAReasonNotACrash) {
  TempDir dir;
  TempDir::Write(dir.File("file"), {1});
  const WriteJournal journal(dir.File("file") + "/below", "");
  const auto error = journal.Save(ProfileRecord());
  ASSERT_FALSE(error.ok());
  EXPECT_THAT(error.message(), HasSubstr("below"));
  EXPECT_TRUE(WriteJournal().Save(ProfileRecord()).ok());  // no folder: nothing recorded
}

}  // namespace
}  // namespace vrdk
