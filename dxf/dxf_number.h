// Numbers in DXF value lines, read as the C library's atof and atoi read them in the
// "C" locale: leading blanks skipped, then the longest number, 0 when there is none.
// The desktop toolkit may switch the process to a locale with a decimal comma, so the
// C library's own functions cannot be trusted here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvex {

// A plain decimal ("-1760.250000"), taken a character at a time: an optional leading '-',
// digits and at most one point. Such values make nearly every value of a drawing; with at
// most 15 digits the digits and the power of ten are exact doubles, so one division gives
// the correctly rounded value, the same as the full conversion.
struct PlainDecimal {
  std::uint64_t digits = 0;  // wraps harmlessly on long inputs, which are not taken
  std::uint64_t whole = 0;
  int count = 0;
  int decimals = 0;
  unsigned fractionDigits = 0;  // any non-zero decimal makes this non-zero
  bool negative = false;
  bool inFraction = false;
  bool started = false;

  // False when the character cannot continue a plain decimal.
  bool Add(char c) {
    const unsigned digit = static_cast<unsigned>(c - '0');
    if (digit < 10) {
      digits = digits * 10 + digit;
      ++count;
      if (inFraction) {
        ++decimals;
        fractionDigits |= digit;
      }
    } else if (c == '.' && !inFraction) {
      inFraction = true;
      whole = digits;
    } else if (c == '-' && !started) {
      negative = true;
    } else {
      return false;
    }
    started = true;
    return true;
  }

  // The value of what was added; false when it holds no digit or more than 15.
  bool Value(double& value) const {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (count == 0 || count > 15) return false;
    // Whole values, the most common on a drawing drawn to a grid, need no division.
    const double magnitude = fractionDigits == 0
                                 ? static_cast<double>(inFraction ? whole : digits)
                                 : static_cast<double>(digits) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
  }
};

double ParseDxfNumber(const char* text, std::size_t length);

// The integer part, as atoi gives it; 0 when none or when it does not fit an int.
int ParseDxfInteger(const char* text, std::size_t length);

}  // namespace korvex
