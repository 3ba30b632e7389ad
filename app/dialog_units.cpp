// Dialog units to pixels, and the dialog fonts that set the unit.
#include "app/dialog_units.h"

#include <wx/fontenum.h>
#include <wx/settings.h>
#include <wx/window.h>

namespace {

// Faces with the widths of the classic Windows sans-serif dialog fonts, so that texts fit
// and wrap in the boxes laid out for them; a wider face (such as DejaVu Sans) would push a
// label's last line out of its box.
constexpr const char* kLookAlikeFaces[] = {"Arial", "Liberation Sans", "Nimbus Sans"};

}  // namespace

wxFont DialogFont(const wxString& faceName, int pointSize) {
  wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  if (wxFontEnumerator::IsValidFacename(faceName)) {
    font.SetFaceName(faceName);
  } else {
    for (const char* face : kLookAlikeFaces) {
      if (wxFontEnumerator::IsValidFacename(face)) {
        font.SetFaceName(face);
        break;
      }
    }
  }
  font.SetPointSize(pointSize);
  return font;
}

wxRect DialogUnitsToPixels(wxWindow* dialog, int x, int y, int width, int height) {
  return wxRect(dialog->ConvertDialogToPixels(wxPoint(x, y)),
                dialog->ConvertDialogToPixels(wxSize(width, height)));
}
