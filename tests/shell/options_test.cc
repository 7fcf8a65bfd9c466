// vrdk-mouse's command line.

#include "shell/options.h"

#include <gtest/gtest.h>

namespace vrdk::shell {
namespace {

Result<ShellOptions> Parse(std::vector<std::string> args) { return ParseShellOptions(args); }

TEST(ShellOptions, ReadsEveryOptionInBothForms) {
  const auto parsed = Parse({"--simulate=mouse.bin", "--memory-type", "Flash", "--trace=t.txt",
                             "--layout-report", "layout.json", "--simulate-fault=unplug:7",
                             "--simulate-fault", "no-access", "--screenshots=shots", "--engineer"});
  ASSERT_TRUE(parsed.ok()) << parsed.message();
  const ShellOptions& options = parsed.value();
  EXPECT_TRUE(options.simulate);
  EXPECT_EQ(options.simulate_file, "mouse.bin");
  EXPECT_EQ(options.memory_type, MemoryType::kFlash);
  EXPECT_EQ(options.trace_file, "t.txt");
  EXPECT_EQ(options.layout_report, "layout.json");
  EXPECT_EQ(options.faults.mouse.unplug_at_transfer, 7);
  EXPECT_TRUE(options.faults.no_access);
  EXPECT_EQ(options.screenshots, "shots");
  EXPECT_TRUE(options.engineer);
  EXPECT_FALSE(Parse({}).value().engineer);
}

TEST(ShellOptions, SimulateAloneTakesNoValueFromTheNextArgument) {
  const auto parsed = Parse({"--simulate", "--trace", "t.txt"});
  ASSERT_TRUE(parsed.ok());
  EXPECT_TRUE(parsed.value().simulate);
  EXPECT_EQ(parsed.value().simulate_file, "");
  EXPECT_EQ(parsed.value().trace_file, "t.txt");
}

TEST(ShellOptions, WrongLinesSayWhatIsWrong) {
  const struct {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{"--memory-type=EEPROM"}, "--memory-type is I2C or Flash, not \"EEPROM\""},
      {{"--trace"}, "--trace needs a value"},
      {{"--simulate="}, "--simulate= needs a FILE"},
      {{"--simulate-fault=unplug:3"}, "--simulate-fault needs --simulate"},
      {{"--simulate", "--simulate-fault=melt"}, ""},
      {{"--frobnicate"}, "unknown option \"--frobnicate\" (see --help)"},
  };
  for (const auto& test : cases) {
    const auto parsed = ParseShellOptions(test.args);
    EXPECT_FALSE(parsed.ok()) << test.args[0];
    if (!test.error.empty()) {
      EXPECT_EQ(parsed.message(), test.error);
    }
    EXPECT_FALSE(parsed.message().empty());
  }
}

TEST(ShellOptions, HelpNamesEveryOption) {
  ASSERT_TRUE(Parse({"--help"}).value().help);
  for (const char* option : {"--simulate", "--memory-type", "--simulate-fault", "--trace",
                             "--layout-report", "--screenshots"}) {
    EXPECT_NE(ShellUsage().find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace vrdk::shell
