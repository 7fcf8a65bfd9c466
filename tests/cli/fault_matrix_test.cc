// The fault matrix: every write road and read command of vrdkctl, run against
// the simulated mouse with each kind of fault at transfer positions spread
// over the first read and over the command's own transfers, on both memory
// types. For every combination:
// - exit 0 only when the mouse holds exactly what the fault-free run leaves;
// - after the run and one clean connection (vrdkctl info), every part of the
//   memory holds its old or its new content, every checked section has a
//   valid checksum, the current profile is 1 to 3, and no write record is
//   left pending or set aside;
// - a failed save leaves no file.
// Each memory type prints its counts: combinations and outcomes by exit code.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "cli/vrdkctl.h"
#include "image/checksum.h"
#include "image/regions.h"
#include "simulator/simulated_mouse.h"
#include "support/environment.h"
#include "support/read_backs.h"
#include "support/temp_dir.h"

namespace vrdk::cli {
namespace {

using testing::TempDir;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kSweep = 4;  // positions in the command's own transfers
#else
constexpr int kSweep = 40;
#endif

struct Op {
  const char* name;
  std::vector<std::string> args;  // "FILE", "LOAD" and "PATCH" stand for the test's files
};

const std::vector<Op>& Ops() {
  static const std::vector<Op> ops = {
      {"info", {"info"}},
      {"dump", {"dump"}},
      {"save", {"save", "FILE"}},
      {"rate", {"rate", "500"}},
      {"dpi color", {"dpi", "color", "2", "FF8000"}},
      {"dpi value", {"dpi", "value", "2", "3200"}},
      {"button", {"button", "2", "5", "Play / Pause"}},
      {"fire", {"fire", "1", "5", "250"}},
      {"gesture", {"gesture", "game", "middle"}},
      {"reset", {"reset"}},
      {"load", {"load", "LOAD"}},
      {"macro add", {"macro", "add", "M1"}},
      {"macro delete", {"macro", "delete", "M1"}},
      {"led type", {"led", "type", "RGB"}},
      {"led color", {"led", "color", "3", "123456"}},
      {"profile", {"profile", "3"}},
      {"engineer defaults", {"engineer", "defaults"}},
      {"patch", {"patch", "PATCH"}},
  };
  return ops;
}

// The transfers each command made, without the read-back of its writes,
// before writes were read back, retried and journalled: lines and the 64-bit
// FNV-1a hash of the lines joined by "\n", for "I2C" and for "Flash".
struct Golden {
  long lines;
  std::uint64_t hash;
};
const std::map<std::string, std::pair<Golden, Golden>>& FaultFreeTraces() {
  static const std::map<std::string, std::pair<Golden, Golden>> traces = {
      {"info", {{303, 0xd921748de180b6f2}, {9417, 0x96c4b47fa08294e5}}},
      {"dump", {{303, 0xd921748de180b6f2}, {9417, 0x96c4b47fa08294e5}}},
      {"save", {{597, 0x4edf987902cab54c}, {18825, 0x49f2381175d1ac35}}},
      {"rate", {{608, 0x8eef26f8fa3edc51}, {18836, 0x834274701c7a1009}}},
      {"dpi color", {{307, 0xaa5a54e0e0092f77}, {9421, 0x7e05e442b5cbc034}}},
      {"dpi value", {{335, 0xc1e4c192799fff5a}, {9449, 0x907983ffab81d1d1}}},
      {"button", {{332, 0x8e3ba340ca1ce3cb}, {9462, 0xb5f21fcc2b92d4dd}}},
      {"fire", {{335, 0xef2a359c3fb5c02d}, {9465, 0xd00a952ba71b7569}}},
      {"gesture", {{387, 0x4c113e82557fbaf7}, {9517, 0x72357a34aa44107a}}},
      {"reset", {{901, 0xd80c689d2b852921}, {28243, 0xbeea3f0b2b9261ae}}},
      {"load", {{901, 0x31c11848e17f4187}, {28243, 0xe2351be88a2c0b90}}},
      {"macro add", {{401, 0x6c78a4fc4cad0934}, {10746, 0x956a99a141294c00}}},
      {"macro delete", {{401, 0x18dae744f1081d33}, {10746, 0x741bd4fd1487a57b}}},
      {"led type", {{932, 0x8f523f3dcafccaa4}, {28274, 0xbcbec40e4064f343}}},
      {"led color", {{307, 0x9b1d2c9fce8b17cd}, {9421, 0xd7450feb0700065a}}},
      {"profile", {{308, 0x8dc6ca7c285653d4}, {9422, 0x98e817d51b880073}}},
      {"engineer defaults", {{901, 0x56376564c79a0ff5}, {28243, 0xcea948c58539aaa6}}},
      {"patch", {{627, 0x10b4c6e4be943183}, {19021, 0xd1b23a8d05957198}}},
  };
  return traces;
}

std::uint64_t Fnv1a(const std::string& text) {
  std::uint64_t hash = 0xcbf29ce484222325;
  for (const char c : text) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3;
  }
  return hash;
}

struct Outcome {
  int code;
  std::string err;
};

class FaultMatrix : public ::testing::TestWithParam<MemoryType> {
 protected:
  void SetUp() override {
    vrdk::testing::SetEnv("XDG_DATA_HOME", dir_.File("data"));
    vrdk::testing::SetEnv("XDG_STATE_HOME", dir_.File("state"));
    MakeBase();
  }
  void TearDown() override {
    vrdk::testing::UnsetEnv("XDG_DATA_HOME");
    vrdk::testing::UnsetEnv("XDG_STATE_HOME");
  }

  bool Flash() const { return GetParam() == MemoryType::kFlash; }
  std::string Mouse() const { return dir_.File("mouse.bin"); }
  std::string Journal() const {
    return Mouse() + ".1BCF-08B8-" + std::string(MemoryTypeName(GetParam())) + ".journal";
  }

  Outcome Vrdkctl(std::vector<std::string> args, const std::string& fault = "",
                  const std::string& trace = "") {
    std::vector<std::string> all = {"--simulate=" + Mouse(),
                                    "--memory-type=" + std::string(MemoryTypeName(GetParam())),
                                    "--library=" + dir_.File("Macro.bin")};
    if (!fault.empty()) all.push_back("--simulate-fault=" + fault);
    if (!trace.empty()) all.push_back("--trace=" + trace);
    for (auto& arg : args) {
      if (arg == "FILE") arg = dir_.File("saved.bin");
      if (arg == "LOAD") arg = dir_.File("load.bin");
      if (arg == "PATCH") arg = dir_.File("patch.bin");
      all.push_back(arg);
    }
    std::ostringstream out, err;
    const int code = RunVrdkctl(all, out, err);
    return {code, err.str()};
  }
  void Must(std::vector<std::string> args) {
    const Outcome run = Vrdkctl(std::move(args));
    ASSERT_EQ(run.code, 0) << run.err;
  }

  // A mouse with changed buttons and a macro one of them plays, a profile
  // file of it with other fire settings, and a patch file.
  void MakeBase() {
    Must({"library", "new", "M1"});
    const std::string lines = "10\n1 A CODE:8204\n0 50\n2 A CODE:0204\n";
    TempDir::Write(dir_.File("m1.txt"), {lines.begin(), lines.end()});
    Must({"library", "set", "M1", dir_.File("m1.txt")});
    Must({"button", "1", "5", "Play / Pause"});
    Must({"button", "3", "5", "Play / Pause"});
    Must({"macro", "add", "M1"});
    Must({"button", "2", "6", "macro:M1"});
    base_ = TempDir::Read(Mouse());
    Must({"fire", "2", "9", "300"});
    Must({"save", dir_.File("load.bin")});
    TempDir::Write(Mouse(), base_);
    std::vector<std::uint8_t> patch;
    if (Flash()) {
      patch.assign(0x8000 + 1024, 0);
      for (std::size_t i = 0; i < 1024; ++i) patch[0x8000 + i] = static_cast<std::uint8_t>(i * 7);
    } else {
      patch = {0x04, 0x00, 0x00, 0x64, 0x00, 0x1A, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0};
      for (int i = 0; i < 100; ++i) patch.push_back(static_cast<std::uint8_t>(i));
    }
    TempDir::Write(dir_.File("patch.bin"), patch);
  }

  // Every part holds the old or the new content, the checked ones whole.
  std::string Unsound(const std::vector<std::uint8_t>& memory,
                      const std::vector<std::uint8_t>& fresh) const {
    for (const image::Region& region : image::MemoryRegions(GetParam())) {
      const auto at = static_cast<std::ptrdiff_t>(region.offset);
      const auto end = at + static_cast<std::ptrdiff_t>(region.size);
      const bool old_part =
          std::equal(memory.begin() + at, memory.begin() + end, base_.begin() + at);
      const bool new_part =
          std::equal(memory.begin() + at, memory.begin() + end, fresh.begin() + at);
      if (!old_part && !new_part) return "a part holds neither its old nor its new content";
      if (!image::RegionSound(region, memory)) return "a checked section fails its checksum";
    }
    const std::size_t user = Flash() ? 0x2000 : 164;
    if ((memory[user] & 0x0F) > 2) return "the current profile is not 1 to 3";
    return "";
  }

  TempDir dir_;
  std::vector<std::uint8_t> base_;
};

TEST_P(FaultMatrix, EveryOutcomeIsWholeOrToldAndOneCleanConnectionLeavesEveryPartSound) {
  // The transfers of opening and reading the mouse.
  const std::string trace = dir_.File("trace.txt");
  auto lines = [&] {
    std::ifstream in(trace);
    return static_cast<long>(
        std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
  };
  std::filesystem::remove(trace);
  Must({"info"});
  ASSERT_EQ(Vrdkctl({"info"}, "", trace).code, 0);
  const long read = lines();

  std::map<int, int> outcomes;
  int combinations = 0;
  int finished_by_journal = 0;
  for (const Op& op : Ops()) {
    TempDir::Write(Mouse(), base_);
    std::filesystem::remove(trace);
    std::filesystem::remove(dir_.File("saved.bin"));
    const Outcome clean = Vrdkctl(op.args, "", trace);
    ASSERT_EQ(clean.code, 0) << op.name << ": " << clean.err;
    const auto fresh = TempDir::Read(Mouse());
    const long total = lines();

    std::vector<std::string> faults = {"no-response-handle", "no-access"};
    std::vector<long> positions = {1, read / 2, read - 2};
    for (int i = 0; i < kSweep && read + i < total; ++i) {
      positions.push_back(read + (total - read) * i / kSweep);
    }
    for (const long n : positions) {
      const std::string at = std::to_string(n);
      for (const char* kind :
           {"fail-command:", "fail-chunk:", "drop-answer:", "unplug:", "forget-chunk:"}) {
        faults.push_back(kind + at);
      }
      // Faults that outlast every try: the give-up paths.
      faults.push_back("fail-command:" + at + ":3");
      faults.push_back("fail-chunk:" + at + ":1000");
      faults.push_back("drop-answer:" + at + ":1000");
      faults.push_back("forget-chunk:" + at + ":1000");
    }
    for (const std::string& fault : faults) {
      SCOPED_TRACE(std::string(op.name) + " with " + fault);
      TempDir::Write(Mouse(), base_);
      std::filesystem::remove(dir_.File("saved.bin"));
      const Outcome run = Vrdkctl(op.args, fault);
      ++combinations;
      ++outcomes[run.code];
      const auto after = TempDir::Read(Mouse());
      if (run.code == kExitDone) {
        EXPECT_EQ(after, fresh) << "exit 0, but the mouse holds other than a whole change\n"
                                << run.err;
      }
      if (op.args[0] == "save" && run.code != kExitDone) {
        EXPECT_FALSE(std::filesystem::exists(dir_.File("saved.bin")));
      }
      const Outcome info = Vrdkctl({"info"});
      EXPECT_EQ(info.code, kExitDone) << info.err;
      if (info.err.find("was finished") != std::string::npos) ++finished_by_journal;
      EXPECT_EQ(Unsound(TempDir::Read(Mouse()), fresh), "") << run.err << info.err;
      // No record left pending, and none set aside: only this program wrote.
      EXPECT_FALSE(std::filesystem::exists(Journal())) << run.err << info.err;
      EXPECT_FALSE(std::filesystem::exists(Journal() + ".kept-1")) << run.err << info.err;
      if (::testing::Test::HasFailure()) return;
    }
  }
  std::cout << "fault matrix " << MemoryTypeName(GetParam()) << ": " << combinations
            << " combinations of " << Ops().size() << " commands;";
  for (const auto& [code, count] : outcomes) std::cout << " exit " << code << ": " << count << ";";
  std::cout << " finished by the journal at the next connection: " << finished_by_journal
            << std::endl;
}

TEST_P(FaultMatrix, FaultFreeCommandsSendWhatTheySentBeforeTheirWritesWereReadBack) {
  const std::string trace = dir_.File("trace.txt");
  for (const Op& op : Ops()) {
    SCOPED_TRACE(op.name);
    TempDir::Write(Mouse(), base_);
    std::filesystem::remove(trace);
    ASSERT_EQ(Vrdkctl(op.args, "", trace).code, 0);
    std::ifstream in(trace);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::string text;
    for (const std::string& line : vrdk::testing::WithoutReadBacks(lines)) {
      if (!text.empty()) text += '\n';
      text += line;
    }
    const auto& golden = FaultFreeTraces().at(op.name);
    const Golden& expected = Flash() ? golden.second : golden.first;
    EXPECT_EQ(static_cast<long>(vrdk::testing::WithoutReadBacks(lines).size()), expected.lines);
    EXPECT_EQ(Fnv1a(text), expected.hash);
  }
}

INSTANTIATE_TEST_SUITE_P(BothMemories, FaultMatrix,
                         ::testing::Values(MemoryType::kI2C, MemoryType::kFlash),
                         [](const auto& test) { return std::string(MemoryTypeName(test.param)); });

}  // namespace
}  // namespace vrdk::cli
