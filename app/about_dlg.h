// CAboutDlg: the About box, with the program's icon, name, version and copyright line.
#pragma once

#include <wx/dialog.h>

class CAboutDlg : public wxDialog {
 public:
  explicit CAboutDlg(wxWindow* parent);
};

// The version line and the copyright line of the About box.
inline constexpr const char* kVersionLine = "Version " KORVEX_VERSION;
inline constexpr const char* kCopyrightLine = "Copyright (C) 2026 Tarnwell";
