// GatheredMessages: plain messages held, questions asked at once.
#include "app/gathered_messages.h"

#include <cstdlib>

namespace korvex::shell {

GatheredMessages::GatheredMessages() : shown_(platform::InstalledFrontend()) {
  platform::InstallFrontend(*this);
}

GatheredMessages::~GatheredMessages() {
  platform::InstallFrontend(shown_);
}

int GatheredMessages::ShowMessage(std::string_view text, unsigned flags) {
  if (flags == platform::kMessageYesNoWarning) {
    ShowHeld();
    return shown_.ShowMessage(text, flags);
  }
  if (!text_.empty()) text_ += "\n\n";
  text_ += text;
  if (flags == platform::kMessageInformation) flags_ = flags;
  return platform::kAnswerOk;
}

std::filesystem::path GatheredMessages::ExecutableFolder() {
  return shown_.ExecutableFolder();
}

void GatheredMessages::EndProcess(int status) {
  ShowHeld();
  shown_.EndProcess(status);
  std::exit(status);  // a front end that failed to end the process
}

void GatheredMessages::ShowHeld() {
  if (text_.empty()) return;
  shown_.ShowMessage(text_, flags_);
  text_.clear();
  flags_ = platform::kMessageOk;
}

std::string WithReasons(const std::string& summary, const std::string& reasons) {
  return reasons.empty() ? summary : summary + "\n\n" + reasons;
}

}  // namespace korvex::shell
