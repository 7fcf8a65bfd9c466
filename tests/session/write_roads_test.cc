// The write roads, factory resets, restore defaults and profile files, on the
// simulated mouse's transcript and memory, for both memory types.

#include "session/write_roads.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "image/checksum.h"
#include "image/section_defaults.h"
#include "macros/macro_name.h"
#include "session/image_writes.h"
#include "support/session_rig.h"
#include "support/temp_dir.h"

namespace vrdk {
namespace {

using ::testing::ElementsAre;
using testing::Hex;
using ::testing::IsEmpty;
using testing::SessionRig;
using testing::TempDir;

std::vector<std::string> Between(const std::vector<std::string>& lines, std::size_t from,
                                 std::size_t count) {
  return {lines.begin() + static_cast<long>(from), lines.begin() + static_cast<long>(from + count)};
}

int Count(const std::vector<std::string>& lines, const std::string& prefix) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.rfind(prefix, 0) == 0;
  }));
}

// --- Profile writes ------------------------------------------------------------

TEST(WriteProfiles, OnI2CWritesTheProfileBlockThenReloadsTheProfile) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  image::KeyCode(rig.session.Data(), 1, 2)[1] = 0x55;  // a change to Profile2, key 3
  ASSERT_TRUE(WriteRoads(rig.session).WriteProfiles());
  const auto lines = rig.Reports();
  ASSERT_EQ(lines.size(), 1u + 21 + 1 + 4 + 2);
  EXPECT_EQ(lines[0], "> 40 07 00 C0 00 93 00 00");
  const auto block = std::span(rig.session.Data()).subspan(192, 147);
  EXPECT_EQ(lines[1], "> 41 " + Hex(block.first(7)));
  EXPECT_EQ(lines[21], "> 41 " + Hex(block.subspan(140, 7)));
  EXPECT_EQ(lines[22], "> 40 06 00 A4 00 1C 00 00");
  const std::uint8_t user0 = rig.mouse.Live()[164];
  EXPECT_THAT(Between(lines, 27, 2),
              ElementsAre("> 40 05 00 A4 0F 00 00 01",
                          "> 40 05 00 A4 " + Hex(std::span(&user0, 1)) + " 00 00 01"));
  // The mouse holds the changed profile with a fresh checksum.
  const auto memory = rig.mouse.Memory();
  EXPECT_EQ(memory[241 + 8 + 1], 0x55);
  EXPECT_TRUE(image::SectionChecksumValid(std::span(memory).subspan(241, 49)));
}

TEST(WriteProfiles, OnFlashWritesThePageOneBlockWithZerosAtTheEnd) {
  auto config = testing::MouseFor(MemoryType::kFlash);
  std::fill_n(config.memory.begin() + 0x10D4, 44, 0xEE);
  SessionRig rig(MemoryType::kFlash, config);
  rig.Connect();
  ASSERT_TRUE(WriteRoads(rig.session).WriteProfiles());
  const auto lines = rig.Reports();
  EXPECT_EQ(lines[0], "> 40 07 10 00 01 00 00 00");
  EXPECT_EQ(Count(lines, "> 41 "), 37);  // ceil(256 / 7)
  const auto memory = rig.mouse.Memory();
  EXPECT_TRUE(
      std::all_of(memory.begin() + 0x10D4, memory.begin() + 0x1100, [](auto b) { return b == 0; }));
  EXPECT_TRUE(std::equal(memory.begin() + 0x1018, memory.begin() + 0x1018 + 147,
                         rig.session.Data().begin() + 192));
}

class IdentityTest : public ::testing::TestWithParam<MemoryType> {};

TEST_P(IdentityTest, WriteProfilesAndIdentityAddsTheFireSectionBeforeTheReadBack) {
  SessionRig rig(GetParam());
  rig.Connect();
  image::Fire(rig.session.Data())[2] = 0x09;
  ASSERT_TRUE(WriteRoads(rig.session).WriteProfilesAndIdentity());
  const auto lines = rig.Reports();
  const std::size_t after_profiles = GetParam() == MemoryType::kI2C ? 22 : 38;
  EXPECT_EQ(lines[after_profiles], GetParam() == MemoryType::kI2C ? "> 40 07 01 E4 00 0C 00 00"
                                                                  : "> 40 07 60 00 00 0C 00 00");
  EXPECT_EQ(lines[after_profiles + 3], "> 40 06 00 A4 00 1C 00 00");
  const std::size_t fire = GetParam() == MemoryType::kI2C ? 484 : 0x6000;
  EXPECT_EQ(rig.mouse.Memory()[fire + 2], 0x09);
}

INSTANTIATE_TEST_SUITE_P(BothMemories, IdentityTest,
                         ::testing::Values(MemoryType::kI2C, MemoryType::kFlash),
                         [](const auto& test) { return std::string(MemoryTypeName(test.param)); });

// --- Live writes and the rules that hold them back ----------------------------

TEST(LiveWrites, FieldsColoursAndKeyCodesGoToTheirLiveAddresses) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  WriteRoads roads(rig.session);
  EXPECT_TRUE(roads.WriteLiveField(43, 0x04));
  EXPECT_TRUE(roads.WriteLiveField(87, 0xFF, 0x80, 0x00));
  const std::array<std::uint8_t, 4> code{0x03, 0x00, 0xCD, 0x00};
  EXPECT_TRUE(roads.WriteKeyCode(2, code));
  EXPECT_THAT(rig.Reports(), ElementsAre("> 40 05 00 2B 04 00 00 01", "> 40 05 00 57 FF 80 00 03",
                                         "> 40 05 01 83 03 00 CD 00"));
}

TEST(LiveWrites, VendorSectionGoesAsOneLiveBlockWithAFreshChecksumThenTheProfiles) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  image::Vendor(rig.session.Data())[43] = 0x05;
  ASSERT_TRUE(WriteRoads(rig.session).WriteVendorSection());
  const auto lines = rig.Reports();
  EXPECT_EQ(Count(lines, "> 40 05 00 "), 55 + 2);
  EXPECT_EQ(lines[55], "> 40 07 00 C0 00 93 00 00");
  EXPECT_TRUE(image::SectionChecksumValid(image::Vendor(rig.session.Data())));
  EXPECT_EQ(rig.mouse.Live()[43], 0x05);
}

TEST(LiveWrites, NothingIsSentWhileLoadingOrWithoutAnAcceptedMouse) {
  SessionRig rig(MemoryType::kI2C);
  WriteRoads roads(rig.session);
  EXPECT_FALSE(roads.WriteLiveField(43, 1));  // no mouse yet
  rig.Connect();
  rig.session.Conn().loading = true;
  EXPECT_FALSE(roads.WriteLiveField(43, 1));
  EXPECT_FALSE(roads.WriteProfiles());
  EXPECT_FALSE(roads.WriteVendorSection());
  EXPECT_TRUE(rig.Reports().empty());
}

TEST(LiveWrites, AMouseWithForeignCustomerCodesGetsNothing) {
  auto config = testing::MouseFor(MemoryType::kI2C);
  config.memory[484] = 0x01;
  SessionRig rig(MemoryType::kI2C, config);
  rig.Connect();
  ASSERT_EQ(rig.session.Conn().state, ConnectionState::kRejected);
  EXPECT_FALSE(WriteRoads(rig.session).WriteProfiles());
  EXPECT_TRUE(rig.Reports().empty());
}

// --- Whole-image writes --------------------------------------------------------

TEST(WholeImage, FlashSendsEveryPageFromItsOwnOffset) {
  SessionRig rig(MemoryType::kFlash);
  rig.Connect();
  image::User(rig.session.Data())[2] = 0x03;
  WriteRoads(rig.session).WriteWholeImage(false);
  const auto lines = rig.Reports();
  EXPECT_EQ(lines.size(), 32u * (1 + 293));
  for (int page = 0; page < 32; ++page) {
    char command[40];
    std::snprintf(command, sizeof command, "> 40 07 %02X 00 08 00 00 00", page * 8);
    EXPECT_EQ(lines[static_cast<std::size_t>(page) * 294], command);
  }
  EXPECT_EQ(rig.mouse.Memory(), rig.session.WorkingImage());
  EXPECT_EQ(rig.mouse.Memory()[0x2002], 0x03);
}

TEST(WholeImage, WithoutMacrosZeroesTheMacroArea) {
  auto config = testing::MouseFor(MemoryType::kI2C);
  std::fill_n(config.memory.begin() + 496, 40, 0x42);
  SessionRig rig(MemoryType::kI2C, config);
  rig.Connect();
  WriteRoads(rig.session).WriteWholeImage(true);
  const auto memory = rig.mouse.Memory();
  EXPECT_TRUE(
      std::all_of(memory.begin() + 496, memory.begin() + 1008, [](auto b) { return b == 0; }));
  EXPECT_EQ(Count(rig.Reports(), "> 40 07 00 00 08 00"), 1);
}

// --- Factory resets --------------------------------------------------------------

DefaultImageSet DistinctI2CDefaults() {
  auto set = *DefaultImageSet::FromResources();
  std::array<std::vector<std::uint8_t>, 3> images = {set.WorkingImage(1), set.WorkingImage(2),
                                                     set.WorkingImage(3)};
  images[1][111] = 'X';  // product strings "XID ..." and "YID ..."
  images[2][111] = 'Y';
  for (auto& image : images) {
    image[163] = image::SectionChecksum(std::span(image).first(164));
  }
  return DefaultImageSet(images);
}

TEST(Reset, AnI2CMouseWithALongPatchGetsDefaultImageTwo) {
  CountingClock clock;
  auto config = testing::MouseFor(MemoryType::kI2C);
  config.memory[1010] = 0x03;  // patch length 0x036B = 875
  config.memory[1011] = 0x6B;
  SimulatedMouse mouse(clock, config);
  SimulatedBackend backend(&mouse);
  testing::RecordingEvents events;
  Session session(backend, clock, events, DistinctI2CDefaults());
  session.StartUp();
  session.DevTimerTimer();
  ASSERT_FALSE(session.Buffers().patch_fits_image1);
  EXPECT_TRUE(ImageWrites(session).ConfirmClick(1).ok());
  EXPECT_EQ(mouse.Memory()[111], 'X');
  EXPECT_EQ(mouse.Restarts(), 1);
  EXPECT_EQ(session.Conn().state, ConnectionState::kConnected);
  EXPECT_EQ(image::Vendor(session.Data())[111], 'X');
  EXPECT_FALSE(session.Conn().loading);
}

TEST(Reset, ConfirmTwoAndThreeTakeTheirImagesAndOneTakesImageOneForAShortPatch) {
  for (auto [n, mark] : {std::pair{1, 'H'}, {2, 'X'}, {3, 'Y'}}) {
    CountingClock clock;
    SimulatedMouse mouse(clock, testing::MouseFor(MemoryType::kI2C));
    SimulatedBackend backend(&mouse);
    testing::RecordingEvents events;
    Session session(backend, clock, events, DistinctI2CDefaults());
    session.StartUp();
    session.DevTimerTimer();
    ImageWrites(session).ConfirmClick(n);
    EXPECT_EQ(mouse.Memory()[111], mark) << "confirm " << n;
  }
}

TEST(Reset, AConfirmWithoutAMouseShowsOnlyTheMessage) {
  SessionRig rig(MemoryType::kI2C);
  const auto before = rig.session.Data();
  const auto outcome = ImageWrites(rig.session).ConfirmClick(1);
  EXPECT_TRUE(outcome.Is(ErrorKind::kNoMouse));
  EXPECT_THAT(rig.events.messages, ElementsAre("Str022"));
  EXPECT_EQ(rig.session.Data(), before);
  EXPECT_TRUE(rig.mouse.Transcript().empty());
}

TEST(Reset, TheFlashResetWritesDefaultImageOneWhole) {
  auto config = testing::MouseFor(MemoryType::kFlash);
  config.memory[0x2002] = 0x07;
  SessionRig rig(MemoryType::kFlash, config);
  rig.Connect();
  ImageWrites(rig.session).ConfirmClick(1);
  EXPECT_EQ(rig.mouse.Memory(),
            DefaultImageSet::FromResources(MemoryType::kFlash)->WorkingImage(1));
}

class RestoreDefaultsTest : public ::testing::TestWithParam<MemoryType> {};

TEST_P(RestoreDefaultsTest, WritesEverySectionFromDefaultsWithoutMacrosAndRestarts) {
  const MemoryType type = GetParam();
  auto config = testing::MouseFor(type);
  const std::size_t user = type == MemoryType::kI2C ? 164 : 0x2000;
  config.memory[user + 2] = 0x05;  // current DPI level
  config.memory[user + 27] = image::SectionChecksum(std::span(config.memory).subspan(user, 28));
  const std::size_t macros = type == MemoryType::kI2C ? 496 : 0x4000;
  std::fill_n(config.memory.begin() + static_cast<long>(macros), 64, 0x42);
  SessionRig rig(type, config);
  rig.Connect();
  ImageWrites(rig.session).TLDefaultParameter();

  const auto memory = rig.mouse.Memory();
  EXPECT_EQ(memory[user + 2], 0x01);
  EXPECT_TRUE(image::SectionChecksumValid(std::span(memory).subspan(user, 28)));
  EXPECT_EQ(std::string(memory.begin() + 111, memory.begin() + 127), "HID Gaming mouse");
  EXPECT_TRUE(std::all_of(memory.begin() + static_cast<long>(macros),
                          memory.begin() + static_cast<long>(macros) + 64,
                          [](auto b) { return b == 0; }));
  EXPECT_EQ(rig.mouse.Restarts(), 1);
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kConnected);
  const auto lines = rig.Reports();
  EXPECT_EQ(Count(lines, "> 40 07 "), type == MemoryType::kI2C ? 1 : 32);
  if (type == MemoryType::kFlash) {
    const auto names = macros::DefaultMacroNameTable();
    EXPECT_TRUE(std::equal(names.begin(), names.end(), memory.begin() + 0x3000));
    EXPECT_EQ(Hex(std::span(memory).subspan(0x3000, 16)),
              "00 4D 00 61 00 63 00 72 00 6F 00 31 00 00 00 00");
    EXPECT_EQ(macros::DecodeMacroName(std::span(names).subspan<31 * 16, 16>()), u"Macro32");
  }
}

INSTANTIATE_TEST_SUITE_P(BothMemories, RestoreDefaultsTest,
                         ::testing::Values(MemoryType::kI2C, MemoryType::kFlash),
                         [](const auto& test) { return std::string(MemoryTypeName(test.param)); });

// --- Profile files ---------------------------------------------------------------

class ProfileFileTest : public ::testing::TestWithParam<MemoryType> {
 protected:
  MemoryType Type() const { return GetParam(); }
  std::size_t Marker() const { return Type() == MemoryType::kI2C ? 495 : 0x600B; }
  TempDir dir;
};

TEST_P(ProfileFileTest, SavedFilesHoldTheWholeImageWithItsMarker) {
  SessionRig rig(Type());
  rig.Connect();
  const auto path = dir.File("mouse.bin");
  ASSERT_TRUE(ImageWrites(rig.session).SaveProfileFile(path).ok());
  const auto file = TempDir::Read(path);
  EXPECT_EQ(file.size(), Type() == MemoryType::kI2C ? 2048u : 65536u);
  EXPECT_EQ(file[Marker()], Type() == MemoryType::kI2C ? 0xE0 : 0xF0);
  EXPECT_EQ(file, rig.mouse.Memory());
}

TEST_P(ProfileFileTest, SavingAfterARepairWritesTheMousesRawBytes) {
  auto config = testing::MouseFor(Type());
  config.memory[5] ^= 0xFF;  // the Vendor checksum fails
  SessionRig rig(Type(), config);
  rig.Connect();
  ASSERT_THAT(rig.session.Pages().repaired, ElementsAre(image::Section::kVendor));
  const auto path = dir.File("mouse.bin");
  ASSERT_TRUE(ImageWrites(rig.session).SaveProfileFile(path).ok());
  EXPECT_EQ(TempDir::Read(path), config.memory);
}

TEST_P(ProfileFileTest, LoadingAFileSavedFromTheSameMouseLeavesItsMemoryUnchanged) {
  SessionRig rig(Type());
  rig.Connect();
  const auto path = dir.File("mouse.bin");
  ASSERT_TRUE(ImageWrites(rig.session).SaveProfileFile(path).ok());
  const auto before = rig.mouse.Memory();
  ASSERT_TRUE(ImageWrites(rig.session).LoadProfileFile(path).ok());
  EXPECT_EQ(rig.mouse.Memory(), before);
  EXPECT_EQ(rig.mouse.Restarts(), 1);
  EXPECT_EQ(rig.session.Conn().state, ConnectionState::kConnected);
  EXPECT_FALSE(rig.session.Conn().loading);
}

TEST_P(ProfileFileTest, AFileOfAnotherKindIsRefusedAndNothingIsWritten) {
  SessionRig rig(Type());
  rig.Connect();
  const auto path = dir.File("other.bin");
  auto other = testing::MouseFor(Type()).memory;
  other[Marker()] = Type() == MemoryType::kI2C ? 0xF0 : 0xE0;
  TempDir::Write(path, other);
  const auto before = rig.session.WorkingImage();
  const auto outcome = ImageWrites(rig.session).LoadProfileFile(path);
  EXPECT_TRUE(outcome.Is(ErrorKind::kWrongKind));
  EXPECT_THAT(rig.events.messages, ElementsAre("Loading .bin is error!"));
  EXPECT_EQ(Count(rig.Reports(), "> 40 07"), 0);
  EXPECT_EQ(rig.session.WorkingImage(), before);
  EXPECT_FALSE(rig.session.Conn().loading);
}

TEST_P(ProfileFileTest, UnreadableAndTooShortFilesChangeNothing) {
  SessionRig rig(Type());
  rig.Connect();
  const auto before = rig.session.WorkingImage();
  EXPECT_TRUE(
      ImageWrites(rig.session).LoadProfileFile(dir.File("missing.bin")).Is(ErrorKind::kFileError));
  const auto tiny = dir.File("tiny.bin");
  TempDir::Write(tiny, std::vector<std::uint8_t>(10, 0xE0));
  EXPECT_TRUE(ImageWrites(rig.session).LoadProfileFile(tiny).Is(ErrorKind::kWrongKind));
  EXPECT_EQ(rig.session.WorkingImage(), before);
  EXPECT_TRUE(rig.Reports().empty());
}

TEST_P(ProfileFileTest, WithoutAMouseBothAskForItAndTouchNoFile) {
  SessionRig rig(Type());
  const auto path = dir.File("mouse.bin");
  EXPECT_TRUE(ImageWrites(rig.session).SaveProfileFile(path).Is(ErrorKind::kNoMouse));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(ImageWrites(rig.session).LoadProfileFile(path).Is(ErrorKind::kNoMouse));
  EXPECT_THAT(rig.events.messages, ElementsAre("Str022", "Str022"));
}

TEST_P(ProfileFileTest, ASaveWhoseRenameFailsKeepsTheOldFileWhole) {
  SessionRig rig(Type());
  rig.Connect();
  const auto path = dir.File("mouse.bin");
  const std::vector<std::uint8_t> old(300, 0x5A);
  TempDir::Write(path, old);
  const auto outcome = ImageWrites(rig.session).SaveProfileFile(path, files::FailAt::kRename);
  EXPECT_TRUE(outcome.Is(ErrorKind::kFileError));
  EXPECT_EQ(TempDir::Read(path), old);
}

INSTANTIATE_TEST_SUITE_P(BothMemories, ProfileFileTest,
                         ::testing::Values(MemoryType::kI2C, MemoryType::kFlash),
                         [](const auto& test) { return std::string(MemoryTypeName(test.param)); });

TEST(ProfileFile, AFileOfAnotherSizeIsRefusedAndNothingIsSent) {
  SessionRig rig(MemoryType::kI2C);
  rig.Connect();
  TempDir dir;
  for (const std::size_t size : {1000u, 2049u}) {
    auto file = rig.mouse.Memory();
    file.resize(size, 0);
    const auto path = dir.File("sized.bin");
    TempDir::Write(path, file);
    const Result<void> outcome = ImageWrites(rig.session).LoadProfileFile(path);
    EXPECT_TRUE(outcome.Is(ErrorKind::kWrongKind)) << size;
    EXPECT_THAT(outcome.message(), ::testing::HasSubstr("bytes long"));
  }
  EXPECT_EQ(rig.CountWrites(), 0);
}

}  // namespace
}  // namespace vrdk
