// The front end of the tests: records every message and answers questions from a script,
// so the conversion path's dialogue can be checked without a display or a terminal.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace korvex::platform {

struct RecordedMessage {
  std::string text;
  unsigned flags;
};

// Stands for the end of the process, so that a test goes on after a front end ends it (and
// a test process leaves no scratch folder behind, as a real end would).
struct ProcessEnded {
  int status;
};

class TestFrontend final : public Frontend {
 public:
  int ShowMessage(std::string_view text, unsigned flags) override;
  [[noreturn]] void EndProcess(int status) override { throw ProcessEnded{status}; }
  std::filesystem::path ExecutableFolder() override { return executableFolder; }

  std::vector<RecordedMessage> messages;
  // The text and flags of message `index`; a missing one fails the test that asked for it
  // and gives an empty text, so that the test goes on to its other checks.
  std::string MessageText(std::size_t index) const;
  unsigned MessageFlags(std::size_t index) const;
  // Answers for Yes/No questions, taken in turn; once used up, every answer is No.
  std::vector<int> answers;
  std::size_t answersGiven = 0;
  // Where the program's support files are looked for.
  std::filesystem::path executableFolder;
};

}  // namespace korvex::platform
