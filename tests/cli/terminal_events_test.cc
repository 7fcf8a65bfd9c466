// vrdkctl's face: messages in the chosen language and the progress bar.

#include "cli/terminal_events.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace vrdk::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(TerminalEvents, MessagesUseTheLanguageAndFallBackToTheKey) {
  std::ostringstream err;
  const auto english = LoadLanguageTable(1);
  ASSERT_TRUE(english.has_value());
  TerminalEvents events(err, false);
  events.SetLanguage(&*english);
  events.ShowMessage("Str102");
  events.ShowMessage("Str999");
  events.ShowText("Loading .bin is error!");
  EXPECT_EQ(err.str(),
            "vrdkctl: Bin file type error\nvrdkctl: Str999\nvrdkctl: Loading .bin is error!\n");
  EXPECT_EQ(events.Messages().size(), 3u);
}

TEST(TerminalEvents, ABarIsDrawnOnlyOnATerminalAndOnlyForLongTransfers) {
  std::ostringstream quiet;
  TerminalEvents pipe(quiet, false);
  for (int i = 0; i < 293; ++i) pipe.ShowLoading(i, 293);
  EXPECT_EQ(quiet.str(), "");

  std::ostringstream terminal;
  TerminalEvents tty(terminal, true);
  tty.ShowLoading(0, 1);  // a single live write: no bar
  EXPECT_EQ(terminal.str(), "");
  for (int i = 0; i < 293 * 32; ++i) tty.ShowLoading(i, 293 * 32);
  const std::string drawn = terminal.str();
  EXPECT_THAT(drawn, HasSubstr("] 50%"));
  EXPECT_THAT(drawn, HasSubstr("] 100%"));
  // One redraw per percent, and the line is cleared at the end.
  EXPECT_LT(drawn.size(), 101u * 60);
  EXPECT_EQ(drawn.back(), '\r');
}

}  // namespace
}  // namespace vrdk::cli
