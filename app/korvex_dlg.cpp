// CKorvexDlg: controls in their tab order, placed in dialog units of the dialog's 10-point
// font and stretched when the dialog is made wider, and the boxes and buttons wired to
// the conversion dialog's rules.
#include "app/korvex_dlg.h"

#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/command_ids.h"
#include "app/dialog_units.h"

using korvex::shell::DialogControl;

namespace {

// What a control does when the dialog is made wider than it was laid out.
enum class Stretch {
  kNone,       // stays where it is: the labels, Generate
  kWider,      // grows by the extra width: the boxes and the heading
  kRight,      // moves by the extra width: the Browse buttons and Exit Program
  kHalfRight,  // moves by half of it, staying centred: Exit to Main Menu
};

enum class Kind { kText, kBox, kButton };

struct ControlPlace {
  int id;
  Kind kind;
  const char* label;  // "&" marks the access key
  int x, y, width, height;
  Stretch stretch;
};

// Creation order is the tab order: each box before its own Browse button, then the buttons
// that act on both. A label comes just before its box, so that its access key moves the
// focus into the box.
constexpr ControlPlace kControls[] = {
    {wxID_STATIC, Kind::kText,
     "Input Shapes working drawings (in DXF format)  must use the ShapesTemplate.dxf as "
     "prototype!",
     15, 7, 359, 18, Stretch::kWider},
    {IDC_INPUT_LABEL, Kind::kText, "&Input Shapes DXF Working Drawing", 16, 42, 55, 20,
     Stretch::kNone},
    {IDC_INPUT_PATH, Kind::kBox, "", 93, 41, 198, 16, Stretch::kWider},
    {IDC_BROWSE_INPUT, Kind::kButton, "&Browse", 310, 41, 44, 17, Stretch::kRight},
    {IDC_OUTPUT_LABEL, Kind::kText, "&Output Shape SHP filename", 17, 69, 68, 16, Stretch::kNone},
    {IDC_OUTPUT_PATH, Kind::kBox, "", 95, 68, 197, 16, Stretch::kWider},
    {IDC_BROWSE_OUTPUT, Kind::kButton, "B&rowse", 310, 68, 44, 17, Stretch::kRight},
    {wxID_OK, Kind::kButton, "&Generate SHP File", 21, 113, 112, 14, Stretch::kNone},
    {wxID_CANCEL, Kind::kButton, "Exit to &Main Menu", 181, 114, 59, 14, Stretch::kHalfRight},
    {IDC_EXIT_PROGRAM, Kind::kButton, "Exit &Program", 298, 114, 50, 14, Stretch::kRight},
};

// The window of each control the rules name.
constexpr struct {
  DialogControl control;
  int id;
} kControlIds[] = {
    {DialogControl::kInputBox, IDC_INPUT_PATH},
    {DialogControl::kBrowseInput, IDC_BROWSE_INPUT},
    {DialogControl::kOutputBox, IDC_OUTPUT_PATH},
    {DialogControl::kBrowseOutput, IDC_BROWSE_OUTPUT},
    {DialogControl::kGenerate, wxID_OK},
    {DialogControl::kExitToMainMenu, wxID_CANCEL},
    {DialogControl::kExitProgram, IDC_EXIT_PROGRAM},
};

wxWindow* AddControl(wxDialog* dialog, const ControlPlace& place) {
  const wxRect rect = DialogUnitsToPixels(dialog, place.x, place.y, place.width, place.height);
  switch (place.kind) {
    case Kind::kBox:
      return new wxTextCtrl(dialog, place.id, wxString(), rect.GetPosition(), rect.GetSize());
    case Kind::kButton:
      return new wxButton(dialog, place.id, place.label, rect.GetPosition(), rect.GetSize());
    case Kind::kText:
      // Left-aligned text that wraps within its box.
      return new wxStaticText(dialog, place.id, place.label, rect.GetPosition(), rect.GetSize(),
                              wxALIGN_LEFT | wxST_NO_AUTORESIZE);
  }
  return nullptr;
}

void ShowPath(wxTextCtrl* box, const std::string& path) {
  const wxString text = wxString::FromUTF8(path);
  // ChangeValue, unlike SetValue, sends no text event: the rules hold the path already.
  if (box->GetValue() != text) box->ChangeValue(text);
  // The end of a long path, where its file name is, shows when the box takes the focus.
  box->SetInsertionPointEnd();
  if (text.empty()) {
    box->UnsetToolTip();
  } else {
    box->SetToolTip(text);
  }
}

}  // namespace

wxBEGIN_EVENT_TABLE(CKorvexDlg, wxDialog)
  EVT_INIT_DIALOG(CKorvexDlg::OnInitDialog)
  EVT_TEXT(IDC_INPUT_PATH, CKorvexDlg::OnInputTyped)
  EVT_TEXT(IDC_OUTPUT_PATH, CKorvexDlg::OnOutputTyped)
  EVT_BUTTON(IDC_BROWSE_INPUT, CKorvexDlg::OnBrowseInput)
  EVT_BUTTON(IDC_BROWSE_OUTPUT, CKorvexDlg::OnBrowseOutput)
  EVT_BUTTON(wxID_OK, CKorvexDlg::OnGenerate)
  EVT_BUTTON(IDC_EXIT_PROGRAM, CKorvexDlg::OnExitProgram)
  EVT_SIZE(CKorvexDlg::OnSize)
wxEND_EVENT_TABLE()

CKorvexDlg::CKorvexDlg(wxWindow* parent, korvex::shell::ConversionDialogRules& rules)
    : wxDialog(parent, IDD_KORVEX_DIALOG, "Korvex", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      rules_(rules) {
  // The font sets the dialog unit, so it comes before any position.
  SetFont(DialogFont("Microsoft Sans Serif", 10));
  const wxSize laidOut = ConvertDialogToPixels(wxSize(381, 142));
  laidOutWidth_ = laidOut.GetWidth();
  SetClientSize(laidOut);
  // Wider only: the controls have no use for more height.
  SetMinClientSize(laidOut);
  SetMaxClientSize(wxSize(wxDefaultCoord, laidOut.GetHeight()));

  for (const ControlPlace& place : kControls) placed_.push_back(AddControl(this, place));
  inputBox_ = static_cast<wxTextCtrl*>(FindWindow(IDC_INPUT_PATH));
  outputBox_ = static_cast<wxTextCtrl*>(FindWindow(IDC_OUTPUT_PATH));
  static_cast<wxButton*>(FindWindow(wxID_OK))->SetDefault();
  // The typed input is taken when the focus leaves its box, as a chosen one is at once.
  inputBox_->Bind(wxEVT_KILL_FOCUS, &CKorvexDlg::OnInputLeft, this);
}

CKorvexDlg::~CKorvexDlg() {
  // The box loses the focus while it is destroyed, after this dialog is gone already.
  inputBox_->Unbind(wxEVT_KILL_FOCUS, &CKorvexDlg::OnInputLeft, this);
}

wxWindow* CKorvexDlg::Control(DialogControl control) const {
  for (const auto& entry : kControlIds) {
    if (entry.control == control) return FindWindow(entry.id);
  }
  return nullptr;
}

void CKorvexDlg::OnInitDialog(wxInitDialogEvent&) {
  rules_.Open();
  ShowPaths();
  MoveFocus();
}

void CKorvexDlg::OnInputTyped(wxCommandEvent&) {
  rules_.TypeInput(std::string(inputBox_->GetValue().utf8_str()));
  inputBox_->SetToolTip(inputBox_->GetValue());
}

void CKorvexDlg::OnOutputTyped(wxCommandEvent&) {
  rules_.TypeOutput(std::string(outputBox_->GetValue().utf8_str()));
  outputBox_->SetToolTip(outputBox_->GetValue());
}

void CKorvexDlg::OnInputLeft(wxFocusEvent& event) {
  event.Skip();  // the box's own handling of the focus goes on
  if (rules_.CommitInput()) ShowPaths();
}

void CKorvexDlg::OnBrowseInput(wxCommandEvent&) {
  rules_.BrowseInput();
  ShowPaths();
  MoveFocus();
}

void CKorvexDlg::OnBrowseOutput(wxCommandEvent&) {
  rules_.BrowseOutput();
  ShowPaths();
  MoveFocus();
}

void CKorvexDlg::OnGenerate(wxCommandEvent&) {
  // The run is synchronous: the dialog doesn't respond until it returns.
  rules_.Generate();
  ShowPaths();
  MoveFocus();
}

void CKorvexDlg::OnExitProgram(wxCommandEvent&) {
  rules_.ExitProgram();
}

void CKorvexDlg::OnSize(wxSizeEvent& event) {
  event.Skip();
  const int extra = GetClientSize().GetWidth() - laidOutWidth_;
  for (std::size_t i = 0; i < placed_.size(); ++i) {
    const ControlPlace& place = kControls[i];
    wxRect rect = DialogUnitsToPixels(this, place.x, place.y, place.width, place.height);
    switch (place.stretch) {
      case Stretch::kNone:
        break;
      case Stretch::kWider:
        rect.width += extra;
        break;
      case Stretch::kRight:
        rect.x += extra;
        break;
      case Stretch::kHalfRight:
        rect.x += extra / 2;
        break;
    }
    if (placed_[i]->GetRect() != rect) placed_[i]->SetSize(rect);
  }
}

void CKorvexDlg::ShowPaths() {
  ShowPath(inputBox_, rules_.InputText());
  ShowPath(outputBox_, rules_.OutputText());
}

void CKorvexDlg::MoveFocus() {
  if (wxWindow* control = Control(rules_.Focus())) control->SetFocus();
}
