#include "dxf/dxf_number.h"

#include <charconv>
#include <cmath>
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

// The longest plain decimal at the start; false when there is none, or when an exponent or
// a hexadecimal follows, which the full conversion reads.
bool ParsePlainDecimal(const char* p, const char* end, double& value) {
  PlainDecimal decimal;
  while (p < end && decimal.Add(*p)) ++p;
  if (p < end && (*p == 'e' || *p == 'E' || *p == 'x' || *p == 'X')) return false;
  return decimal.Value(value);
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
