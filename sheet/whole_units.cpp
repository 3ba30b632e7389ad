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
  const double nearest = std::round(value);
  return std::fabs(value - nearest) <= kFloatNoise * std::fabs(value) ? nearest : value;
}

bool TruncateToWhole(double value, std::int16_t& whole) {
  return TruncateInRange(WithoutFloatNoise(value), whole);
}

bool RoundToWhole(double value, std::int16_t& whole) {
  return TruncateInRange(value + 0.5, whole);
}

}  // namespace korvex
