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

// Prepares the environment of the desktop toolkit; call before it starts. Without a
// session bus (a program started over ssh -X, in a container, under xvfb-run) GTK's
// settings store, dconf, can save nothing: every file dialog then prints a warning for each
// setting it would save (the folder, the column widths...) to the user's terminal. GTK is
// then told to keep its settings in memory for the run, which loses nothing that could have
// been saved. A GSETTINGS_BACKEND the user chose is kept. Does nothing on Windows.
void PrepareDesktopEnvironment();

}  // namespace korvex::platform
