// DesktopFrontend: wxMessageBox for every message of the conversion path and the shell;
// and the environment the toolkit starts in.
#include "platform/desktop_frontend.h"

#include <wx/msgdlg.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace korvex::platform {
namespace {

#ifndef _WIN32
bool Named(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && value[0] != '\0';
}

// Where GLib finds the session bus: the address in the environment, else the socket a
// user session manager keeps in the runtime folder.
bool SessionBusKnown() {
  if (Named("DBUS_SESSION_BUS_ADDRESS")) return true;
  if (!Named("XDG_RUNTIME_DIR")) return false;
  std::error_code error;
  return std::filesystem::exists(std::filesystem::path(std::getenv("XDG_RUNTIME_DIR")) / "bus",
                                 error);
}
#endif

}  // namespace

long DesktopMessageStyle(unsigned flags) {
  switch (flags) {
    case kMessageInformation:
      return wxOK | wxICON_INFORMATION;
    case kMessageYesNoWarning:
      return wxYES_NO | wxICON_EXCLAMATION;
    default:
      // Without wxICON_NONE wxWidgets would add the information icon to an OK box.
      return wxOK | wxICON_NONE;
  }
}

int DesktopFrontend::ShowMessage(std::string_view text, unsigned flags) {
  const int answer = wxMessageBox(wxString::FromUTF8(text.data(), text.size()), kMessageCaption,
                                  DesktopMessageStyle(flags));
  if (flags != kMessageYesNoWarning) return kAnswerOk;
  // A question closed without an answer counts as No.
  return answer == wxYES ? kAnswerYes : kAnswerNo;
}

void PrepareDesktopEnvironment() {
#ifndef _WIN32
  // Without a bus GLib would also try to start one of its own (dbus-launch), which outlives
  // the program.
  if (!Named("GSETTINGS_BACKEND") && !SessionBusKnown()) setenv("GSETTINGS_BACKEND", "memory", 1);
#endif
}

}  // namespace korvex::platform
