// vrdkctl run in-process against a temporary --simulate file: its output,
// exit codes, the file it keeps, and its trace.

#include "cli/vrdkctl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "image/checksum.h"
#include "simulator/simulated_mouse.h"
#include "support/environment.h"
#include "support/temp_dir.h"

namespace vrdk::cli {
namespace {

using nlohmann::json;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::TempDir;

struct Result {
  int code;
  std::string out;
  std::string err;
};

class VrdkctlTest : public ::testing::Test {
 protected:
  Result Run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = RunVrdkctl(args, out, err);
    return {code, out.str(), err.str()};
  }
  Result Sim(std::vector<std::string> args) {
    args.insert(args.begin(), "--simulate=" + mouse_file_);
    return Run(std::move(args));
  }
  json SimJson(std::vector<std::string> args) {
    args.insert(args.begin(), "--json");
    const Result result = Sim(std::move(args));
    EXPECT_EQ(result.code, 0) << result.err;
    return json::parse(result.out);
  }

  TempDir dir_;
  std::string mouse_file_ = dir_.File("mouse.bin");
};

TEST_F(VrdkctlTest, AMissingSimulationFileIsCreatedFromDefaultImageOne) {
  const Result result = Sim({"info"});
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr("I2C"));
  EXPECT_THAT(result.out, HasSubstr("1BCF:08B8"));
  EXPECT_EQ(TempDir::Read(mouse_file_), SimulatedMouse::FactoryMemory(MemoryType::kI2C));
}

TEST_F(VrdkctlTest, InfoAsJsonDescribesTheDefaultMouse) {
  const json info = SimJson({"info"});
  EXPECT_EQ(info["memory_type"], "I2C");
  EXPECT_EQ(info["vendor_id"], "1BCF");
  EXPECT_EQ(info["product_id"], "08B8");
  EXPECT_EQ(info["customer_codes"], json({255, 255}));
  EXPECT_EQ(info["product_string"], "HID Gaming Mouse");
  EXPECT_EQ(info["patch_checksum"], "75F0");
  EXPECT_EQ(info["current_profile"], 2);
  EXPECT_EQ(info["polling_rate"], 1000);
  EXPECT_EQ(info["led_type"], "MCULED");
  EXPECT_EQ(info["repaired_sections"], json::array());
}

TEST_F(VrdkctlTest, DumpAsJsonNamesEveryButtonAndDecodesTheDpiLevels) {
  const json dump = SimJson({"dump"});
  ASSERT_EQ(dump["profiles"].size(), 3u);
  for (const auto& profile : dump["profiles"]) ASSERT_EQ(profile["buttons"].size(), 12u);
  EXPECT_EQ(dump["profiles"][0]["buttons"][0]["code"], "01010000");
  EXPECT_FALSE(dump["profiles"][0]["buttons"][0]["name"].get<std::string>().empty());
  EXPECT_EQ(dump["combination_slots"].size(), 9u);
  EXPECT_EQ(dump["combination_slots"][2], "0781F018");
  EXPECT_EQ(dump["dpi"]["levels"], 6);
  EXPECT_EQ(dump["dpi"]["current"], 3);
  EXPECT_EQ(dump["dpi"]["values"].size(), 6u);
  for (const auto& value : dump["dpi"]["values"]) EXPECT_TRUE(value.is_number());
  EXPECT_EQ(dump["dpi"]["colors"][0], "FF0000");
  EXPECT_EQ(dump["fire"][0], json({{"count", 3}, {"interval", 60}}));
  EXPECT_EQ(dump["fire"][2], json({{"count", 8}, {"interval", 60}}));
}

TEST_F(VrdkctlTest, ARepairedSectionIsReportedAndTheFileKeepsTheMousesBytes) {
  auto memory = SimulatedMouse::FactoryMemory(MemoryType::kI2C);
  memory[200] ^= 0x01;  // Profile1 no longer matches its checksum
  TempDir::Write(mouse_file_, memory);
  const json info = SimJson({"info"});
  EXPECT_EQ(info["repaired_sections"], json({"Profile1"}));
  EXPECT_EQ(TempDir::Read(mouse_file_), memory);
}

TEST_F(VrdkctlTest, SaveLoadAndResetActOnTheSameMouseAcrossRuns) {
  ASSERT_EQ(Sim({"info"}).code, 0);
  const auto saved = dir_.File("saved.bin");
  ASSERT_EQ(Sim({"save", saved}).code, 0);
  auto changed = TempDir::Read(saved);
  ASSERT_EQ(changed.size(), 2048u);
  changed[164] = 0x02;  // current profile 3
  changed[191] = image::SectionChecksum(std::span(changed).subspan(164, 28));
  TempDir::Write(saved, changed);
  const Result load = Sim({"load", saved});
  ASSERT_EQ(load.code, 0) << load.err;
  EXPECT_EQ(SimJson({"info"})["current_profile"], 3);
  ASSERT_EQ(Sim({"reset"}).code, 0);
  EXPECT_EQ(SimJson({"info"})["current_profile"], 2);
}

#ifndef _WIN32
TEST_F(VrdkctlTest, ATraceThatIsNoRegularFileIsRefusedAtOnce) {
  const std::string fifo = dir_.File("trace.fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const Result traced = Sim({"--trace=" + fifo, "info"});
  EXPECT_EQ(traced.code, kExitFileError);
  EXPECT_THAT(traced.err, HasSubstr("not a regular file"));
}

// A desktop tool that hangs is ended and named; the kept values are shown.
TEST_F(VrdkctlTest, PointerShowNamesTheDesktopSettingsAHungToolCouldNotRead) {
  const std::string tools = dir_.File("bin");
  std::filesystem::create_directory(tools);
  std::ofstream(tools + "/gsettings") << "#!/bin/sh\nexec sleep 30\n";
  std::filesystem::permissions(tools + "/gsettings", std::filesystem::perms::owner_all);
  const char* path = std::getenv("PATH");
  const std::string saved_path = path != nullptr ? path : "";
  testing::SetEnv("PATH", tools + ":" + saved_path);
  testing::SetEnv("XDG_CURRENT_DESKTOP", "GNOME");
  testing::SetEnv("XDG_CONFIG_HOME", dir_.File("config"));
  const Result shown = Run({"pointer", "show"});
  testing::SetEnv("PATH", saved_path);
  testing::UnsetEnv("XDG_CURRENT_DESKTOP");
  testing::UnsetEnv("XDG_CONFIG_HOME");
  EXPECT_EQ(shown.code, 0) << shown.err;
  EXPECT_THAT(shown.out, HasSubstr("speed 11\n"));
  EXPECT_THAT(shown.err, HasSubstr("gsettings did not answer within 3 s and was ended: the "
                                   "pointer speed, acceleration, double-click setting of GNOME"));
}
#endif

TEST_F(VrdkctlTest, RawReadsPrintHexAndXDataRoundTripsWithinARun) {
  const Result memory = Sim({"memory", "read", "0", "0x10"});
  EXPECT_EQ(memory.code, 0) << memory.err;
  EXPECT_EQ(memory.out, "0000: 1B CF 08 B8 BF 1F 7F 4F AF 20 35 29 10 30 1A 00\n");
  // Reads stop at the end: no bytes from the start of the memory.
  const Result past = Sim({"memory", "read", "2040", "16"});
  EXPECT_EQ(past.code, kExitUsage);
  EXPECT_THAT(past.err, HasSubstr("passes the end of the memory (2048 bytes)"));
  EXPECT_EQ(Sim({"memory", "read", "2032", "16"}).code, 0);
  const json live = SimJson({"live", "read", "164", "4"});
  EXPECT_EQ(live["bytes"], "01 84 02 00");
  EXPECT_EQ(Sim({"xdata", "write", "0xF000", "0x5A"}).code, 0);
  const json xdata = SimJson({"xdata", "read", "0xF000"});
  EXPECT_EQ(xdata["value"], 0);  // XData is the controller's RAM: a new run starts blank
}

TEST_F(VrdkctlTest, ListShowsTheSimulatedMousesCollections) {
  const json list = SimJson({"list"})["interfaces"];
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[2]["vendor_id"], "1BCF");
  EXPECT_EQ(list[2]["feature_report_length"], 8);
  EXPECT_EQ(list[2]["target"], true);
  EXPECT_EQ(list[0]["feature_report_length"], 0);
}

TEST_F(VrdkctlTest, NamesListsMenuEntriesWithTheMousesCodes) {
  ASSERT_EQ(Sim({"fire", "2", "7", "100", "--hold"}).code, 0);
  const json names = SimJson({"names"});
  EXPECT_EQ(names["source"], "mouse");
  std::map<int, std::string> codes;
  for (const auto& entry : names["functions"]) {
    EXPECT_TRUE(std::regex_match(entry["code"].get<std::string>(), std::regex("[0-9A-F]{8}")));
    codes[entry["tag"].get<int>()] = entry["code"];
  }
  EXPECT_EQ(codes[1100], "0300CD00");
  EXPECT_EQ(codes[2000], "09000008");  // the DPI loop buttons' combination bit
  EXPECT_EQ(codes[2101], "06160064");  // fire button 2 as the mouse holds it
  EXPECT_THAT(Sim({"names"}).out, HasSubstr("as the mouse makes them"));
  // A mouse this program does not accept is not read: the defaults make the codes.
  ASSERT_EQ(Sim({"engineer", "codes", "1", "2", "--force"}).code, 0);
  EXPECT_EQ(SimJson({"names"})["source"], "defaults");
}

TEST_F(VrdkctlTest, GlobalOptionsWorkAfterTheCommandToo) {
  const Result dump = Sim({"dump", "--json"});
  ASSERT_EQ(dump.code, 0) << dump.err;
  EXPECT_EQ(json::parse(dump.out)["memory_type"], "I2C");
  EXPECT_EQ(Sim({"info", "--json"}).out, Sim({"--json", "info"}).out);
}

TEST_F(VrdkctlTest, TheSecondLanguageNamesButtonsDifferently) {
  const json english = SimJson({"dump"});
  const json chinese = SimJson({"--lang=2", "dump"});
  EXPECT_NE(english["profiles"][0]["buttons"][0]["name"],
            chinese["profiles"][0]["buttons"][0]["name"]);
}

TEST_F(VrdkctlTest, TheTraceHoldsEveryTransferInOrder) {
  const auto trace = dir_.File("trace.txt");
  ASSERT_EQ(Sim({"--trace=" + trace, "info"}).code, 0);
  const auto bytes = TempDir::Read(trace);
  std::istringstream lines(std::string(bytes.begin(), bytes.end()));
  const std::regex shape("[<>] ([0-9A-F]{2} ){7}[0-9A-F]{2}( FAIL)?");
  int answers = 0;
  bool whole_read = false;
  for (std::string line; std::getline(lines, line);) {
    EXPECT_TRUE(std::regex_match(line, shape)) << line;
    answers += line.rfind("< 41", 0) == 0 ? 1 : 0;
    whole_read = whole_read || line == "> 40 09 00 00 08 00 00 00";
  }
  EXPECT_TRUE(whole_read);
  EXPECT_GE(answers, 293);
}

TEST_F(VrdkctlTest, AFlashMemoryForAnI2CProgramIsRefusedNamingBoth) {
  TempDir::Write(mouse_file_, SimulatedMouse::FactoryMemory(MemoryType::kFlash));
  const Result result = Sim({"--memory-type=I2C", "info"});
  EXPECT_EQ(result.code, kExitFileError);
  EXPECT_THAT(result.err, HasSubstr("a \"Flash\" image, not \"I2C\""));
}

TEST_F(VrdkctlTest, ErrorsEndWithTheirExitCodes) {
  EXPECT_EQ(Run({"frobnicate"}).code, kExitUsage);
  // A mistyped command is named, with the nearest one, by the program.
  const Result typo = Run({"infoo"});
  EXPECT_EQ(typo.code, kExitUsage);
  EXPECT_THAT(typo.err, HasSubstr("vrdkctl: unknown command 'infoo'; did you mean 'info'?"));
  EXPECT_THAT(Sim({"library", "shwo"}).err,
              HasSubstr("vrdkctl: unknown library command 'shwo'; did you mean 'show'?"));
  EXPECT_THAT(Sim({"dpi", "bogus"}).err, HasSubstr("vrdkctl: unknown dpi command 'bogus'\n"));
  // Any other mistake carries the program's name too.
  EXPECT_THAT(Run({"--lang", "7", "info"}).err, HasSubstr("vrdkctl: "));
  EXPECT_EQ(Run({}).code, kExitUsage);
  EXPECT_EQ(Sim({"memory", "read", "0", "0"}).code, kExitUsage);
  EXPECT_EQ(Sim({"live", "read", "0", "256"}).code, kExitUsage);
  EXPECT_EQ(Sim({"xdata", "write", "1", "300"}).code, kExitUsage);
  EXPECT_EQ(Sim({"reset", "4"}).code, kExitUsage);
  EXPECT_EQ(Sim({"save", dir_.File("no/such/folder/x.bin")}).code, kExitFileError);
  EXPECT_EQ(Sim({"load", dir_.File("missing.bin")}).code, kExitFileError);

  const auto wrong = dir_.File("wrong.bin");
  TempDir::Write(wrong, std::vector<std::uint8_t>(2048, 0));
  const Result load = Sim({"load", wrong});
  EXPECT_EQ(load.code, kExitFileError);
  EXPECT_THAT(load.err, HasSubstr("Loading .bin is error!"));

  TempDir::Write(mouse_file_, std::vector<std::uint8_t>(1000, 0));
  const Result odd = Sim({"info"});
  EXPECT_EQ(odd.code, kExitFileError);
  EXPECT_THAT(odd.err, HasSubstr("2048"));
}

TEST_F(VrdkctlTest, ButtonsTakeNamesCombinationsTagsAndCodes) {
  ASSERT_EQ(Sim({"button", "2", "3", "Play / Pause"}).code, 0);
  ASSERT_EQ(Sim({"button", "1", "10", "Ctrl+Shift+A"}).code, 0);
  ASSERT_EQ(Sim({"button", "1", "11", "tag:1204"}).code, 0);  // the browser's Stop
  ASSERT_EQ(Sim({"button", "3", "12", "code:0c000000"}).code, 0);
  const json dump = SimJson({"dump"});
  EXPECT_EQ(dump["profiles"][1]["buttons"][2]["code"], "0300CD00");
  EXPECT_EQ(dump["profiles"][0]["buttons"][9],
            json({{"code", "02030400"}, {"name", "Ctrl+Shift+A"}}));
  EXPECT_EQ(dump["profiles"][0]["buttons"][10]["code"], "03022600");
  EXPECT_EQ(dump["profiles"][2]["buttons"][11]["code"], "0C000000");
  EXPECT_EQ(Sim({"button", "1", "1", "Right Click"}).code, kExitRefused);
  EXPECT_EQ(Sim({"button", "1", "2", "No Such Thing"}).code, kExitUsage);
  EXPECT_EQ(Sim({"button", "1", "2", "Ctrl+A+B+C"}).code, kExitUsage);
}

TEST_F(VrdkctlTest, FireAimAndGesturesFollowTheirRules) {
  ASSERT_EQ(Sim({"fire", "1", "5", "30", "--no-hold"}).code, 0);
  EXPECT_EQ(SimJson({"dump"})["profiles"][0]["buttons"][2]["code"], "0614001E");
  EXPECT_EQ(Sim({"fire", "1", "16", "30"}).code, kExitUsage);
  EXPECT_EQ(Sim({"aim", "1600"}).code, kExitRefused);
  ASSERT_EQ(Sim({"button", "3", "12", "DPI Lock"}).code, 0);
  ASSERT_EQ(Sim({"aim", "1600"}).code, 0);
  EXPECT_EQ(SimJson({"dump"})["profiles"][2]["buttons"][11]["code"], "05060000");
  ASSERT_EQ(Sim({"gesture", "game", "dpi+"}).code, 0);
  // Slot 4 keeps the offset 0x018 it held.
  EXPECT_EQ(SimJson({"dump"})["combination_slots"][3], "07D1F018");
  EXPECT_EQ(Sim({"gesture", "led", "maybe"}).code, kExitUsage);
}

TEST_F(VrdkctlTest, DpiRateAndProfileCommandsChangeTheMouse) {
  ASSERT_EQ(Sim({"dpi", "levels", "4"}).code, 0);
  ASSERT_EQ(Sim({"dpi", "value", "2", "200"}).code, 0);
  ASSERT_EQ(Sim({"dpi", "color", "1", "123456"}).code, 0);
  EXPECT_EQ(Sim({"dpi", "current", "6"}).code, kExitRefused);
  ASSERT_EQ(Sim({"dpi", "current", "4"}).code, 0);
  const json dpi = SimJson({"dump"})["dpi"];
  EXPECT_EQ(dpi["levels"], 4);
  EXPECT_EQ(dpi["values"][1], 200);
  EXPECT_EQ(dpi["colors"][0], "123456");
  EXPECT_EQ(dpi["current"], 4);
  ASSERT_EQ(Sim({"rate", "250"}).code, 0);
  EXPECT_EQ(SimJson({"info"})["polling_rate"], 250);
  EXPECT_EQ(Sim({"rate", "300"}).code, kExitUsage);
  ASSERT_EQ(Sim({"profile", "3"}).code, 0);
  EXPECT_EQ(SimJson({"info"})["current_profile"], 3);
}

TEST_F(VrdkctlTest, HelpIsThereForEveryCommandAndListsTheExitCodes) {
  for (std::vector<std::string> args :
       std::vector<std::vector<std::string>>{{"--help"},
                                             {"info", "--help"},
                                             {"memory", "read", "--help"},
                                             {"xdata", "write", "--help"}}) {
    const Result result = Run(args);
    EXPECT_EQ(result.code, 0);
    EXPECT_THAT(result.out, HasSubstr("Exit codes:"));
  }
}

// The real bus, over a folder that stands for a machine without HID devices:
// a developer's own mouse, real or virtual, is never reached.
TEST_F(VrdkctlTest, WithoutTheSimulatedMouseAndNoHardwareNoMouseIsFound) {
  const std::string root = dir_.File("machine");
  std::filesystem::create_directories(root + "/sys/class/hidraw");
  std::filesystem::create_directories(root + "/dev");
  RunOptions options;
  options.hidraw_root = root;
  std::ostringstream out, err;
  EXPECT_EQ(RunVrdkctl({"info"}, out, err, options), kExitNoMouse);
  EXPECT_THAT(err.str(), HasSubstr("no mouse found"));
#ifdef __linux__  // the folder stands for the bus only where the bus is hidraw
  std::ostringstream listed, list_err;
  EXPECT_EQ(RunVrdkctl({"list"}, listed, list_err, options), kExitDone) << list_err.str();
  EXPECT_EQ(listed.str(), "no HID interfaces\n");
#endif
}

}  // namespace
}  // namespace vrdk::cli
