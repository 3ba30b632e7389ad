#include "dxf/dxf_number.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace korvex {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Skips the blanks and a '+' sign, which from_chars does not take.
const char* NumberStart(const char* text, const char* end) {
  while (text < end && IsBlank(*text)) ++text;
  if (text < end && *text == '+' && text + 1 < end && *(text + 1) != '-') ++text;
  return text;
}

// Plain decimals such as "-1760.250000" make nearly every value of a drawing. With at most
// 15 digits and 22 decimals the digits and the power of ten are exact doubles, so one
// division gives the correctly rounded value, the same as the full conversion.
bool ParsePlainDecimal(const char* p, const char* end, double& value) {
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  const char* const first = p;
  std::uint64_t digits = 0;  // wraps harmlessly on long inputs, which are not taken
  while (p < end && static_cast<unsigned>(*p - '0') < 10) digits = digits * 10 + (*p++ - '0');
  long count = p - first;
  long decimals = 0;
  const std::uint64_t whole = digits;
  unsigned fractionDigits = 0;  // any non-zero decimal makes this non-zero
  if (p < end && *p == '.') {
    const char* const fraction = ++p;
    while (p < end && static_cast<unsigned>(*p - '0') < 10) {
      const unsigned digit = static_cast<unsigned>(*p++ - '0');
      digits = digits * 10 + digit;
      fractionDigits |= digit;
    }
    decimals = p - fraction;
    count += decimals;
  }
  // An exponent, a hexadecimal or a word ends the plain form: the full conversion decides.
  if (count == 0 || count > 15) return false;
  if (p < end && (*p == 'e' || *p == 'E' || *p == 'x' || *p == 'X')) return false;
  // Whole values, the most common on a drawing drawn to a grid, need no division.
  const double magnitude = fractionDigits == 0
                               ? static_cast<double>(whole)
                               : static_cast<double>(digits) / kPowersOfTen[decimals];
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

double ParseDxfNumber(const char* text, std::size_t length) {
  const char* end = text + length;
  const char* start = NumberStart(text, end);
  double value = 0.0;
  if (ParsePlainDecimal(start, end, value)) return value;
  const std::from_chars_result result = std::from_chars(start, end, value);
  if (result.ec == std::errc()) return value;
  if (result.ec == std::errc::result_out_of_range) {
    // A value line is at most 31 characters, so only an exponent can take a number out of
    // range: a negative exponent underflows to zero, a positive one overflows.
    const bool negative = *start == '-';
    for (const char* p = start; p < result.ptr; ++p) {
      if ((*p == 'e' || *p == 'E') && p + 1 < result.ptr && p[1] == '-') {
        return negative ? -0.0 : 0.0;
      }
    }
    return negative ? -HUGE_VAL : HUGE_VAL;
  }
  return 0.0;
}

int ParseDxfInteger(const char* text, std::size_t length) {
  const char* end = text + length;
  const char* start = NumberStart(text, end);
  int value = 0;
  const std::from_chars_result result = std::from_chars(start, end, value);
  return result.ec == std::errc() ? value : 0;
}

}  // namespace korvex
