#include "test_frontend.h"

#include <gtest/gtest.h>

namespace korvex::platform {

int TestFrontend::ShowMessage(std::string_view text, unsigned flags) {
  messages.push_back({std::string(text), flags});
  if (flags != kMessageYesNoWarning) return kAnswerOk;
  if (answersGiven < answers.size()) return answers[answersGiven++];
  return kAnswerNo;
}

std::string TestFrontend::MessageText(std::size_t index) const {
  if (index < messages.size()) return messages[index].text;
  ADD_FAILURE() << "no message " << index << ": " << messages.size() << " messages were shown";
  return {};
}

unsigned TestFrontend::MessageFlags(std::size_t index) const {
  if (index < messages.size()) return messages[index].flags;
  ADD_FAILURE() << "no message " << index << ": " << messages.size() << " messages were shown";
  return ~0u;
}

}  // namespace korvex::platform
