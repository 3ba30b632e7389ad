#include "sheet/whole_units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace korvex {
namespace {

// What truncation means: std::trunc, then the 16-bit range.
bool ReferenceTruncate(double value, std::int16_t& whole) {
  const double cut = std::trunc(value);
  if (!(cut >= INT16_MIN && cut <= INT16_MAX)) return false;
  whole = static_cast<std::int16_t>(cut);
  return true;
}

TEST(WholeUnitsTest, EdgesOfTheSixteenBitRange) {
  struct Case {
    double value;
    bool fits;
    int whole;
  } cases[] = {{32767.99, true, 32767},
               {32768, false, 0},
               {-32768.99, true, -32768},
               {-32769, false, 0},
               {-2.7, true, -2},
               {2.7, true, 2},
               {-0.99, true, 0},
               {1e300, false, 0},
               {-1e300, false, 0},
               {std::numeric_limits<double>::infinity(), false, 0},
               {std::numeric_limits<double>::quiet_NaN(), false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    std::int16_t whole = 99;
    EXPECT_EQ(TruncateToWhole(c.value, whole), c.fits);
    EXPECT_EQ(whole, c.fits ? c.whole : 99);  // a value that does not fit leaves the holder
  }
}

TEST(WholeUnitsTest, RoundingAddsAHalfThenTruncates) {
  std::int16_t whole = 0;
  ASSERT_TRUE(RoundToWhole(2.5, whole));
  EXPECT_EQ(whole, 3);
  ASSERT_TRUE(RoundToWhole(-2.7, whole));
  EXPECT_EQ(whole, -2);
  ASSERT_TRUE(RoundToWhole(-0.5, whole));
  EXPECT_EQ(whole, 0);
  EXPECT_TRUE(RoundToWhole(32767.49, whole));
  EXPECT_FALSE(RoundToWhole(32767.5, whole));
}

// Away from whole numbers, truncation is plain truncation; within float noise of one
// (a relative 1e-9), the whole number itself.
TEST(WholeUnitsTest, AgreesWithTruncationAcrossTheRange) {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> values(-40000, 40000);
  for (int i = 0; i < 200000; ++i) {
    const double value = values(random);
    const double nearest = std::round(value);
    const bool noise = std::fabs(value - nearest) <= 1e-9 * std::fabs(value);
    std::int16_t whole = 0;
    std::int16_t expected = 0;
    ASSERT_EQ(TruncateToWhole(value, whole), ReferenceTruncate(noise ? nearest : value, expected))
        << value;
    ASSERT_EQ(whole, expected) << value;
  }
}

// A whole number written with float noise, as CAD programs re-save it, is that number when
// cut; a value only near one, and rounding at a half, are not touched.
TEST(WholeUnitsTest, FloatNoiseOnAWholeNumberIsNotAUnit) {
  struct Case {
    double value;
    std::int16_t truncated;
  } cases[] = {
      {262.9999999999999, 263},
      {263.0000000000001, 263},
      {-262.9999999999999, -263},
      {262.999999, 262},
      {0.99999, 0},
      {0.9999999999, 1},
      {1e-12, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    std::int16_t whole = 0;
    ASSERT_TRUE(TruncateToWhole(c.value, whole));
    EXPECT_EQ(whole, c.truncated);
  }
  std::int16_t whole = 0;
  ASSERT_TRUE(RoundToWhole(262.4999999999999, whole));
  EXPECT_EQ(whole, 262);
}

}  // namespace
}  // namespace korvex
