// Report lengths from descriptors, as HidP_GetCaps gives them for each
// top-level collection, and the malformed descriptors that must come back as
// "not usable".

#include "hid/report_descriptor.h"

#include <gtest/gtest.h>

#include "descriptors.h"

namespace vrdk {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Caps = std::vector<HidCaps>;

std::optional<Caps> Lengths(const Bytes& descriptor) {
  return CollectionLengthsFromDescriptor(descriptor);
}

TEST(ReportLengths, ABootMouseWithoutReportIdsCountsTheZeroIdByteAsWindowsDoes) {
  // Three data bytes; the buffer of a read begins with report id 0.
  EXPECT_EQ(Lengths(testing::kBootMouse), (Caps{{4, 0, 0}}));
}

TEST(ReportLengths, EachTopLevelCollectionIsAnInterfaceWithItsOwnLengths) {
  // The keyboard's 8 input bytes and 1 output byte, the consumer's 2 input
  // bytes, each with its report id.
  EXPECT_EQ(Lengths(testing::kKeyboardWithReportIds), (Caps{{9, 2, 0}, {3, 0, 0}}));
}

TEST(ReportLengths, VendorCollectionHasEightByteFeatureAndInputReports) {
  EXPECT_EQ(Lengths(testing::kVendorProtocol), (Caps{{8, 0, 8}}));
}

TEST(ReportLengths, ASiblingCollectionsLongFeatureReportLeavesTheMousesEight) {
  // A gaming mouse's one USB interface: mouse, consumer control with a
  // 16-byte feature report, and the vendor collection. Summed over the whole
  // descriptor the feature length would be 17 and the mouse never found.
  EXPECT_EQ(Lengths(testing::kCompositeMouse), (Caps{{7, 0, 0}, {3, 0, 17}, {8, 0, 8}}));
}

TEST(ReportLengths, MainItemsOutsideCollectionsCountWithTheCollectionBefore) {
  const Bytes descriptor = {0x75, 0x08, 0x95, 0x02, 0x81, 0x02,        // before any: the first's
                            0xA1, 0x01, 0x95, 0x01, 0x81, 0x02, 0xC0,  // + 1 byte
                            0x95, 0x04, 0xB1, 0x02,                    // after it: its feature
                            0xA1, 0x01, 0x95, 0x03, 0x91, 0x02, 0xC0};
  EXPECT_EQ(Lengths(descriptor), (Caps{{4, 0, 5}, {0, 4, 0}}));
}

TEST(ReportLengths, BitsOfOneReportAddUpAcrossItemsAndRoundUp) {
  // Report id 5: 3 bits + 7 bits of feature = 10 bits = 2 bytes, + id.
  const Bytes descriptor = {0xA1, 0x01, 0x85, 0x05, 0x75, 0x01, 0x95, 0x03,
                            0xB1, 0x02, 0x95, 0x07, 0xB1, 0x02, 0xC0};
  EXPECT_EQ(Lengths(descriptor), (Caps{{0, 0, 3}}));
}

TEST(ReportLengths, PushAndPopRestoreSizeCountAndId) {
  const Bytes descriptor = {0xA1, 0x01, 0x85, 0x01, 0x75, 0x08, 0x95, 0x02,
                            0xA4,                                // push
                            0x85, 0x02, 0x95, 0x10, 0x81, 0x02,  // id 2: 16 bytes in
                            0xB4,                                // pop
                            0x81, 0x02,                          // id 1: 2 bytes in
                            0xC0};
  EXPECT_EQ(Lengths(descriptor), (Caps{{17, 0, 0}}));
}

TEST(ReportLengths, LongItemsAndLocalItemsAreSkipped) {
  // No collection at all: still one interface.
  const Bytes descriptor = {0xFE, 0x02, 0x10, 0xAA, 0xBB,  // long item, 2 data bytes
                            0x09, 0x01, 0x75, 0x08, 0x95, 0x04, 0x91, 0x02};
  EXPECT_EQ(Lengths(descriptor), (Caps{{0, 5, 0}}));
}

TEST(ReportLengths, AnEmptyDescriptorIsOneInterfaceWithoutReports) {
  EXPECT_EQ(Lengths({}), (Caps{{0, 0, 0}}));
}

struct Malformed {
  const char* name;
  Bytes descriptor;
};

class MalformedDescriptorTest : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedDescriptorTest, IsNotUsable) {
  EXPECT_FALSE(Lengths(GetParam().descriptor).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedDescriptorTest,
    ::testing::Values(Malformed{"TruncatedItemData", {0x75, 0x08, 0x96, 0x01}},
                      Malformed{"TruncatedLongItem", {0xFE, 0x05, 0x10, 0x01}},
                      Malformed{"LongItemWithoutHeader", {0xFE}},
                      Malformed{"ReportIdZero", {0x85, 0x00}},
                      Malformed{"ReportIdAboveOneByte", {0x86, 0x00, 0x01}},
                      Malformed{"ReportSizeTooLarge", {0x76, 0x01, 0x01}},
                      Malformed{"ReportCountTooLarge", {0x96, 0x01, 0x40}},
                      Malformed{"PopWithoutPush", {0xB4}},
                      Malformed{"PushTooDeep", {0xA4, 0xA4, 0xA4, 0xA4, 0xA4}},
                      Malformed{"EndCollectionWithoutCollection", {0xC0}},
                      Malformed{"UnclosedCollection", {0xA1, 0x01, 0x81, 0x02}},
                      Malformed{"ReportTooLong", {0x75, 0xFF, 0x96, 0x00, 0x30, 0x81, 0x02, 0x81,
                                                  0x02, 0x81, 0x02, 0x81, 0x02, 0x81, 0x02, 0x81,
                                                  0x02, 0x81, 0x02, 0x81, 0x02, 0x81, 0x02}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(ReportLengths, DescriptorsLongerThanTheKernelLimitAreNotUsable) {
  EXPECT_FALSE(Lengths(Bytes(kMaxDescriptorSize + 1, 0x00)).has_value());
}

}  // namespace
}  // namespace vrdk
