// Numbers in DXF value lines, read as the C library's atof and atoi read them in the
// "C" locale: leading blanks skipped, then the longest number, 0 when there is none.
// The desktop toolkit may switch the process to a locale with a decimal comma, so the
// C library's own functions cannot be trusted here.
#pragma once

#include <cstddef>

namespace korvex {

double ParseDxfNumber(const char* text, std::size_t length);

// The integer part, as atoi gives it; 0 when none or when it does not fit an int.
int ParseDxfInteger(const char* text, std::size_t length);

}  // namespace korvex
