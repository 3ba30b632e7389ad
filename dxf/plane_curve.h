// A curve of the plane given by a parameter: an ellipse or elliptical arc, or a spline (a
// NURBS curve). ELLIPSE and SPLINE entities give them, and so does an arc or circle of a
// block placed with a scale that differs between x and y. Pure computation; the spline's
// poles and knots stay in the tables of whoever made it.
#pragma once

#include <cstdint>

#include "dxf/arc_geometry.h"

namespace korvex {

// The highest degree of a spline Korvex draws; CAD programs write 1 to 11.
inline constexpr int kMaxSplineDegree = 11;

// A spline's control point and its weight (1 for a spline that is not rational).
struct SplinePole {
  double x;
  double y;
  double w;
};

enum class CurveForm : std::uint8_t { kEllipse, kSpline };

struct PlaneCurve {
  CurveForm form;
  // Ellipse: centre + u cos t + v sin t, t in radians. u and v are conjugate half diameters
  // (for an ELLIPSE, the major axis and the minor one at a right angle to it).
  PlanePoint centre;
  PlanePoint u;
  PlanePoint v;
  // Spline: poleCount poles and poleCount + degree + 1 knots, not decreasing.
  int degree;
  int poleCount;
  const SplinePole* poles;
  const double* knots;
  // The parameter runs from t0 to t1 (t0 < t1).
  double t0;
  double t1;
  bool closed;  // the curve ends where it starts
};

// An ellipse's curve from parameter t0 to t1 (radians; t1 above t0).
PlaneCurve EllipseCurve(PlanePoint centre, PlanePoint u, PlanePoint v, double t0, double t1);

// A spline's curve over its whole domain, from the knot at `degree` to the one at poleCount.
PlaneCurve SplineCurve(int degree, int poleCount, const SplinePole* poles, const double* knots);

// The point at parameter t, t within the curve's range.
PlanePoint CurvePoint(const PlaneCurve& curve, double t);

}  // namespace korvex
