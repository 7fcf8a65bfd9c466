// The INI form of the skin tables, and the text decoding under both readers.

#include "tables/ini_table.h"

#include <gtest/gtest.h>

#include "tables/text_encoding.h"

namespace vrdk {
namespace {

constexpr std::string_view kSkin =
    "; comment line: Web_X=1\r\n"
    "//*** banner without a key ***\r\n"
    "Orphan=before any section\r\n"
    "[org]\r\n"
    "Web_X=360\r\n"
    "  Web_Y = 20  \r\n"
    "Path=\r\n"
    "Web=https://example.org/a=b\r\n"
    "Web_X=999\r\n"
    "\r\n"
    "[org1]\n"
    "Size_A=12\r"
    "[ORG]\n"
    "Late=1\n";

TEST(IniTable, ReadsKeysOfTheirSectionOnly) {
  const IniTable table = IniTable::Parse(kSkin);
  EXPECT_EQ(table.Value("org", "Web_X"), "360");
  EXPECT_EQ(table.Value("org1", "Size_A"), "12");
  EXPECT_EQ(table.Value("org1", "Web_X"), "");
  EXPECT_EQ(table.Sections(), (std::vector<std::string>{"org", "org1"}));
}

TEST(IniTable, TrimsBlanksAroundKeyAndValueAndKeepsEverythingAfterTheFirstEquals) {
  const IniTable table = IniTable::Parse(kSkin);
  EXPECT_EQ(table.Value("org", "Web_Y"), "20");
  EXPECT_EQ(table.Value("org", "Web"), "https://example.org/a=b");
}

TEST(IniTable, CommentsBannersAndKeysBeforeTheFirstSectionCarryNoKey) {
  const IniTable table = IniTable::Parse(kSkin);
  EXPECT_FALSE(table.Find("org", "; comment line: Web_X").has_value());
  EXPECT_FALSE(table.Find("org", "Orphan").has_value());
  EXPECT_FALSE(table.HasSection(""));
}

TEST(IniTable, NamesCompareWithoutCaseAndTheFirstOfTwoKeysCounts) {
  const IniTable table = IniTable::Parse(kSkin);
  EXPECT_EQ(table.Value("ORG", "web_x"), "360");
  EXPECT_EQ(table.Value("Org", "Late"), "1");  // a section opened again adds to it
}

TEST(IniTable, AnEmptyValueIsFoundButAMissingKeyOrSectionIsNot) {
  const IniTable table = IniTable::Parse(kSkin);
  EXPECT_EQ(table.Find("org", "Path"), std::optional<std::string_view>(""));
  EXPECT_EQ(table.Find("org", "Nowhere"), std::nullopt);
  EXPECT_EQ(table.Find("org9", "Web_X"), std::nullopt);
  EXPECT_EQ(table.Value("org9", "Web_X"), "");
}

TEST(IniTable, ReadsWindows1252TextOneCharacterABytePerTheCodePage) {
  EXPECT_EQ(Windows1252ToUtf8("Caf\xE9 \x80 \x9F \xA0"), "Caf\u00E9 \u20AC \u0178 \u00A0");
  EXPECT_EQ(Windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
  const IniTable table =
      IniTable::Parse("[org]\nPath=R\xE9glages\n", IniTable::Encoding::kWindows1252);
  EXPECT_EQ(table.Value("org", "Path"), "R\u00E9glages");
  // A UTF-8 byte-order mark says the text is UTF-8.
  const IniTable marked =
      IniTable::Parse("\xEF\xBB\xBF[org]\nPath=R\xC3\xA9\n", IniTable::Encoding::kWindows1252);
  EXPECT_EQ(marked.Value("org", "Path"), "R\u00E9");
  // Every other table reads as UTF-8, as before.
  EXPECT_EQ(IniTable::Parse("[a]\nk=\xE9\n").Value("a", "k"), "\uFFFD");
}

TEST(IniTable, SkipsAUtf8ByteOrderMarkAndReplacesBytesThatAreNotUtf8) {
  const IniTable table = IniTable::Parse("\xEF\xBB\xBF[org]\nWeb=caf\xE9\nName=\xE5\x90\x8D\n");
  EXPECT_EQ(table.Value("org", "Web"), "caf\xEF\xBF\xBD");
  EXPECT_EQ(table.Value("org", "Name"), "\xE5\x90\x8D");
}

struct Utf8Case {
  const char* name;
  std::string_view input;
  std::string_view output;
};

class SanitizeUtf8Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(SanitizeUtf8Test, KeepsValidTextAndReplacesEachBadByte) {
  EXPECT_EQ(SanitizeUtf8(GetParam().input), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SanitizeUtf8Test,
    ::testing::Values(Utf8Case{"Ascii", "Web_X=360", "Web_X=360"},
                      Utf8Case{"FourByte", "\xF0\x9F\x96\xB1", "\xF0\x9F\x96\xB1"},
                      Utf8Case{"TruncatedAtEnd", "a\xE5\x90", "a\xEF\xBF\xBD\xEF\xBF\xBD"},
                      Utf8Case{"Overlong", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
                      Utf8Case{"EncodedSurrogate", "\xED\xA0\x80",
                               "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
                      Utf8Case{"BeyondUnicode", "\xF4\x90\x80\x80",
                               "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
                      Utf8Case{"LoneContinuation", "\x80x", "\xEF\xBF\xBDx"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace vrdk
