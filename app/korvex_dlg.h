// CKorvexDlg: the conversion dialog. Its two read-only boxes show the input drawing and the
// output .shp file; its buttons hand over to ConversionDialogRules, which holds the paths
// and decides what happens.
#pragma once

#include <wx/dialog.h>

#include "app/conversion_dialog_rules.h"

class wxTextCtrl;

class CKorvexDlg : public wxDialog {
 public:
  CKorvexDlg(wxWindow* parent, korvex::shell::ConversionDialogRules& rules);

 private:
  void OnInitDialog(wxInitDialogEvent& event);
  void OnBrowseInput(wxCommandEvent& event);
  void OnBrowseOutput(wxCommandEvent& event);
  void OnGenerate(wxCommandEvent& event);
  void OnExitProgram(wxCommandEvent& event);
  // The boxes only ever show the rules' paths; they are never read back.
  void ShowPaths();

  korvex::shell::ConversionDialogRules& rules_;
  wxTextCtrl* inputBox_ = nullptr;
  wxTextCtrl* outputBox_ = nullptr;

  wxDECLARE_EVENT_TABLE();
};
