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
};

TEST_F(MemoryImageTest, TheSizeTellsTheMemoryType) {
  const auto i2c = LoadMemoryImage(Write("a.bin", 2048, 0x11), std::nullopt);
  ASSERT_TRUE(i2c.ok()) << i2c.message();
  EXPECT_EQ(i2c.value().type, MemoryType::kI2C);
  EXPECT_EQ(i2c.value().bytes, Bytes(2048, 0x11));
  EXPECT_TRUE(i2c.value().from_file);

  const auto flash = LoadMemoryImage(Write("b.bin", 65536, 0x22), MemoryType::kFlash);
  ASSERT_TRUE(flash.ok()) << flash.message();
  EXPECT_EQ(flash.value().type, MemoryType::kFlash);
  EXPECT_EQ(flash.value().bytes.size(), 65536u);
}

TEST_F(MemoryImageTest, AMissingFileStartsAsFactoryMemoryOfTheType) {
  const auto path = (dir_ / "new.bin").string();
  const auto flash = LoadMemoryImage(path, MemoryType::kFlash);
  ASSERT_TRUE(flash.ok());
  EXPECT_FALSE(flash.value().from_file);
  EXPECT_EQ(flash.value().type, MemoryType::kFlash);
  EXPECT_EQ(flash.value().bytes, SimulatedMouse::FactoryMemory(MemoryType::kFlash));
  const auto i2c = LoadMemoryImage(path, std::nullopt);
  ASSERT_TRUE(i2c.ok());
  EXPECT_EQ(i2c.value().bytes, SimulatedMouse::FactoryMemory(MemoryType::kI2C));
  EXPECT_FALSE(fs::exists(path)) << "loading creates nothing";
}

TEST_F(MemoryImageTest, RefusesWhatIsNoImageOfTheWantedType) {
  const auto short_file = LoadMemoryImage(Write("short.bin", 2047, 0), std::nullopt);
  EXPECT_FALSE(short_file.ok());
  EXPECT_THAT(short_file.message(), HasSubstr("not a memory image"));
  EXPECT_FALSE(LoadMemoryImage(Write("long.bin", 4096, 0), std::nullopt).ok());
  EXPECT_FALSE(LoadMemoryImage(dir_.string(), std::nullopt).ok()) << "a folder";
  const auto other_type = LoadMemoryImage(Write("i2c.bin", 2048, 0), MemoryType::kFlash);
  EXPECT_FALSE(other_type.ok());
  EXPECT_THAT(other_type.message(), HasSubstr("\"I2C\" image, not \"Flash\""));
}

TEST_F(MemoryImageTest, SaveReplacesTheFileAndLeavesNoTemporary) {
  const auto path = Write("m.bin", 2048, 0x00);
  const Bytes memory(2048, 0x5A);
  const auto saved = SaveMemoryImage(path, memory);
  ASSERT_TRUE(saved.ok()) << saved.message();
  EXPECT_EQ(Contents(path), memory);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(MemoryImageTest, AFailedSaveLeavesTheOldFileAndNoTemporary) {
  // The rename fails: a folder stands where the image should go.
  const auto blocked = dir_ / "blocked.bin";
  fs::create_directories(blocked / "inside");
  const auto refused = SaveMemoryImage(blocked.string(), Bytes(2048, 1));
  EXPECT_FALSE(refused.ok());
  EXPECT_THAT(refused.message(), HasSubstr("cannot replace " + blocked.string()));
  EXPECT_TRUE(fs::is_directory(blocked / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  // No folder to put it in at all.
  const auto nowhere = SaveMemoryImage((dir_ / "none" / "m.bin").string(), Bytes(2048, 1));
  EXPECT_FALSE(nowhere.ok());
  EXPECT_THAT(nowhere.message(), HasSubstr("No such file or directory"));
}

}  // namespace
}  // namespace vrdk
