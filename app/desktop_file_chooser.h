// The shell's file dialogs on the desktop: wxFileDialog with the request's title, filter,
// starting folder and pre-filled name.
#pragma once

#include <wx/string.h>

#include "app/file_chooser.h"

class wxWindow;

class DesktopFileChooser final : public korvex::shell::FileChooser {
 public:
  // parent: the window the dialogs belong to; nullptr lets wxWidgets pick the active one.
  explicit DesktopFileChooser(wxWindow* parent) : parent_(parent) {}
  // For a chooser made before the window its dialogs belong to.
  void SetParent(wxWindow* parent) { parent_ = parent; }

  std::optional<std::string> Choose(const korvex::shell::FileDialogRequest& request) override;

 private:
  wxWindow* parent_;
};

// wxFileDialog style of a kind of dialog: an Open dialog wants an existing file, a Save
// dialog asks before replacing one.
long FileDialogStyle(korvex::shell::FileDialogKind kind);

// wxFileDialog wildcard of a request: "description|pattern".
wxString FileDialogWildcard(const korvex::shell::FileDialogRequest& request);
