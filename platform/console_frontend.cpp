#include "platform/console_frontend.h"

#include <cstdio>
#include <iostream>
#include <string>

#ifdef _WIN32
#include <io.h>
#define KORVEX_ISATTY _isatty
#define KORVEX_FILENO _fileno
#else
#include <unistd.h>
#define KORVEX_ISATTY isatty
#define KORVEX_FILENO fileno
#endif

namespace korvex::platform {

bool AttendedByUser() {
  return KORVEX_ISATTY(KORVEX_FILENO(stdin)) != 0 && KORVEX_ISATTY(KORVEX_FILENO(stderr)) != 0;
}

int ConsoleFrontend::ShowMessage(std::string_view text, unsigned flags) {
  // One message, one group of lines: the caption on the first, the text after it.
  std::string body(text);
  while (!body.empty() && body.back() == '\n') body.pop_back();
  std::cerr << kConsolePrefix << body << '\n';
  if (flags != kMessageYesNoWarning) return kAnswerOk;

  if (!AttendedByUser()) {
    const bool yes = answerYesWhenUnattended_;
    std::cerr << kConsolePrefix << "answered " << (yes ? "Yes" : "No") << '\n';
    return yes ? kAnswerYes : kAnswerNo;
  }
  while (true) {
    std::cerr << "Yes or No? [y/n] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) return kAnswerNo;
    if (answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes") return kAnswerYes;
    if (answer == "n" || answer == "N" || answer == "no" || answer == "No") return kAnswerNo;
  }
}

}  // namespace korvex::platform
