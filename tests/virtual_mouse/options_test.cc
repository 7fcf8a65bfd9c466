// The command line of vrdk-virtual-mouse.

#include "virtual_mouse/options.h"

#include <gtest/gtest.h>

#include <vector>

namespace vrdk {
namespace {

std::optional<VirtualMouseOptions> Parse(std::vector<std::string_view> args, std::string* error) {
  auto parsed = ParseVirtualMouseOptions(args);
  if (!parsed.ok()) {
    *error = parsed.message();
    return std::nullopt;
  }
  return std::move(parsed).value();
}

TEST(VirtualMouseOptions, TakesValuesInBothForms) {
  std::string error;
  const auto options = Parse({"--image=/tmp/m.bin", "--memory-type", "Flash", "--keyboard",
                              "--unplug-after=150", "--uhid", "/dev/other"},
                             &error);
  ASSERT_TRUE(options.has_value()) << error;
  EXPECT_EQ(options->image, "/tmp/m.bin");
  EXPECT_EQ(options->memory_type, MemoryType::kFlash);
  EXPECT_TRUE(options->keyboard);
  EXPECT_EQ(options->unplug_after, 150);
  EXPECT_EQ(options->uhid, "/dev/other");

  const auto defaults = Parse({}, &error);
  ASSERT_TRUE(defaults.has_value());
  EXPECT_EQ(defaults->unplug_after, -1) << "no unplug unless asked";
  EXPECT_FALSE(defaults->memory_type.has_value());
  EXPECT_EQ(defaults->uhid, "/dev/uhid");
}

TEST(VirtualMouseOptions, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string_view>> bad = {
      {"--memory-type=EEPROM"}, {"--unplug-after=-1"}, {"--unplug-after=12x"},
      {"--unplug-after="},      {"--image"},           {"--image="},
      {"--keyboard=yes"},       {"--colour=red"},      {"image.bin"},
  };
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(Parse(args, &error).has_value()) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
  }
}

}  // namespace
}  // namespace vrdk
