// The desktop front end: the conversion path's messages and questions appear as modal
// message boxes with the caption "Korvex".
#pragma once

#include "platform/platform.h"

namespace korvex::platform {

class DesktopFrontend final : public Frontend {
 public:
  int ShowMessage(std::string_view text, unsigned flags) override;
};

// The message box style of each message flag: kMessageOk an OK button alone,
// kMessageInformation OK with the information icon, kMessageYesNoWarning Yes and No with
// the exclamation icon. An unknown flag gets an OK button.
long DesktopMessageStyle(unsigned flags);

}  // namespace korvex::platform
