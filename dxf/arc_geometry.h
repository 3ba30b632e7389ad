// Plane geometry of arcs, circles and polyline bulges: points on an arc, an arc's bounding
// box, the cell tests for arcs and circles, and the arc that a bulge describes between two
// vertices. Pure computation in double precision over one fixed working record; nothing
// here reads files or allocates.
//
// Angles in records and DXF groups are degrees, counter-clockwise from the positive x
// axis; radians appear only inside the bulge computations.
#pragma once

#include <cstdint>

#include "sheet/geometry.h"

namespace korvex {

// How far half a chord may exceed the radius and still be taken as a diameter.
inline constexpr double kChordTolerance = 0.002;

struct PlanePoint {
  double x;
  double y;
};

struct ArcBox {
  double maxX;
  double minX;
  double maxY;
  double minY;
};

// The working record of the bulge computations, shared by BulgeArc, CentreFromChord and
// the polyline capture. It lives for the whole run and is never cleared: the caller sets
// the radius to 0 before each arc segment so that BulgeArc computes it. Written only
// through the functions below; read through CurrentBulgeArc.
struct BulgeArcState {
  double radius;  // 0 or less: not yet computed
  double centreX;
  double centreY;
  double startAngle;  // degrees, 0 to 360
  double endAngle;
};

const BulgeArcState& CurrentBulgeArc();

// The radius BulgeArc and CentreFromChord work with; 0 lets BulgeArc compute it.
void SetBulgeArcRadius(double radius);

// The centre AngleFromCentre measures from.
void SetBulgeArcCentre(double centreX, double centreY);

// A whole arc known by its radius and centre: the angles of its two ends are measured
// from that centre.
void PlaceBulgeArc(double radius, double centreX, double centreY, double x1, double y1, double x2,
                   double y2);

// (cx + r cos a, cy + r sin a), a in degrees.
PlanePoint PointOnArc(double cx, double cy, double r, double a);

// The extent of the counter-clockwise arc from a1 to a2 (degrees, used as given: a1 > a2
// means the arc runs through 0).
ArcBox ArcBoundingBox(double cx, double cy, double r, double a1, double a2);

// The cell whose box holds the whole arc (end points in whole units, box from
// ArcBoundingBox), each edge widened by 0.5; 0 when none or when the ends coincide.
std::int16_t ArcCell(std::int16_t sx, std::int16_t sy, std::int16_t ex, std::int16_t ey,
                     const ArcBox& box);

// The cell of a circle given by its truncated centre and radius; 0 when none. In y the
// circle must stay 0.5 inside the box, in x it may reach 0.5 beyond it.
std::int16_t CircleCell(std::int16_t cx, std::int16_t cy, std::int16_t r);

double PointDistance(double x1, double y1, double x2, double y2);

// Direction from the first point to the second, radians in 0 to 2 pi; 0 for one point.
double ChordDirection(double x1, double y1, double x2, double y2);

// Degrees in 0 to 360 of the point seen from the bulge arc's centre; the centre itself,
// which has no direction, gives 0.
double AngleFromCentre(double px, double py);

// Puts the bulge arc's centre on the left of the chord, at bulgeArc.radius from both
// ends. False, with the centre unchanged, when half the chord exceeds the radius by more
// than kChordTolerance (no circle of that radius passes through both ends).
bool CentreFromChord(double x1, double y1, double x2, double y2);

// Fills the bulge arc for the counter-clockwise arc from (x1, y1) to (x2, y2) whose
// included angle is 4 atan(|bulge|). A radius set beforehand is used unchanged.
void BulgeArc(double bulge, double x1, double y1, double x2, double y2);

// For |bulge| > 1: the point of the arc's circle opposite the start point, unrounded, and
// the arc's radius; the whole arc's centre is the midpoint of the start and that point.
// False when the chord is 0 or |bulge| is not above 1 (no such point on the arc).
bool OppositePoint(double x1, double y1, double x2, double y2, double bulge, PlanePoint& opposite,
                   double& radius);

}  // namespace korvex
