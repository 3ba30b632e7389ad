#include "dxf/plane_curve.h"

#include <cmath>

namespace korvex {
namespace {

// The span k of the knots with knots[k] <= t < knots[k + 1], degree <= k < poleCount; the
// end of the domain belongs to the last span that has a length.
int KnotSpan(const PlaneCurve& curve, double t) {
  const int p = curve.degree;
  const int n = curve.poleCount;
  const double* knots = curve.knots;
  if (t >= knots[n]) {
    int k = n - 1;
    while (k > p && !(knots[k] < knots[k + 1])) --k;
    return k;
  }
  if (t <= knots[p]) {
    int k = p;
    while (k < n - 1 && !(knots[k] < knots[k + 1])) ++k;
    return k;
  }
  int low = p;
  int high = n;
  while (high - low > 1) {
    const int middle = (low + high) / 2;
    if (t < knots[middle]) {
      high = middle;
    } else {
      low = middle;
    }
  }
  return low;
}

// De Boor's algorithm in homogeneous coordinates, so that weights come out right.
PlanePoint SplinePoint(const PlaneCurve& curve, double t) {
  const int p = curve.degree;
  const int k = KnotSpan(curve, t);
  const double* knots = curve.knots;
  double wx[kMaxSplineDegree + 1];
  double wy[kMaxSplineDegree + 1];
  double w[kMaxSplineDegree + 1];
  for (int j = 0; j <= p; ++j) {
    const SplinePole& pole = curve.poles[k - p + j];
    wx[j] = pole.x * pole.w;
    wy[j] = pole.y * pole.w;
    w[j] = pole.w;
  }
  for (int r = 1; r <= p; ++r) {
    for (int j = p; j >= r; --j) {
      const int i = k - p + j;
      const double span = knots[i + p - r + 1] - knots[i];
      const double alpha = span > 0 ? (t - knots[i]) / span : 0;
      wx[j] = (1 - alpha) * wx[j - 1] + alpha * wx[j];
      wy[j] = (1 - alpha) * wy[j - 1] + alpha * wy[j];
      w[j] = (1 - alpha) * w[j - 1] + alpha * w[j];
    }
  }
  return {wx[p] / w[p], wy[p] / w[p]};
}

}  // namespace

PlaneCurve EllipseCurve(PlanePoint centre, PlanePoint u, PlanePoint v, double t0, double t1) {
  PlaneCurve curve = {};
  curve.form = CurveForm::kEllipse;
  curve.centre = centre;
  curve.u = u;
  curve.v = v;
  curve.t0 = t0;
  curve.t1 = t1;
  // A whole turn ends where it starts; the end point is then the start point itself.
  curve.closed = t1 - t0 >= kTwoPi;
  return curve;
}

PlaneCurve SplineCurve(int degree, int poleCount, const SplinePole* poles, const double* knots) {
  PlaneCurve curve = {};
  curve.form = CurveForm::kSpline;
  curve.degree = degree;
  curve.poleCount = poleCount;
  curve.poles = poles;
  curve.knots = knots;
  curve.t0 = knots[degree];
  curve.t1 = knots[poleCount];
  const PlanePoint start = CurvePoint(curve, curve.t0);
  const PlanePoint end = CurvePoint(curve, curve.t1);
  curve.closed = start.x == end.x && start.y == end.y;
  return curve;
}

PlanePoint CurvePoint(const PlaneCurve& curve, double t) {
  if (curve.form == CurveForm::kSpline) return SplinePoint(curve, t);
  // The whole turn's end is its start, exactly: a closed ellipse closes on the unit.
  if (curve.closed && t >= curve.t1) t = curve.t0;
  const double c = std::cos(t);
  const double s = std::sin(t);
  return {curve.centre.x + curve.u.x * c + curve.v.x * s,
          curve.centre.y + curve.u.y * c + curve.v.y * s};
}

}  // namespace korvex
