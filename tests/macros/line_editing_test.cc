// Changing a macro's lines by hand: the values the editor's fields take, the
// insert panel's items and what each asks for, and which lines can be
// changed.

#include "macros/line_editing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vrdk::macros {
namespace {

TEST(FieldValueTest, EachFieldHoldsWhatTheEventByteCanCarry) {
  // A fixed or inserted delay: at least 1 ms, at most what two bytes hold.
  EXPECT_EQ(FieldValue(0, kDelayRange), 1);
  EXPECT_EQ(FieldValue(-5, kDelayRange), 1);
  EXPECT_EQ(FieldValue(65535, kDelayRange), 65535);
  EXPECT_EQ(FieldValue(65536, kDelayRange), 65535);
  // A movement: one signed byte per axis.
  EXPECT_EQ(FieldValue(-129, kMoveRange), -128);
  EXPECT_EQ(FieldValue(128, kMoveRange), 127);
  EXPECT_EQ(FieldValue(-128, kMoveRange), -128);
  // A loop's count: one byte, 0 allowed.
  EXPECT_EQ(FieldValue(0, kRepeatRange), 0);
  EXPECT_EQ(FieldValue(256, kRepeatRange), 255);
}

TEST(FieldValueTest, AFieldWithoutANumberReadsAsItsStart) {
  EXPECT_EQ(FieldValue(std::nullopt, kDelayRange), 50);
  EXPECT_EQ(FieldValue(std::nullopt, kMoveRange), 0);
  EXPECT_EQ(FieldValue(std::nullopt, kRepeatRange), 10);
}

TEST(InsertPanelTest, TheRowsNameTheItemsInThePanelsOrder) {
  EXPECT_EQ(InsertItemAt(0), InsertItem::kDelayFront);
  EXPECT_EQ(InsertItemAt(3), InsertItem::kKeyBack);
  EXPECT_EQ(InsertItemAt(7), InsertItem::kLoopEnd);
  EXPECT_EQ(InsertItemAt(-1), std::nullopt);  // a list being filled
  EXPECT_EQ(InsertItemAt(8), std::nullopt);
  EXPECT_STREQ(kInsertChoices[0].text_key, "Str410");
  EXPECT_STREQ(kInsertChoices[3].text_key, "Str413");
  EXPECT_STREQ(kInsertChoices[4].text_key, "Str450");
  EXPECT_STREQ(kInsertChoices[7].text_key, "Str457");
}

TEST(InsertPanelTest, EachItemAsksForItsOwnValues) {
  EXPECT_EQ(FieldsOf(InsertItem::kDelayFront), InsertFields::kDelay);
  EXPECT_EQ(FieldsOf(InsertItem::kDelayBack), InsertFields::kDelay);
  EXPECT_EQ(FieldsOf(InsertItem::kKeyFront), InsertFields::kKeys);
  EXPECT_EQ(FieldsOf(InsertItem::kKeyBack), InsertFields::kKeys);
  EXPECT_EQ(FieldsOf(InsertItem::kMoveFront), InsertFields::kMove);
  EXPECT_EQ(FieldsOf(InsertItem::kMoveBack), InsertFields::kMove);
  EXPECT_EQ(FieldsOf(InsertItem::kLoopStart), InsertFields::kRepeat);
  EXPECT_EQ(FieldsOf(InsertItem::kLoopEnd), InsertFields::kNone);
  EXPECT_EQ(FieldsOf(std::nullopt), InsertFields::kNone);
}

TEST(InsertPanelTest, TheFieldsValuesAreHeldBeforeTheLineIsBuilt) {
  const InsertValues values = InsertValuesFrom(0, 300, -300, std::nullopt);
  EXPECT_EQ(values.delay, 1);
  EXPECT_EQ(values.x, 127);
  EXPECT_EQ(values.y, -128);
  EXPECT_EQ(values.repeat, 10);
  MacroText lines = {"00", "0 5"};
  ASSERT_EQ(InsertLine(lines, 0, InsertItem::kMoveBack, values), 1u);
  EXPECT_EQ(lines[2], "3 047F80");
  ASSERT_EQ(InsertLine(lines, 0, InsertItem::kLoopStart, values), 0u);
  EXPECT_EQ(lines[1], "7 FD0A");
}

TEST(LineChangeTest, DelaysAndKeysCanBeChangedOtherLinesNot) {
  const MacroText lines = {"10",       "0 150",  "1 A CODE:8204", "2 A CODE:0204",
                           "3 04F605", "7 FD0A", "8 FC",          ""};
  EXPECT_EQ(ChangeOf(lines, 0), LineChange::kNone);  // the header
  EXPECT_EQ(ChangeOf(lines, 1), LineChange::kDelay);
  EXPECT_EQ(ChangeOf(lines, 2), LineChange::kKey);
  EXPECT_EQ(ChangeOf(lines, 3), LineChange::kKey);
  EXPECT_EQ(ChangeOf(lines, 4), LineChange::kNone);
  EXPECT_EQ(ChangeOf(lines, 5), LineChange::kNone);
  EXPECT_EQ(ChangeOf(lines, 6), LineChange::kNone);
  EXPECT_EQ(ChangeOf(lines, 7), LineChange::kNone);  // an empty line
  EXPECT_EQ(ChangeOf(lines, 8), LineChange::kNone);  // past the end
}

TEST(LineChangeTest, ADelayLineWaitsWhatTheEncoderWrites) {
  EXPECT_EQ(DelayOf("0 150"), 150);
  EXPECT_EQ(DelayOf("0 70000"), 65535);
  EXPECT_EQ(DelayOf("0 abc"), 0);
  EXPECT_EQ(DelayOf("0"), 0);
  const auto encoded = EncodeLines({"10", "0 300"});
  ASSERT_TRUE(encoded.ok());
  EXPECT_EQ(encoded.value()[1] << 8 | encoded.value()[2], DelayOf("0 300"));
}

TEST(LineChangeTest, OnlyAHeaderIsNoEvent) {
  EXPECT_FALSE(HasEvents({}));
  EXPECT_FALSE(HasEvents({"00"}));
  EXPECT_TRUE(HasEvents({"00", "8 FC"}));
}

}  // namespace
}  // namespace vrdk::macros
