#include "platform/test_frontend.h"

namespace korvex::platform {

int TestFrontend::ShowMessage(std::string_view text, unsigned flags) {
  messages.push_back({std::string(text), flags});
  if (flags != kMessageYesNoWarning) return kAnswerOk;
  if (answersGiven < answers.size()) return answers[answersGiven++];
  return kAnswerNo;
}

}  // namespace korvex::platform
