// The curve of a SPLINE entity as its groups give it: by control points, knots and weights,
// or, when a file gives only those, by fit points, which the curve passes through. Made into
// a PlaneCurve over fixed tables of its own; nothing here reads files.
#pragma once

#include <cstdint>

#include "dxf/plane_curve.h"

namespace korvex {

// The most control points, or fit points, of one SPLINE. A symbol in a 100-unit box needs
// far fewer; a spline with more is left out whole, since a part of it is another curve.
inline constexpr int kMaxSplinePoints = 1024;
inline constexpr int kMaxSplineKnots = kMaxSplinePoints + kMaxSplineDegree + 1;

// The bits of a SPLINE's group 70.
inline constexpr int kSplineClosed = 1;
inline constexpr int kSplinePeriodic = 2;

// A SPLINE as its groups give it, in the drawing's units. The arrays belong to the caller.
struct SplineGroups {
  int flags;
  int degree;
  int knotCount;
  int controlCount;
  int weightCount;  // 0 when every weight is 1
  int fitCount;
  const double* knots;
  const PlanePoint* controls;
  const double* weights;
  const PlanePoint* fits;
  bool hasStartTangent;
  bool hasEndTangent;
  PlanePoint startTangent;  // directions at the first and last fit point
  PlanePoint endTangent;
};

// Why the groups make no curve; kNone when they do.
enum class SplineProblem : std::uint8_t {
  kNone,
  kDegree,       // a degree outside 1 to kMaxSplineDegree
  kKnots,        // knots that do not match the control points, or that decrease
  kWeights,      // weights that are not all above 0, or not one per control point
  kTooFewPoints  // fewer control points than the degree needs, and fewer than 2 fit points
};

// The spline's curve, its poles and knots in this module's tables, valid until the next
// spline is made. Control points win over fit points when a file gives both. A periodic
// spline given with one knot more than control points is unwrapped into the common form.
// Fit points alone are joined by the cubic through them that CAD programs draw: chord-length
// parameters, second derivatives continuous, the end tangents when given (else no bending at
// the ends), and for a closed spline continuous all round.
SplineProblem MakeSplineCurve(const SplineGroups& spline, PlaneCurve& curve);

}  // namespace korvex
