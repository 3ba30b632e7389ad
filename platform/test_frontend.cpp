#include "platform/test_frontend.h"

#include <iostream>

namespace korvex::platform {

int TestFrontend::ShowMessage(std::string_view text, unsigned flags) {
  messages.push_back({std::string(text), flags});
  if (echoToStderr) std::cerr << text << '\n';
  if (flags != kMessageYesNoWarning) return kAnswerOk;
  if (answersGiven < answers.size()) return answers[answersGiven++];
  return kAnswerNo;
}

}  // namespace korvex::platform
