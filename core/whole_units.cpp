#include "core/whole_units.h"

#include <cmath>

namespace korvex {

bool TruncateToWhole(double value, std::int16_t& whole) {
  // Written so that NaN fails too; the range test comes before the conversion,
  // which would be undefined for a value that does not fit.
  const double cut = std::trunc(value);
  if (!(cut >= INT16_MIN && cut <= INT16_MAX)) return false;
  whole = static_cast<std::int16_t>(cut);
  return true;
}

bool RoundToWhole(double value, std::int16_t& whole) {
  return TruncateToWhole(value + 0.5, whole);
}

}  // namespace korvex
