// Whole-file writes that never leave a damaged file where a good one stood.

#include "files/atomic_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <chrono>
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
  EXPECT_TRUE(WriteFileAtomically(path, kNew).ok());
  EXPECT_EQ(TempDir::Read(path), kNew);
}

class FailedWriteTest : public ::testing::TestWithParam<FailAt> {};

TEST_P(FailedWriteTest, KeepsTheOldFileWholeAndLeavesNoTemporaryFile) {
  TempDir dir;
  const auto path = dir.File("profile.bin");
  TempDir::Write(path, kOld);
  const auto error = WriteFileAtomically(path, kNew, GetParam());
  ASSERT_FALSE(error.ok());
  EXPECT_THAT(error.message(), HasSubstr(path));
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
  ASSERT_FALSE(error.ok());
  EXPECT_THAT(error.message(), HasSubstr("No such file or directory"));
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
  const bool written = WriteFileAtomically(fresh, kNew).ok();
  ::umask(022);
  const auto shared = dir.File("shared.bin");
  EXPECT_TRUE(WriteFileAtomically(shared, kNew).ok());
  ::umask(old_mask);
  ASSERT_TRUE(written);
  EXPECT_EQ(ModeOf(fresh), 0600u);
  EXPECT_EQ(ModeOf(shared), 0644u);
  ASSERT_EQ(::chmod(shared.c_str(), 0640), 0);
  EXPECT_TRUE(WriteFileAtomically(shared, kOld).ok());
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
  EXPECT_TRUE(WriteFileAtomically(chain, kNew).ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::is_symlink(chain));
  EXPECT_EQ(TempDir::Read(real), kNew);
  // A link to a file not there yet creates that file.
  const auto dangling = dir.File("new.bin");
  fs::create_symlink("real/new.bin", dangling);
  EXPECT_TRUE(WriteFileAtomically(dangling, kOld).ok());
  EXPECT_TRUE(fs::is_symlink(dangling));
  EXPECT_EQ(TempDir::Read(dir.File("real/new.bin")), kOld);
}

TEST(ReadFilePrefix, ReadsUpToTheLimitAndReportsMissingFiles) {
  TempDir dir;
  const auto path = dir.File("data.bin");
  TempDir::Write(path, kNew);
  EXPECT_EQ(ReadFilePrefix(path, 10).value().size(), 10u);
  EXPECT_EQ(ReadFilePrefix(path, 100000).value().size(), kNew.size());
  const auto missing = ReadFilePrefix(dir.File("missing.bin"), 10);
  EXPECT_FALSE(missing.ok());
  EXPECT_TRUE(missing.Is(vrdk::ErrorKind::kMissing));
  EXPECT_THAT(missing.message(), HasSubstr("missing.bin"));
  const auto folder = ReadFilePrefix(dir.File(""), 10);
  EXPECT_FALSE(folder.ok());
  EXPECT_TRUE(folder.Is(vrdk::ErrorKind::kFileError));  // there, but not a file
}

#ifndef _WIN32
TEST(ReadFilePrefix, OnlyARegularFileIsReadAndAFifoCannotHangTheRead) {
  TempDir dir;
  const auto fifo = dir.File("Fire Macro.bin");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero")}) {
    const auto read = ReadFilePrefix(path, 1 << 20);
    EXPECT_FALSE(read.ok()) << path;
    EXPECT_THAT(read.message(), HasSubstr("not a regular file"));
  }
}

// Another user's link in a sticky folder that everyone may write (as /tmp):
// neither read nor written through, as the kernel's protected_symlinks rule
// has it; the user's own link there is followed.
TEST(SharedFolder, AnotherUsersLinkIsNotFollowedAndTheUsersOwnIs) {
  if (::geteuid() != 0) GTEST_SKIP() << "making a link of another user needs root";
  namespace fs = std::filesystem;
  TempDir dir;
  const auto own = dir.File("own.bin");
  TempDir::Write(own, kOld);
  const auto shared = dir.File("shared");
  fs::create_directories(shared);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  const auto planted = shared + "/x.bin";
  fs::create_symlink(own, planted);
  ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);
  const auto written = WriteFileAtomically(planted, kNew);
  ASSERT_FALSE(written.ok());
  EXPECT_THAT(written.message(), HasSubstr("not followed"));
  EXPECT_EQ(TempDir::Read(own), kOld);
  EXPECT_TRUE(fs::is_symlink(planted));
  EXPECT_THAT(ReadFilePrefix(planted, 100).message(), HasSubstr("not followed"));
  // The user's own link in the same folder is followed.
  const auto mine = shared + "/mine.bin";
  fs::create_symlink(own, mine);
  EXPECT_TRUE(WriteFileAtomically(mine, kNew).ok());
  EXPECT_EQ(TempDir::Read(own), kNew);
}
#endif

TEST(WriteFileAtomically, TheNextSaveRemovesWhatACrashedSaveLeftBehind) {
  namespace fs = std::filesystem;
  TempDir dir;
  const auto path = dir.File("profile.bin");
  const auto old_leftover = dir.File(".profile.bin.a1b2c3");
  const auto young_leftover = dir.File(".profile.bin.d4e5f6");
  const auto other = dir.File(".other.bin.a1b2c3");
  for (const auto& file : {old_leftover, young_leftover, other}) TempDir::Write(file, kOld);
  const auto long_ago = fs::file_time_type::clock::now() - std::chrono::hours(1);
  fs::last_write_time(old_leftover, long_ago);
  fs::last_write_time(other, long_ago);
  EXPECT_TRUE(WriteFileAtomically(path, kNew).ok());
  EXPECT_FALSE(fs::exists(old_leftover));
  EXPECT_TRUE(fs::exists(young_leftover));  // perhaps a save under way
  EXPECT_TRUE(fs::exists(other));           // another file's
  EXPECT_EQ(TempDir::Read(path), kNew);
}

}  // namespace
}  // namespace vrdk::files
