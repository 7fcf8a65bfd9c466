#include "image/fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "image/config_buffers.h"

namespace vrdk::image {
namespace {

std::size_t SectionSize(Area area) {
  switch (area) {
    case Area::kVendor:
      return kVendorSize;
    case Area::kUser:
      return kUserSize;
    case Area::kFire:
      return kFireSize;
  }
  return 0;
}

// Every named field lies inside its section and off its checksum byte, and
// two fields share bytes only where they split one byte by bits.
TEST(ImageFields, FieldsLieInsideTheirSectionsAndDoNotOverlap) {
  const std::vector<Field> fields = {field::kVendorId,         field::kProductId,
                                     field::kPollingRate,      field::kPackage,
                                     field::kEffectsEnabled,   field::kLevelCount,
                                     field::kLevelValues,      field::kBreath,
                                     field::kStepTime,         field::kEffectColours,
                                     field::kLevelColours,     field::kProductString,
                                     field::kCombinationCodes, field::kCurrentProfile,
                                     field::kProfileColour,    field::kLedMode,
                                     field::kNtLedCount,       field::kCurrentLevel,
                                     field::kButtonFlash,      field::kProfileParameters,
                                     field::kXOffsets,         field::kYOffsets,
                                     field::kCustomerCodes,    field::kFirePresets,
                                     field::kMemoryTypeMarker};
  for (const Field& f : fields) {
    const std::size_t limit = SectionSize(f.area) - (f.area == Area::kFire ? 0 : 1);
    EXPECT_LE(f.offset + f.size, limit) << Place(f);
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    for (std::size_t j = i + 1; j < fields.size(); ++j) {
      const Field a = fields[i];
      const Field b = fields[j];
      const bool overlap = Place(a) < Place(b) + b.size && Place(b) < Place(a) + a.size;
      if (overlap) {
        EXPECT_EQ(a.mask & b.mask, 0) << Place(a) << " and " << Place(b);
      }
    }
  }
  // The memory type marker is the byte the image maps name.
  EXPECT_EQ(i2c::kFire + field::kMemoryTypeMarker.offset, i2c::kMemoryTypeMarker);
  EXPECT_EQ(flash::kFire + field::kMemoryTypeMarker.offset, flash::kMemoryTypeMarker);
}

TEST(ImageFields, BitFieldsChangeOnlyTheirBits) {
  DataBuf data{};
  data[Place(field::kPollingRate)] = 0xCF;  // IC type, enhance and the low bits set
  EXPECT_EQ(PollingRateIndex(data), 0);
  EXPECT_EQ(PollingRateHz(data), 125);
  Set(data, field::kPollingRate, 3);
  EXPECT_EQ(data[Place(field::kPollingRate)], 0xFF);
  EXPECT_EQ(PollingRateHz(data), 1000);
  Set(data, field::kPollingRate, 2);
  EXPECT_EQ(data[4], 0xEF);
  EXPECT_EQ(PollingRateHz(data), 500);

  // A value wider than the field loses its high bits, not its neighbours'.
  data[Place(field::kProfileByte)] = 0xF1;
  Set(data, field::kCurrentProfile, 0x12);
  EXPECT_EQ(data[Place(field::kProfileByte)], 0xF2);
  EXPECT_EQ(Get(data, field::kProfileColour), 15);
  EXPECT_EQ(With(0x00, field::kProfileColour, 9) | With(0, field::kCurrentProfile, 2), 0x92);

  data[Place(field::kLedModeByte)] = 0xF5;  // "NT", count index 7, mode 5
  EXPECT_EQ(Get(data, field::kLedMode), 5);
  EXPECT_EQ(Get(data, field::kNtLedCount), 7);
}

TEST(ImageFields, MultiByteValuesReadHighByteFirst) {
  DataBuf data{};
  std::ranges::copy(std::vector<std::uint8_t>{0x1B, 0xCF, 0x08, 0xB8},
                    Bytes(data, field::kVendorId).begin());
  std::ranges::copy(std::vector<std::uint8_t>{0x08, 0xB8}, Bytes(data, field::kProductId).begin());
  EXPECT_EQ(VendorId(data), 0x1BCF);
  EXPECT_EQ(ProductId(data), 0x08B8);

  Bytes(data, field::kBreath)[6] = 0x12;
  Bytes(data, field::kBreath)[7] = 0x34;
  EXPECT_EQ(BreathValue(data, 3), 0x1234);
  EXPECT_EQ(BreathValue(data, 0), 0);

  SetFirePreset(data, 2, 8, 0x01C8);
  const auto preset = FirePresetOf(data, 2);
  EXPECT_EQ(preset.count_less_one, 7);
  EXPECT_EQ(preset.interval, 0x01C8);
  EXPECT_EQ(data[databuf::kFire + 8], 7);
  EXPECT_EQ(data[databuf::kFire + 9], 0x01);
  EXPECT_EQ(data[databuf::kFire + 10], 0xC8);
}

TEST(ImageFields, LevelsAndColours) {
  DataBuf data{};
  Bytes(data, field::kLevelValues)[1] = LevelValuePair(8, 9);  // levels 3 and 4
  EXPECT_EQ(data[45], 0x98);
  EXPECT_EQ(LevelValueIndex(data, 2), 8);
  EXPECT_EQ(LevelValueIndex(data, 3), 9);
  EXPECT_EQ(LevelValueIndex(data, 4), 0);

  data[87 + 3 * 7 + 2] = 0xAB;  // level 8, blue
  EXPECT_EQ(LevelColour(data, 7), (Rgb{0, 0, 0xAB}));
  data[57 + 3 * 9] = 0xCD;  // effect colour 10, red
  EXPECT_EQ(EffectColour(data, 9), (Rgb{0xCD, 0, 0}));
  EXPECT_EQ(LiveAddress(field::kLevelColours, 7, 3), 87 + 21);
}

TEST(ImageFields, ProductStringAndRecoilOffsets) {
  DataBuf data{};
  auto text = Bytes(data, field::kProductString);
  std::fill(text.begin(), text.end(), 'A');
  EXPECT_EQ(ProductString(data), std::string(16, 'A'));  // not terminated: 16 characters
  text[3] = 0x07;
  text[5] = 0;
  EXPECT_EQ(ProductString(data), "AAA?A");

  // X offset n at live address 170 + n, Y offset n at 180 + n, signed.
  EXPECT_EQ(RecoilOffsetAddress(true, 1), 171);
  EXPECT_EQ(RecoilOffsetAddress(false, 10), 190);
  data[171] = 0xFE;
  data[190] = 0x7F;
  EXPECT_EQ(RecoilOffset(data, true, 1), -2);
  EXPECT_EQ(RecoilOffset(data, false, 10), 127);
}

// The live settings share DataBuf's layout up to the end of the User section.
TEST(ImageFields, LiveSettingsReadLikeDataBuf) {
  std::array<std::uint8_t, databuf::kUser + kUserSize> live{};
  live[databuf::kUser + 2] = 5;
  live[4] = 0x10;
  EXPECT_EQ(Get(live, field::kCurrentLevel), 5);
  EXPECT_EQ(PollingRateHz(live), 250);
}

}  // namespace
}  // namespace vrdk::image
