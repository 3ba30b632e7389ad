#include "dxf/arc_geometry.h"

#include <cmath>

#include "sheet/cell_grid.h"

namespace korvex {

namespace {

BulgeArcState bulgeArc = {};

// Whether the counter-clockwise arc from a1 to a2 passes the direction q (degrees).
bool PassesDirection(double a1, double a2, double q) {
  if (a1 <= q) return a2 >= q || a1 > a2;
  return a1 > a2 && a2 >= q;
}

}  // namespace

const BulgeArcState& CurrentBulgeArc() {
  return bulgeArc;
}

void SetBulgeArcRadius(double radius) {
  bulgeArc.radius = radius;
}

void SetBulgeArcCentre(double centreX, double centreY) {
  bulgeArc.centreX = centreX;
  bulgeArc.centreY = centreY;
}

void PlaceBulgeArc(double radius, double centreX, double centreY, double x1, double y1, double x2,
                   double y2) {
  bulgeArc.radius = radius;
  SetBulgeArcCentre(centreX, centreY);
  bulgeArc.startAngle = AngleFromCentre(x1, y1);
  bulgeArc.endAngle = AngleFromCentre(x2, y2);
}

PlanePoint PointOnArc(double cx, double cy, double r, double a) {
  const double t = a / 180 * kPi;
  return {cx + r * std::cos(t), cy + r * std::sin(t)};
}

ArcBox ArcBoundingBox(double cx, double cy, double r, double a1, double a2) {
  const PlanePoint start = PointOnArc(cx, cy, r, a1);
  const PlanePoint end = PointOnArc(cx, cy, r, a2);
  ArcBox box;
  box.maxX = start.x > end.x ? start.x : end.x;
  box.minX = start.x > end.x ? end.x : start.x;
  box.maxY = start.y > end.y ? start.y : end.y;
  box.minY = start.y > end.y ? end.y : start.y;
  // Where the arc passes an axis direction its extreme lies there, not at an end point.
  if (PassesDirection(a1, a2, 90)) box.maxY = cy + r;
  if (PassesDirection(a1, a2, 180)) box.minX = cx - r;
  if (PassesDirection(a1, a2, 270)) box.minY = cy - r;
  if (a1 == 0 || (a1 > a2 && a2 >= 0)) box.maxX = cx + r;
  return box;
}

std::int16_t ArcCell(std::int16_t sx, std::int16_t sy, std::int16_t ex, std::int16_t ey,
                     const ArcBox& box) {
  // An arc of 0 or 360 degrees: nothing to draw between two equal points.
  if (sx == ex && sy == ey) return 0;
  const std::int16_t n = CellOfPoint(sx, sy);
  if (CellOfPoint(ex, ey) != n || !IsCellNumber(n)) return 0;
  const CellBox cell = CellBoxOf(n);
  const bool inside = cell.left <= box.minX + 0.5 && cell.right >= box.maxX - 0.5 &&
                      cell.bottom <= box.minY + 0.5 && cell.top >= box.maxY - 0.5;
  return inside ? n : 0;
}

std::int16_t CircleCell(std::int16_t cx, std::int16_t cy, std::int16_t r) {
  const std::int16_t n = CellOfPoint(cx, cy);
  if (!IsCellNumber(n)) return 0;
  const CellBox cell = CellBoxOf(n);
  const double x = cx;
  const double y = cy;
  const double radius = r;
  // In y the circle must keep 0.5 inside the box; in x it may reach 0.5 past the edges.
  const bool inside = cell.left <= x - radius + 0.5 && cell.right >= x + radius - 0.5 &&
                      cell.top >= y + radius + 0.5 && cell.bottom <= y - radius - 0.5;
  return inside ? n : 0;
}

double PointDistance(double x1, double y1, double x2, double y2) {
  if (x1 == x2) return std::fabs(y2 - y1);
  if (y1 == y2) return std::fabs(x2 - x1);
  return std::sqrt((y2 - y1) * (y2 - y1) + (x2 - x1) * (x2 - x1));
}

double ChordDirection(double x1, double y1, double x2, double y2) {
  if (x1 == x2 && y1 == y2) return 0;
  if (x1 == x2) return y2 > y1 ? kHalfPi : kThreeHalfPi;
  if (y1 == y2) return x2 > x1 ? 0 : kPi;
  const double a = std::atan(std::fabs((y2 - y1) / (x2 - x1)));
  if (x2 > x1) return y2 > y1 ? a : kTwoPi - a;
  return y2 > y1 ? kPi - a : kPi + a;
}

double AngleFromCentre(double px, double py) {
  const double cx = bulgeArc.centreX;
  const double cy = bulgeArc.centreY;
  if (px == cx && py == cy) return 0;
  const double t = px == cx ? 90 : std::atan(std::fabs((py - cy) / (px - cx))) * 180 / kPi;
  if (px >= cx && py >= cy) return t;
  if (px < cx && py >= cy) return 180 - t;
  if (px <= cx && py < cy) return 180 + t;
  return 360 - t;
}

bool CentreFromChord(double x1, double y1, double x2, double y2) {
  const double radius = bulgeArc.radius;
  const double direction = ChordDirection(x1, y1, x2, y2);
  const double halfChord = PointDistance(x1, y1, x2, y2) * 0.5;
  // Written so that a NaN radius fails as well.
  if (!(halfChord <= radius) && !(halfChord - radius <= kChordTolerance)) return false;
  // A chord longer than the diameter by at most the tolerance is taken as a diameter.
  const double offset = radius > halfChord ? std::sqrt(radius * radius - halfChord * halfChord) : 0;
  const double turn = halfChord != 0 ? std::atan(offset / halfChord) : kHalfPi;
  bulgeArc.centreX = x1 + radius * std::cos(direction + turn);
  bulgeArc.centreY = y1 + radius * std::sin(direction + turn);
  return true;
}

void BulgeArc(double bulge, double x1, double y1, double x2, double y2) {
  const double included = 4 * std::atan(std::fabs(bulge));
  if (!(bulgeArc.radius > 0)) {
    bulgeArc.radius = (PointDistance(x1, y1, x2, y2) * 0.5) / std::sin(included * 0.5);
  }
  CentreFromChord(x1, y1, x2, y2);
  bulgeArc.startAngle = AngleFromCentre(x1, y1);
  bulgeArc.endAngle = AngleFromCentre(x2, y2);
}

bool OppositePoint(double x1, double y1, double x2, double y2, double bulge, PlanePoint& opposite,
                   double& radius) {
  const double chord = PointDistance(x1, y1, x2, y2);
  if (!(chord > 0) || !(std::fabs(bulge) > 1)) return false;
  const double included = 4 * std::atan(std::fabs(bulge));
  radius = (chord * 0.5) / std::sin(included * 0.5);
  // Twice the distance from the centre to the chord; never negative in exact arithmetic.
  const double squared = 4 * radius * radius - chord * chord;
  const double across = squared > 0 ? std::sqrt(squared) : 0;
  const double ux = (x2 - x1) / chord;
  const double uy = (y2 - y1) / chord;
  // Going from the end point against the chord's left normal reaches the far side of the
  // circle: the arc of more than 180 degrees bulges to the right of its chord.
  opposite.x = x2 + across * uy;
  opposite.y = y2 - across * ux;
  return true;
}

}  // namespace korvex
