// The application icon: a shape cell with a small shape drawn in it, painted at run time
// so that no image file has to travel with the program.
#pragma once

#include <wx/bitmap.h>
#include <wx/icon.h>

wxBitmap KorvexIconBitmap(int size);
wxIcon KorvexIcon(int size);
