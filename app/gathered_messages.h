// The messages of one conversion, gathered into one box. The conversion library shows a
// message where it finds a fault, and each caller above it adds its own ("Error processing
// dxf file ...", then the dialog's "Shape File Not Generated"), which on a desktop would
// stack one box on another for a single failure, the reason in the box underneath. While a
// GatheredMessages lives it stands in for the installed front end and holds the plain
// messages, so that the caller shows its summary first and the reasons under it, once.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace korvex::shell {

class GatheredMessages final : public platform::Frontend {
 public:
  // Stands in for the front end installed so far, until destroyed.
  GatheredMessages();
  ~GatheredMessages() override;
  GatheredMessages(const GatheredMessages&) = delete;
  GatheredMessages& operator=(const GatheredMessages&) = delete;

  // Holds a message with an OK button. A question can't wait for its answer: what was held
  // so far is shown first, then the question is asked.
  int ShowMessage(std::string_view text, unsigned flags) override;
  std::filesystem::path ExecutableFolder() override;
  // Shows what was held, then ends the process through the front end stood in for.
  [[noreturn]] void EndProcess(int status) override;

  // The held messages, oldest first, a blank line between two; empty when none was held.
  const std::string& Text() const { return text_; }
  // The style for a box that shows them: the information icon when one of them had it.
  unsigned Flags() const { return flags_; }

 private:
  void ShowHeld();

  platform::Frontend& shown_;
  std::string text_;
  unsigned flags_ = platform::kMessageOk;
};

// A summary followed by the held messages that give its reasons, a blank line between.
std::string WithReasons(const std::string& summary, const std::string& reasons);

}  // namespace korvex::shell
