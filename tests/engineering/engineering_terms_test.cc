// The engineer page's term table and the locale that picks its column.

#include "engineering/engineering_terms.h"

#include <gtest/gtest.h>

namespace vrdk::engineering {
namespace {

TEST(EngineeringTermsTest, CodesHoldTheirTextsInBothColumns) {
  struct Row {
    int code;
    const char* english;
    const char* chinese;
  };
  const Row rows[] = {{0, "Office Mode", "办公模式"},           {26, "Off", "关灯"},
                      {33, "Sync No-breath", "同步渐变不呼吸"}, {43, "4-Seasons", "四季幻变"},
                      {99, "Color10 B:", "颜色10 B:"},          {102, "LED Lower:", "亮度最小值"},
                      {154, "Delect Fire Key", "删除连发键"}};
  for (const Row& row : rows) {
    EXPECT_EQ(EngineeringText(row.code, TermColumn::kEnglish), row.english) << row.code;
    EXPECT_EQ(EngineeringText(row.code, TermColumn::kChinese), row.chinese) << row.code;
  }
  EXPECT_TRUE(EngineeringText(155, TermColumn::kEnglish).empty());
  EXPECT_TRUE(EngineeringText(-1, TermColumn::kChinese).empty());
  for (const EngineeringTerm& term : EngineeringTerms()) {
    EXPECT_FALSE(term.english.empty());
    EXPECT_FALSE(term.chinese.empty());
  }
}

TEST(EngineeringTermsTest, OnlySimplifiedChineseChoosesTheChineseColumn) {
  EXPECT_EQ(TermColumnForLocale(2052), TermColumn::kChinese);
  EXPECT_EQ(TermColumnForLocale(1028), TermColumn::kEnglish);  // Traditional Chinese
  EXPECT_EQ(TermColumnForLocale(LocaleIdOfPosixLocale("zh_CN.UTF-8")), TermColumn::kChinese);
  EXPECT_EQ(TermColumnForLocale(LocaleIdOfPosixLocale("zh_TW.UTF-8")), TermColumn::kEnglish);
  EXPECT_EQ(TermColumnForLocale(LocaleIdOfPosixLocale("C")), TermColumn::kEnglish);
}

}  // namespace
}  // namespace vrdk::engineering
