#include "files/user_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/environment.h"

namespace vrdk::files {
namespace {

using testing::SetEnv;
using testing::UnsetEnv;

// Keeps the variables the folders come from and puts them back afterwards.
class UserFoldersTest : public ::testing::Test {
 protected:
  static constexpr const char* kNames[] = {"XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CONFIG_HOME",
                                           "HOME",          "APPDATA",        "LOCALAPPDATA"};
  void SetUp() override {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
      UnsetEnv(name);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) {
        SetEnv(name, *value);
      } else {
        UnsetEnv(name);
      }
    }
  }
  // Compared as paths: on Windows the separators may be of either kind.
  static std::optional<std::filesystem::path> Folder(UserFolder kind) {
    const auto folder = ProgramFolder(kind);
    if (!folder) return std::nullopt;
    return std::filesystem::path(*folder);
  }

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(UserFoldersTest, EachKindHasItsVariableThenItsPlaceUnderHome) {
  SetEnv("HOME", "/home/ann");
  EXPECT_EQ(Folder(UserFolder::kData), std::filesystem::path("/home/ann/.local/share/vrdk"));
  EXPECT_EQ(Folder(UserFolder::kState), std::filesystem::path("/home/ann/.local/state/vrdk"));
  EXPECT_EQ(Folder(UserFolder::kConfig), std::filesystem::path("/home/ann/.config/vrdk"));
  SetEnv("XDG_DATA_HOME", "/data");
  SetEnv("XDG_STATE_HOME", "/state");
  SetEnv("XDG_CONFIG_HOME", "/config");
  EXPECT_EQ(Folder(UserFolder::kData), std::filesystem::path("/data/vrdk"));
  EXPECT_EQ(Folder(UserFolder::kState), std::filesystem::path("/state/vrdk"));
  EXPECT_EQ(Folder(UserFolder::kConfig), std::filesystem::path("/config/vrdk"));
}

TEST_F(UserFoldersTest, AnEmptyVariableCountsAsNoneAndWithoutAnyThereIsNoFolder) {
  SetEnv("XDG_STATE_HOME", "");
  SetEnv("HOME", "/home/ann");
  EXPECT_EQ(Folder(UserFolder::kState), std::filesystem::path("/home/ann/.local/state/vrdk"));
  UnsetEnv("HOME");
#ifdef _WIN32
  SetEnv("LOCALAPPDATA", "C:\\Users\\ann\\AppData\\Local");
  SetEnv("APPDATA", "C:\\Users\\ann\\AppData\\Roaming");
  EXPECT_EQ(Folder(UserFolder::kState),
            std::filesystem::path("C:\\Users\\ann\\AppData\\Local\\vrdk"));
  EXPECT_EQ(Folder(UserFolder::kData),
            std::filesystem::path("C:\\Users\\ann\\AppData\\Roaming\\vrdk"));
  UnsetEnv("LOCALAPPDATA");
  UnsetEnv("APPDATA");
#endif
  EXPECT_EQ(Folder(UserFolder::kState), std::nullopt);
  EXPECT_EQ(Folder(UserFolder::kData), std::nullopt);
  EXPECT_EQ(Folder(UserFolder::kConfig), std::nullopt);
}

}  // namespace
}  // namespace vrdk::files
