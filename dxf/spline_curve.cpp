#include "dxf/spline_curve.h"

#include <cmath>

namespace korvex {
namespace {

// The curve's own tables. A fit-point spline becomes one cubic Bezier piece per span between
// fit points: three poles a span and one more.
constexpr int kMaxCurvePoles = 3 * kMaxSplinePoints + kMaxSplineDegree + 1;
constexpr int kMaxCurveKnots = kMaxCurvePoles + kMaxSplineDegree + 1;

struct SplineTables {
  SplinePole poles[kMaxCurvePoles];
  double knots[kMaxCurveKnots];
  // The fit-point cubic: parameters, the points without repeats, the derivatives and the
  // solver's working rows.
  double parameters[kMaxSplinePoints + 1];
  PlanePoint points[kMaxSplinePoints + 1];
  PlanePoint derivatives[kMaxSplinePoints + 1];
  PlanePoint right[kMaxSplinePoints + 1];
  PlanePoint second[kMaxSplinePoints + 1];
  double sub[kMaxSplinePoints + 1];
  double diagonal[kMaxSplinePoints + 1];
  double super[kMaxSplinePoints + 1];
  double scratch[kMaxSplinePoints + 1];
  double lengths[kMaxSplinePoints + 1];  // of the spans between fit points
};

SplineTables tables;

bool Finite(double value) {
  return std::isfinite(value);
}

double Distance(PlanePoint a, PlanePoint b) {
  return std::hypot(b.x - a.x, b.y - a.y);
}

PlanePoint Minus(PlanePoint a, PlanePoint b) {
  return {a.x - b.x, a.y - b.y};
}

// Solves the tridiagonal rows (sub, diagonal, super) for the right-hand sides, in place in
// `right`, the Thomas way; `scratch` holds the eliminated super diagonal. The rows of a
// spline's derivatives are diagonally dominant: no pivoting is needed.
void SolveTridiagonal(int count, const double* sub, const double* diagonal, const double* super,
                      PlanePoint* right, double* scratch) {
  scratch[0] = super[0] / diagonal[0];
  right[0] = {right[0].x / diagonal[0], right[0].y / diagonal[0]};
  for (int i = 1; i < count; ++i) {
    const double pivot = diagonal[i] - sub[i] * scratch[i - 1];
    scratch[i] = i + 1 < count ? super[i] / pivot : 0;
    right[i] = {(right[i].x - sub[i] * right[i - 1].x) / pivot,
                (right[i].y - sub[i] * right[i - 1].y) / pivot};
  }
  for (int i = count - 2; i >= 0; --i) {
    right[i] = {right[i].x - scratch[i] * right[i + 1].x, right[i].y - scratch[i] * right[i + 1].y};
  }
}

// The fit points without consecutive repeats (a closed spline's repeated first point at the
// end among them), and their chord-length parameters.
int DistinctFitPoints(const SplineGroups& spline, bool closed) {
  int count = 0;
  for (int i = 0; i < spline.fitCount; ++i) {
    const PlanePoint p = spline.fits[i];
    if (count > 0 && p.x == tables.points[count - 1].x && p.y == tables.points[count - 1].y) {
      continue;
    }
    tables.points[count++] = p;
  }
  if (closed && count > 1 && tables.points[0].x == tables.points[count - 1].x &&
      tables.points[0].y == tables.points[count - 1].y) {
    --count;
  }
  return count;
}

// The derivatives at the fit points of the C2 cubic through them, parameters by chord
// length. Open: the given end tangents (unit length, the parameter being a length) or no
// bending at an end. Closed: every row wraps round, solved as a cyclic system.
bool FitPointDerivatives(const SplineGroups& spline, int count, bool closed) {
  const PlanePoint* q = tables.points;
  double* lengths = tables.lengths;
  const int spans = closed ? count : count - 1;
  for (int i = 0; i < spans; ++i) {
    lengths[i] = Distance(q[i], q[(i + 1) % count]);
    if (!(lengths[i] > 0) || !Finite(lengths[i])) return false;
  }
  const auto row = [&](int i, int before, int after) {
    const double hb = lengths[before];
    const double ha = lengths[i];
    const PlanePoint back = Minus(q[i], q[before]);
    const PlanePoint ahead = Minus(q[after], q[i]);
    tables.sub[i] = ha;
    tables.diagonal[i] = 2 * (hb + ha);
    tables.super[i] = hb;
    tables.right[i] = {3 * (ha / hb * back.x + hb / ha * ahead.x),
                       3 * (ha / hb * back.y + hb / ha * ahead.y)};
  };
  if (!closed) {
    const int n = count - 1;
    for (int i = 1; i < n; ++i) row(i, i - 1, i + 1);
    const PlanePoint first = Minus(q[1], q[0]);
    const PlanePoint last = Minus(q[n], q[n - 1]);
    const double t0 = std::hypot(spline.startTangent.x, spline.startTangent.y);
    const double t1 = std::hypot(spline.endTangent.x, spline.endTangent.y);
    tables.sub[0] = 0;
    if (spline.hasStartTangent && t0 > 0) {
      tables.diagonal[0] = 1;
      tables.super[0] = 0;
      tables.right[0] = {spline.startTangent.x / t0, spline.startTangent.y / t0};
    } else {
      tables.diagonal[0] = 2;
      tables.super[0] = 1;
      tables.right[0] = {3 * first.x / lengths[0], 3 * first.y / lengths[0]};
    }
    tables.super[n] = 0;
    if (spline.hasEndTangent && t1 > 0) {
      tables.sub[n] = 0;
      tables.diagonal[n] = 1;
      tables.right[n] = {spline.endTangent.x / t1, spline.endTangent.y / t1};
    } else {
      tables.sub[n] = 1;
      tables.diagonal[n] = 2;
      tables.right[n] = {3 * last.x / lengths[n - 1], 3 * last.y / lengths[n - 1]};
    }
    SolveTridiagonal(count, tables.sub, tables.diagonal, tables.super, tables.right,
                     tables.scratch);
  } else {
    for (int i = 0; i < count; ++i) row(i, (i + count - 1) % count, (i + 1) % count);
    // Sherman-Morrison: the corners (row 0's sub, the last row's super) taken out as a
    // product of two vectors, two tridiagonal solves, and the correction.
    const double beta = tables.sub[0];             // row 0, column count - 1
    const double alpha = tables.super[count - 1];  // row count - 1, column 0
    const double gamma = -tables.diagonal[0];
    tables.diagonal[0] -= gamma;
    tables.diagonal[count - 1] -= alpha * beta / gamma;
    for (int i = 0; i < count; ++i) tables.second[i] = {0, 0};
    tables.second[0] = {gamma, gamma};
    tables.second[count - 1] = {alpha, alpha};
    SolveTridiagonal(count, tables.sub, tables.diagonal, tables.super, tables.right,
                     tables.scratch);
    SolveTridiagonal(count, tables.sub, tables.diagonal, tables.super, tables.second,
                     tables.scratch);
    const PlanePoint* x = tables.right;
    const PlanePoint* z = tables.second;
    const double factorX =
        (x[0].x + beta * x[count - 1].x / gamma) / (1 + z[0].x + beta * z[count - 1].x / gamma);
    const double factorY =
        (x[0].y + beta * x[count - 1].y / gamma) / (1 + z[0].y + beta * z[count - 1].y / gamma);
    for (int i = 0; i < count; ++i) {
      tables.right[i] = {x[i].x - factorX * z[i].x, x[i].y - factorY * z[i].y};
    }
  }
  double total = 0;
  tables.parameters[0] = 0;
  for (int i = 0; i < spans; ++i) {
    total += lengths[i];
    tables.parameters[i + 1] = total;
  }
  for (int i = 0; i < count; ++i) tables.derivatives[i] = tables.right[i];
  if (closed) tables.derivatives[count] = tables.derivatives[0];
  return true;
}

// The cubic through the fit points as Bezier pieces: knots of multiplicity 3 at every fit
// point (4 at the ends), poles a third of a span along the derivatives.
SplineProblem FitPointCurve(const SplineGroups& spline, PlaneCurve& curve) {
  const bool closed = (spline.flags & kSplineClosed) != 0;
  const int count = DistinctFitPoints(spline, closed);
  if (count < 2 || (closed && count < 3)) return SplineProblem::kTooFewPoints;
  if (!FitPointDerivatives(spline, count, closed)) return SplineProblem::kTooFewPoints;
  const int spans = closed ? count : count - 1;
  int pole = 0;
  int knot = 0;
  for (int k = 0; k < 4; ++k) tables.knots[knot++] = tables.parameters[0];
  for (int i = 0; i < spans; ++i) {
    const PlanePoint a = tables.points[i];
    const PlanePoint b = tables.points[(i + 1) % count];
    const double third = (tables.parameters[i + 1] - tables.parameters[i]) / 3;
    const PlanePoint da = tables.derivatives[i];
    const PlanePoint db = tables.derivatives[i + 1];
    tables.poles[pole++] = {a.x, a.y, 1};
    tables.poles[pole++] = {a.x + third * da.x, a.y + third * da.y, 1};
    tables.poles[pole++] = {b.x - third * db.x, b.y - third * db.y, 1};
    const int multiplicity = i + 1 < spans ? 3 : 4;
    for (int k = 0; k < multiplicity; ++k) tables.knots[knot++] = tables.parameters[i + 1];
  }
  const PlanePoint last = tables.points[spans % count];
  tables.poles[pole++] = {last.x, last.y, 1};
  curve = SplineCurve(3, pole, tables.poles, tables.knots);
  return SplineProblem::kNone;
}

SplineProblem ControlPointCurve(const SplineGroups& spline, PlaneCurve& curve) {
  const int p = spline.degree;
  const int n = spline.controlCount;
  if (spline.weightCount != 0 && spline.weightCount != n) return SplineProblem::kWeights;
  for (int i = 0; i < spline.weightCount; ++i) {
    if (!(spline.weights[i] > 0) || !Finite(spline.weights[i])) return SplineProblem::kWeights;
  }
  for (int i = 0; i < n; ++i) {
    const double w = spline.weightCount != 0 ? spline.weights[i] : 1;
    tables.poles[i] = {spline.controls[i].x, spline.controls[i].y, w};
  }
  int poleCount = n;
  const int knotCount = spline.knotCount;
  if (knotCount == n + p + 1) {
    for (int i = 0; i < knotCount; ++i) tables.knots[i] = spline.knots[i];
  } else if ((spline.flags & kSplinePeriodic) != 0 && knotCount == n + 1) {
    // One knot more than poles: the periodic form. Its first poles come again at the end,
    // and its knots go on a period further at both ends.
    const double period = spline.knots[n] - spline.knots[0];
    for (int i = 0; i < p; ++i) tables.poles[n + i] = tables.poles[i];
    poleCount = n + p;
    for (int i = 0; i < poleCount + p + 1; ++i) {
      const int k = i - p;  // the knot's index in the periodic sequence
      const int turns = k >= 0 ? k / n : -((-k + n - 1) / n);
      tables.knots[i] = spline.knots[k - turns * n] + turns * period;
    }
  } else {
    return SplineProblem::kKnots;
  }
  for (int i = 0; i + 1 < poleCount + p + 1; ++i) {
    if (!Finite(tables.knots[i]) || tables.knots[i + 1] < tables.knots[i]) {
      return SplineProblem::kKnots;
    }
  }
  if (!(tables.knots[p] < tables.knots[poleCount])) return SplineProblem::kKnots;
  curve = SplineCurve(p, poleCount, tables.poles, tables.knots);
  return SplineProblem::kNone;
}

}  // namespace

SplineProblem MakeSplineCurve(const SplineGroups& spline, PlaneCurve& curve) {
  if (spline.controlCount == 0 && spline.fitCount > 0) return FitPointCurve(spline, curve);
  if (spline.degree < 1 || spline.degree > kMaxSplineDegree) return SplineProblem::kDegree;
  if (spline.controlCount < spline.degree + 1) return SplineProblem::kTooFewPoints;
  return ControlPointCurve(spline, curve);
}

}  // namespace korvex
