// vrdkctl end to end on both kinds of mouse: the same commands against a
// simulated "I2C" mouse (2048 bytes) and a "Flash" mouse (32 pages), and the
// faults a real mouse can have, each ending as the real fault would.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "cli/vrdkctl.h"
#include "simulator/simulated_mouse.h"
#include "support/environment.h"
#include "support/temp_dir.h"

namespace vrdk::cli {
namespace {

using nlohmann::json;
using ::testing::HasSubstr;
using testing::TempDir;

struct Result {
  int code;
  std::string out;
  std::string err;
};

class MemoryTypesTest : public ::testing::TestWithParam<MemoryType> {
 protected:
  MemoryTypesTest() {
    vrdk::testing::SetEnv("XDG_DATA_HOME", dir_.File("data").c_str());
    TempDir::Write(mouse_file_, SimulatedMouse::FactoryMemory(Type()));
  }
  ~MemoryTypesTest() override { vrdk::testing::UnsetEnv("XDG_DATA_HOME"); }

  MemoryType Type() const { return GetParam(); }
  bool Flash() const { return Type() == MemoryType::kFlash; }
  std::size_t MemorySize() const { return Flash() ? 65536 : 2048; }
  std::size_t Marker() const { return Flash() ? 0x600B : 495; }
  std::size_t User() const { return Flash() ? 0x2000 : 164; }

  Result Sim(std::vector<std::string> args) {
    args.insert(args.begin(), {"--simulate=" + mouse_file_, "--library=" + dir_.File("Macro.bin")});
    std::ostringstream out, err;
    const int code = RunVrdkctl(args, out, err);
    return {code, out.str(), err.str()};
  }
  json SimJson(std::vector<std::string> args) {
    args.insert(args.begin(), "--json");
    const Result result = Sim(std::move(args));
    EXPECT_EQ(result.code, 0) << result.err;
    return json::parse(result.out, nullptr, false);
  }
  std::vector<std::uint8_t> Memory() const { return TempDir::Read(mouse_file_); }
  std::string Lines(const std::string& text) {
    const std::string file = dir_.File("lines.txt");
    TempDir::Write(file, std::vector<std::uint8_t>(text.begin(), text.end()));
    return file;
  }

  TempDir dir_;
  std::string mouse_file_ = dir_.File("mouse.bin");
};

TEST_P(MemoryTypesTest, InfoAndDumpDescribeTheMouseOfItsType) {
  const json info = SimJson({"info"});
  EXPECT_EQ(info["memory_type"], Flash() ? "Flash" : "I2C");
  EXPECT_EQ(info["vendor_id"], "1BCF");
  EXPECT_EQ(info["patch_checksum"], "75F0");
  EXPECT_EQ(info["current_profile"], 2);
  EXPECT_EQ(info["repaired_sections"], json::array());
  const json dump = SimJson({"dump"});
  EXPECT_EQ(dump["profiles"][0]["buttons"][0]["code"], "01010000");
  EXPECT_EQ(dump["dpi"]["levels"], 6);
}

TEST_P(MemoryTypesTest, ProfileFilesAreTheWholeMemoryWithTheMarkerOfTheType) {
  const auto saved = dir_.File("saved.bin");
  ASSERT_EQ(Sim({"save", saved}).code, 0);
  auto file = TempDir::Read(saved);
  ASSERT_EQ(file.size(), MemorySize());
  EXPECT_EQ(file[Marker()], Flash() ? 0xF0 : 0xE0);
  EXPECT_EQ(file, Memory());
  // Loaded into the mouse whole, then read back after the restart.
  file[User()] = 0x02;  // current profile 3
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < 27; ++i) sum = static_cast<std::uint8_t>(sum + file[User() + i]);
  file[User() + 27] = static_cast<std::uint8_t>(sum ^ 0x5A);
  TempDir::Write(saved, file);
  const Result load = Sim({"load", saved});
  ASSERT_EQ(load.code, 0) << load.err;
  EXPECT_EQ(SimJson({"info"})["current_profile"], 3);
  // A file of the other kind changes nothing.
  const auto other = dir_.File("other.bin");
  TempDir::Write(other,
                 SimulatedMouse::FactoryMemory(Flash() ? MemoryType::kI2C : MemoryType::kFlash));
  const auto before = Memory();
  EXPECT_EQ(Sim({"load", other}).code, kExitFileError);
  EXPECT_EQ(Memory(), before);
}

TEST_P(MemoryTypesTest, ResetAndRestoreDefaultsGoBackToTheFactoryImage) {
  ASSERT_EQ(Sim({"button", "1", "3", "Play / Pause"}).code, 0);
  ASSERT_NE(Memory(), SimulatedMouse::FactoryMemory(Type()));
  ASSERT_EQ(Sim({"reset"}).code, 0);
  EXPECT_EQ(Memory(), SimulatedMouse::FactoryMemory(Type()));
  const Result defaults = Sim({"engineer", "defaults"});
  ASSERT_EQ(defaults.code, 0) << defaults.err;
  EXPECT_EQ(SimJson({"dump"})["profiles"][0]["buttons"][2]["code"], "06120010");
}

TEST_P(MemoryTypesTest, LightingReachesTheMouse) {
  ASSERT_EQ(Sim({"led", "color", "1", "123456"}).code, 0);
  const auto memory = Memory();
  EXPECT_EQ(memory[57], 0x12);
  EXPECT_EQ(memory[59], 0x56);
  const Result mcu = Sim({"led", "mcu", "--step", "3"});
  EXPECT_EQ(mcu.code, Flash() ? kExitRefused : kExitDone) << mcu.err;
}

TEST_P(MemoryTypesTest, TheMouseHoldsAsManyMacrosAsItsStoreTakes) {
  // "Flash": 32 slots of 256 bytes; "I2C": as many as fit its 512 bytes.
  const std::string lines = Lines("00\n1 A CODE:8204\n2 A CODE:0204\n");
  int added = 0;
  for (int i = 0; i < 33; ++i) {
    const std::string name = std::string("M").append(std::to_string(i));
    ASSERT_EQ(Sim({"library", "new", name}).code, 0);
    ASSERT_EQ(Sim({"library", "set", name, lines}).code, 0);
    const Result add = Sim({"macro", "add", name});
    if (add.code != 0) {
      EXPECT_EQ(add.code, kExitRefused) << add.err;
      break;
    }
    ++added;
  }
  EXPECT_EQ(added, Flash() ? 32 : 15);
  const Result list = Sim({"macro", "list"});
  EXPECT_THAT(list.out, HasSubstr(Flash() ? "M31  0x5F00" : "M14"));
  EXPECT_EQ(Sim({"macro", "show", "M3"}).out, "00\n1 A CODE:8204\n2 A CODE:0204\n");
}

TEST_P(MemoryTypesTest, APatchIsProgrammedUnlessTheFlashPatchAreaIsLocked) {
  const auto patch = dir_.File("patch.bin");
  std::vector<std::uint8_t> file;
  if (Flash()) {
    file.assign(0x8000 + 1024, 0);
    file[0x8000] = 0x33;
  } else {
    file = {0x04, 0x00, 0x00, 0x10, 0x00, 0x1A, 0, 0, 0x02, 0x81, 0, 0, 0, 0, 0, 0xD9};
    file.resize(16 + 16, 0x33);
  }
  TempDir::Write(patch, file);
  const Result programmed = Sim({"patch", patch});
  ASSERT_EQ(programmed.code, 0) << programmed.err;
  EXPECT_EQ(Memory()[Flash() ? 0xC000 : 1024], 0x33);
  if (!Flash()) return;
  auto memory = Memory();
  memory[0x1000] = 0x80;  // the patch lock
  TempDir::Write(mouse_file_, memory);
  file[0x8000] = 0x44;
  TempDir::Write(patch, file);
  EXPECT_EQ(Sim({"patch", patch}).code, kExitRefused);
  EXPECT_EQ(Memory()[0xC000], 0x33);
}

// --- Faults ---------------------------------------------------------------------------

// The connect of a run: the probes of the open (two collections, two
// reports each), the device information (a command and its answer), the Fire
// section (a command and two answers) and the whole read (a command and 293
// answers a page). Transfers after it belong to the command.
long ConnectTransfers(MemoryType type) {
  return 4 + 2 + 3 + (type == MemoryType::kFlash ? 32 : 1) * 294;
}

// "--simulate-fault=KIND:N", built by appending (g++ 12 at -O3 warns falsely
// about a literal + std::string).
std::string Fault(const char* kind, long n) {
  std::string option("--simulate-fault=");
  option.append(kind).append(":").append(std::to_string(n));
  return option;
}

TEST_P(MemoryTypesTest, ASaveWhoseReadLosesAnAnswerKeepsTheOldFileAndExitsThree) {
  const auto saved = dir_.File("backup.bin");
  const std::vector<std::uint8_t> old(100, 0x5A);
  TempDir::Write(saved, old);
  const long during_save = ConnectTransfers(Type()) + 50;
  // Answers lost from there on, through all three tries of the read.
  const Result save = Sim({Fault("drop-answer", during_save) + ":1000", "save", saved});
  EXPECT_EQ(save.code, kExitDeviceFailed);
  EXPECT_THAT(save.err, HasSubstr("nothing was saved"));
  EXPECT_EQ(TempDir::Read(saved), old);
  // A single lost answer is read again, and the save is whole.
  const Result again = Sim({Fault("drop-answer", during_save), "save", saved});
  EXPECT_EQ(again.code, kExitDone) << again.err;
  EXPECT_EQ(TempDir::Read(saved), Memory());
}

TEST_P(MemoryTypesTest, AMouseLeavingDuringTheSaveKeepsTheOldFileAndExitsThree) {
  const auto saved = dir_.File("backup.bin");
  const std::vector<std::uint8_t> old(100, 0x5A);
  TempDir::Write(saved, old);
  const long during_save = ConnectTransfers(Type()) + 120;
  const Result save = Sim({Fault("unplug", during_save), "save", saved});
  EXPECT_EQ(save.code, kExitDeviceFailed);
  EXPECT_THAT(save.err, HasSubstr("left the bus"));
  EXPECT_EQ(TempDir::Read(saved), old);
}

TEST_P(MemoryTypesTest, FaultsAtConnectEndAsTheRealOnesDo) {
  const Result unplug = Sim({"--simulate-fault=unplug:100", "info"});
  EXPECT_EQ(unplug.code, kExitNoMouse);
  EXPECT_THAT(unplug.err, HasSubstr("left the bus while it was being read"));
  const Result no_answers = Sim({"--simulate-fault=no-response-handle", "info"});
  EXPECT_EQ(no_answers.code, kExitNoMouse);
  EXPECT_THAT(no_answers.err, HasSubstr("did not identify itself"));
  const Result refused = Sim({"--simulate-fault=no-access", "info"});
  EXPECT_EQ(refused.code, kExitAccessDenied);
  EXPECT_THAT(refused.err, HasSubstr("may not open"));
  EXPECT_THAT(refused.err, HasSubstr("70-vrdk-mouse.rules"));
  EXPECT_EQ(Sim({"--simulate-fault=unplug", "info"}).code, kExitUsage);
  EXPECT_EQ(Sim({"--simulate-fault=melt:3", "info"}).code, kExitUsage);
  EXPECT_EQ(Memory(), SimulatedMouse::FactoryMemory(Type()));
}

TEST_P(MemoryTypesTest, AWriteTheMouseDidNotTakeWholeIsReportedAsFailed) {
  const auto before = Memory();
  // The profile write's command fails at every try: the mouse keeps its
  // profiles, and the message says so.
  const Result command = Sim(
      {Fault("fail-command", ConnectTransfers(Type())) + ":3", "button", "1", "3", "Play / Pause"});
  EXPECT_EQ(command.code, kExitDeviceFailed);
  EXPECT_THAT(command.err, HasSubstr("did not take all of the profiles. Nothing was changed."));
  EXPECT_EQ(Memory(), before);
  // Once only: the write is started again and is whole.
  const Result once =
      Sim({Fault("fail-command", ConnectTransfers(Type())), "button", "1", "3", "Play / Pause"});
  EXPECT_EQ(once.code, kExitDone) << once.err;
  const std::size_t key3 = (Flash() ? 0x1018 : 192) + 8;
  EXPECT_EQ(Memory()[key3 + 2], 0xCD);
}

TEST_P(MemoryTypesTest, TracingChangesNoDiagnosisAndNoExitCode) {
  const long read = ConnectTransfers(Type());
  std::vector<std::string> faults = {"--simulate-fault=no-access",
                                     "--simulate-fault=no-response-handle"};
  for (const char* kind : {"fail-command", "fail-chunk", "drop-answer", "forget-chunk"}) {
    for (const long at : {1L, read / 2, read + 2}) faults.push_back(Fault(kind, at) + ":1000");
  }
  for (const long at : {0L, 5L, read / 2, read + 2}) faults.push_back(Fault("unplug", at));
  const auto base = Memory();
  const std::string journal =
      mouse_file_ + ".1BCF-08B8-" + std::string(MemoryTypeName(Type())) + ".journal";
  for (const std::string& fault : faults) {
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"info"}, std::vector<std::string>{"fire", "1", "5", "250"}}) {
      TempDir::Write(mouse_file_, base);
      std::filesystem::remove(journal);
      std::vector<std::string> args = {fault};
      args.insert(args.end(), command.begin(), command.end());
      const Result plain = Sim(args);
      TempDir::Write(mouse_file_, base);
      std::filesystem::remove(journal);
      args.insert(args.begin(), "--trace=" + dir_.File("trace.txt"));
      const Result traced = Sim(args);
      EXPECT_EQ(traced.code, plain.code) << fault << " " << command[0];
      EXPECT_EQ(traced.err, plain.err) << fault << " " << command[0];
    }
  }
}

TEST_P(MemoryTypesTest, ARawReadIsWholeOrFails) {
  const auto before = Memory();
  const Result once = Sim(
      {"--json", Fault("drop-answer", ConnectTransfers(Type()) + 1), "memory", "read", "0", "16"});
  EXPECT_EQ(once.code, kExitDone) << once.err;
  EXPECT_THAT(once.out, HasSubstr("1B CF 08 B8"));
  const Result always =
      Sim({Fault("fail-command", ConnectTransfers(Type())) + ":3", "memory", "read", "0", "16"});
  EXPECT_EQ(always.code, kExitDeviceFailed);
  EXPECT_THAT(always.err, HasSubstr("failed"));
  EXPECT_EQ(Memory(), before);
}

TEST_P(MemoryTypesTest, AProfileFileIsCheckedWholeBeforeAnythingIsSent) {
  const auto before = Memory();
  const auto path = dir_.File("load.bin");
  // Noise with only the marker right.
  std::vector<std::uint8_t> noise(MemorySize());
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 37 + 11);
  noise[Marker()] = Flash() ? 0xF0 : 0xE0;
  TempDir::Write(path, noise);
  const Result refused = Sim({"load", path});
  EXPECT_EQ(refused.code, kExitFileError);
  EXPECT_THAT(refused.err, HasSubstr("these parts fail their check: Vendor"));
  EXPECT_EQ(Memory(), before);
  // A sound file that would give the mouse other USB ids: not without --force.
  auto other = before;
  other[2] = 0x12;
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < 163; ++i) sum = static_cast<std::uint8_t>(sum + other[i]);
  other[163] = static_cast<std::uint8_t>(sum ^ 0x5A);
  TempDir::Write(path, other);
  const Result ids = Sim({"load", path});
  EXPECT_EQ(ids.code, kExitFileError);
  EXPECT_THAT(ids.err, HasSubstr("gives the mouse the USB ids 1BCF:12B8"));
  EXPECT_THAT(ids.err, HasSubstr("Give --force to load it anyway."));
  EXPECT_EQ(Memory(), before);
  // With --force it is loaded (the simulated mouse keeps its bus ids).
  const Result forced = Sim({"load", "--force", path});
  EXPECT_EQ(forced.code, kExitDone) << forced.err;
  EXPECT_EQ(Memory(), other);
}

INSTANTIATE_TEST_SUITE_P(BothMemories, MemoryTypesTest,
                         ::testing::Values(MemoryType::kI2C, MemoryType::kFlash),
                         [](const auto& test) { return std::string(MemoryTypeName(test.param)); });

}  // namespace
}  // namespace vrdk::cli
