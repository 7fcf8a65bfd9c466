// The engineer page's and the Update page's writes reach only a mouse that
// was accepted: not one refused for its customer codes, not one of the other
// memory type, and nothing at all without a mouse.

#include <gtest/gtest.h>

#include <functional>

#include "app/install.h"
#include "engineering/engineer_page.h"
#include "engineering/patch_code.h"
#include "settings/led_editor.h"
#include "support/session_rig.h"
#include "support/temp_dir.h"

namespace vrdk::engineering {
namespace {

using testing::SessionRig;
using testing::TempDir;

// An "I2C" patch file of 100 bytes and a base macro set: both good files.
void WriteFiles(const std::string& patch, const std::string& macros) {
  std::vector<std::uint8_t> file(16 + 100, 0x11);
  file[0] = 0x04;
  file[1] = 0x00;
  file[2] = 0x00;
  file[3] = 100;
  TempDir::Write(patch, file);
  TempDir::Write(macros, std::vector<std::uint8_t>(512 + 8192, 0));
}

struct Road {
  const char* name;
  std::function<void(Session&, const std::string& patch, const std::string& macros)> run;
};

const Road kRoads[] = {
    {"Program",
     [](Session& s, const std::string& patch, const std::string&) {
       PatchProgrammer programmer(s);
       programmer.LoadBin(patch);
       programmer.Program();
     }},
    {"PatchCode", [](Session& s, const std::string& patch,
                     const std::string&) { PatchProgrammer(s).ProgramFile(patch); }},
    {"ImportBaseMacros",
     [](Session& s, const std::string&, const std::string& macros) {
       PatchProgrammer(s).ImportBaseMacros(macros);
     }},
    {"RestoreDefaults",
     [](Session& s, const std::string&, const std::string&) { EngineerPage(s).RestoreDefaults(); }},
    {"XData",
     [](Session& s, const std::string&, const std::string&) {
       EngineerPage page(s);
       page.WriteXData(0x7241, 1);
       page.ChangedXData();
     }},
    {"CustomerCodes", [](Session& s, const std::string&,
                         const std::string&) { EngineerPage(s).SetCustomerCodes(255, 255); }},
    {"LedType",
     [](Session& s, const std::string&, const std::string&) {
       settings::LedEditor(s).SetLedType(settings::LedTypeOfItem(0));
     }},
};

struct Mouse {
  const char* name;
  std::function<SimulatedMouseConfig()> config;  // empty: no mouse at all
};

const Mouse kMice[] = {
    {"ForeignCodes",
     [] {
       auto config = testing::MouseFor(MemoryType::kI2C);
       config.memory[image::i2c::kFire] = 0x12;
       return config;
     }},
    {"FlashMouse", [] { return testing::MouseFor(MemoryType::kFlash); }},
    {"NoMouse", nullptr},
};

class GuardedRoadTest : public ::testing::TestWithParam<std::tuple<Mouse, Road>> {};

TEST_P(GuardedRoadTest, WritesNothingAndWaitsForNothing) {
  const auto& [mouse, road] = GetParam();
  SessionRig rig(MemoryType::kI2C,
                 mouse.config ? mouse.config() : testing::MouseFor(MemoryType::kI2C));
  InstallEditors(rig.session);
  if (mouse.config) {
    rig.Connect();
  } else {
    rig.mouse.Unplug();
    rig.Connect();
  }
  ASSERT_NE(rig.session.Conn().state, ConnectionState::kConnected);
  TempDir dir;
  const auto patch = dir.File("patch.bin");
  const auto macros = dir.File("macros.bin");
  WriteFiles(patch, macros);
  const auto memory = rig.mouse.Memory();
  const auto data = rig.session.Data();
  const auto slept = rig.clock.TotalSlept();

  road.run(rig.session, patch, macros);
  EXPECT_EQ(rig.CountWrites(), 0);
  EXPECT_EQ(rig.mouse.Memory(), memory);
  EXPECT_EQ(rig.session.Data(), data);
  EXPECT_EQ(rig.clock.TotalSlept(), slept) << "no restart wait for a write that never happened";
}

INSTANTIATE_TEST_SUITE_P(EveryRoad, GuardedRoadTest,
                         ::testing::Combine(::testing::ValuesIn(kMice),
                                            ::testing::ValuesIn(kRoads)),
                         [](const auto& test) {
                           return std::string(std::get<0>(test.param).name) + "_" +
                                  std::get<1>(test.param).name;
                         });

TEST(GuardedRoads, AnAcceptedMouseStillGetsThePatch) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  TempDir dir;
  const auto patch = dir.File("patch.bin");
  WriteFiles(patch, dir.File("macros.bin"));
  ASSERT_TRUE(PatchProgrammer(rig.session).ProgramFile(patch).ok());
  EXPECT_EQ(rig.mouse.Memory()[image::i2c::kPatchCode], 0x11);
  EXPECT_EQ(rig.mouse.Restarts(), 1);
}

}  // namespace
}  // namespace vrdk::engineering
