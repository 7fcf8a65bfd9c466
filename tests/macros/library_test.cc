// The macro library file: first start, names, the 99/100 limits, delete,
// single and whole imports and exports, and saves that fail.

#include "macros/macro_library.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vrdk::macros {
namespace {

using ::testing::ElementsAre;
using Kind = ErrorKind;
using testing::TempDir;

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(library.Load(path).ok()); }
  void Fill(int count) {
    for (int i = 0; i < count; ++i) {
      std::u16string name(u"M");
      name.push_back(static_cast<char16_t>(0x100 + i));
      ASSERT_TRUE(library.New(name).ok());
    }
  }
  TempDir dir;
  std::string path = dir.File("data/Macro.bin");
  MacroLibrary library;
};

TEST_F(LibraryTest, FirstStartCreatesTheFileWith27200ZeroBytes) {
  const auto bytes = TempDir::Read(path);
  EXPECT_EQ(bytes.size(), 27200u);
  EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(library.Count(), 0);
}

TEST_F(LibraryTest, ANewMacroIsWrittenAtItsRecordHighByteFirst) {
  ASSERT_TRUE(library.New(u"Ab").ok());
  ASSERT_TRUE(library.New(u"Cd").ok());
  const auto bytes = TempDir::Read(path);
  EXPECT_THAT(std::vector<std::uint8_t>(bytes.begin() + 272, bytes.begin() + 276),
              ElementsAre(0x00, 'C', 0x00, 'd'));
  MacroLibrary reloaded;
  ASSERT_TRUE(reloaded.Load(path).ok());
  EXPECT_THAT(reloaded.Names(), ElementsAre(u"Ab", u"Cd"));
}

TEST_F(LibraryTest, DuplicateNamesAreRefusedAndRenamingToItsOwnNameToo) {
  ASSERT_TRUE(library.New(u"Ab").ok());
  EXPECT_TRUE(library.New(u"Ab").Is(Kind::kDuplicate));
  EXPECT_TRUE(library.Rename(0, u"Ab").Is(Kind::kDuplicate));
  EXPECT_TRUE(library.New(u"").Is(Kind::kBadName));
  EXPECT_TRUE(library.New(u"NineChars").Is(Kind::kBadName));
  EXPECT_TRUE(library.Rename(0, u"Xy").ok());
  EXPECT_THAT(library.Names(), ElementsAre(u"Xy"));
}

TEST_F(LibraryTest, NamesTheMouseWouldReadAsAFreePlaceAreRefused) {
  // A first unit with a byte 0xFF ends the list of an "I2C" mouse there;
  // U+FFFF is a free "Flash" slot.
  for (const std::u16string name : {u"\u4EFF", u"\u00FFab", u"\uFF21", u"\uFFFF"}) {
    const auto outcome = library.New(name);
    EXPECT_TRUE(outcome.Is(Kind::kBadName));
    EXPECT_THAT(outcome.message(), ::testing::HasSubstr("free"));
  }
  ASSERT_TRUE(library.New(u"A\u4EFF").ok());
  EXPECT_TRUE(library.Rename(0, u"\u4EFF").Is(Kind::kBadName));
  const std::string single = dir.File("one.bin");
  std::vector<std::uint8_t> record(272, 0);
  record[0] = 0x4E;
  record[1] = 0xFF;
  TempDir::Write(single, record);
  EXPECT_TRUE(library.ImportOne(single).Is(Kind::kBadName));
  EXPECT_THAT(library.Names(), ElementsAre(u"A\u4EFF"));
}

TEST_F(LibraryTest, TheNameDialogLearnsWhatANameWouldBeRefusedForBeforeItSubmits) {
  Fill(2);
  const auto names = library.Names();
  EXPECT_TRUE(library.CheckNewName(names[0]).Is(Kind::kDuplicate));
  EXPECT_TRUE(library.CheckNewName(u"\u4EFF").Is(Kind::kBadName));
  EXPECT_TRUE(library.CheckNewName(u"NineChars").Is(Kind::kBadName));
  EXPECT_TRUE(library.CheckNewName(u"Fresh").ok());
  EXPECT_TRUE(library.CheckRename(1, names[1]).Is(Kind::kDuplicate));
  EXPECT_TRUE(library.CheckRename(2, u"Fresh").Is(Kind::kNoSuchMacro));
  EXPECT_TRUE(library.CheckRename(1, u"Fresh").ok());
  // Checking changes nothing.
  EXPECT_EQ(library.Names(), names);
  for (int i = 0; i < 98; ++i) {
    const char16_t name[] = {u'N', static_cast<char16_t>(0x100 + i), 0};
    ASSERT_TRUE(library.New(name).ok());
  }
  EXPECT_TRUE(library.CheckNewName(u"Fresh").Is(Kind::kFull));
}

TEST_F(LibraryTest, TheListIsToldWhatToSelectAfterEachSavedChange) {
  std::vector<std::optional<int>> selections;
  library.SetChangeListener(
      [&](const MacroListChange& change) { selections.push_back(change.select); });
  Fill(3);
  ASSERT_TRUE(library.Rename(2, u"Z").ok());
  ASSERT_TRUE(library.Delete(0).ok());
  ASSERT_TRUE(library.Delete(1).ok());
  library.FailNextSaveAt(files::FailAt::kRename);
  EXPECT_FALSE(library.Delete(0).ok());
  ASSERT_TRUE(library.Delete(0).ok());
  EXPECT_THAT(selections, ElementsAre(0, 1, 2, 2, 0, 0, std::nullopt));
}

TEST_F(LibraryTest, AHundredthMacroIsTheLastAndImportOneStopsAt99) {
  Fill(99);
  const std::string single = dir.File("one.bin");
  std::vector<std::uint8_t> record(272, 0);
  record[1] = 'Q';
  TempDir::Write(single, record);
  EXPECT_TRUE(library.ImportOne(single).Is(Kind::kFull));
  EXPECT_FALSE(library.Full());  // New still has room for the hundredth
  EXPECT_TRUE(library.New(u"Full").ok());
  EXPECT_EQ(library.Count(), 100);
  EXPECT_TRUE(library.Full());
  EXPECT_TRUE(library.New(u"More").Is(Kind::kFull));
}

TEST_F(LibraryTest, DeletingRecordZeroMovesTheOthersDown) {
  Fill(3);
  ASSERT_TRUE(library.SetLines(2, {"00", "8 FC"}).ok());
  ASSERT_TRUE(library.Delete(0).ok());
  EXPECT_EQ(library.Count(), 2);
  EXPECT_EQ(library.Records()[1].events[0], 0xFC);
  EXPECT_FALSE(library.Records()[2].InUse());
}

TEST_F(LibraryTest, AnExportedMacroIsADuplicateWhileItIsInTheLibrary) {
  Fill(1);
  ASSERT_TRUE(library.SetLines(0, {"00", "1 A CODE:8204", "2 A CODE:0204"}).ok());
  const std::string single = dir.File("one.bin");
  ASSERT_TRUE(library.ExportOne(0, single).ok());
  EXPECT_EQ(TempDir::Read(single).size(), 272u);
  EXPECT_TRUE(library.ImportOne(single).Is(Kind::kDuplicate));
  ASSERT_TRUE(library.Delete(0).ok());
  ASSERT_TRUE(library.ImportOne(single).ok());
  EXPECT_THAT(library.Lines(0)->lines, ElementsAre("00", "1 A CODE:8204", "2 A CODE:0204"));
}

TEST_F(LibraryTest, ImportAllReplacesEveryRecordAndAShortFileOnlyThoseItReaches) {
  Fill(2);
  std::vector<std::uint8_t> short_file(272, 0);
  short_file[1] = 'Z';
  const std::string file = dir.File("all.bin");
  TempDir::Write(file, short_file);
  ASSERT_TRUE(library.ImportAll(file).ok());
  EXPECT_EQ(library.Names()[0], u"Z");
  EXPECT_EQ(library.Count(), 2);
}

TEST_F(LibraryTest, EventsPastTheRecordAreRefusedAndTheLastGoodBytesKept) {
  Fill(1);
  ASSERT_TRUE(library.SetLines(0, {"00", "8 FC"}).ok());
  MacroText lines = {"00"};
  for (int i = 0; i < 86; ++i) lines.push_back("0 7");
  EXPECT_TRUE(library.SetLines(0, lines).Is(Kind::kTooLong));
  EXPECT_EQ(library.Records()[0].events[0], 0xFC);
  EXPECT_EQ(TempDir::Read(path)[16], 0xFC);
}

class FailingSaveTest : public LibraryTest, public ::testing::WithParamInterface<files::FailAt> {};

TEST_P(FailingSaveTest, KeepsTheOldLibraryWholeOnDiskAndInMemory) {
  Fill(2);
  const auto before = TempDir::Read(path);
  library.FailNextSaveAt(GetParam());
  EXPECT_TRUE(library.Delete(0).Is(Kind::kFileError));
  EXPECT_EQ(TempDir::Read(path), before);
  EXPECT_EQ(library.Count(), 2);
  library.FailNextSaveAt(GetParam());
  EXPECT_TRUE(library.New(u"New").Is(Kind::kFileError));
  EXPECT_EQ(library.Count(), 2);
  EXPECT_EQ(TempDir::Read(path), before);
}

INSTANTIATE_TEST_SUITE_P(Steps, FailingSaveTest,
                         ::testing::Values(files::FailAt::kWrite, files::FailAt::kSync,
                                           files::FailAt::kRename));

TEST(LibraryPathTest, ABrandFolderIsTakenUnchanged) {
  EXPECT_EQ(*LibraryPath("/opt/mouse"), "/opt/mouseMacro.bin");
  EXPECT_EQ(*LibraryPath("/opt/mouse/"), "/opt/mouse/Macro.bin");
}

}  // namespace
}  // namespace vrdk::macros
