// CKorvexDlg: controls in their tab order, placed in dialog units of the dialog's 10-point
// font, and the buttons wired to the conversion dialog's rules.
#include "app/korvex_dlg.h"

#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/command_ids.h"
#include "app/dialog_units.h"

namespace {

wxButton* AddButton(wxDialog* dialog, int id, const char* label, int x, int y, int width,
                    int height) {
  const wxRect rect = DialogUnitsToPixels(dialog, x, y, width, height);
  return new wxButton(dialog, id, label, rect.GetPosition(), rect.GetSize());
}

wxTextCtrl* AddPathBox(wxDialog* dialog, int id, int x, int y, int width, int height) {
  const wxRect rect = DialogUnitsToPixels(dialog, x, y, width, height);
  return new wxTextCtrl(dialog, id, wxString(), rect.GetPosition(), rect.GetSize(), wxTE_READONLY);
}

// Left-aligned text that wraps within its box.
void AddText(wxDialog* dialog, int id, const char* text, int x, int y, int width, int height) {
  const wxRect rect = DialogUnitsToPixels(dialog, x, y, width, height);
  new wxStaticText(dialog, id, text, rect.GetPosition(), rect.GetSize(),
                   wxALIGN_LEFT | wxST_NO_AUTORESIZE);
}

}  // namespace

wxBEGIN_EVENT_TABLE(CKorvexDlg, wxDialog)
  EVT_INIT_DIALOG(CKorvexDlg::OnInitDialog)
  EVT_BUTTON(IDC_BROWSE_INPUT, CKorvexDlg::OnBrowseInput)
  EVT_BUTTON(IDC_BROWSE_OUTPUT, CKorvexDlg::OnBrowseOutput)
  EVT_BUTTON(wxID_OK, CKorvexDlg::OnGenerate)
  EVT_BUTTON(IDC_EXIT_PROGRAM, CKorvexDlg::OnExitProgram)
wxEND_EVENT_TABLE()

CKorvexDlg::CKorvexDlg(wxWindow* parent, korvex::shell::ConversionDialogRules& rules)
    : wxDialog(parent, IDD_KORVEX_DIALOG, "Korvex", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE),
      rules_(rules) {
  // The font sets the dialog unit, so it comes before any position.
  SetFont(DialogFont("Microsoft Sans Serif", 10));
  SetClientSize(ConvertDialogToPixels(wxSize(381, 142)));

  // Creation order is the tab order.
  AddButton(this, wxID_OK, "Generate SHP File", 21, 113, 112, 14)->SetDefault();
  AddButton(this, wxID_CANCEL, "Exit to Main Menu", 181, 114, 59, 14);
  inputBox_ = AddPathBox(this, IDC_INPUT_PATH, 93, 41, 198, 16);
  AddText(this, IDC_INPUT_LABEL, "Input Shapes DXF Working Drawing", 16, 42, 55, 20);
  AddText(this, IDC_OUTPUT_LABEL, "Output Shape SHP filename", 17, 69, 68, 16);
  outputBox_ = AddPathBox(this, IDC_OUTPUT_PATH, 95, 68, 197, 16);
  AddButton(this, IDC_BROWSE_INPUT, "Browse", 310, 41, 44, 17);
  AddButton(this, IDC_BROWSE_OUTPUT, "Browse", 310, 68, 44, 17);
  AddText(this, wxID_STATIC,
          "Input Shapes working drawings (in DXF format)  must use the ShapesTemplate.dxf as "
          "prototype!",
          15, 7, 359, 18);
  AddButton(this, IDC_EXIT_PROGRAM, "Exit Program", 298, 114, 50, 14);
}

void CKorvexDlg::OnInitDialog(wxInitDialogEvent&) {
  rules_.Open();
  ShowPaths();
  // The first control in tab order starts with the focus, so Enter runs Generate.
  FindWindow(wxID_OK)->SetFocus();
}

void CKorvexDlg::OnBrowseInput(wxCommandEvent&) {
  rules_.BrowseInput();
  ShowPaths();
}

void CKorvexDlg::OnBrowseOutput(wxCommandEvent&) {
  rules_.BrowseOutput();
  ShowPaths();
}

void CKorvexDlg::OnGenerate(wxCommandEvent&) {
  // The run is synchronous: the dialog doesn't respond until it returns.
  rules_.Generate();
}

void CKorvexDlg::OnExitProgram(wxCommandEvent&) {
  rules_.ExitProgram();
}

void CKorvexDlg::ShowPaths() {
  // ChangeValue, unlike SetValue, sends no text event: the boxes are display only.
  inputBox_->ChangeValue(wxString::FromUTF8(rules_.InputPath()));
  outputBox_->ChangeValue(wxString::FromUTF8(rules_.OutputPath()));
}
