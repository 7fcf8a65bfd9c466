// One program at a time on a simulated mouse's file: the second waits, then
// refuses naming the holder; a holder that ends, even by crashing, frees it.

#include "app/sim_lock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/temp_dir.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vrdk {
namespace {

using namespace std::chrono_literals;
using testing::TempDir;

// The lock, or nothing with the reason in *error.
std::unique_ptr<SimulationLock> Take(const std::string& file, const std::string& program,
                                     std::chrono::milliseconds patience, std::string* error) {
  auto taken = SimulationLock::Take(file, program, patience);
  if (!taken.ok()) {
    *error = taken.message();
    return nullptr;
  }
  return std::move(taken).value();
}

TEST(SimulationLockTest, ASecondHolderIsRefusedWithTheFirstsNameUntilItLetsGo) {
  TempDir dir;
  const std::string file = dir.File("mouse.bin");
  std::string error;
  auto first = Take(file, "vrdkctl", 0ms, &error);
  ASSERT_NE(first, nullptr) << error;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(Take(file, "vrdk-mouse", 200ms, &error), nullptr);
  EXPECT_GE(std::chrono::steady_clock::now() - started, 200ms);  // it waited first
  EXPECT_NE(error.find(file + " is in use by vrdkctl (process "), std::string::npos) << error;
  first.reset();
  EXPECT_NE(Take(file, "vrdk-mouse", 0ms, &error), nullptr) << error;
}

#if !defined(_WIN32)
TEST(SimulationLockTest, AHolderThatCrashedNeverBlocksTheFile) {
  TempDir dir;
  const std::string file = dir.File("mouse.bin");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::string error;
    auto lock = Take(file, "vrdkctl", 0ms, &error);
    _exit(lock != nullptr ? 0 : 1);  // no destructor runs: as a crash
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  std::string error;
  EXPECT_NE(Take(file, "vrdkctl", 0ms, &error), nullptr) << error;
}

TEST(SimulationLockTest, ALinkOrAFifoInTheLockFilesPlaceIsRefused) {
  TempDir dir;
  const std::string file = dir.File("mouse.bin");
  ASSERT_EQ(symlink(dir.File("elsewhere").c_str(), (file + ".lock").c_str()), 0);
  std::string error;
  EXPECT_EQ(Take(file, "vrdkctl", 0ms, &error), nullptr);
  EXPECT_NE(error.find("lock file"), std::string::npos) << error;
  const std::string other = dir.File("other.bin");
  ASSERT_EQ(mkfifo((other + ".lock").c_str(), 0600), 0);
  EXPECT_EQ(Take(other, "vrdkctl", 0ms, &error), nullptr);
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}
#endif

}  // namespace
}  // namespace vrdk
