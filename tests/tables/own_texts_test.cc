// The program's own texts: the language each number reads in, and the places
// filled with their arguments.

#include "tables/own_texts.h"

#include <gtest/gtest.h>

namespace vrdk {
namespace {

TEST(OwnTextForTest, LanguageTwoReadsChineseEveryOtherNumberEnglish) {
  EXPECT_EQ(OwnTextFor(OwnText::kWriteMacrosToMouse, 1), "Write to Mouse");
  EXPECT_EQ(OwnTextFor(OwnText::kWriteMacrosToMouse, 2), "寫入滑鼠");
  EXPECT_EQ(OwnTextFor(OwnText::kWriteMacrosToMouse, 3), "Write to Mouse");
  EXPECT_EQ(OwnTextFor(OwnText::kWriteMacrosToMouse, 0), "Write to Mouse");
  EXPECT_EQ(OwnTextFor(OwnText::kWriteMacrosToMouse, 4), "Write to Mouse");
}

TEST(OwnTextForTest, PlacesTakeTheirArgumentsAndMissingOnesStayEmpty) {
  EXPECT_EQ(OwnTextFor(OwnText::kFirePattern, 1, {"7"}), "Fire Pattern 7");
  EXPECT_EQ(OwnTextFor(OwnText::kFirePattern, 2, {"7", "unused"}), "連發模式 7");
  EXPECT_EQ(OwnTextFor(OwnText::kFirePattern, 1), "Fire Pattern ");
}

}  // namespace
}  // namespace vrdk
