// Conversion of drawing coordinates to whole drawing units (16-bit signed numbers).
// A value whose result does not fit 16 bits (huge, infinite or NaN) cannot lie on the
// shape sheet, so these report failure instead of converting: the caller drops the
// entity, exactly as it drops one that lies off the sheet.
#pragma once

#include <cstdint>

namespace korvex {

// trunc(v + 0.5), truncation toward zero: 2.5 gives 3, -2.7 gives -2.
bool RoundToWhole(double value, std::int16_t& whole);

// trunc(v), truncation toward zero: 12.7 gives 12, -3.9 gives -3. A value that is a whole
// number but for float noise is taken as that number first (WithoutFloatNoise).
bool TruncateToWhole(double value, std::int16_t& whole);

// CAD programs write 263 as 262.9999999999999 or 263.0000000000001; cut toward zero, the
// first would lose a unit. A value within this relative distance of a whole number is that
// number. Rounding needs no such care: noise on a whole number never crosses a half.
inline constexpr double kFloatNoise = 1e-9;
double WithoutFloatNoise(double value);

}  // namespace korvex
