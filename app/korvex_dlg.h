// CKorvexDlg: the conversion dialog. Its two path boxes name the input drawing and the
// output shape file, typed or pasted there or chosen with their Browse buttons; its
// buttons hand over to ConversionDialogRules, which holds the paths, decides what happens
// and where the focus goes next. The dialog can be made wider: the boxes grow with it.
#pragma once

#include <wx/dialog.h>

#include <vector>

#include "app/conversion_dialog_rules.h"

class wxTextCtrl;

class CKorvexDlg : public wxDialog {
 public:
  CKorvexDlg(wxWindow* parent, korvex::shell::ConversionDialogRules& rules);
  ~CKorvexDlg() override;

  // The control that stands for one of the rules' controls.
  wxWindow* Control(korvex::shell::DialogControl control) const;

 private:
  void OnInitDialog(wxInitDialogEvent& event);
  void OnInputTyped(wxCommandEvent& event);
  void OnOutputTyped(wxCommandEvent& event);
  void OnInputLeft(wxFocusEvent& event);
  void OnBrowseInput(wxCommandEvent& event);
  void OnBrowseOutput(wxCommandEvent& event);
  void OnGenerate(wxCommandEvent& event);
  void OnExitProgram(wxCommandEvent& event);
  void OnSize(wxSizeEvent& event);
  // The boxes show the rules' paths once the rules have taken them, and a tooltip shows each
  // in full.
  void ShowPaths();
  void MoveFocus();

  korvex::shell::ConversionDialogRules& rules_;
  wxTextCtrl* inputBox_ = nullptr;
  wxTextCtrl* outputBox_ = nullptr;
  // The controls in the order of their places; the client width the places are given for,
  // from which a wider dialog stretches them.
  std::vector<wxWindow*> placed_;
  int laidOutWidth_ = 0;

  wxDECLARE_EVENT_TABLE();
};
