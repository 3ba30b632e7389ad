// How the main window's view frames the sheet: how far it is zoomed in, and where the
// sheet's centre lies from the view's centre after panning. Plain numbers in the view's
// pixels, so that the rules of the mouse wheel, of dragging and of the keys are tested
// without a display.
#pragma once

namespace korvex::shell {

class SheetViewport {
 public:
  static constexpr double kMinZoom = 1;  // the whole sheet fits the view
  // A cell then fills three quarters of the view's shorter side.
  static constexpr double kMaxZoom = 16;
  // One notch of the mouse wheel, or one press of + or -.
  static constexpr double kZoomStep = 1.25;

  double Zoom() const { return zoom_; }
  double ShiftX() const { return shiftX_; }
  double ShiftY() const { return shiftY_; }

  // Zooms by kZoomStep to the power of steps (negative: out), within kMinZoom to kMaxZoom,
  // about the point (x, y) of a width x height view: the point of the sheet under it stays
  // under it.
  void ZoomAt(double x, double y, int steps, double width, double height);
  // Moves the sheet by (dx, dy) pixels, as far as it reaches past the view: once it is
  // zoomed in, no edge of the sheet comes inside the view; fitting, it stays centred.
  void PanBy(double dx, double dy, double width, double height);
  // After the view was resized: the same limits as PanBy.
  void Keep(double width, double height) { PanBy(0, 0, width, height); }
  // Back to the whole sheet, centred.
  void Reset();

 private:
  double zoom_ = kMinZoom;
  double shiftX_ = 0;
  double shiftY_ = 0;
};

}  // namespace korvex::shell
