// The "I2C" macro area: parsing, layout, pad bytes and the page rule, with the
// bounds every walk keeps.

#include "macros/i2c_area.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vrdk::macros {
namespace {

using ::testing::ElementsAre;

// A record of `events` (end and pad bytes added) at offset p.
std::size_t PutRecord(MacroArea& area, std::size_t p, char16_t first,
                      std::vector<std::uint8_t> events) {
  const auto name = EncodeMacroName(std::u16string(1, first));
  std::copy(name.begin(), name.end(), area.begin() + static_cast<std::ptrdiff_t>(p));
  p += 16;
  std::copy(events.begin(), events.end(), area.begin() + static_cast<std::ptrdiff_t>(p));
  return p + events.size() + (events.empty() ? 1 : 2);
}

TEST(I2CAreaTest, MacrosOfThreeAndFiveEventBytes) {
  MacroArea area{};
  std::size_t p = PutRecord(area, 0, u'A', {0x82, 0x04, 0xFC});
  PutRecord(area, p, u'B', {0x82, 0x05, 0x02, 0x05, 0xA1});
  MacroArea laid_out{};
  const auto slots = ParseMacroArea(area, laid_out);
  EXPECT_EQ(slots.Count(), 2);
  EXPECT_EQ(slots.lengths[0], 21);
  EXPECT_EQ(slots.lengths[1], 23);
  EXPECT_EQ(slots.addresses[0], 0x0200);
  EXPECT_EQ(slots.addresses[1], 0x0215);
  EXPECT_EQ(slots.area_used, 44u);
  EXPECT_EQ(laid_out, area);
}

TEST(I2CAreaTest, AMacroWithoutEventsTakesSeventeenBytes) {
  MacroArea area{};
  const std::size_t p = PutRecord(area, 0, u'A', {});
  PutRecord(area, p, u'B', {0xFC});
  const auto slots = ParseMacroAreaOnly(area);
  EXPECT_EQ(slots.lengths[0], 17);
  EXPECT_EQ(slots.addresses[1], 0x0200 + 17);
}

struct FreeCase {
  std::uint8_t b0, b1;
};
class FreeNameTest : public ::testing::TestWithParam<FreeCase> {};

TEST_P(FreeNameTest, ANameThatReadsAsFreeHidesEveryLaterMacro) {
  MacroArea area{};
  const std::size_t p = PutRecord(area, 0, u'A', {0xFC});
  PutRecord(area, p, u'B', {0xFC});
  area[0] = GetParam().b0;
  area[1] = GetParam().b1;
  EXPECT_EQ(ParseMacroAreaOnly(area).Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Names, FreeNameTest,
                         ::testing::Values(FreeCase{0x00, 0x00}, FreeCase{0x00, 0xFF},
                                           FreeCase{0xFF, 0x41}, FreeCase{0x41, 0xFF}));

// Slot 0 is a macro whose event bytes reach offset 255 with `at255` there.
I2CSlots SlotReaching255(std::uint8_t at255, bool as_operand) {
  I2CSlots slots;
  slots.names[0] = EncodeMacroName(u"Long");
  // Offsets 16..254 are loop ends (239 bytes), then the event at 255.
  std::size_t j = 0;
  for (; j < 239; ++j) slots.events[0][j] = 0xFC;
  if (as_operand) {
    slots.events[0][j - 1] = 0xFD;  // loop start whose count byte lands at 255
    slots.events[0][j++] = at255;
  } else {
    slots.events[0][j++] = at255;
    for (std::size_t o = 1; o < *EventSize(at255); ++o) slots.events[0][j++] = 0x10;
  }
  slots.lengths[0] = static_cast<std::uint16_t>(16 + j + 2);
  return slots;
}

class PageRuleTest : public ::testing::TestWithParam<std::tuple<std::uint8_t, bool>> {};

TEST_P(PageRuleTest, ALoopEndTakesOffset255AndTheRecordGrowsByOne) {
  const auto [value, as_operand] = GetParam();
  I2CSlots slots = SlotReaching255(value, as_operand);
  slots.names[1] = EncodeMacroName(u"Next");
  slots.lengths[1] = 17;
  const I2CSlots given = slots;
  const std::uint16_t before = slots.lengths[0];
  MacroArea area{};
  const LayoutResult laid = LayOutMacroArea(slots, area);
  if (as_operand) {
    // A loop end there would change the loop count and make the operand an
    // opcode: refused, nothing changes.
    EXPECT_EQ(laid.problem, LayoutProblem::kSplitsEvent);
    EXPECT_EQ(slots, given);
    EXPECT_EQ(area, MacroArea{});
    return;
  }
  ASSERT_TRUE(laid.ok());
  EXPECT_EQ(area[255], 0xFC);
  EXPECT_EQ(area[256], value);
  EXPECT_EQ(slots.lengths[0], before + 1);
  EXPECT_EQ(slots.addresses[1], 0x0200 + before + 1);
  // Parsed again, the 0xFC is a loop end of the macro and nothing shifts.
  MacroArea again{};
  const auto parsed = ParseMacroArea(area, again);
  EXPECT_EQ(again, area);
  EXPECT_EQ(parsed, slots);
}

INSTANTIATE_TEST_SUITE_P(Bytes, PageRuleTest,
                         ::testing::Combine(::testing::Values(0xFE, 0x81, 0x01, 0x82, 0x02),
                                            ::testing::Bool()));

TEST(PageRuleTest, OtherBytesAt255StayWhereTheyAre) {
  I2CSlots slots = SlotReaching255(0x04, false);
  const std::uint16_t before = slots.lengths[0];
  MacroArea area{};
  ASSERT_TRUE(LayOutMacroArea(slots, area).ok());
  EXPECT_EQ(area[255], 0x04);
  EXPECT_EQ(slots.lengths[0], before);
}

TEST(PageRuleTest, AMacroItWouldMakeLongerThan256BytesIsRefused) {
  // 255 event bytes with a key down at offset 255: 256 events and the end.
  I2CSlots slots;
  slots.names[0] = EncodeMacroName(u"Full");
  std::fill_n(slots.events[0].begin(), 255, 0xFC);
  slots.events[0][239] = 0x82;
  slots.lengths[0] = 16 + 256;
  const I2CSlots given = slots;
  MacroArea area{};
  const LayoutResult laid = LayOutMacroArea(slots, area);
  EXPECT_EQ(laid.problem, LayoutProblem::kTooLong);
  EXPECT_EQ(laid.bytes, 257u);
  EXPECT_THAT(LayoutMessage(laid, slots), ::testing::HasSubstr("\"Full\" would take 257 bytes"));
  EXPECT_EQ(slots, given);
  // One event byte fewer and it fits, 256 bytes with its loop end.
  slots.events[0][254] = 0x00;
  ASSERT_TRUE(LayOutMacroArea(slots, area).ok());
  EXPECT_EQ(slots.lengths[0], 16 + 256 + 1);
  EXPECT_TRUE(ReadsBack(area, slots));
}

TEST(I2CAreaTest, AWalkThatRunsOffTheRecordKeepsNoEvents) {
  MacroArea area{};
  area[0] = 0x00;
  area[1] = 0x41;                                  // name "A"
  std::fill(area.begin() + 16, area.end(), 0xFC);  // no end byte anywhere
  const auto slots = ParseMacroAreaOnly(area);
  EXPECT_EQ(slots.lengths[0], 17);
  EXPECT_EQ(slots.events[0][0], 0x00);
}

TEST(I2CAreaTest, AnUnknownOpcodeEndsTheRecordThere) {
  MacroArea area{};
  PutRecord(area, 0, u'A', {0x82, 0x04, 0x77, 0x02, 0x04});
  const auto slots = ParseMacroAreaOnly(area);
  EXPECT_EQ(slots.lengths[0], 16 + 3 + 1);
  EXPECT_THAT(std::vector<std::uint8_t>(slots.events[0].begin(), slots.events[0].begin() + 4),
              ElementsAre(0x82, 0x04, 0x00, 0x00));
}

TEST(I2CAreaTest, RecordsThatDoNotFitAreRefusedAndNothingChanges) {
  I2CSlots slots;
  for (std::size_t k = 0; k < 3; ++k) {
    slots.names[k] = EncodeMacroName(u"M");
    slots.events[k].fill(0xFC);
    slots.events[k][200] = 0;
    slots.lengths[k] = 16 + 202;
  }
  const I2CSlots given = slots;
  MacroArea area{};
  const LayoutResult laid = LayOutMacroArea(slots, area);
  EXPECT_EQ(laid.problem, LayoutProblem::kNoRoom);
  EXPECT_EQ(laid.slot, 2u);
  EXPECT_EQ(slots, given);
}

TEST(I2CAreaTest, OnlyWholeMacrosWithNamesThatReadAsNamesAreLaidOut) {
  I2CSlots slots;
  slots.names[0] = EncodeMacroName(u"A");
  slots.events[0] = {0x82, 0x04, 0x12, 0x00};
  slots.lengths[0] = 16 + 4;
  MacroArea area{};
  EXPECT_EQ(LayOutMacroArea(slots, area).problem, LayoutProblem::kNotWhole);
  EXPECT_THAT(LayoutMessage(LayOutMacroArea(slots, area), slots),
              ::testing::HasSubstr("0x12 at event byte 2"));
  slots.events[0] = {0xFC, 0x00};
  slots.names[0] = EncodeMacroName(u"\u4EFF");
  EXPECT_EQ(LayOutMacroArea(slots, area).problem, LayoutProblem::kFreeName);
}

TEST(I2CAreaTest, AFreeSlotBetweenMacrosIsClosedUp) {
  I2CSlots slots;
  for (std::size_t k : {0u, 2u}) {
    slots.names[k] = EncodeMacroName(k == 0 ? u"A" : u"C");
    slots.events[k] = {0xA1, 0x21, 0x00};
    slots.lengths[k] = 16 + 4;
  }
  MacroArea area{};
  ASSERT_TRUE(LayOutMacroArea(slots, area).ok());
  EXPECT_EQ(slots.Count(), 2);
  EXPECT_EQ(slots.names[1], EncodeMacroName(u"C"));
  EXPECT_EQ(slots.addresses[1], 0x0200 + 20);
  EXPECT_TRUE(ReadsBack(area, slots));
}

TEST(I2CAreaTest, AnAreaTheLayoutRefusesIsKeptAsRead) {
  MacroArea area{};
  const auto name = EncodeMacroName(u"Full");
  std::copy(name.begin(), name.end(), area.begin());
  std::fill_n(area.begin() + 16, 255, 0xFC);
  area[255] = 0x82;  // not yet behind a loop end, and no room for one
  MacroArea laid_out{};
  const I2CSlots slots = ParseMacroArea(area, laid_out);
  EXPECT_EQ(laid_out, area);
  EXPECT_EQ(slots.lengths[0], 16 + 256 + 1);
  EXPECT_TRUE(ReadsBack(laid_out, slots));
}

}  // namespace
}  // namespace vrdk::macros
