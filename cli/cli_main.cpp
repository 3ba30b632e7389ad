// korvex-cli: the conversion and the empty drawing for scripts and batch work.
//
// The commands take their arguments as UTF-8. On Windows the program starts at wmain, which
// receives the command line as wide text, so that file names in any script (Cyrillic, CJK,
// accented) arrive whole rather than through the ANSI code page.
#include <string>
#include <vector>

#include "cli/cli_run.h"

#ifdef _WIN32
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "cli/cli_options.h"
#include "platform/platform.h"

namespace {

UINT consoleCodePage = 0;  // the console's own, given back when the program ends

void RestoreConsoleCodePage() {
  SetConsoleOutputCP(consoleCodePage);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // What the program prints is UTF-8, as on every other system; a console shows it so for
  // the time the program runs (the code page belongs to the console, not to the process).
  consoleCodePage = GetConsoleOutputCP();
  if (consoleCodePage != 0 && consoleCodePage != CP_UTF8) {
    SetConsoleOutputCP(CP_UTF8);
    std::atexit(RestoreConsoleCodePage);
  }
  std::vector<std::string> arguments;
  try {
    for (int i = 1; i < argc; ++i) {
      arguments.push_back(korvex::platform::PathText(std::filesystem::path(argv[i])));
    }
  } catch (const std::system_error&) {
    // A lone UTF-16 surrogate has no UTF-8 form.
    std::cerr << "korvex-cli: an argument is not valid Unicode text\n";
    return korvex::cli::kExitUsage;
  }
  return korvex::cli::RunCli(arguments);
}

#else

int main(int argc, char** argv) {
  return korvex::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc));
}

#endif
