// Zoom and pan of the sheet in the view.
#include "app/sheet_viewport.h"

#include <algorithm>
#include <cmath>

namespace korvex::shell {
namespace {

// The shift of the sheet's centre that keeps a sheet of side `side` covering a view of
// `extent`, or centred when it is smaller.
double Limited(double shift, double side, double extent) {
  const double reach = std::max(0.0, (side - extent) / 2);
  return std::clamp(shift, -reach, reach);
}

}  // namespace

void SheetViewport::ZoomAt(double x, double y, int steps, double width, double height) {
  const double zoom = std::clamp(zoom_ * std::pow(kZoomStep, steps), kMinZoom, kMaxZoom);
  // The point under (x, y), from the sheet's centre, in units of the fitting sheet.
  const double sheetX = (x - width / 2 - shiftX_) / zoom_;
  const double sheetY = (y - height / 2 - shiftY_) / zoom_;
  zoom_ = zoom;
  shiftX_ = x - width / 2 - sheetX * zoom_;
  shiftY_ = y - height / 2 - sheetY * zoom_;
  Keep(width, height);
}

void SheetViewport::PanBy(double dx, double dy, double width, double height) {
  const double side = std::min(width, height) * zoom_;
  shiftX_ = Limited(shiftX_ + dx, side, width);
  shiftY_ = Limited(shiftY_ + dy, side, height);
}

void SheetViewport::Reset() {
  zoom_ = kMinZoom;
  shiftX_ = 0;
  shiftY_ = 0;
}

}  // namespace korvex::shell
