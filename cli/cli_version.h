// What `korvex-cli --version` prints: the program's version and what it was built with, so
// that a report of a fault names the libraries behind it.
#pragma once

#include <string>

namespace korvex::cli {

// "korvex-cli VERSION" on the first line; then one line for the preview library (cairo, or
// that there are no previews), one for the compiler and the C++ standard library, and on
// Windows one for the mingw-w64 runtime when it is that.
std::string VersionText();

}  // namespace korvex::cli
