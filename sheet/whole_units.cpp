#include "sheet/whole_units.h"

#include <cstdint>

namespace korvex {

bool TruncateToWhole(double value, std::int16_t& whole) {
  // Truncation toward zero keeps exactly the values strictly between these two in range;
  // NaN fails the test too. The test comes before the conversion, which would be
  // undefined for a value that does not fit; the conversion itself truncates.
  if (!(value > INT16_MIN - 1.0 && value < INT16_MAX + 1.0)) return false;
  whole = static_cast<std::int16_t>(static_cast<int>(value));
  return true;
}

bool RoundToWhole(double value, std::int16_t& whole) {
  return TruncateToWhole(value + 0.5, whole);
}

}  // namespace korvex
