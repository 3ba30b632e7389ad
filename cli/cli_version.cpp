#include "cli/cli_version.h"

#include <version>

#ifdef KORVEX_HAVE_PREVIEW
#include <cairo.h>
#endif

namespace korvex::cli {

namespace {

#define KORVEX_TEXT_OF(x) #x
#define KORVEX_NUMBER_TEXT(x) KORVEX_TEXT_OF(x)

// clang also defines __GNUC__, so it is asked first.
constexpr const char* kCompiler =
#if defined(__clang__)
    "clang " __clang_version__;
#elif defined(__GNUC__)
    "GCC " __VERSION__;
#elif defined(_MSC_VER)
    "MSVC " KORVEX_NUMBER_TEXT(_MSC_FULL_VER);
#else
    "an unknown compiler";
#endif

constexpr const char* kStandardLibrary =
#if defined(_GLIBCXX_RELEASE)
    "libstdc++ " KORVEX_NUMBER_TEXT(_GLIBCXX_RELEASE) " (" KORVEX_NUMBER_TEXT(__GLIBCXX__) ")";
#elif defined(_LIBCPP_VERSION)
    "libc++ " KORVEX_NUMBER_TEXT(_LIBCPP_VERSION);
#elif defined(_MSVC_STL_VERSION)
    "the MSVC STL " KORVEX_NUMBER_TEXT(_MSVC_STL_VERSION);
#else
    "an unknown C++ standard library";
#endif

}  // namespace

std::string VersionText() {
  std::string text = "korvex-cli " KORVEX_VERSION "\n";
#ifdef KORVEX_HAVE_PREVIEW
  text += "previews: cairo " CAIRO_VERSION_STRING;
  // The shared library found at run time may be another release than the headers'.
  const std::string running = cairo_version_string();
  if (running != CAIRO_VERSION_STRING) text += " (running with " + running + ")";
  text += '\n';
#else
  text += "no previews (built without cairo)\n";
#endif
  text += std::string("built with ") + kCompiler + ", " + kStandardLibrary + ", C++" +
          std::to_string(__cplusplus / 100 % 100) + '\n';
#ifdef __MINGW64_VERSION_STR
  text += "Windows runtime: mingw-w64 " __MINGW64_VERSION_STR "\n";
#endif
  return text;
}

}  // namespace korvex::cli
