// vrdkctl's library, macro and firemacro commands, in-process, against a
// temporary library, data folder and simulated mouse.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "cli/vrdkctl.h"
#include "support/environment.h"
#include "support/temp_dir.h"

namespace vrdk::cli {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::TempDir;

class MacroCommandsTest : public ::testing::Test {
 protected:
  MacroCommandsTest() { vrdk::testing::SetEnv("XDG_DATA_HOME", dir_.File("data").c_str()); }
  ~MacroCommandsTest() override { vrdk::testing::UnsetEnv("XDG_DATA_HOME"); }

  struct Result {
    int code;
    std::string out;
    std::string err;
  };
  Result Run(std::vector<std::string> args) { return RunOn("mouse.bin", std::move(args)); }
  Result RunOn(const std::string& mouse, std::vector<std::string> args) {
    args.insert(args.begin(), {"--simulate=" + dir_.File(mouse), "--library=" + library_});
    std::ostringstream out, err;
    const int code = RunVrdkctl(args, out, err);
    return {code, out.str(), err.str()};
  }
  std::string WriteLines(const std::string& text) {
    const std::string file = dir_.File("lines.txt");
    TempDir::Write(file, std::vector<std::uint8_t>(text.begin(), text.end()));
    return file;
  }

  TempDir dir_;
  std::string library_ = dir_.File("Macro.bin");
};

TEST_F(MacroCommandsTest, LinesSetInTheLibraryShowAsTheyWereWritten) {
  ASSERT_EQ(Run({"library", "new", "Keys"}).code, 0);
  const std::string lines =
      "0150\n1 A CODE:8204\n0 50\n2 A CODE:0204\n0 50\n1 Ctrl CODE:8101\n"
      "0 50\n2 Ctrl CODE:0101\n0 50\n";
  const Result set = Run({"library", "set", "Keys", WriteLines(lines)});
  ASSERT_EQ(set.code, 0) << set.err;
  EXPECT_EQ(Run({"library", "show", "Keys"}).out, lines);
  const auto bytes = TempDir::Read(library_);
  EXPECT_THAT(std::vector<std::uint8_t>(bytes.begin() + 16, bytes.begin() + 24),
              ElementsAre(0x82, 0x04, 0xFE, 0x00, 0x32, 0x02, 0x04, 0xFE));
}

TEST_F(MacroCommandsTest, AButtonPlaysAMacroOfTheMouseByName) {
  ASSERT_EQ(Run({"library", "new", "Zap"}).code, 0);
  ASSERT_EQ(Run({"macro", "add", "Zap"}).code, 0);
  ASSERT_EQ(Run({"button", "2", "5", "macro:Zap"}).code, 0);
  const Result dump = Run({"--json", "dump"});
  ASSERT_EQ(dump.code, 0) << dump.err;
  EXPECT_THAT(dump.out, HasSubstr("\"code\": \"10020000\""));
  EXPECT_THAT(dump.out, HasSubstr("\"name\": \"Zap\""));
  const Result missing = Run({"button", "2", "5", "macro:Nope"});
  EXPECT_EQ(missing.code, kExitUsage);
  EXPECT_THAT(missing.err, HasSubstr("no macro named \"Nope\""));
}

TEST_F(MacroCommandsTest, RefusalsExitWithFiveAndChangeNothing) {
  ASSERT_EQ(Run({"library", "new", "Keys"}).code, 0);
  const auto before = TempDir::Read(library_);
  const Result duplicate = Run({"library", "new", "Keys"});
  EXPECT_EQ(duplicate.code, 5);
  EXPECT_THAT(duplicate.err, HasSubstr("This macro already exists"));
  std::string lines = "00\n";
  for (int i = 0; i < 86; ++i) lines += "0 7\n";
  const Result too_long = Run({"library", "set", "Keys", WriteLines(lines)});
  EXPECT_EQ(too_long.code, 5);
  EXPECT_THAT(too_long.err, HasSubstr("at most 256"));
  EXPECT_EQ(Run({"library", "set", "Keys", WriteLines("00\n1 A CODE:82\n")}).code, 1);
  EXPECT_EQ(TempDir::Read(library_), before);
}

TEST_F(MacroCommandsTest, ALibraryMacroAddedToTheMouseListsAtItsAddress) {
  ASSERT_EQ(Run({"library", "new", "Keys"}).code, 0);
  ASSERT_EQ(Run({"library", "set", "Keys", WriteLines("00\n1 A CODE:8204\n2 A CODE:0204\n")}).code,
            0);
  const Result add = Run({"macro", "add", "Keys"});
  ASSERT_EQ(add.code, 0) << add.err;
  EXPECT_EQ(Run({"macro", "list"}).out, "Keys  0x0200\n");
  EXPECT_EQ(Run({"macro", "show", "Keys"}).out, "00\n1 A CODE:8204\n2 A CODE:0204\n");
  const auto mouse = TempDir::Read(dir_.File("mouse.bin"));
  EXPECT_THAT(std::vector<std::uint8_t>(mouse.begin() + 0x0200, mouse.begin() + 0x0206),
              ElementsAre(0x82, 0x04, 0x02, 0x04, 0x00, 0x00));
  ASSERT_EQ(Run({"macro", "delete", "Keys"}).code, 0);
  EXPECT_EQ(Run({"macro", "list"}).out, "");
  EXPECT_EQ(Run({"macro", "show", "Keys"}).code, 1);
}

TEST_F(MacroCommandsTest, LinesThatAreNoWholeEventAreRefusedNamingTheLine) {
  ASSERT_EQ(Run({"library", "new", "Keys"}).code, 0);
  const auto before = TempDir::Read(library_);
  for (const std::string bad : {"4 x 123456", "1 A CODE:0000"}) {
    const Result set =
        Run({"library", "set", "Keys", WriteLines("00\n1 A CODE:8204\n" + bad + "\n")});
    EXPECT_EQ(set.code, kExitUsage) << bad;
    EXPECT_THAT(set.err, HasSubstr(bad));
  }
  EXPECT_EQ(TempDir::Read(library_), before);
}

#ifndef _WIN32
// Files from outside: a FIFO, a device, a folder, a file far too long.
// Each is a file error, at once.
TEST_F(MacroCommandsTest, ALinesFileThatIsNoRegularFileIsAFileErrorAndNothingHangs) {
  ASSERT_EQ(Run({"library", "new", "Keys"}).code, 0);
  const std::string fifo = dir_.File("lines.fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& file : {fifo, std::string("/dev/zero"), dir_.File("")}) {
    const Result set = Run({"library", "set", "Keys", file});
    EXPECT_EQ(set.code, kExitFileError) << file << ": " << set.err;
  }
  const std::string big = dir_.File("big.txt");
  TempDir::Write(big, std::vector<std::uint8_t>(300 * 1024, 'A'));
  const Result set = Run({"library", "set", "Keys", big});
  EXPECT_EQ(set.code, kExitFileError);
  EXPECT_THAT(set.err, HasSubstr("larger than a lines file can be"));
  // A FIFO where the library or the fire-macro scripts should be hangs nothing either.
  const std::string library_fifo = dir_.File("fifo-library.bin");
  ASSERT_EQ(::mkfifo(library_fifo.c_str(), 0600), 0);
  library_ = library_fifo;
  EXPECT_EQ(Run({"library", "list"}).code, kExitFileError);
}
#endif

TEST_F(MacroCommandsTest, ALinesFileWithoutItsHeaderLineIsRefused) {
  ASSERT_EQ(Run({"library", "new", "Keys"}).code, 0);
  const Result set = Run({"library", "set", "Keys", WriteLines("1 A CODE:8204\n2 A CODE:0204\n")});
  EXPECT_EQ(set.code, kExitUsage);
  EXPECT_THAT(set.err, HasSubstr("header"));
  EXPECT_EQ(Run({"library", "show", "Keys"}).out, "00\n");
}

TEST_F(MacroCommandsTest, ANameTheMouseReadsAsAFreePlaceIsNeitherKeptNorAdded) {
  const std::string u4eff = "\xE4\xBB\xBF";
  EXPECT_EQ(Run({"library", "new", u4eff}).code, kExitUsage);
  // A library written by another program may hold such a name already.
  std::vector<std::uint8_t> library(27200, 0);
  library[0] = 0x4E;
  library[1] = 0xFF;
  library[16] = 0xFC;
  TempDir::Write(library_, library);
  const Result add = Run({"macro", "add", u4eff});
  EXPECT_EQ(add.code, 5);
  EXPECT_THAT(add.err, HasSubstr("free"));
  EXPECT_EQ(Run({"macro", "list"}).out, "");
}

TEST_F(MacroCommandsTest, AMacroThatDoesNotFitSaysSoOnce) {
  std::string lines = "00\n";
  for (int i = 0; i < 200; ++i) lines += "8 FC\n";
  const std::string file = WriteLines(lines);
  for (const std::string name : {"A", "B", "C"}) {
    ASSERT_EQ(Run({"library", "new", name}).code, 0);
    ASSERT_EQ(Run({"library", "set", name, file}).code, 0);
  }
  ASSERT_EQ(Run({"macro", "add", "A"}).code, 0);
  ASSERT_EQ(Run({"macro", "add", "B"}).code, 0);
  const Result add = Run({"macro", "add", "C"});
  EXPECT_EQ(add.code, 5);
  const std::string text = "Macro bin length out of range";
  const auto first = add.err.find(text);
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(add.err.find(text, first + 1), std::string::npos) << add.err;
}

TEST_F(MacroCommandsTest, BothImportsLayTheFileOutAlikeAndRefuseAShortFile) {
  // A macro whose key down lies at offset 255 of the area, not yet moved
  // behind a loop end.
  std::vector<std::uint8_t> area(512, 0);
  area[1] = 'L';
  std::fill_n(area.begin() + 16, 241, 0xFC);
  area[255] = 0x82;
  area[256] = 0x04;
  const std::string file = dir_.File("macros.bin");
  TempDir::Write(file, area);
  ASSERT_EQ(RunOn("one.bin", {"macro", "import", file}).code, 0);
  ASSERT_EQ(RunOn("two.bin", {"import-base-macros", file}).code, 0);
  const auto one = TempDir::Read(dir_.File("one.bin"));
  const auto two = TempDir::Read(dir_.File("two.bin"));
  EXPECT_EQ(one[496 + 255], 0xFC);
  EXPECT_EQ(one[496 + 256], 0x82);
  EXPECT_TRUE(std::equal(one.begin() + 496, one.begin() + 1008, two.begin() + 496));
  EXPECT_EQ(RunOn("two.bin", {"macro", "show", "L"}).out,
            RunOn("one.bin", {"macro", "show", "L"}).out);
  area.pop_back();
  TempDir::Write(file, area);
  EXPECT_EQ(RunOn("one.bin", {"macro", "import", file}).code, 4);
  EXPECT_EQ(RunOn("two.bin", {"import-base-macros", file}).code, 4);
}

TEST_F(MacroCommandsTest, FireMacroScriptsAreAddedInBothFormsAndRenumbered) {
  EXPECT_EQ(Run({"firemacro", "add", "--offset", "user"}).code, 0);
  EXPECT_EQ(Run({"firemacro", "add", "--plain", "--keep-left", "3", "5"}).code, 0);
  EXPECT_EQ(Run({"firemacro", "add", "--plain", "3"}).code, 1);
  EXPECT_EQ(Run({"firemacro", "list"}).out, "Fire Macro1  0B8F0000\nFire Macro2  0B120500\n");
  EXPECT_EQ(Run({"firemacro", "delete", "1"}).code, 0);
  EXPECT_EQ(Run({"firemacro", "list"}).out, "Fire Macro1  0B120500\n");
  EXPECT_EQ(Run({"firemacro", "delete", "2"}).code, 1);
  EXPECT_EQ(TempDir::Read(dir_.File("data/vrdk/Fire Macro.bin")).size(), 40u);
}

TEST_F(MacroCommandsTest, AScriptFileWithAFreeFirstEntryListsTheOthersByTheirNumbers) {
  std::vector<std::uint8_t> file(40, 0);
  file[8] = 0x0B;
  file[9] = 0x83;
  std::filesystem::create_directories(dir_.File("data/vrdk"));
  TempDir::Write(dir_.File("data/vrdk/Fire Macro.bin"), file);
  EXPECT_EQ(Run({"firemacro", "list"}).out, "Fire Macro3  0B830000\n");
  EXPECT_EQ(Run({"firemacro", "delete", "1"}).code, kExitUsage);
  ASSERT_EQ(Run({"firemacro", "add", "--offset", "1"}).code, 0);
  EXPECT_EQ(Run({"firemacro", "list"}).out, "Fire Macro1  0B800000\nFire Macro3  0B830000\n");
  ASSERT_EQ(Run({"firemacro", "delete", "1"}).code, 0);
  EXPECT_EQ(Run({"firemacro", "list"}).out, "Fire Macro2  0B830000\n");
}

// The "Flash" store through vrdkctl: 32 slots of 256 bytes, full macros.
TEST_F(MacroCommandsTest, AFlashMouseHoldsThirtyTwoFullMacrosAndReadsThemBack) {
  // 85 delays of three bytes and the end byte: 256 bytes, a whole slot.
  std::string lines = "00\n";
  for (int i = 0; i < 85; ++i) lines.append("0 ").append(std::to_string(300 + i)).append("\n");
  const std::string file = WriteLines(lines);
  auto flash = [&](std::vector<std::string> args) {
    args.insert(args.begin(), "--memory-type=Flash");
    return RunOn("flash.bin", std::move(args));
  };
  for (int n = 0; n < 32; ++n) {
    const std::string name = std::string("F").append(std::to_string(n));
    ASSERT_EQ(Run({"library", "new", name}).code, 0);
    ASSERT_EQ(Run({"library", "set", name, file}).code, 0);
    const Result add = flash({"macro", "add", name});
    ASSERT_EQ(add.code, 0) << name << ": " << add.err;
  }
  ASSERT_EQ(Run({"library", "new", "Extra"}).code, 0);
  EXPECT_EQ(flash({"macro", "add", "Extra"}).code, kExitRefused);
  const Result list = flash({"macro", "list"});
  EXPECT_THAT(list.out, HasSubstr("F0  0x4000\n"));
  EXPECT_THAT(list.out, HasSubstr("F31  0x5F00\n"));
  EXPECT_EQ(flash({"macro", "show", "F17"}).out, Run({"library", "show", "F17"}).out);
  // A button playing F7 follows it when F5 goes: it moves down one slot.
  ASSERT_EQ(flash({"button", "3", "12", "macro:F7"}).code, 0);
  ASSERT_EQ(flash({"macro", "delete", "F5"}).code, 0);
  const auto memory = TempDir::Read(dir_.File("flash.bin"));
  ASSERT_EQ(memory.size(), 65536u);
  const std::size_t button = 0x107A + 4 * 11;  // profile 3, button 12
  EXPECT_THAT(std::vector<std::uint8_t>(memory.begin() + button, memory.begin() + button + 4),
              ElementsAre(0x10, 0x46, 0x00, 0x00));
  // Exported and imported by both roads into fresh mice, the stores are equal.
  const std::string exported = dir_.File("store.bin");
  ASSERT_EQ(flash({"macro", "export", exported}).code, 0);
  EXPECT_EQ(TempDir::Read(exported).size(), 8704u);
  auto fresh = [&](const std::string& mouse, std::vector<std::string> args) {
    args.insert(args.begin(), "--memory-type=Flash");
    return RunOn(mouse, std::move(args));
  };
  ASSERT_EQ(fresh("a.bin", {"macro", "import", exported}).code, 0);
  ASSERT_EQ(fresh("b.bin", {"import-base-macros", exported}).code, 0);
  const auto a = TempDir::Read(dir_.File("a.bin"));
  const auto b = TempDir::Read(dir_.File("b.bin"));
  EXPECT_TRUE(std::equal(a.begin() + 0x3000, a.begin() + 0x6000, b.begin() + 0x3000));
  EXPECT_TRUE(std::equal(a.begin() + 0x4000, a.begin() + 0x4100, memory.begin() + 0x4000));
  auto short_file = TempDir::Read(exported);
  short_file.pop_back();
  TempDir::Write(exported, short_file);
  EXPECT_EQ(fresh("a.bin", {"macro", "import", exported}).code, kExitFileError);
  EXPECT_EQ(fresh("b.bin", {"import-base-macros", exported}).code, kExitFileError);
}

}  // namespace
}  // namespace vrdk::cli
