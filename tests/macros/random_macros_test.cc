// Many random macros of every event kind laid out into the "I2C" macro area
// and parsed back: what comes back is what was laid out (with the page rule's
// loop end where the area needs one), lines included, and every refusal is
// one the area really calls for. The seeds are fixed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "macros/event_lines.h"
#include "macros/i2c_area.h"
#include "support/random_macros.h"

namespace vrdk::macros {
namespace {

using testing::ExpectedArea;
using testing::GeneratedMacro;
using testing::RandomMacros;

constexpr std::uint32_t kRounds = 3000;

std::vector<GeneratedMacro> RandomArea(RandomMacros& random) {
  std::vector<GeneratedMacro> macros;
  const int count = random.Int(1, static_cast<int>(kI2CSlots));
  // Mostly short macros, so that several share the area; now and then one
  // that fills a whole record.
  for (int k = 0; k < count; ++k) {
    const bool full = random.Int(0, 5) == 0;
    macros.push_back(random.Macro(full ? 255 : 60, full));
  }
  return macros;
}

I2CSlots SlotsOf(const std::vector<GeneratedMacro>& macros) {
  I2CSlots slots;
  for (std::size_t k = 0; k < macros.size(); ++k) {
    slots.names[k] = EncodeMacroName(macros[k].name);
    std::copy(macros[k].events.begin(), macros[k].events.end(), slots.events[k].begin());
    slots.lengths[k] = static_cast<std::uint16_t>(16 + macros[k].events.size());
  }
  return slots;
}

ExpectedArea::Outcome OutcomeOf(LayoutProblem problem) {
  switch (problem) {
    case LayoutProblem::kNoRoom:
      return ExpectedArea::Outcome::kNoRoom;
    case LayoutProblem::kTooLong:
      return ExpectedArea::Outcome::kTooLong;
    case LayoutProblem::kSplitsEvent:
      return ExpectedArea::Outcome::kSplitsEvent;
    default:
      return ExpectedArea::Outcome::kFits;
  }
}

// The parsed area against what the macros must have become.
void ExpectParsedAs(const MacroArea& area, const std::vector<GeneratedMacro>& macros,
                    const ExpectedArea& expected) {
  const I2CSlots parsed = ParseMacroAreaOnly(area);
  ASSERT_EQ(parsed.Count(), static_cast<int>(macros.size()));
  for (std::size_t k = 0; k < macros.size(); ++k) {
    const auto& events = expected.events[k];
    EXPECT_EQ(parsed.names[k], EncodeMacroName(macros[k].name));
    EXPECT_TRUE(std::equal(events.begin(), events.end(), parsed.events[k].begin())) << "slot " << k;
    EXPECT_EQ(parsed.addresses[k], expected.addresses[k]);
    // Shown as lines and encoded again, the macro keeps its bytes.
    const DecodedMacro lines =
        DecodeEvents(parsed.events[k], parsed.lengths[k] > 17 ? parsed.lengths[k] - 17u : 0);
    const auto encoded = EncodeLines(lines.lines);
    ASSERT_TRUE(encoded.ok()) << encoded.message();
    EXPECT_EQ(encoded.value(), events) << "slot " << k;
  }
}

TEST(RandomMacrosTest, LaidOutAreasParseBackAsTheMacrosLaidOut) {
  std::map<ExpectedArea::Outcome, int> outcomes;
  int loop_ends = 0;
  for (std::uint32_t seed = 0; seed < kRounds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RandomMacros random(seed);
    const auto macros = RandomArea(random);
    const ExpectedArea expected = testing::ExpectI2CArea(macros);
    I2CSlots slots = SlotsOf(macros);
    const I2CSlots given = slots;
    MacroArea area{};
    const LayoutResult laid = LayOutMacroArea(slots, area);
    ++outcomes[OutcomeOf(laid.problem)];
    ASSERT_EQ(OutcomeOf(laid.problem), expected.outcome);
    if (!laid.ok()) {
      EXPECT_EQ(laid.slot, expected.slot);
      EXPECT_EQ(slots, given);
      continue;
    }
    loop_ends += expected.loop_ends_added;
    ExpectParsedAs(area, macros, expected);
    // What the mouse would read is laid out again unchanged.
    MacroArea again{};
    EXPECT_EQ(ParseMacroArea(area, again), slots);
    EXPECT_EQ(again, area);
    if (HasFatalFailure()) return;
  }
  // Every outcome came up often enough to mean something.
  EXPECT_GE(outcomes[ExpectedArea::Outcome::kFits], 500);
  for (auto outcome : {ExpectedArea::Outcome::kNoRoom, ExpectedArea::Outcome::kTooLong,
                       ExpectedArea::Outcome::kSplitsEvent}) {
    EXPECT_GE(outcomes[outcome], 30) << static_cast<int>(outcome);
  }
  EXPECT_GE(loop_ends, 30);
}

}  // namespace
}  // namespace vrdk::macros
