// Patch code files, checksums and programming, on the simulated mouse's
// transcript and memory.

#include "engineering/patch_code.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

#include "app/install.h"
#include "macros/editors/device_macros.h"
#include "settings/led_editor.h"
#include "support/session_rig.h"
#include "support/temp_dir.h"

namespace vrdk::engineering {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::SessionRig;
using testing::TempDir;

std::vector<std::uint8_t> I2CPatchFile(int length, std::size_t file_code_bytes) {
  std::vector<std::uint8_t> file(16 + file_code_bytes);
  file[0] = 0x04;
  file[2] = static_cast<std::uint8_t>(length >> 8);
  file[3] = static_cast<std::uint8_t>(length);
  file[5] = 0x1A;
  file[8] = 0x03;  // an MCU LED section of its own
  for (std::size_t i = 16; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(i * 7);
  return file;
}

TEST(PatchChecksumTest, TheShippedDefaultPatchSumsTo75F0) {
  const auto image = DefaultImageSet::FromResources()->WorkingImage(1);
  const std::span<const std::uint8_t> patch(image.data() + image::i2c::kPatchCode, 784);
  EXPECT_EQ(PatchChecksum(patch), 0x75F0);
  // An empty 1024-byte area sums to 0: only the mask remains.
  EXPECT_EQ(PatchChecksum(std::vector<std::uint8_t>(1024, 0)), 0x015A);
  // The sum wraps at 16 bits: 258 bytes of 0xFF sum to 0x100FE, kept as 0x00FE.
  EXPECT_EQ(PatchChecksum(std::vector<std::uint8_t>(258, 0xFF)), 0x00FE ^ 0x015A);
}

struct FitCase {
  int length;
  bool fits;
};

class PatchFitsTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(PatchFitsTest, ALoadedHeaderDecidesWhetherDefaultImage1HoldsThePatch) {
  TempDir dir;
  const std::string path = dir.File("patch.bin");
  TempDir::Write(path,
                 I2CPatchFile(GetParam().length, static_cast<std::size_t>(GetParam().length)));
  image::ConfigBuffers buffers;
  buffers.patch_fits_image1 = !GetParam().fits;
  ASSERT_TRUE(LoadPatchFile(path, MemoryType::kI2C, buffers).ok());
  EXPECT_EQ(buffers.patch_length, GetParam().length);
  EXPECT_EQ(buffers.patch_fits_image1, GetParam().fits);
}

INSTANTIATE_TEST_SUITE_P(Lengths, PatchFitsTest,
                         ::testing::Values(FitCase{874, true}, FitCase{875, false},
                                           FitCase{1024, false}, FitCase{0, true}));

struct RefusedCase {
  const char* name;
  int claimed;
  std::size_t present;
  const char* says;
  std::size_t cut_to = 0;  // the file ends here when not 0
};

class RefusedPatchTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedPatchTest, IsNotLoadedAndNothingIsWritten) {
  SessionRig rig{MemoryType::kI2C};
  rig.Connect();
  TempDir dir;
  const std::string path = dir.File("patch.bin");
  auto file = I2CPatchFile(GetParam().claimed, GetParam().present);
  if (GetParam().cut_to != 0) file.resize(GetParam().cut_to);
  TempDir::Write(path, file);
  const auto before = rig.session.Buffers();
  const auto memory = rig.mouse.Memory();
  PatchProgrammer programmer(rig.session);
  const Result<void> outcome = programmer.ProgramFile(path);
  EXPECT_TRUE(outcome.Is(ErrorKind::kWrongKind));
  EXPECT_THAT(outcome.message(), HasSubstr(GetParam().says));
  EXPECT_TRUE(rig.Reports().empty());
  EXPECT_EQ(rig.mouse.Memory(), memory);
  EXPECT_EQ(rig.session.Buffers().patch_header, before.patch_header);
  EXPECT_EQ(rig.session.Buffers().patch_code, before.patch_code);
  EXPECT_EQ(rig.session.Buffers().patch_length, before.patch_length);
  EXPECT_FALSE(programmer.LoadBin(path).ok());
  EXPECT_TRUE(rig.session.Pages().loaded_patch_file.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedPatchTest,
    ::testing::Values(RefusedCase{"LongerThanThePatchArea", 1025, 1025, "more than the 1024"},
                      RefusedCase{"ShorterThanItsHeaderClaims", 800, 799, "holds only 799"},
                      RefusedCase{"NoWholeHeader", 0, 0, "too short", 15}),
    [](const auto& row) { return std::string(row.param.name); });

class PatchProgramTest : public ::testing::Test {
 protected:
  PatchProgramTest() { rig.Connect(); }
  std::string Write(const std::vector<std::uint8_t>& file) {
    const std::string path = dir.File("patch.bin");
    TempDir::Write(path, file);
    return path;
  }

  SessionRig rig{MemoryType::kI2C};
  TempDir dir;
};

TEST_F(PatchProgramTest, NeedsALoadedFileAndOpeningTheUpdatePageForgetsIt) {
  const std::string path = Write(I2CPatchFile(20, 20));
  PatchProgrammer programmer(rig.session);
  EXPECT_FALSE(programmer.Program().ok());
  ASSERT_TRUE(programmer.LoadBin(path).ok());
  programmer.OpenUpdatePage();
  EXPECT_FALSE(programmer.Program().ok());
  EXPECT_TRUE(rig.Reports().empty());
}

TEST_F(PatchProgramTest, AnI2CPatchGoesToItsHeaderAndCodeAreasAndTheMouseRestarts) {
  auto file = I2CPatchFile(20, 20);
  file[0] = 0xEE;  // fixed bytes and checksum are recomputed
  file[6] = file[7] = 0;
  const std::string path = Write(file);
  PatchProgrammer programmer(rig.session);
  ASSERT_TRUE(programmer.LoadBin(path).ok());
  EXPECT_EQ(rig.session.Pages().loaded_patch_file, path);
  ASSERT_TRUE(programmer.Program().ok());

  const auto reports = rig.Reports();
  ASSERT_GE(reports.size(), 2u);
  EXPECT_EQ(reports[0], "> 40 07 03 F0 00 10 00 00");
  EXPECT_EQ(rig.CountSent("> 40 07 04 00 00 14"), 1);
  EXPECT_EQ(rig.CountSent("> 40 0E"), 1);
  const auto memory = rig.mouse.Memory();
  int sum = 0;
  for (std::size_t i = 16; i < 36; ++i) sum += file[i];
  const int checksum = (sum & 0xFFFF) ^ 0x015A;
  EXPECT_THAT(std::vector<std::uint8_t>(memory.begin() + 1008, memory.begin() + 1016),
              ElementsAre(0x04, 0x00, 0x00, 0x14, 0x00, 0x1A, checksum >> 8, checksum & 0xFF));
  EXPECT_EQ(memory[1016], 0x03);  // the file's MCU LED section
  EXPECT_TRUE(std::equal(file.begin() + 16, file.end(), memory.begin() + 1024));
}

TEST_F(PatchProgramTest, ALoadedFileReachesNothingUntilItIsProgrammed) {
  const std::string path = Write(I2CPatchFile(100, 100));
  const auto buffers = rig.session.Buffers();
  const auto memory = rig.mouse.Memory();
  PatchProgrammer programmer(rig.session);
  ASSERT_TRUE(programmer.LoadBin(path).ok());
  EXPECT_EQ(rig.session.Buffers().patch_header, buffers.patch_header);
  EXPECT_EQ(rig.session.Buffers().patch_code, buffers.patch_code);
  EXPECT_EQ(rig.session.Buffers().patch_length, buffers.patch_length);
  // The strip's settings go with the mouse's own header: its 784-byte patch stays.
  ASSERT_TRUE(settings::LedEditor(rig.session).SetMcuLed(2, 0, 5));
  const auto after_led = rig.mouse.Memory();
  EXPECT_EQ(after_led[1010] << 8 | after_led[1011], 784);
  EXPECT_TRUE(std::equal(memory.begin() + 1024, memory.end(), after_led.begin() + 1024));
  // Programming takes the file's patch.
  ASSERT_TRUE(programmer.Program().ok());
  const auto programmed = rig.mouse.Memory();
  EXPECT_EQ(programmed[1010] << 8 | programmed[1011], 100);
  EXPECT_EQ(rig.session.Buffers().patch_length, 100);
}

class FlashPatchTest : public ::testing::Test {
 protected:
  FlashPatchTest() { rig.Connect(); }
  std::string FileWithPatchBytes(std::size_t bytes, std::uint8_t value) {
    std::vector<std::uint8_t> file(0x8000 + bytes, 0x11);
    std::fill(file.begin() + 0x8000, file.end(), value);
    TempDir::Write(dir.File("flash.bin"), file);
    return dir.File("flash.bin");
  }
  SessionRig rig{MemoryType::kFlash};
  TempDir dir;
};

TEST_F(FlashPatchTest, AShortFileKeepsTheMissingBytes) {
  auto& held = rig.session.Buffers().flash_patch_code;
  std::fill(held.begin(), held.end(), 0x55);
  ASSERT_TRUE(
      LoadPatchFile(FileWithPatchBytes(100, 0xA0), MemoryType::kFlash, rig.session.Buffers()).ok());
  EXPECT_EQ(held[99], 0xA0);
  EXPECT_EQ(held[100], 0x55);
  EXPECT_EQ(held[1023], 0x55);
}

TEST_F(FlashPatchTest, AFileEndingBeforeThePatchIsRefused) {
  const auto held = rig.session.Buffers().flash_patch_code;
  const Result<void> outcome =
      LoadPatchFile(FileWithPatchBytes(0, 0xA0), MemoryType::kFlash, rig.session.Buffers());
  EXPECT_TRUE(outcome.Is(ErrorKind::kWrongKind));
  EXPECT_EQ(rig.session.Buffers().flash_patch_code, held);
}

TEST_F(FlashPatchTest, ProgrammingWritesThePatchThenTheDescribedInfoBlock) {
  PatchProgrammer programmer(rig.session);
  ASSERT_TRUE(programmer.ProgramFile(FileWithPatchBytes(1024, 0x01)).ok());
  EXPECT_EQ(rig.Reports()[0], "> 40 07 C0 00 04 00 00 00");
  EXPECT_EQ(rig.CountSent("> 40 07 10 00 01 00"), 1);
  const auto memory = rig.mouse.Memory();
  EXPECT_EQ(memory[0xC000], 0x01);
  EXPECT_EQ(memory[0xC3FF], 0x01);
  // 1024 x 1 = 0x0400, XOR 0x015A = 0x055A.
  EXPECT_THAT(std::vector<std::uint8_t>(memory.begin() + 0x1008, memory.begin() + 0x1010),
              ElementsAre(0xC0, 0x00, 0x04, 0x00, 0x00, 0x1A, 0x05, 0x5A));
  EXPECT_EQ(rig.session.Pages().patch_checksum_text, "055A");
}

TEST_F(FlashPatchTest, ALockedPatchAreaGetsNoWriteButTheMouseStillRestarts) {
  rig.session.Buffers().patch_locked = true;
  PatchProgrammer programmer(rig.session);
  EXPECT_FALSE(programmer.ProgramFile(FileWithPatchBytes(1024, 0x01)).ok());
  EXPECT_EQ(rig.CountSent("> 40 07"), 0);
  EXPECT_EQ(rig.CountSent("> 40 0E"), 1);
}

// A rig whose Session has the macro store installed, as the program has.
struct MacroRig {
  explicit MacroRig(MemoryType type) : rig(type) {
    InstallEditors(rig.session);
    rig.session.InitNoDevice();
    rig.Connect();
  }
  SessionRig rig;
};

TEST(ImportBaseMacrosTest, I2CLaysTheFileOutSoTheMouseHoldsWhatTheProgramShows) {
  MacroRig macro_rig{MemoryType::kI2C};
  SessionRig& rig = macro_rig.rig;
  // "Long": a key down at offset 255 that the page rule moves behind a loop
  // end; then "Next".
  std::vector<std::uint8_t> file(512, 0);
  file[1] = 'L';
  std::fill_n(file.begin() + 16, 241, 0xFC);
  file[255] = 0x82;
  file[256] = 0x04;
  file[260] = 'N';
  file[275] = 0xA1;
  TempDir dir;
  TempDir::Write(dir.File("macros.bin"), file);
  ASSERT_TRUE(PatchProgrammer(rig.session).ImportBaseMacros(dir.File("macros.bin")).ok());
  EXPECT_EQ(rig.Reports()[0], "> 40 07 01 F0 01 00 00 00");
  EXPECT_EQ(rig.CountSent("> 40 07 02 F0 01 00"), 1);
  EXPECT_EQ(rig.CountSent("> 40 0E"), 0);
  const auto memory = rig.mouse.Memory();
  EXPECT_EQ(memory[496 + 255], 0xFC);
  EXPECT_EQ(memory[496 + 256], 0x82);
  const auto& area = rig.session.Buffers().macro_area;
  EXPECT_TRUE(std::equal(area.begin(), area.end(), memory.begin() + 496));
  EXPECT_EQ(memory[1008], 0x04);  // the patch header after the area is untouched
  rig.session.Btn_Read();
  EXPECT_THAT(macros::FindDeviceMacros(rig.session)->Names(), ElementsAre("L", "N"));
}

TEST(ImportBaseMacrosTest, AShortFlashSetIsRefusedAndNothingIsWritten) {
  MacroRig macro_rig{MemoryType::kFlash};
  SessionRig& rig = macro_rig.rig;
  TempDir dir;
  TempDir::Write(dir.File("macros.bin"), std::vector<std::uint8_t>(512 + 8191, 1));
  const auto outcome = PatchProgrammer(rig.session).ImportBaseMacros(dir.File("macros.bin"));
  EXPECT_TRUE(outcome.Is(ErrorKind::kFileError));
  EXPECT_THAT(outcome.message(), HasSubstr("8704"));
  EXPECT_TRUE(rig.Reports().empty());
}

TEST(ImportBaseMacrosTest, FlashWritesTheNamesAndThe32Slots) {
  MacroRig macro_rig{MemoryType::kFlash};
  SessionRig& rig = macro_rig.rig;
  TempDir dir;
  std::vector<std::uint8_t> file(512 + 8192);
  for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(i / 256);
  TempDir::Write(dir.File("macros.bin"), file);
  ASSERT_TRUE(PatchProgrammer(rig.session).ImportBaseMacros(dir.File("macros.bin")).ok());
  EXPECT_EQ(rig.Reports()[0], "> 40 07 30 00 02 00 00 00");
  EXPECT_EQ(rig.CountSent("> 40 07 40 00 01 00"), 1);
  EXPECT_EQ(rig.CountSent("> 40 07 5F 00 01 00"), 1);
  EXPECT_EQ(rig.CountSent("> 40 07"), 33);
  const auto memory = rig.mouse.Memory();
  EXPECT_EQ(memory[0x4000], 2);   // slot 0 is file bytes 512..767
  EXPECT_EQ(memory[0x5FFF], 33);  // the last byte of slot 31
  // Names 0..15 start 00 00 (free), names 16..31 start 01 01.
  EXPECT_EQ(macros::FindDeviceMacros(rig.session)->Names().size(), 16u);
}

}  // namespace
}  // namespace vrdk::engineering
