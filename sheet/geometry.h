// The constants of plane geometry that every layer shares: pi and its multiples as the
// nearest doubles, so that angles computed anywhere in the program agree to the bit.
#pragma once

namespace korvex {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kThreeHalfPi = 4.71238898038469;
inline constexpr double kTwoPi = 6.283185307179586;

}  // namespace korvex
