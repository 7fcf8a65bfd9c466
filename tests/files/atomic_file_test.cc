// Whole-file writes that never leave a damaged file where a good one stood.

#include "files/atomic_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

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

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(WriteFileAtomically, ANewFileGetsTheModeTheUmaskGivesAndAnOldOneKeepsItsOwn) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows files have no permission bits beyond read-only";
#endif
  TempDir dir;
  const mode_t old_mask = ::umask(077);
  const auto fresh = dir.File("private.bin");
  const bool written = !WriteFileAtomically(fresh, kNew).has_value();
  ::umask(022);
  const auto shared = dir.File("shared.bin");
  EXPECT_FALSE(WriteFileAtomically(shared, kNew).has_value());
  ::umask(old_mask);
  ASSERT_TRUE(written);
  EXPECT_EQ(ModeOf(fresh), 0600u);
  EXPECT_EQ(ModeOf(shared), 0644u);
  ASSERT_EQ(::chmod(shared.c_str(), 0640), 0);
  EXPECT_FALSE(WriteFileAtomically(shared, kOld).has_value());
  EXPECT_EQ(ModeOf(shared), 0640u);
}

TEST(WriteFileAtomically, ASymbolicLinkStaysALinkAndTheFileItPointsToIsReplaced) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links need a privilege on Windows";
#endif
  TempDir dir;
  namespace fs = std::filesystem;
  fs::create_directories(dir.File("real"));
  const auto real = dir.File("real/profile.bin");
  TempDir::Write(real, kOld);
  const auto link = dir.File("profile.bin");
  fs::create_symlink("real/profile.bin", link);
  const auto chain = dir.File("latest.bin");
  fs::create_symlink(link, chain);
  EXPECT_FALSE(WriteFileAtomically(chain, kNew).has_value());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::is_symlink(chain));
  EXPECT_EQ(TempDir::Read(real), kNew);
  // A link to a file not there yet creates that file.
  const auto dangling = dir.File("new.bin");
  fs::create_symlink("real/new.bin", dangling);
  EXPECT_FALSE(WriteFileAtomically(dangling, kOld).has_value());
  EXPECT_TRUE(fs::is_symlink(dangling));
  EXPECT_EQ(TempDir::Read(dir.File("real/new.bin")), kOld);
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
