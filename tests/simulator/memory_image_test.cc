// Image files of the virtual mouse: which files are images of which memory,
// what a missing file starts as, and that a save is all or nothing.

#include "simulator/memory_image.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "simulator/simulated_mouse.h"

namespace vrdk {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;

class MemoryImageTest : public ::testing::Test {
 protected:
  MemoryImageTest() {
    dir_ = fs::temp_directory_path() /
           ("vrdk-image-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~MemoryImageTest() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, std::size_t size, std::uint8_t fill) {
    const auto path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << std::string(size, static_cast<char>(fill));
    return path;
  }

  Bytes Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir_;
  std::string error_;
};

TEST_F(MemoryImageTest, TheSizeTellsTheMemoryType) {
  const auto i2c = LoadMemoryImage(Write("a.bin", 2048, 0x11), std::nullopt, &error_);
  ASSERT_TRUE(i2c.has_value()) << error_;
  EXPECT_EQ(i2c->type, MemoryType::kI2C);
  EXPECT_EQ(i2c->bytes, Bytes(2048, 0x11));
  EXPECT_TRUE(i2c->from_file);

  const auto flash = LoadMemoryImage(Write("b.bin", 65536, 0x22), MemoryType::kFlash, &error_);
  ASSERT_TRUE(flash.has_value()) << error_;
  EXPECT_EQ(flash->type, MemoryType::kFlash);
  EXPECT_EQ(flash->bytes.size(), 65536u);
}

TEST_F(MemoryImageTest, AMissingFileStartsAsFactoryMemoryOfTheType) {
  const auto path = (dir_ / "new.bin").string();
  const auto flash = LoadMemoryImage(path, MemoryType::kFlash, &error_);
  ASSERT_TRUE(flash.has_value());
  EXPECT_FALSE(flash->from_file);
  EXPECT_EQ(flash->type, MemoryType::kFlash);
  EXPECT_EQ(flash->bytes, SimulatedMouse::FactoryMemory(MemoryType::kFlash));
  const auto i2c = LoadMemoryImage(path, std::nullopt, &error_);
  ASSERT_TRUE(i2c.has_value());
  EXPECT_EQ(i2c->bytes, SimulatedMouse::FactoryMemory(MemoryType::kI2C));
  EXPECT_FALSE(fs::exists(path)) << "loading creates nothing";
}

TEST_F(MemoryImageTest, RefusesWhatIsNoImageOfTheWantedType) {
  EXPECT_FALSE(LoadMemoryImage(Write("short.bin", 2047, 0), std::nullopt, &error_));
  EXPECT_THAT(error_, HasSubstr("not a memory image"));
  EXPECT_FALSE(LoadMemoryImage(Write("long.bin", 4096, 0), std::nullopt, &error_));
  EXPECT_FALSE(LoadMemoryImage(dir_.string(), std::nullopt, &error_)) << "a folder";
  EXPECT_FALSE(LoadMemoryImage(Write("i2c.bin", 2048, 0), MemoryType::kFlash, &error_));
  EXPECT_THAT(error_, HasSubstr("\"I2C\" image, not \"Flash\""));
}

TEST_F(MemoryImageTest, SaveReplacesTheFileAndLeavesNoTemporary) {
  const auto path = Write("m.bin", 2048, 0x00);
  const Bytes memory(2048, 0x5A);
  ASSERT_TRUE(SaveMemoryImage(path, memory, &error_)) << error_;
  EXPECT_EQ(Contents(path), memory);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(MemoryImageTest, AFailedSaveLeavesTheOldFileAndNoTemporary) {
  // The rename fails: a folder stands where the image should go.
  const auto blocked = dir_ / "blocked.bin";
  fs::create_directories(blocked / "inside");
  EXPECT_FALSE(SaveMemoryImage(blocked.string(), Bytes(2048, 1), &error_));
  EXPECT_THAT(error_, HasSubstr("cannot replace " + blocked.string()));
  EXPECT_TRUE(fs::is_directory(blocked / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  // No folder to put it in at all.
  EXPECT_FALSE(SaveMemoryImage((dir_ / "none" / "m.bin").string(), Bytes(2048, 1), &error_));
  EXPECT_THAT(error_, HasSubstr("No such file or directory"));
}

}  // namespace
}  // namespace vrdk
