// DesktopFrontend: wxMessageBox for every message of the conversion path and the shell.
#include "platform/desktop_frontend.h"

#include <wx/msgdlg.h>

namespace korvex::platform {

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

}  // namespace korvex::platform
