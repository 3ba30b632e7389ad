// CChildView: the client area, empty in the window colour until a shape file is shown.
#include "app/child_view.h"

#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/settings.h>

#include <cstdint>
#include <string>

#ifdef KORVEX_HAVE_PREVIEW
#include "shape_files/sheet_preview.h"
#endif

wxBEGIN_EVENT_TABLE(CChildView, wxWindow)
  EVT_PAINT(CChildView::OnPaint)
wxEND_EVENT_TABLE()

namespace {
#ifdef KORVEX_HAVE_PREVIEW
// cairo's ARGB32 pixels are premultiplied native-endian words; the sheet is opaque, so
// the colour channels can be taken as they are.
wxImage ImageOfSurface(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  wxImage image(width, height, false);
  unsigned char* rgb = image.GetData();
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = row[x];
      *rgb++ = static_cast<unsigned char>(pixel >> 16);
      *rgb++ = static_cast<unsigned char>(pixel >> 8);
      *rgb++ = static_cast<unsigned char>(pixel);
    }
  }
  return image;
}

#endif

}  // namespace

CChildView::CChildView(wxWindow* parent)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
               wxBORDER_THEME | wxFULL_REPAINT_ON_RESIZE) {
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
}

void CChildView::ShowShapeFile(const std::filesystem::path& shapeFile,
                               std::shared_ptr<const korvex::LeftOutTable> leftOut) {
  shapeFile_ = shapeFile;
  leftOut_ = std::move(leftOut);
  highlight_ = -1;
  Refresh();
}

void CChildView::Highlight(int entry) {
  highlight_ = entry;
  Refresh();
}

void CChildView::OnPaint(wxPaintEvent&) {
  // A paint handler must validate the area even when it draws nothing; the background
  // erase fills it with the window colour.
  wxPaintDC dc(this);
  const wxSize size = GetClientSize();
  if (shapeFile_.empty() || size.GetWidth() < 16 || size.GetHeight() < 16) return;
#ifdef KORVEX_HAVE_PREVIEW
  std::string error;
  cairo_surface_t* surface = korvex::RenderShapeFileSheet(
      shapeFile_, size.GetWidth(), size.GetHeight(), error, leftOut_.get(), highlight_);
  if (surface == nullptr) {
    dc.DrawText(wxString::FromUTF8(error), 8, 8);
    return;
  }
  dc.DrawBitmap(wxBitmap(ImageOfSurface(surface)), 0, 0);
  cairo_surface_destroy(surface);
#else
  dc.DrawText("This build draws no previews (it was built without cairo).", 8, 8);
#endif
}
