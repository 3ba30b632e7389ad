// The view's zoom and pan: the wheel zooms about the pointer, dragging moves the sheet no
// further than it reaches, and the whole sheet comes back centred.
#include "app/sheet_viewport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvex::shell {
namespace {

constexpr double kWidth = 800;
constexpr double kHeight = 600;

// Where a point of the sheet, given in units of the fitting sheet from its centre, lies in
// the view.
double ViewX(const SheetViewport& v, double sheetX) {
  return kWidth / 2 + v.ShiftX() + sheetX * v.Zoom();
}
double ViewY(const SheetViewport& v, double sheetY) {
  return kHeight / 2 + v.ShiftY() + sheetY * v.Zoom();
}

TEST(SheetViewportTest, StartsWithTheWholeSheetCentred) {
  const SheetViewport viewport;
  EXPECT_EQ(viewport.Zoom(), 1);
  EXPECT_EQ(viewport.ShiftX(), 0);
  EXPECT_EQ(viewport.ShiftY(), 0);
}

// The point of the sheet under the pointer stays under it, wherever the pointer is.
TEST(SheetViewportTest, TheWheelZoomsAboutThePointer) {
  const struct {
    double x, y;
    int steps;
  } cases[] = {{400, 300, 1}, {700, 550, 2}, {350, 50, 3}, {520, 310, 1}};
  SheetViewport viewport;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    const double sheetX = (c.x - kWidth / 2 - viewport.ShiftX()) / viewport.Zoom();
    const double sheetY = (c.y - kHeight / 2 - viewport.ShiftY()) / viewport.Zoom();
    const double zoom = viewport.Zoom();
    viewport.ZoomAt(c.x, c.y, c.steps, kWidth, kHeight);
    EXPECT_DOUBLE_EQ(viewport.Zoom(), zoom * std::pow(SheetViewport::kZoomStep, c.steps));
    EXPECT_NEAR(ViewX(viewport, sheetX), c.x, 1e-9);
    EXPECT_NEAR(ViewY(viewport, sheetY), c.y, 1e-9);
  }
}

TEST(SheetViewportTest, ZoomStaysWithinItsLimits) {
  SheetViewport viewport;
  viewport.ZoomAt(100, 100, -3, kWidth, kHeight);
  EXPECT_EQ(viewport.Zoom(), SheetViewport::kMinZoom);
  EXPECT_EQ(viewport.ShiftX(), 0) << "the whole sheet is centred";
  EXPECT_EQ(viewport.ShiftY(), 0);
  viewport.ZoomAt(100, 100, 40, kWidth, kHeight);
  EXPECT_EQ(viewport.Zoom(), SheetViewport::kMaxZoom);
  // Zoomed out again from anywhere: centred once more.
  viewport.ZoomAt(790, 10, -40, kWidth, kHeight);
  EXPECT_EQ(viewport.Zoom(), SheetViewport::kMinZoom);
  EXPECT_EQ(viewport.ShiftX(), 0);
  EXPECT_EQ(viewport.ShiftY(), 0);
}

// Zoomed in, the sheet covers the view: no edge of it comes inside.
TEST(SheetViewportTest, DraggingMovesTheSheetAsFarAsItReaches) {
  SheetViewport viewport;
  viewport.PanBy(50, 50, kWidth, kHeight);
  EXPECT_EQ(viewport.ShiftX(), 0) << "the whole sheet has nowhere to go";
  EXPECT_EQ(viewport.ShiftY(), 0);

  viewport.ZoomAt(400, 300, 3, kWidth, kHeight);  // side 600 x 1.953 = 1171.9
  const double side = kHeight * viewport.Zoom();
  viewport.PanBy(30, -20, kWidth, kHeight);
  EXPECT_DOUBLE_EQ(viewport.ShiftX(), 30);
  EXPECT_DOUBLE_EQ(viewport.ShiftY(), -20);
  viewport.PanBy(10000, 10000, kWidth, kHeight);
  EXPECT_DOUBLE_EQ(viewport.ShiftX(), (side - kWidth) / 2) << "left edge at the view's left";
  EXPECT_DOUBLE_EQ(viewport.ShiftY(), (side - kHeight) / 2);
  viewport.PanBy(-20000, -20000, kWidth, kHeight);
  EXPECT_DOUBLE_EQ(viewport.ShiftX(), -(side - kWidth) / 2);
  EXPECT_DOUBLE_EQ(viewport.ShiftY(), -(side - kHeight) / 2);

  // A wider view leaves less to reach.
  viewport.Keep(1160, kHeight);
  EXPECT_DOUBLE_EQ(viewport.ShiftX(), -(side - 1160) / 2);
  EXPECT_DOUBLE_EQ(viewport.ShiftY(), -(side - kHeight) / 2);
  viewport.Reset();
  EXPECT_EQ(viewport.Zoom(), 1);
  EXPECT_EQ(viewport.ShiftX(), 0);
  EXPECT_EQ(viewport.ShiftY(), 0);
}

}  // namespace
}  // namespace korvex::shell
