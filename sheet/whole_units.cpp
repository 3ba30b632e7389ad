#include "sheet/whole_units.h"

#include <cmath>
#include <cstdint>

namespace korvex {
namespace {

// Truncation toward zero keeps exactly the values strictly between these two in range;
// NaN fails the test too. The test comes before the conversion, which would be undefined
// for a value that does not fit; the conversion itself truncates.
bool TruncateInRange(double value, std::int16_t& whole) {
  if (!(value > INT16_MIN - 1.0 && value < INT16_MAX + 1.0)) return false;
  whole = static_cast<std::int16_t>(static_cast<int>(value));
  return true;
}

}  // namespace

double WithoutFloatNoise(double value) {
  // Every double from 2^52 on is whole; below, the nearest whole number (halves away from
  // zero) by the conversion's own truncation, which costs less than a call of round.
  if (!(std::fabs(value) < 0x1p52)) return value;
  const double nearest =
      static_cast<double>(static_cast<std::int64_t>(value + (value < 0 ? -0.5 : 0.5)));
  return std::fabs(value - nearest) <= kFloatNoise * std::fabs(value) ? nearest : value;
}

bool TruncateToWhole(double value, std::int16_t& whole) {
  return TruncateInRange(WithoutFloatNoise(value), whole);
}

bool RoundToWhole(double value, std::int16_t& whole) {
  return TruncateInRange(value + 0.5, whole);
}

}  // namespace korvex
