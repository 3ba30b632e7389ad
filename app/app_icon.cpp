// Paints the application icon: a grey cell box, and in it a blue shape of strokes, the
// kind of drawing the program turns into shape bytes.
#include "app/app_icon.h"

#include <wx/dcmemory.h>
#include <wx/pen.h>

wxBitmap KorvexIconBitmap(int size) {
  wxBitmap bitmap(size, size);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();

  const int margin = size / 8;
  const int inner = size - 2 * margin;
  dc.SetPen(wxPen(wxColour(128, 128, 128), 1));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(margin, margin, inner, inner);

  dc.SetPen(wxPen(wxColour(0, 70, 170), size >= 32 ? 3 : 2));
  const int left = margin + inner / 5;
  const int right = margin + inner * 4 / 5;
  const int top = margin + inner / 5;
  const int bottom = margin + inner * 4 / 5;
  dc.DrawLine(left, bottom, left, top);
  dc.DrawLine(left, (top + bottom) / 2, right, top);
  dc.DrawLine(left + inner / 8, (top + bottom) / 2 - inner / 16, right, bottom);

  dc.SelectObject(wxNullBitmap);
  return bitmap;
}

wxIcon KorvexIcon(int size) {
  wxIcon icon;
  icon.CopyFromBitmap(KorvexIconBitmap(size));
  return icon;
}
