// The command-line front end: messages go to stderr, each starting with the program's name
// like every other line the program writes there; a Yes/No question is asked on the
// terminal when there is one, and otherwise answered by the caller's standing choice.
#pragma once

#include "platform/platform.h"

namespace korvex::platform {

// The start of every line korvex-cli writes to standard error.
inline constexpr const char* kConsolePrefix = "korvex-cli: ";

class ConsoleFrontend final : public Frontend {
 public:
  // answerYesWhenUnattended: the answer to a question when no terminal can ask the user.
  explicit ConsoleFrontend(bool answerYesWhenUnattended)
      : answerYesWhenUnattended_(answerYesWhenUnattended) {}

  int ShowMessage(std::string_view text, unsigned flags) override;

 private:
  bool answerYesWhenUnattended_;
};

// True when both standard input and standard error are a terminal.
bool AttendedByUser();

}  // namespace korvex::platform
