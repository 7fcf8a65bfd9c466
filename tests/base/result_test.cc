#include "base/result.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace vrdk {
namespace {

Result<int> Half(int n) {
  if (n % 2 != 0) return Error{ErrorKind::kInvalid, std::to_string(n) + " is odd"};
  return n / 2;
}

TEST(Result, CarriesEitherTheValueOrTheError) {
  const Result<int> good = Half(8);
  ASSERT_TRUE(good.ok());
  EXPECT_EQ(good.value(), 4);
  EXPECT_EQ(good.message(), "");
  EXPECT_FALSE(good.Is(ErrorKind::kInvalid));

  const Result<int> bad = Half(7);
  ASSERT_FALSE(bad.ok());
  EXPECT_TRUE(bad.Is(ErrorKind::kInvalid));
  EXPECT_FALSE(bad.Is(ErrorKind::kFileError));
  EXPECT_EQ(bad.message(), "7 is odd");
  EXPECT_FALSE(bad.error().shown);
}

TEST(Result, AMisuseThrowsInsteadOfReadingWhatIsNotThere) {
  const Result<int> bad = Half(7);
  EXPECT_THROW((void)bad.value(), std::bad_variant_access);
  EXPECT_THROW((void)Half(8).error(), std::bad_variant_access);
  EXPECT_THROW((void)Result<void>().error(), std::bad_optional_access);
}

TEST(Result, AValueMovesOut) {
  Result<std::unique_ptr<int>> held = std::make_unique<int>(5);
  const std::unique_ptr<int> taken = std::move(held).value();
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(*taken, 5);
}

TEST(Result, VoidIsOkUntilItCarriesAnError) {
  EXPECT_TRUE(Result<void>().ok());
  EXPECT_EQ(Result<void>().message(), "");
  const Result<void> failed = Error{ErrorKind::kDeviceFailed, "no answer", true};
  ASSERT_FALSE(failed.ok());
  EXPECT_TRUE(failed.Is(ErrorKind::kDeviceFailed));
  EXPECT_EQ(failed.message(), "no answer");
  EXPECT_TRUE(failed.error().shown);
}

}  // namespace
}  // namespace vrdk
