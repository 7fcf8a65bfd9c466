// Brand options from [org]: the shipped table, and tables that lack keys or
// hold words where numbers belong.

#include "tables/brand_options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "resources/resources.h"
#include "support/case_name.h"

namespace vrdk {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::string_view kComplete =
    "[org]\n"
    "Web_Enable=1\nWeb=https://example.org/\nRev_Manu_ID=12\nRev_Pro_ID=34\nPath=C:\\Macros\n"
    "TR_Enable=1\nBE_Enable=1\nDPILED_Status=0\nNum_Order=1\n";

// kComplete with one key's line replaced (or removed when `line` is empty).
std::string With(std::string_view key, std::string_view line) {
  std::string text(kComplete);
  const std::size_t at = text.find(std::string("\n").append(key).append("="));
  const std::size_t end = text.find('\n', at + 1);
  text.replace(at + 1, end - at, line.empty() ? "" : std::string(line) + "\n");
  return text;
}

TEST(BrandOptions, TheShippedTableReadsWithoutErrors) {
  const LoadedBrandOptions loaded = LoadBrandOptions();
  EXPECT_THAT(loaded.errors, IsEmpty());
  const BrandOptions& options = loaded.options;
  EXPECT_TRUE(options.web_enabled);
  EXPECT_FALSE(options.web_address.empty());
  EXPECT_THAT(options.reserved_customer_codes, ElementsAre(0, 0));
  EXPECT_EQ(options.macro_folder, "");
  EXPECT_FALSE(options.rolling_captions);
  EXPECT_FALSE(options.button_effect);
  EXPECT_EQ(options.step_style, StepStyle::kLever);
  EXPECT_EQ(options.led_step_order, LedStepOrder::kAscending);
}

TEST(BrandOptions, TheShippedTableHoldsTheWebButtonPosition) {
  const auto bytes = resources::Find("org");
  ASSERT_TRUE(bytes.has_value());
  const IniTable table = IniTable::Parse(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  EXPECT_EQ(table.Value("org", "Web_X"), "360");
  EXPECT_EQ(table.Value("org", "Web_Y"), "20");
}

TEST(BrandOptions, ReadsEveryKey) {
  const LoadedBrandOptions loaded = LoadBrandOptions(IniTable::Parse(kComplete));
  EXPECT_THAT(loaded.errors, IsEmpty());
  const BrandOptions& options = loaded.options;
  EXPECT_TRUE(options.web_enabled);
  EXPECT_EQ(options.web_address, "https://example.org/");
  EXPECT_THAT(options.reserved_customer_codes, ElementsAre(12, 34));
  EXPECT_EQ(options.macro_folder, "C:\\Macros");
  EXPECT_TRUE(options.rolling_captions);
  EXPECT_TRUE(options.button_effect);
  EXPECT_EQ(options.step_style, StepStyle::kProgressBar);
  EXPECT_EQ(options.led_step_order, LedStepOrder::kDescending);
}

struct NumOrderCase {
  const char* value;
  LedStepOrder order;
};

class NumOrderTest : public ::testing::TestWithParam<NumOrderCase> {};

TEST_P(NumOrderTest, IsClampedToZeroOrOne) {
  const auto loaded = LoadBrandOptions(
      IniTable::Parse(With("Num_Order", "Num_Order=" + std::string(GetParam().value))));
  EXPECT_THAT(loaded.errors, IsEmpty());
  EXPECT_EQ(loaded.options.led_step_order, GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(Values, NumOrderTest,
                         ::testing::Values(NumOrderCase{"0", LedStepOrder::kAscending},
                                           NumOrderCase{"1", LedStepOrder::kDescending},
                                           NumOrderCase{"7", LedStepOrder::kDescending},
                                           NumOrderCase{"-3", LedStepOrder::kAscending},
                                           NumOrderCase{"+1", LedStepOrder::kDescending}),
                         [](const auto& row) {
                           return testing::CaseName(row.index, row.param.value);
                         });

TEST(BrandOptions, OnlyOneTurnsAFlagOn) {
  const auto loaded = LoadBrandOptions(IniTable::Parse(With("TR_Enable", "TR_Enable=2")));
  EXPECT_FALSE(loaded.options.rolling_captions);
  EXPECT_EQ(LoadBrandOptions(IniTable::Parse(With("DPILED_Status", "DPILED_Status=2")))
                .options.step_style,
            StepStyle::kProgressBar);
}

struct BadKeyCase {
  const char* key;
  const char* line;  // replaces the key's line; empty removes it
  BrandOptionError::Kind kind;
  std::string_view message;
};

class BadKeyTest : public ::testing::TestWithParam<BadKeyCase> {};

// The field keeps its documented default, not 0 or the complete table's value.
bool KeepsDefault(const BrandOptions& options, std::string_view key) {
  const BrandOptions defaults;
  if (key == "Web_Enable") return options.web_enabled == defaults.web_enabled;
  if (key == "Rev_Manu_ID") return options.reserved_customer_codes[0] == 0;
  if (key == "TR_Enable") return options.rolling_captions == defaults.rolling_captions;
  if (key == "DPILED_Status") return options.step_style == StepStyle::kLever;
  if (key == "Num_Order") return options.led_step_order == LedStepOrder::kAscending;
  return false;
}

TEST_P(BadKeyTest, IsNamedInAnErrorAndTheFieldKeepsItsDefault) {
  const auto loaded = LoadBrandOptions(IniTable::Parse(With(GetParam().key, GetParam().line)));
  ASSERT_EQ(loaded.errors.size(), 1u);
  EXPECT_EQ(loaded.errors[0].kind, GetParam().kind);
  EXPECT_EQ(loaded.errors[0].key, GetParam().key);
  EXPECT_EQ(loaded.errors[0].Message(), GetParam().message);
  EXPECT_TRUE(KeepsDefault(loaded.options, GetParam().key));
  EXPECT_EQ(loaded.options.reserved_customer_codes[1], 34);  // the other keys still count
}

using Kind = BrandOptionError::Kind;
INSTANTIATE_TEST_SUITE_P(
    Cases, BadKeyTest,
    ::testing::Values(
        BadKeyCase{"DPILED_Status", "", Kind::kMissingKey,
                   "brand table [org]: \"DPILED_Status\" is missing; using 1"},
        BadKeyCase{"DPILED_Status", "DPILED_Status=", Kind::kNotANumber,
                   "brand table [org]: \"DPILED_Status\" is \"\", not a whole number; using 1"},
        BadKeyCase{"Num_Order", "Num_Order=two", Kind::kNotANumber,
                   "brand table [org]: \"Num_Order\" is \"two\", not a whole number; using 0"},
        BadKeyCase{"Rev_Manu_ID", "Rev_Manu_ID=0x1B", Kind::kNotANumber,
                   "brand table [org]: \"Rev_Manu_ID\" is \"0x1B\", not a whole number; using 0"},
        BadKeyCase{"Rev_Manu_ID", "Rev_Manu_ID=99999999999", Kind::kNotANumber,
                   "brand table [org]: \"Rev_Manu_ID\" is \"99999999999\", not a whole number; "
                   "using 0"},
        BadKeyCase{"TR_Enable", "TR_Enable=1.0", Kind::kNotANumber,
                   "brand table [org]: \"TR_Enable\" is \"1.0\", not a whole number; using 0"},
        BadKeyCase{"Web_Enable", "", Kind::kMissingKey,
                   "brand table [org]: \"Web_Enable\" is missing; using 0 (web link off)"}),
    [](const auto& row) { return testing::CaseName(row.index, row.param.key); });

TEST(BrandOptions, AMissingSectionIsOneErrorAndEveryDefault) {
  const auto loaded = LoadBrandOptions(IniTable::Parse("[org1]\nWeb_Enable=1\n"));
  ASSERT_EQ(loaded.errors.size(), 1u);
  EXPECT_EQ(loaded.errors[0].kind, BrandOptionError::Kind::kMissingTable);
  EXPECT_EQ(loaded.errors[0].Message(), "brand table [org]: missing; using the built-in defaults");
  EXPECT_FALSE(loaded.options.web_enabled);
  EXPECT_EQ(loaded.options.step_style, StepStyle::kLever);
}

TEST(BrandOptions, APathWithWindows1252CharactersSurvives) {
  const auto loaded = LoadBrandOptionsFromBytes("[org]\nPath=C:\\Souris\\R\xE9glages\n");
  EXPECT_EQ(loaded.options.macro_folder, "C:\\Souris\\R\u00E9glages");
}

TEST(BrandOptions, MissingTextKeysReadAsEmptyWithoutError) {
  const auto loaded = LoadBrandOptions(IniTable::Parse(With("Path", "")));
  EXPECT_THAT(loaded.errors, IsEmpty());
  EXPECT_EQ(loaded.options.macro_folder, "");
}

}  // namespace
}  // namespace vrdk
