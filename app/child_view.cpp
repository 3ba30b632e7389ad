// CChildView: the client area, empty in the window colour until a shape file is shown;
// the sheet drawn through the viewport, and the mouse and keys that move it.
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
  EVT_SIZE(CChildView::OnSize)
  EVT_MOUSEWHEEL(CChildView::OnMouseWheel)
  EVT_LEFT_DOWN(CChildView::OnLeftDown)
  EVT_LEFT_UP(CChildView::OnLeftUp)
  EVT_MOTION(CChildView::OnMotion)
  EVT_MOUSE_CAPTURE_LOST(CChildView::OnCaptureLost)
  EVT_KEY_DOWN(CChildView::OnKeyDown)
wxEND_EVENT_TABLE()

namespace {

// A view smaller than this draws nothing: the sheet would be a few pixels.
constexpr int kSmallestSheet = 16;
// An arrow key moves the sheet by this share of the view.
constexpr double kArrowPanShare = 0.125;
// How much of the window colour covers an out-of-date sheet.
constexpr double kStaleFade = 0.6;
constexpr int kNoteMargin = 8;

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

void FadeSurface(cairo_surface_t* surface) {
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgba(cr, 1, 1, 1, kStaleFade);
  cairo_paint(cr);
  cairo_destroy(cr);
}
#endif

}  // namespace

CChildView::CChildView(wxWindow* parent)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
               wxBORDER_THEME | wxFULL_REPAINT_ON_RESIZE) {
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
}

bool CChildView::ShowShapeFile(const std::filesystem::path& shapeFile,
                               std::shared_ptr<const korvex::LeftOutTable> leftOut,
                               std::string* reason) {
#ifdef KORVEX_HAVE_PREVIEW
  // Read now, so that a file that can't be shown is reported by the command that chose it.
  if (reason != nullptr) {
    cairo_surface_t* probe =
        korvex::RenderShapeFileSheet(shapeFile, kSmallestSheet, kSmallestSheet, *reason);
    if (probe == nullptr) return false;
    cairo_surface_destroy(probe);
  }
#else
  (void)reason;
#endif
  if (shapeFile != shapeFile_) viewport_.Reset();
  shapeFile_ = shapeFile;
  leftOut_ = std::move(leftOut);
  highlight_ = -1;
  staleNote_.clear();
  Refresh();
  return true;
}

void CChildView::Highlight(int entry) {
  highlight_ = entry;
  Refresh();
}

void CChildView::SetStaleNote(const std::string& note) {
  staleNote_ = note;
  Refresh();
}

void CChildView::OnPaint(wxPaintEvent&) {
  // A paint handler must validate the area even when it draws nothing; the background
  // erase fills it with the window colour.
  wxPaintDC dc(this);
  const wxSize size = GetClientSize();
  if (shapeFile_.empty() || size.GetWidth() < kSmallestSheet || size.GetHeight() < kSmallestSheet) {
    return;
  }
#ifdef KORVEX_HAVE_PREVIEW
  std::string error;
  korvex::SheetFrame frame;
  frame.zoom = viewport_.Zoom();
  frame.shiftX = viewport_.ShiftX();
  frame.shiftY = viewport_.ShiftY();
  frame.minLabelSize = kMinLabelPixels;
  cairo_surface_t* surface = korvex::RenderShapeFileSheet(
      shapeFile_, size.GetWidth(), size.GetHeight(), error, leftOut_.get(), highlight_, frame);
  if (surface == nullptr) {
    dc.DrawText(wxString::FromUTF8(error), kNoteMargin, kNoteMargin);
    return;
  }
  if (!staleNote_.empty()) FadeSurface(surface);
  dc.DrawBitmap(wxBitmap(ImageOfSurface(surface)), 0, 0);
  cairo_surface_destroy(surface);
  ++sheetsDrawn_;
  if (!staleNote_.empty()) {
    // On a band of its own, so that it reads over any part of the sheet.
    const wxString note = wxString::FromUTF8(staleNote_);
    const wxSize extent = dc.GetTextExtent(note);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(wxColour(255, 243, 205)));
    dc.DrawRectangle(0, 0, size.GetWidth(), extent.GetHeight() + 2 * kNoteMargin);
    dc.SetTextForeground(wxColour(102, 77, 3));
    dc.DrawText(note, kNoteMargin, kNoteMargin);
  }
#else
  dc.DrawText("This build draws no previews (it was built without cairo).", kNoteMargin,
              kNoteMargin);
#endif
}

void CChildView::OnSize(wxSizeEvent& event) {
  const wxSize size = GetClientSize();
  viewport_.Keep(size.GetWidth(), size.GetHeight());
  event.Skip();
}

void CChildView::OnMouseWheel(wxMouseEvent& event) {
  if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL || event.GetWheelDelta() <= 0) {
    event.Skip();
    return;
  }
  wheelRemainder_ += event.GetWheelRotation();
  const int steps = wheelRemainder_ / event.GetWheelDelta();
  wheelRemainder_ -= steps * event.GetWheelDelta();
  if (steps == 0 || shapeFile_.empty()) return;
  const wxSize size = GetClientSize();
  viewport_.ZoomAt(event.GetX(), event.GetY(), steps, size.GetWidth(), size.GetHeight());
  Refresh();
}

void CChildView::OnLeftDown(wxMouseEvent& event) {
  SetFocus();  // the keys act on the sheet the user clicked
  if (shapeFile_.empty()) return;
  dragging_ = true;
  dragFrom_ = event.GetPosition();
  SetCursor(wxCursor(wxCURSOR_HAND));
  CaptureMouse();
}

void CChildView::OnLeftUp(wxMouseEvent&) {
  EndDrag();
}

void CChildView::OnMotion(wxMouseEvent& event) {
  if (!dragging_) return;
  const wxPoint to = event.GetPosition();
  const wxSize size = GetClientSize();
  viewport_.PanBy(to.x - dragFrom_.x, to.y - dragFrom_.y, size.GetWidth(), size.GetHeight());
  dragFrom_ = to;
  Refresh();
}

void CChildView::OnCaptureLost(wxMouseCaptureLostEvent&) {
  // The capture is gone already (another window took it): only the drag ends.
  dragging_ = false;
  SetCursor(wxNullCursor);
}

void CChildView::EndDrag() {
  if (!dragging_) return;
  dragging_ = false;
  SetCursor(wxNullCursor);
  if (HasCapture()) ReleaseMouse();
}

void CChildView::OnKeyDown(wxKeyEvent& event) {
  const wxSize size = GetClientSize();
  const double width = size.GetWidth();
  const double height = size.GetHeight();
  const double panX = width * kArrowPanShare;
  const double panY = height * kArrowPanShare;
  switch (event.GetKeyCode()) {
    case '+':
    case '=':
    case WXK_NUMPAD_ADD:
      viewport_.ZoomAt(width / 2, height / 2, 1, width, height);
      break;
    case '-':
    case WXK_NUMPAD_SUBTRACT:
      viewport_.ZoomAt(width / 2, height / 2, -1, width, height);
      break;
    case '0':
    case WXK_NUMPAD0:
    case WXK_HOME:
      viewport_.Reset();
      break;
    // An arrow shows more of the sheet on its side: the sheet moves the other way.
    case WXK_LEFT:
      viewport_.PanBy(panX, 0, width, height);
      break;
    case WXK_RIGHT:
      viewport_.PanBy(-panX, 0, width, height);
      break;
    case WXK_UP:
      viewport_.PanBy(0, panY, width, height);
      break;
    case WXK_DOWN:
      viewport_.PanBy(0, -panY, width, height);
      break;
    default:
      event.Skip();
      return;
  }
  Refresh();
}
