// CAboutDlg: laid out in dialog units of its 8-point font. OK, Esc and the close box end
// it through wxDialog's own handling of wxID_OK and wxID_CANCEL.
#include "app/about_dlg.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <algorithm>

#include "app/app_icon.h"
#include "app/command_ids.h"
#include "app/dialog_units.h"

CAboutDlg::CAboutDlg(wxWindow* parent)
    : wxDialog(parent, IDD_ABOUTBOX, "About Korvex ", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE) {
  // The font sets the dialog unit, so it comes before any position.
  SetFont(DialogFont("MS Sans Serif", 8));
  SetClientSize(ConvertDialogToPixels(wxSize(235, 83)));

  const wxRect iconRect = DialogUnitsToPixels(this, 11, 17, 20, 20);
  new wxStaticBitmap(this, wxID_STATIC, KorvexIconBitmap(std::min(iconRect.width, iconRect.height)),
                     iconRect.GetPosition(), iconRect.GetSize());
  // The name is shown as it is: an "&" in it would not mark an access key.
  auto* name = new wxStaticText(this, wxID_STATIC, wxString(), wxDefaultPosition, wxDefaultSize,
                                wxST_NO_AUTORESIZE);
  name->SetLabelText("Korvex");
  name->SetSize(DialogUnitsToPixels(this, 40, 10, 119, 8));
  // Between the name and the copyright line, where the menu's prompt promises it.
  const wxRect versionRect = DialogUnitsToPixels(this, 40, 20, 119, 8);
  new wxStaticText(this, wxID_STATIC, kVersionLine, versionRect.GetPosition(),
                   versionRect.GetSize(), wxST_NO_AUTORESIZE);
  const wxRect copyrightRect = DialogUnitsToPixels(this, 40, 30, 163, 8);
  new wxStaticText(this, wxID_STATIC, kCopyrightLine, copyrightRect.GetPosition(),
                   copyrightRect.GetSize(), wxST_NO_AUTORESIZE);
  const wxRect okRect = DialogUnitsToPixels(this, 178, 7, 50, 14);
  auto* ok = new wxButton(this, wxID_OK, "OK", okRect.GetPosition(), okRect.GetSize());
  ok->SetDefault();
  ok->SetFocus();
}
