// A Session with every editor installed, as both faces assemble it.

#include "app/install.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/environment.h"
#include "support/session_rig.h"
#include "support/temp_dir.h"

namespace vrdk {
namespace {

using testing::SessionRig;
using testing::TempDir;

// The data folder of the run points into a folder of the test's own.
class DataFolder {
 public:
  explicit DataFolder(const TempDir& dir) : path_(dir.File("data")) {
    const char* old = std::getenv("XDG_DATA_HOME");
    if (old != nullptr) old_ = old;
    vrdk::testing::SetEnv("XDG_DATA_HOME", path_.c_str());
    std::filesystem::create_directories(path_ + "/vrdk");
  }
  ~DataFolder() {
    if (old_) {
      vrdk::testing::SetEnv("XDG_DATA_HOME", old_->c_str());
    } else {
      vrdk::testing::UnsetEnv("XDG_DATA_HOME");
    }
  }
  std::string FireMacroFile() const { return path_ + "/vrdk/Fire Macro.bin"; }

 private:
  std::string path_;
  std::optional<std::string> old_;
};

TEST(InstalledEditors, EveryReadTakesTheFireMacroFileInAgain) {
  TempDir dir;
  DataFolder data(dir);
  SessionRig rig(MemoryType::kI2C);
  InstallEditors(rig.session);
  rig.Connect();
  EXPECT_FALSE(rig.session.Keys().fire_macro_naming);
  // The file appears while the program runs (another copy saved it).
  std::vector<std::uint8_t> file(40, 0);
  file[0] = 0x0B;
  file[1] = 0x8F;
  TempDir::Write(data.FireMacroFile(), file);
  ASSERT_EQ(rig.session.Btn_Read(), ReadResult::kComplete);
  EXPECT_TRUE(rig.session.Keys().fire_macro_naming);
  // And goes again.
  std::filesystem::remove(data.FireMacroFile());
  rig.session.Btn_Read();
  EXPECT_FALSE(rig.session.Keys().fire_macro_naming);
}

}  // namespace
}  // namespace vrdk
