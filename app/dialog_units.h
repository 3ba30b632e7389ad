// Dialog layouts given in dialog units: the dialog's font sets the unit, so the controls
// keep their proportions with whatever font the platform has.
#pragma once

#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

class wxWindow;

// The named face at the given size when the system has it, else a face of the same
// widths, else the platform's dialog font at that size.
wxFont DialogFont(const wxString& faceName, int pointSize);

// A rectangle in dialog units (x, y, width, height) converted to the window's pixels.
wxRect DialogUnitsToPixels(wxWindow* dialog, int x, int y, int width, int height);
