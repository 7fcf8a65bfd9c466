// Language tables: the stored form and its damaged variants, the reverse
// lookup that re-translates key captions, and the shipped tables' contents.

#include "tables/language_table.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "resources/resources.h"
#include "support/utf16.h"

namespace vrdk {
namespace {

using testing::Utf16Le;

LanguageTable Table(std::u16string_view text, std::string_view name = "lang1",
                    bool with_bom = true) {
  return LanguageTable::Parse(Utf16Le(text, with_bom), name);
}

// ---- Reading the stored form ----

struct ReadCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  std::string key;
  std::string text;  // what the key reads as
};

class LanguageReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(LanguageReadTest, ReadsWhatTheTableHolds) {
  const LanguageTable table = LanguageTable::Parse(GetParam().bytes, "lang1");
  EXPECT_EQ(table.Text(GetParam().key), GetParam().text);
}

std::vector<std::uint8_t> WithOddByte() {
  auto bytes = Utf16Le(u"[lang1]\r\n\"Str001=Reset\"\r\n\"Str002=Confirm 2\"");
  bytes.push_back(0x41);
  return bytes;
}

std::vector<std::uint8_t> WithHugeValue() {
  std::u16string text = u"[lang1]\r\n\"Str002=";
  text.append(200000, u'x');
  text += u"\"\r\n\"Str003=Exit\"";
  return Utf16Le(text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageReadTest,
    ::testing::Values(
        ReadCase{"QuotedItemKeepsItsBlanks", Utf16Le(u"[lang1]\r\n\r\n\"Str002=Confirm 2\"\r\n"),
                 "Str002", "Confirm 2"},
        ReadCase{"UnquotedItemBreaksAtTheBlank", Utf16Le(u"[lang1]\r\nStr002=Confirm 2\r\n"),
                 "Str002", "Confirm"},
        ReadCase{"ItemsShareALine", Utf16Le(u"[lang1] \"Str001=Reset\"\t\"Str002=Confirm 2\""),
                 "Str002", "Confirm 2"},
        ReadCase{"DoubledQuoteIsOneQuote", Utf16Le(u"[lang1]\n\"Str001=Say \"\"hi\"\"\""), "Str001",
                 "Say \"hi\""},
        ReadCase{"KeysIgnoreCase", Utf16Le(u"[LANG1]\n\"fontname=Calibri\""), "FontName",
                 "Calibri"},
        ReadCase{"ChineseText", Utf16Le(u"[lang1]\r\n\"Str210=左鍵\""), "Str210",
                 "\xE5\xB7\xA6\xE9\x8D\xB5"},
        ReadCase{"SurrogatePair", Utf16Le(u"[lang1]\r\n\"Str210=\U0001F5B1\""), "Str210",
                 "\xF0\x9F\x96\xB1"},
        ReadCase{"WithoutByteOrderMark",
                 Utf16Le(u"[lang1]\r\n\"Str001=Reset\"\r\n\"Str002=Confirm 2\"", false), "Str001",
                 "Reset"},
        ReadCase{"OddLastByteIsDropped", WithOddByte(), "Str002", "Confirm 2"},
        ReadCase{"UnpairedHighSurrogate", Utf16Le(u"[lang1]\r\n\"Str001=a\xD800z\""), "Str001",
                 "a\xEF\xBF\xBDz"},
        ReadCase{"UnpairedLowSurrogate", Utf16Le(u"[lang1]\r\n\"Str001=\xDC00\""), "Str001",
                 "\xEF\xBF\xBD"},
        ReadCase{"OpenQuoteClosesAtTheLineEnd",
                 Utf16Le(u"[lang1]\r\n\"Str001=Reset\r\n\"Str002=Confirm 2\""), "Str001", "Reset"},
        ReadCase{"EntryAfterAnOpenQuoteSurvives",
                 Utf16Le(u"[lang1]\r\n\"Str001=Reset\r\n\"Str002=Confirm 2\""), "Str002",
                 "Confirm 2"},
        ReadCase{"ZeroPaddingEndsTheText",
                 Utf16Le(std::u16string(u"[lang1]\n\"Str001=A\"\0\0", 20)), "Str001", "A"},
        ReadCase{"EntryAfterAHugeLine", WithHugeValue(), "Str003", "Exit"},
        ReadCase{"MissingSection", Utf16Le(u"\"Str001=Reset\""), "Str001", ""},
        ReadCase{"OtherLanguagesSection", Utf16Le(u"[lang2]\r\n\"Str001=Reset\""), "Str001", ""},
        ReadCase{"EmptyInput", {}, "Str001", ""},
        ReadCase{"OnlyAByteOrderMark", {0xFF, 0xFE}, "Str001", ""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LanguageTable, FindTellsAnEmptyTextFromAMissingKey) {
  const LanguageTable table = Table(u"[lang1]\r\n\"Str101=\"");
  EXPECT_EQ(table.Find("Str101"), std::optional<std::string_view>(""));
  EXPECT_EQ(table.Find("Str102"), std::nullopt);
}

TEST(LanguageTable, DpiTextCoversStepsOneToTwelveOnly) {
  const LanguageTable table =
      Table(u"[lang1]\n\"Str299=low\"\n\"Str300=200\"\n\"Str311=6400\"\n\"Str312=high\"");
  EXPECT_EQ(table.DpiText(1), "200");
  EXPECT_EQ(table.DpiText(12), "6400");
  EXPECT_EQ(table.DpiText(0), "");
  EXPECT_EQ(table.DpiText(13), "");
  EXPECT_EQ(table.DpiText(-299), "");
}

// ---- FindTextKey and re-translation ----

LanguageTables ThreeTables() {
  return LanguageTables({
      Table(u"[lang1]\n\"Str001=Reset\"\n\"Str213=Backward\"\n\"Str282=Backward\"\n"
            u"\"Str500=Key Combination\"\n\"Str801=Far\"\n\"Str210=Left Click\"",
            "lang1"),
      Table(u"[lang2]\n\"Str001=重置\"\n\"Str213=後退\"\n\"Str282=後退\"\n\"Str210=左鍵\"",
            "lang2"),
      Table(u"[lang3]\n\"Str205=Key Combination\"\n\"Str213=Back\"\n\"Str282=Back\"", "lang3"),
  });
}

TEST(FindTextKey, TextUnderTwoKeysGivesTheHigherNumber) {
  EXPECT_EQ(ThreeTables().FindTextKey("Backward"), "Str282");
}

TEST(FindTextKey, TextInTwoTablesGivesTheLaterTable) {
  EXPECT_EQ(ThreeTables().FindTextKey("Key Combination"), "Str205");
}

TEST(FindTextKey, KeysWithLeadingZerosOrBeyond800AreNeverFound) {
  const LanguageTables tables = ThreeTables();
  EXPECT_EQ(tables.FindTextKey("Reset"), std::nullopt);
  EXPECT_EQ(tables.FindTextKey("Far"), std::nullopt);
  EXPECT_EQ(tables.Retranslate("Reset", 2), "Reset");
}

TEST(FindTextKey, SearchesEveryTableWhateverTheCurrentLanguage) {
  EXPECT_EQ(ThreeTables().FindTextKey("左鍵"), "Str210");
}

TEST(Retranslate, ACaptionInNoTableStays) {
  EXPECT_EQ(ThreeTables().Retranslate("Ctrl+A", 2), "Ctrl+A");
  EXPECT_EQ(ThreeTables().Retranslate("", 2), "");
}

TEST(Retranslate, SwitchingToLanguageTwoAndBackRestoresTheCaptions) {
  const LanguageTables tables = ThreeTables();
  for (const std::string caption : {"Left Click", "Backward", "Ctrl+A"}) {
    const std::string chinese = tables.Retranslate(caption, 2);
    EXPECT_EQ(tables.Retranslate(chinese, 1), caption) << "via " << chinese;
  }
  EXPECT_EQ(tables.Retranslate("Left Click", 2), "左鍵");
}

// ---- The shipped tables ----

const LanguageTables& Shipped() {
  static const LanguageTables tables = LanguageTables::Load();
  return tables;
}
const LanguageTable& Lang(int n) { return Shipped().Table(n); }

TEST(ShippedTables, LoadLanguageTableKnowsOnlyLanguagesOneToThree) {
  EXPECT_EQ(LoadLanguageTable(0), std::nullopt);
  EXPECT_EQ(LoadLanguageTable(4), std::nullopt);
  ASSERT_TRUE(LoadLanguageTable(3).has_value());
  EXPECT_EQ(LoadLanguageTable(3)->Name(), "lang3");
}

TEST(ShippedTables, ResourcesBeginWithTheByteOrderMarkAndTheirHeader) {
  for (int n = 1; n <= kLanguageCount; ++n) {
    const auto bytes = resources::Find(LanguageName(n));
    ASSERT_TRUE(bytes.has_value());
    const auto header =
        Utf16Le(u"[lang" + std::u16string(1, static_cast<char16_t>(u'0' + n)) + u"]");
    ASSERT_GE(bytes->size(), header.size());
    EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes->begin())) << n;
  }
}

TEST(ShippedTables, FontAndTitle) {
  EXPECT_EQ(Lang(1).FontName(), "Calibri");
  EXPECT_EQ(Lang(2).FontName(), "Microsoft JhengHei");
  EXPECT_EQ(Lang(3).FontName(), "Arial Narrow");
  EXPECT_EQ(Lang(1).Title(), "QVX-T40");
  EXPECT_EQ(Lang(3).Title(), "Korvane Gaming Mouse");
  EXPECT_FALSE(Lang(2).Title().empty());
}

struct Text {
  const char* key;
  const char* text;
};

class LanguageOneTextTest : public ::testing::TestWithParam<Text> {};

TEST_P(LanguageOneTextTest, HoldsTheShippedText) {
  EXPECT_EQ(Lang(1).Find(GetParam().key), std::optional<std::string_view>(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LanguageOneTextTest,
    ::testing::Values(
        Text{"Str001", "Reset"}, Text{"Str003", "Exit"}, Text{"Str006", "Third Mode"},
        Text{"Str011", "Language1"}, Text{"Str016", "Confirm 3"},
        Text{"Str020",
             "Please select the keyboard mode switch button to take effect after the key "
             "definition interface"},
        Text{"Str022", "Finding the specified device"}, Text{"Str101", ""},
        Text{"Str105", "Please select a AIM Key"},
        Text{"Str107", "The mouse manufacturer or product id error"}, Text{"Str200", "*"},
        Text{"Str202", "Advanced Fuctions"}, Text{"Str204", "Webbrowser fuctions"},
        Text{"Str205", "Key combination"}, Text{"Str207", "Windows"}, Text{"Str220", "DPI"},
        Text{"Str230", "Fire Button"}, Text{"Str240", "ACPI Key"}, Text{"Str250", "Profile Switch"},
        Text{"Str267", "MAC OS Key"}, Text{"Str400", "Record"}, Text{"Str404", "Export One"},
        Text{"Str410", "Insert Delay Front"}, Text{"Str418", "ms"},
        Text{"Str430", "OK for clear macro?"}, Text{"Str433", "Delect Macro"},
        Text{"Str442", "Update File Path"}, Text{"Str450", "Insert X/Y axis Front"},
        Text{"Str458", "Repeat Number"}, Text{"Str500", "Key Combination"},
        Text{"Str521", "Input Delay Time"}, Text{"Str523", "User Color"},
        Text{"Str700", "'Right Key'+'Back' Switch LED Mode"},
        Text{"Str701", "Press 'Middle Key' 3s Switch Office/Gaming Mode"},
        Text{"Str706", "'Right Key'+'Forward' Switch Office/Gaming Mode"}),
    [](const auto& row) { return std::string(row.param.key); });

TEST(ShippedTables, DpiTextsReadTheSameInEveryLanguage) {
  const std::vector<std::string> expected = {"200",  "400",  "600",  "800",  "1000", "1200",
                                             "1600", "2000", "2400", "3200", "4800", "6400"};
  for (int n = 1; n <= kLanguageCount; ++n) {
    std::vector<std::string> texts;
    for (int step = 1; step <= 12; ++step) texts.push_back(Lang(n).DpiText(step));
    EXPECT_EQ(texts, expected) << "language " << n;
  }
}

TEST(ShippedTables, TextsWithoutShippedNamesStayAbsent) {
  for (int n = 1; n <= kLanguageCount; ++n) {
    for (const int number : {265, 266, 600, 601, 602, 603, 604, 605, 606}) {
      EXPECT_EQ(Lang(n).Find(TextKey(number)), std::nullopt) << n << " " << number;
    }
  }
}

TEST(ShippedTables, EveryLanguageHasEveryTextOfLanguageOne) {
  for (int n = 2; n <= kLanguageCount; ++n) {
    for (int number = 0; number <= 999; ++number) {
      const auto english = Lang(1).Find(TextKey(number));
      const auto other = Lang(n).Find(TextKey(number));
      ASSERT_EQ(english.has_value(), other.has_value()) << n << " " << TextKey(number);
      if (english) {
        EXPECT_EQ(english->empty(), other->empty()) << n << " " << TextKey(number);
      }
    }
  }
}

// A caption re-translated into another language must read as that
// language's text of the same key, and come back unchanged; this fails when
// one text stands under two keys whose texts differ elsewhere.
TEST(ShippedTables, EveryFindableTextSurvivesEveryLanguageSwitch) {
  for (int from = 1; from <= kLanguageCount; ++from) {
    for (int to = 1; to <= kLanguageCount; ++to) {
      for (int number = 100; number <= 800; ++number) {
        const std::string caption = Lang(from).Text(number);
        if (caption.empty()) continue;
        const std::string there = Shipped().Retranslate(caption, to);
        EXPECT_EQ(there, Lang(to).Text(number)) << from << "->" << to << " " << caption;
        EXPECT_EQ(Shipped().Retranslate(there, from), caption) << from << "<-" << to;
      }
    }
  }
}

}  // namespace
}  // namespace vrdk
