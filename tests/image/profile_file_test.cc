// Profile files checked whole before they reach a mouse: one test per kind of
// problem, on the shipped default image and damaged copies of it.

#include "image/profile_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "image/checksum.h"
#include "resources/resources.h"

namespace vrdk::image {
namespace {

using Kind = ProfileFileProblem::Kind;

std::vector<std::uint8_t> DefaultImage() {
  const auto bytes = resources::Find("VRDK2280MData_Cfg1");
  return {bytes->begin(), bytes->end()};
}

// The shipped "Flash" default image as a whole memory (pages past its end 0xFF).
std::vector<std::uint8_t> FlashImage() {
  std::vector<std::uint8_t> image(flash::kSize, 0xFF);
  const auto bytes = resources::Find("VRDK2280MData_Flash_Cfg1");
  std::copy_n(bytes->begin(), std::min(bytes->size(), image.size()), image.begin());
  return image;
}

ProfileFileRules Rules(MemoryType type = MemoryType::kI2C) {
  return {type, 0x1BCF, 0x08B8, {{255, 255}, {0, 0}}};
}

std::vector<Kind> Kinds(const std::vector<ProfileFileProblem>& problems) {
  std::vector<Kind> kinds;
  for (const auto& problem : problems) kinds.push_back(problem.kind);
  return kinds;
}

TEST(ProfileFileCheck, TheShippedImagesAreSound) {
  EXPECT_TRUE(CheckProfileFile(DefaultImage(), Rules()).empty());
  EXPECT_TRUE(CheckProfileFile(FlashImage(), Rules(MemoryType::kFlash)).empty());
}

TEST(ProfileFileCheck, TheSizeAndTheMarkerRefuseAFileBeforeAnythingElse) {
  auto image = DefaultImage();
  image.resize(1000);
  auto problems = CheckProfileFile(image, Rules());
  ASSERT_THAT(Kinds(problems), ::testing::ElementsAre(Kind::kSize));
  EXPECT_EQ(problems[0].detail, 1000u);
  EXPECT_FALSE(problems[0].overridable());
  EXPECT_THAT(Kinds(CheckProfileFile(DefaultImage(), Rules(MemoryType::kFlash))),
              ::testing::ElementsAre(Kind::kSize));
  // A random file that has only the marker right is refused for its sections.
  std::vector<std::uint8_t> noise(2048);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 37 + 11);
  noise[495] = 0xE0;
  EXPECT_THAT(Kinds(CheckProfileFile(noise, Rules())), ::testing::Contains(Kind::kSections));
  noise[495] = 0xE1;
  EXPECT_THAT(Kinds(CheckProfileFile(noise, Rules())), ::testing::ElementsAre(Kind::kMarker));
}

TEST(ProfileFileCheck, EverySectionWithAWrongChecksumIsNamed) {
  auto image = DefaultImage();
  image[0 + 40] ^= 0x01;   // Vendor
  image[241 + 3] ^= 0x01;  // Profile2
  const auto problems = CheckProfileFile(image, Rules());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].kind, Kind::kSections);
  EXPECT_THAT(problems[0].sections, ::testing::ElementsAre(Section::kVendor, Section::kProfile2));
}

TEST(ProfileFileCheck, APatchHeaderAnnouncingMoreThanItsAreaIsRefused) {
  auto image = DefaultImage();
  image[1008 + 2] = 0x04;  // 0x0401 = 1025 bytes
  image[1008 + 3] = 0x01;
  const auto problems = CheckProfileFile(image, Rules());
  ASSERT_THAT(Kinds(problems), ::testing::ElementsAre(Kind::kPatchLength));
  EXPECT_EQ(problems[0].detail, 1025u);
  image[1008 + 2] = 0x04;  // exactly the area: sound
  image[1008 + 3] = 0x00;
  EXPECT_TRUE(CheckProfileFile(image, Rules()).empty());
}

TEST(ProfileFileCheck, IdsAndCodesTheProgramWouldNotFindOrAcceptMayBeOverridden) {
  auto image = DefaultImage();
  image[484] = 0x07;  // customer codes 7, 255
  image[2] = 0x12;    // product id 0x12B8
  image[163] = SectionChecksum(std::span(image).first(164));
  const auto problems = CheckProfileFile(image, Rules());
  ASSERT_THAT(Kinds(problems), ::testing::ElementsAre(Kind::kCustomerCodes, Kind::kUsbIds));
  EXPECT_EQ(problems[0].codes, (std::array<std::uint8_t, 2>{7, 255}));
  EXPECT_EQ(problems[1].product_id, 0x12B8);
  EXPECT_TRUE(problems[0].overridable());
  EXPECT_TRUE(problems[1].overridable());
  // The brand's reserved pair is accepted too.
  ProfileFileRules rules = Rules();
  rules.accepted_codes.push_back({7, 255});
  EXPECT_THAT(Kinds(CheckProfileFile(image, rules)), ::testing::ElementsAre(Kind::kUsbIds));
}

}  // namespace
}  // namespace vrdk::image
