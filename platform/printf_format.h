// Lets the compiler check the arguments of our printf-style functions. mingw-w64 formats
// with its own C99 printf (%zu works), which its compiler knows as gnu_printf.
#pragma once

#if defined(__MINGW32__)
#define KORVEX_PRINTF_FORMAT(pattern, first) __attribute__((format(gnu_printf, pattern, first)))
#elif defined(__GNUC__)
#define KORVEX_PRINTF_FORMAT(pattern, first) __attribute__((format(printf, pattern, first)))
#else
#define KORVEX_PRINTF_FORMAT(pattern, first)
#endif
