// Fire-macro scripts: the two code forms, the file and its numbering.

#include "macros/fire_macros.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vrdk::macros {
namespace {

using ::testing::ElementsAre;
using testing::TempDir;

TEST(FireMacroCodeTest, TheTwoFormsGiveTheirBytes) {
  EXPECT_THAT(*BuildFireMacroCode({.offset_form = true, .colour = kUserColour}),
              ElementsAre(0x0B, 0x8F, 0x00, 0x00));
  EXPECT_THAT(
      *BuildFireMacroCode({.offset_form = false, .keep_left = true, .start = 2, .count = 5}),
      ElementsAre(0x0B, 0x12, 0x05, 0x00));
  EXPECT_FALSE(BuildFireMacroCode({.offset_form = true, .colour = 12}));
  EXPECT_FALSE(BuildFireMacroCode({.offset_form = false, .count = 11}));
  EXPECT_FALSE(BuildFireMacroCode({.offset_form = false, .start = 10}));
}

TEST(FireMacroCodeTest, ShowingACodeGivesItsParametersBack) {
  const auto shown = ShowFireMacroCode({0x0B, 0x12, 0x05, 0x00});
  EXPECT_FALSE(shown.offset_form);
  EXPECT_TRUE(shown.keep_left);
  EXPECT_EQ(shown.start, 2);
  EXPECT_EQ(shown.count, 5);
  EXPECT_EQ(ShowFireMacroCode({0x0B, 0x8F, 0, 0}).colour, kUserColour);
}

TEST(FireMacroScriptsTest, AMissingFileLeavesEveryEntryFree) {
  TempDir dir;
  FireMacroScripts scripts;
  const auto loaded = scripts.Load(dir.File("Fire Macro.bin"));
  ASSERT_TRUE(loaded.ok());
  EXPECT_FALSE(loaded.value());
  EXPECT_EQ(scripts.Count(), 0);
  EXPECT_EQ(scripts.Text(0), "00000000");
}

TEST(FireMacroScriptsTest, AddAndDeleteRewriteTheFortyByteFile) {
  TempDir dir;
  const std::string path = dir.File("sub/Fire Macro.bin");
  FireMacroScripts scripts;
  scripts.Load(path);
  for (std::uint8_t colour : {0x80, 0x81, 0x82}) {
    ASSERT_TRUE(scripts.Add({0x0B, colour, 0, 0}).ok());
  }
  EXPECT_THAT(scripts.Names(), ElementsAre("Fire Macro1", "Fire Macro2", "Fire Macro3"));
  ASSERT_TRUE(scripts.Delete(0).ok());
  EXPECT_THAT(scripts.Names(), ElementsAre("Fire Macro1", "Fire Macro2"));
  const auto bytes = TempDir::Read(path);
  ASSERT_EQ(bytes.size(), 40u);
  EXPECT_THAT(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 12),
              ElementsAre(0x0B, 0x81, 0, 0, 0x0B, 0x82, 0, 0, 0, 0, 0, 0));
  FireMacroScripts reloaded;
  EXPECT_TRUE(reloaded.Load(path).value());
  EXPECT_EQ(reloaded.Text(1), "0B820000");
}

TEST(FireMacroScriptsTest, AFileWithFreeEntriesListsEveryUsedOneByItsNumber) {
  TempDir dir;
  const std::string path = dir.File("Fire Macro.bin");
  std::vector<std::uint8_t> file(40, 0);
  const std::uint8_t second[] = {0x0B, 0x82, 0, 0};
  const std::uint8_t fourth[] = {0x0B, 0x12, 0x05, 0};
  std::copy(std::begin(second), std::end(second), file.begin() + 4);
  std::copy(std::begin(fourth), std::end(fourth), file.begin() + 12);
  TempDir::Write(path, file);
  FireMacroScripts scripts;
  ASSERT_TRUE(scripts.Load(path).value());
  EXPECT_THAT(scripts.Names(), ElementsAre("Fire Macro2", "Fire Macro4"));
  EXPECT_EQ(scripts.Count(), 2);
  // A new script takes the first free entry; the others keep theirs.
  ASSERT_TRUE(scripts.Add({0x0B, 0x8F, 0, 0}).ok());
  EXPECT_THAT(scripts.Names(), ElementsAre("Fire Macro1", "Fire Macro2", "Fire Macro4"));
  EXPECT_EQ(scripts.Text(1), "0B820000");
  EXPECT_EQ(scripts.Text(3), "0B120500");
}

TEST(FireMacroScriptsTest, AnEleventhAddDoesNothing) {
  TempDir dir;
  FireMacroScripts scripts;
  scripts.Load(dir.File("Fire Macro.bin"));
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(scripts.Add({0x0B, 0x80, 0, 0}).ok());
  EXPECT_TRUE(scripts.Add({0x0B, 0x81, 0, 0}).Is(ErrorKind::kFull));
  EXPECT_EQ(scripts.Count(), 10);
  EXPECT_EQ(scripts.Text(9), "0B800000");
}

}  // namespace
}  // namespace vrdk::macros
