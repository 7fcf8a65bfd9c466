// The built vrdkctl program run as a process: what a script sees.

#include <sys/wait.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/temp_dir.h"

namespace {

using ::testing::HasSubstr;
using vrdk::testing::TempDir;

struct Process {
  int code;
  std::string out;
};

Process RunProgram(const std::string& arguments, const std::string& environment = "") {
  const std::string command = environment + VRDKCTL_PATH + " " + arguments + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  Process result{-1, ""};
  if (pipe == nullptr) return result;
  std::array<char, 4096> buffer;
  for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
    result.out.append(buffer.data(), n);
  }
  const int status = ::pclose(pipe);
  result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TEST(VrdkctlProcess, RunsAgainstASimulationFileAndExitsWithItsCodes) {
  TempDir dir;
  const std::string file = "--simulate=" + dir.File("mouse.bin");
  const Process info = RunProgram(file + " info");
  EXPECT_EQ(info.code, 0) << info.out;
  EXPECT_THAT(info.out, HasSubstr("HID Gaming Mouse"));
  EXPECT_EQ(RunProgram(file + " load " + dir.File("missing.bin")).code, 4);
  EXPECT_EQ(RunProgram("--lang=7 info").code, 1);
}

TEST(VrdkctlProcess, TheDefaultStateFileLivesInTheStateFolder) {
  TempDir dir;
  const std::string state = dir.File("state");
  const Process run = RunProgram("--simulate info", "XDG_STATE_HOME=" + state + " ");
  EXPECT_EQ(run.code, 0) << run.out;
  EXPECT_EQ(TempDir::Read(state + "/vrdk/mouse.bin").size(), 2048u);
}

}  // namespace
