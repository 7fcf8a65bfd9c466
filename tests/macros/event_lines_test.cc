// Event lines and the event bytes: the encoder, the decoder with its header
// rule, the display texts, and line deletion and insertion.

#include "macros/event_lines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vrdk::macros {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST(EncodeLinesTest, APressAndReleaseOfAWithoutDelays) {
  const MacroText lines = {"00", KeyboardKeyLine(true, "A", 0x04),
                           KeyboardKeyLine(false, "A", 0x04)};
  EXPECT_EQ(lines[1], "1 A CODE:8204");
  EXPECT_EQ(lines[2], "2 A CODE:0204");
  const auto encoded = EncodeLines(lines);
  ASSERT_TRUE(encoded.ok()) << encoded.message();
  EXPECT_THAT(encoded.value(), ElementsAre(0x82, 0x04, 0x02, 0x04, 0x00));
}

TEST(EncodeLinesTest, EveryKindEncodesToItsOpcode) {
  const MacroText lines = {"10",
                           "0 300",
                           "1 Ctrl CODE:8101",
                           "1 LeftKey CODE:00A1",
                           "2 Backward CODE:0030",
                           MoveLine(-10, 5),
                           "7 FD0A",
                           "8 FC",
                           "9 something else"};
  const auto encoded = EncodeLines(lines);
  ASSERT_TRUE(encoded.ok()) << encoded.message();
  EXPECT_THAT(encoded.value(), ElementsAre(0xFE, 0x01, 0x2C, 0x81, 0x01, 0xA1, 0x30, 0x04, 0xF6,
                                           0x05, 0xFD, 0x0A, 0xFC, 0x00));
}

TEST(EncodeLinesTest, DelaysThatAreNoNumberOrTooLargeStayInTheirField) {
  const auto encoded = EncodeLines({"10", "0 abc", "0 70000"});
  ASSERT_TRUE(encoded.ok());
  EXPECT_THAT(encoded.value(), ElementsAre(0xFE, 0, 0, 0xFE, 0xFF, 0xFF, 0x00));
}

TEST(EncodeLinesTest, ALineWithoutItsDigitsIsAnError) {
  EXPECT_FALSE(EncodeLines({"00", "1 A CODE:82ZZ"}).ok());
  EXPECT_FALSE(EncodeLines({"00", "3 04"}).ok());
}

TEST(EncodeLinesTest, ARecordHoldsAtMost256BytesEndIncluded) {
  MacroText lines = {"00"};
  for (int i = 0; i < 85; ++i) lines.push_back("0 1");  // 255 bytes + end
  EXPECT_TRUE(EncodeLinesForRecord(lines).ok());
  lines.push_back("8 FC");
  const auto refused = EncodeLinesForRecord(lines);
  EXPECT_FALSE(refused.ok());
  EXPECT_THAT(refused.message(), ::testing::HasSubstr("257"));
}

TEST(EncodeLinesTest, ALineWhoseBytesAreNotOneWholeEventIsRefusedByName) {
  // 0x12 starts no event; "00" + "00" is the end byte, which would end the
  // macro early and make the rest of the record read as something else.
  for (const std::string bad :
       {"4 x 123456", "1 A CODE:0000", "1 A CODE:A1FF", "8 00", "7 FE01", "2 A CODE:8204FF"}) {
    const auto encoded = EncodeLines({"00", "1 A CODE:8204", bad});
    EXPECT_FALSE(encoded.ok()) << bad;
    EXPECT_THAT(encoded.message(), ::testing::HasSubstr("line 2")) << bad;
    EXPECT_THAT(encoded.message(), ::testing::HasSubstr(bad)) << bad;
  }
  // A line whose digits make a whole event of another kind is still an event.
  EXPECT_TRUE(EncodeLines({"00", "7 8204"}).ok());
}

TEST(EncodeLinesTest, AFirstLineThatIsNoHeaderIsRefused) {
  const auto encoded = EncodeLines({"1 A CODE:8204", "2 A CODE:0204"});
  EXPECT_FALSE(encoded.ok());
  EXPECT_THAT(encoded.message(), ::testing::HasSubstr("header"));
  for (const std::string header : {"10", "00", "0150", "0165535"}) {
    EXPECT_TRUE(EncodeLines({header, "8 FC"}).ok()) << header;
  }
  EXPECT_FALSE(EncodeLines({"01", "8 FC"}).ok());
  EXPECT_FALSE(EncodeLines({"0 150", "8 FC"}).ok());
}

TEST(EncodeLinesTest, DelaysPastTheLongestNumberStillBecome65535) {
  const auto encoded = EncodeLines({"10", "0 99999999999999999999", "0 -99999999999999999999"});
  ASSERT_TRUE(encoded.ok()) << encoded.message();
  EXPECT_THAT(encoded.value(), ElementsAre(0xFE, 0xFF, 0xFF, 0xFE, 0x00, 0x00, 0x00));
}

struct HeaderCase {
  std::vector<std::uint8_t> events;
  std::string header;
  DelayMode mode;
};

class DecodeHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(DecodeHeaderTest, TheHeaderFollowsTheFirstFourDelays) {
  const auto& c = GetParam();
  const auto decoded = DecodeEvents(c.events, c.events.size());
  EXPECT_EQ(decoded.lines[0], c.header);
  EXPECT_EQ(decoded.mode, c.mode);
}

INSTANTIATE_TEST_SUITE_P(
    Delays, DecodeHeaderTest,
    ::testing::Values(
        HeaderCase{
            {0xFE, 0, 50, 0xFE, 0, 50, 0xFE, 0, 50, 0xFE, 0, 50, 0}, "0150", DelayMode::kFixed},
        HeaderCase{{0xFE, 0, 50, 0xFE, 0, 60, 0}, "10", DelayMode::kRecorded},
        HeaderCase{{0xFE, 0, 0, 0x82, 4, 0xFE, 0, 0, 0x02, 4, 0}, "00", DelayMode::kNone},
        // Fewer than four delays count as 0.
        HeaderCase{{0xFE, 0, 50, 0xFE, 0, 50, 0}, "10", DelayMode::kRecorded},
        HeaderCase{{0x82, 4, 0x02, 4, 0}, "00", DelayMode::kNone}));

TEST(DecodeEventsTest, LinesNameKeysModifiersAndButtons) {
  const std::vector<std::uint8_t> events = {0x81, 0x01, 0x82, 0x04, 0xA2, 0x22, 0xFD, 0x0A,
                                            0x04, 0xF6, 0x05, 0xFC, 0x01, 0x01, 0x00};
  const auto decoded = DecodeEvents(events, events.size());
  EXPECT_THAT(decoded.lines, ElementsAre("00", "1 Ctrl CODE:8101", "1 A CODE:8204",
                                         "1 RightKey CODE:00A2", "2 RightKey CODE:0022", "7 FD0A",
                                         "3 04F605", "8 FC", "2 Ctrl CODE:0101"));
  EXPECT_EQ(EncodeLines(decoded.lines).value(), events);
}

TEST(DecodeEventsTest, AByteThatStartsNoEventOrATruncatedEventEndsTheWalk) {
  EXPECT_THAT(DecodeEvents(std::vector<std::uint8_t>{0x82, 0x04, 0x77, 0xFC, 0x00}, 5).lines,
              ElementsAre("00", "1 A CODE:8204"));
  EXPECT_THAT(DecodeEvents(std::vector<std::uint8_t>{0xFC, 0xFE, 0x01}, 99).lines,
              ElementsAre("00", "8 FC"));
}

TEST(LineDisplayTextTest, EachKindHasItsListText) {
  EXPECT_EQ(LineDisplayText("1 Left Ctrl CODE:82E0"), "Left Ctrl");
  EXPECT_EQ(LineDisplayText("0 150"), "150 ms");
  EXPECT_EQ(LineDisplayText(MoveLine(-10, 5)), "X: -10  Y: 5");
  EXPECT_EQ(LineDisplayText("7 FD0A"), "Rep-Start  10");
  EXPECT_EQ(LineDisplayText("8 FC"), "Rep-Stop");
}

TEST(DeleteLineTest, ADownLineTakesItsUpLineAlong) {
  MacroText lines = {"00", "1 A CODE:8204", "1 B CODE:8205", "2 B CODE:0205", "2 A CODE:0204"};
  EXPECT_TRUE(DeleteLine(lines, 1).ok());
  EXPECT_THAT(lines, ElementsAre("00", "1 B CODE:8205", "2 B CODE:0205"));
  EXPECT_TRUE(DeleteLine(lines, 2).ok());
  EXPECT_THAT(lines, ElementsAre("00"));
}

TEST(DeleteLineTest, AMissingPartnerIsAContentErrorAndChangesNothing) {
  MacroText lines = {"00", "1 A CODE:8204", "2 B CODE:0205"};
  const MacroText before = lines;
  EXPECT_EQ(DeleteLine(lines, 1).message(), kContentErrorText);
  EXPECT_EQ(DeleteLine(lines, 2).message(), kContentErrorText);
  EXPECT_EQ(lines, before);
}

TEST(DeleteLineTest, LoopStartLinesStayAndOtherLinesGoAlone) {
  MacroText lines = {"00", "7 FD0A", "0 50", "8 FC"};
  EXPECT_TRUE(DeleteLine(lines, 1).Is(ErrorKind::kRefused));
  EXPECT_TRUE(DeleteLine(lines, 2).ok());
  EXPECT_THAT(lines, ElementsAre("00", "7 FD0A", "8 FC"));
}

TEST(InsertLineTest, FrontGoesBeforeTheSelectionAndBackAfterIt) {
  MacroText lines = {"00", "1 A CODE:8204", "2 A CODE:0204"};
  EXPECT_EQ(InsertLine(lines, 1, InsertItem::kMoveFront, {.x = -10, .y = 5}), 1u);
  EXPECT_EQ(InsertLine(lines, 0, InsertItem::kDelayBack, {.delay = 0}), 1u);
  EXPECT_EQ(InsertLine(lines, 0, InsertItem::kLoopStart, {.repeat = 300}), 0u);
  EXPECT_EQ(InsertLine(lines, 4, InsertItem::kLoopEnd, {}), 5u);
  EXPECT_THAT(lines, ElementsAre("00", "7 FDFF", "1 A CODE:8204", "0 1", "3 04F605",
                                 "2 A CODE:0204", "8 FC"));
  EXPECT_FALSE(InsertLine(lines, 6, InsertItem::kDelayFront, {}));
  EXPECT_FALSE(InsertLine(lines, 0, InsertItem::kKeyFront, {}));
}

TEST(EditLineTest, AKeyLineBecomesAKeyboardKeyEvenForCtrl) {
  MacroText lines = {"00", "1 A CODE:8204", "0 5"};
  ASSERT_TRUE(EditKeyLine(lines, 1, 0x11));
  EXPECT_EQ(EncodeLines(lines).value()[0], 0x82);
  EXPECT_EQ(EncodeLines(lines).value()[1], 0xE0);
  ASSERT_TRUE(EditDelayLine(lines, 2, 0));
  EXPECT_EQ(lines[2], "0 1");
  EXPECT_FALSE(EditDelayLine(lines, 1, 10));
}

}  // namespace
}  // namespace vrdk::macros
