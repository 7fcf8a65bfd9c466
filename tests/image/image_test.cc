// The configuration image: checksums against the values the shipped image
// carries, the defaults each input selects, and splitting both maps.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "image/checksum.h"
#include "image/code_text.h"
#include "image/image_split.h"
#include "image/section_defaults.h"
#include "resources/resources.h"
#include "support/flash_defaults.h"
#include "support/simulated_rig.h"

namespace vrdk::image {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vrdk::testing::Hex;

std::vector<std::uint8_t> DefaultImage() {
  const auto bytes = resources::Find("VRDK2280MData_Cfg1");
  return {bytes->begin(), bytes->end()};
}

std::span<const std::uint8_t, i2c::kSize> AsI2C(const std::vector<std::uint8_t>& image) {
  return std::span<const std::uint8_t, i2c::kSize>(image.data(), i2c::kSize);
}

std::span<const std::uint8_t, flash::kSize> AsFlash(const std::vector<std::uint8_t>& image) {
  return std::span<const std::uint8_t, flash::kSize>(image.data(), flash::kSize);
}

// --- Checksums ---------------------------------------------------------------

TEST(Checksum, TheShippedSectionsCarryF3EC6AF67E) {
  const auto image = DefaultImage();
  ASSERT_EQ(image.size(), 2048u);
  const std::span<const std::uint8_t> all(image);
  EXPECT_EQ(SectionChecksum(all.subspan(0, 164)), 0xF3);
  EXPECT_EQ(SectionChecksum(all.subspan(164, 28)), 0xEC);
  EXPECT_EQ(SectionChecksum(all.subspan(192, 49)), 0x6A);
  EXPECT_EQ(SectionChecksum(all.subspan(241, 49)), 0xF6);
  EXPECT_EQ(SectionChecksum(all.subspan(290, 49)), 0x7E);
  EXPECT_TRUE(SectionChecksumValid(all.subspan(0, 164)));
}

TEST(Checksum, OneHundredSixtyThreeBytesOfFFGiveSeven) {
  std::vector<std::uint8_t> vendor(164, 0xFF);
  EXPECT_EQ(SectionChecksum(vendor), 0x07);
  EXPECT_FALSE(SectionChecksumValid(vendor));
  WriteSectionChecksum(vendor);
  EXPECT_EQ(vendor.back(), 0x07);
}

TEST(Checksum, MCULEDSectionCoversHeaderBytesEightToFourteen) {
  const auto image = DefaultImage();
  std::array<std::uint8_t, 16> header;
  std::copy_n(image.begin() + 1008, 16, header.begin());
  EXPECT_EQ(header[15], 0xD9);
  header[15] = 0;
  header[0] = 0x55;  // outside the section: does not count
  TLCheckMCULEDSection(header);
  EXPECT_EQ(header[15], 0xD9);
}

// --- Defaults -------------------------------------------------------------------

TEST(Defaults, VendorFollowsMemoryAndLedType) {
  DataBuf buf{};
  FillVendorDefaults(Vendor(buf), {MemoryType::kI2C, LedType::kMCULED, 0});
  EXPECT_EQ(Hex(Vendor(buf).first(8)), "1B CF 08 B8 BF 3F 7F CF");
  EXPECT_EQ(Hex(Vendor(buf).subspan(40, 8)), "06 87 7F 03 64 98 00 00");
  EXPECT_EQ(std::string(Vendor(buf).begin() + 111, Vendor(buf).begin() + 127), "HID Gaming mouse");
  EXPECT_EQ(Hex(Vendor(buf).subspan(127, 12)), "00 00 00 00 00 00 00 00 08 01 00 00");

  FillVendorDefaults(Vendor(buf), {MemoryType::kFlash, LedType::kUnknown, 1});
  EXPECT_EQ(Hex(Vendor(buf).first(8)), "1B CF 08 B8 FF FF 7F 7F");
  EXPECT_EQ(Hex(Vendor(buf).subspan(40, 3)), "10 E0 3F");
  EXPECT_EQ(Hex(Vendor(buf).subspan(48, 9)), "01 00 80 00 00 64 00 64 08");
}

TEST(Defaults, SyncKeepsTheLedAndDpiColoursWhileOtherTypesResetThem) {
  DataBuf buf{};
  std::fill(buf.begin(), buf.end(), 0x33);
  FillVendorDefaults(Vendor(buf), {MemoryType::kI2C, LedType::kSync, 0});
  EXPECT_TRUE(std::all_of(buf.begin() + 57, buf.begin() + 111, [](auto b) { return b == 0x33; }));
  EXPECT_EQ(Hex(Vendor(buf).subspan(48, 9)), "00 00 00 FF 00 64 6D 60 08");
  EXPECT_EQ(buf[42], 0x05);
  EXPECT_EQ(buf[7], 0xBF);

  FillVendorDefaults(Vendor(buf), {MemoryType::kI2C, LedType::kNT, 0});
  EXPECT_EQ(Hex(Vendor(buf).subspan(57, 6)), "FF 00 00 FF 80 00");
  EXPECT_EQ(Hex(Vendor(buf).subspan(87, 6)), "00 FF 00 FF FF 00");
  EXPECT_EQ(buf[42], 0x37);
}

TEST(Defaults, NoPackageSelectionLeavesPackageBytesAndProfileCodes) {
  DataBuf buf{};
  std::fill(buf.begin(), buf.end(), 0x44);
  const DefaultInputs none{MemoryType::kI2C, LedType::kRGB, std::nullopt};
  FillVendorDefaults(Vendor(buf), none);
  EXPECT_EQ(Hex(Vendor(buf).subspan(40, 2)), "44 44");
  EXPECT_TRUE(CheckSection(buf, Section::kProfile2, none));
  EXPECT_TRUE(std::all_of(buf.begin() + 241, buf.begin() + 289, [](auto b) { return b == 0x44; }));
  EXPECT_TRUE(SectionChecksumValid(Profile(buf, 1)));

  FillProfileDefaults(Profile(buf, 1), {MemoryType::kI2C, LedType::kRGB, 0});
  EXPECT_EQ(Hex(Profile(buf, 1).first(12)), "01 01 00 00 01 08 00 00 06 12 00 10");
}

TEST(Defaults, UserAndFireDependOnLedTypeAndMemory) {
  DataBuf buf{};
  for (auto [type, byte] : {std::pair{LedType::kUnknown, 0x05},
                            {LedType::kRGB, 0x05},
                            {LedType::kSync, 0x42},
                            {LedType::kNT, 0xF5},
                            {LedType::kMCULED, 0x81}}) {
    FillUserDefaults(User(buf), {MemoryType::kI2C, type, 0});
    EXPECT_EQ(User(buf)[1], byte);
  }
  EXPECT_EQ(Hex(User(buf).first(5)), "00 81 01 01 00");
  FillFireDefaults(Fire(buf), {MemoryType::kI2C, LedType::kRGB, 0});
  EXPECT_EQ(Hex(Fire(buf)), "FF FF 01 00 3C 03 00 78 07 00 C8 E0");
  FillFireDefaults(Fire(buf), {MemoryType::kFlash, LedType::kRGB, 0});
  EXPECT_EQ(Fire(buf)[11], 0xF0);
}

TEST(LedType, DecodesTheTypeBitsOfUserByteOne) {
  EXPECT_EQ(LedTypeFromUserByte(0x05), LedType::kRGB);
  EXPECT_EQ(LedTypeFromUserByte(0x42), LedType::kSync);
  EXPECT_EQ(LedTypeFromUserByte(0x81), LedType::kMCULED);
  EXPECT_EQ(LedTypeFromUserByte(0x95), LedType::kNT);
  EXPECT_EQ(LedTypeFromUserByte(0xF5), LedType::kNT);
  EXPECT_EQ(LedTypeName(LedType::kUnknown), "");
}

// --- Splitting -------------------------------------------------------------------

TEST(SplitI2C, TheDefaultImagePassesEveryCheckAndFillsEveryBuffer) {
  const auto image = DefaultImage();
  ConfigBuffers out;
  EXPECT_THAT(SplitI2CImage(AsI2C(image), out, {}), IsEmpty());
  EXPECT_TRUE(std::equal(out.data_buf.begin(), out.data_buf.begin() + 339, image.begin()));
  EXPECT_EQ(Hex(Fire(out.data_buf)), "FF FF 02 00 3C 04 00 3C 07 00 3C E0");
  EXPECT_EQ(out.patch_length, 784);
  EXPECT_TRUE(out.patch_fits_image1);
  EXPECT_EQ(PatchChecksumText(out, MemoryType::kI2C), "75F0");
  EXPECT_TRUE(
      std::equal(out.patch_code.begin(), out.patch_code.begin() + 784, image.begin() + 1024));
}

TEST(SplitI2C, AnAllFFMemoryComesBackAsDefaultsInEveryCheckedSection) {
  const std::vector<std::uint8_t> blank(2048, 0xFF);
  ConfigBuffers out;
  const DefaultInputs in{MemoryType::kI2C, LedType::kUnknown, 0};
  EXPECT_THAT(SplitI2CImage(AsI2C(blank), out, in),
              ElementsAre(Section::kVendor, Section::kUser, Section::kProfile1, Section::kProfile2,
                          Section::kProfile3));
  for (Section section : kCheckedSections) {
    EXPECT_TRUE(SectionChecksumValid(SectionBytes(out.data_buf, section)));
  }
  // The unchecked parts show the blank memory: codes 255, repeat index 255.
  EXPECT_EQ(Hex(Fire(out.data_buf).first(3)), "FF FF FF");
  EXPECT_EQ(out.patch_length, 0xFFFF);
  EXPECT_FALSE(out.patch_fits_image1);
}

TEST(SplitI2C, AnAllZeroMemoryFailsEveryCheck) {
  const std::vector<std::uint8_t> blank(2048, 0x00);
  ConfigBuffers out;
  EXPECT_EQ(SplitI2CImage(AsI2C(blank), out, {}).size(), 5u);
  EXPECT_EQ(out.patch_length, 0);
}

struct PatchCase {
  int length;
  bool fits;
};

class PatchLengthTest : public ::testing::TestWithParam<PatchCase> {};

TEST_P(PatchLengthTest, DecidesWhetherThePatchFitsDefaultImageOne) {
  auto image = DefaultImage();
  image[1010] = static_cast<std::uint8_t>(GetParam().length >> 8);
  image[1011] = static_cast<std::uint8_t>(GetParam().length & 0xFF);
  ConfigBuffers out;
  out.patch_code.fill(0xAB);
  SplitI2CImage(AsI2C(image), out, {});
  EXPECT_EQ(out.patch_length, GetParam().length);
  EXPECT_EQ(out.patch_fits_image1, GetParam().fits);
  // Never more than the patch area is copied.
  const auto copied = std::min(GetParam().length, 1024);
  EXPECT_TRUE(
      std::equal(out.patch_code.begin(), out.patch_code.begin() + copied, image.begin() + 1024));
}

INSTANTIATE_TEST_SUITE_P(Lengths, PatchLengthTest,
                         ::testing::Values(PatchCase{874, true}, PatchCase{875, false},
                                           PatchCase{1024, false}, PatchCase{1025, false},
                                           PatchCase{0xFFFF, false}, PatchCase{0, true}));

TEST(SplitFlash, TakesEverySectionFromItsPageAndSetsThePatchLock) {
  auto image = testing::FlashDefaultImage();
  image[flash::kInfo] = kPatchLockMark;
  image[flash::kMacroNames] = 0x4D;
  image[flash::kMacroPages + 8191] = 0x5A;
  image[flash::kPatchCode + 1023] = 0x77;
  ConfigBuffers out;
  EXPECT_THAT(SplitFlashImage(AsFlash(image), out, {MemoryType::kFlash, LedType::kUnknown, 0}),
              IsEmpty());
  EXPECT_TRUE(out.patch_locked);
  EXPECT_EQ(out.macro_names[0], 0x4D);
  EXPECT_EQ(out.macro_pages[8191], 0x5A);
  EXPECT_EQ(out.flash_patch_code[1023], 0x77);
  EXPECT_EQ(Fire(out.data_buf)[11], 0xF0);
  EXPECT_EQ(PatchChecksumText(out, MemoryType::kFlash), "015A");
  EXPECT_EQ(Vendor(out.data_buf)[4], 0xFF);
}

TEST(SplitFlash, RepairsAVendorSectionWithTheLedTypeShownBeforeTheRead) {
  auto image = testing::FlashDefaultImage();
  image[flash::kVendor + 10] ^= 0x01;  // break the Vendor checksum
  image[flash::kUser + 1] = 0x05;      // the mouse's own User section says "RGB"
  image[flash::kUser + 27] = SectionChecksum(std::span(image).subspan(flash::kUser, 28));
  ConfigBuffers out;
  EXPECT_THAT(SplitFlashImage(AsFlash(image), out, {MemoryType::kFlash, LedType::kSync, 0}),
              ElementsAre(Section::kVendor));
  EXPECT_EQ(Vendor(out.data_buf)[42], 0x05);  // the "Sync" default, not the "RGB" one
}

TEST(CodeTexts, ShowEveryCodeAsEightUpperCaseHexDigits) {
  const auto image = DefaultImage();
  ConfigBuffers out;
  SplitI2CImage(AsI2C(image), out, {});
  const CodeTexts texts = BuildCodeTexts(out.data_buf);
  EXPECT_EQ(texts.profiles[0][0], "01010000");
  EXPECT_EQ(texts.profiles[0][2], "0692003C");
  EXPECT_EQ(texts.profiles[1][2], "0B120108");
  EXPECT_EQ(texts.combinations[0], "00000000");
  EXPECT_EQ(texts.combinations[1], "0E000000");
  EXPECT_EQ(texts.combinations[2], "0781F018");
  EXPECT_EQ(CodeText(KeyCode(out.data_buf, 2, 11)), texts.profiles[2][11]);
}

}  // namespace
}  // namespace vrdk::image
