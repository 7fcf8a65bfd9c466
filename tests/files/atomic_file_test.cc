// Whole-file writes that never leave a damaged file where a good one stood.

#include "files/atomic_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace vrdk::files {
namespace {

using ::testing::HasSubstr;
using testing::TempDir;

const std::vector<std::uint8_t> kOld(100, 0x11);
const std::vector<std::uint8_t> kNew(5000, 0x22);

TEST(WriteFileAtomically, ReplacesTheFileWhole) {
  TempDir dir;
  const auto path = dir.File("profile.bin");
  TempDir::Write(path, kOld);
  EXPECT_FALSE(WriteFileAtomically(path, kNew).has_value());
  EXPECT_EQ(TempDir::Read(path), kNew);
}

class FailedWriteTest : public ::testing::TestWithParam<FailAt> {};

TEST_P(FailedWriteTest, KeepsTheOldFileWholeAndLeavesNoTemporaryFile) {
  TempDir dir;
  const auto path = dir.File("profile.bin");
  TempDir::Write(path, kOld);
  const auto error = WriteFileAtomically(path, kNew, GetParam());
  ASSERT_TRUE(error.has_value());
  EXPECT_THAT(*error, HasSubstr(path));
  EXPECT_EQ(TempDir::Read(path), kOld);
  int files = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(path).parent_path())) {
    ++files;
  }
  EXPECT_EQ(files, 1);
}

INSTANTIATE_TEST_SUITE_P(Steps, FailedWriteTest,
                         ::testing::Values(FailAt::kWrite, FailAt::kSync, FailAt::kRename));

TEST(WriteFileAtomically, AMissingFolderIsAClearError) {
  TempDir dir;
  const auto error = WriteFileAtomically(dir.File("no/such/folder/x.bin"), kNew);
  ASSERT_TRUE(error.has_value());
  EXPECT_THAT(*error, HasSubstr("No such file or directory"));
}

TEST(ReadFilePrefix, ReadsUpToTheLimitAndReportsMissingFiles) {
  TempDir dir;
  const auto path = dir.File("data.bin");
  TempDir::Write(path, kNew);
  EXPECT_EQ(ReadFilePrefix(path, 10).bytes.size(), 10u);
  EXPECT_EQ(ReadFilePrefix(path, 100000).bytes.size(), kNew.size());
  const auto missing = ReadFilePrefix(dir.File("missing.bin"), 10);
  EXPECT_FALSE(missing.ok());
  EXPECT_THAT(missing.error, HasSubstr("missing.bin"));
  EXPECT_FALSE(ReadFilePrefix(dir.File(""), 10).ok());  // a folder
}

}  // namespace
}  // namespace vrdk::files
