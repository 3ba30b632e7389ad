#include "dxf/curve_fit.h"

#include <algorithm>
#include <cmath>

#include "sheet/arc_bulge.h"
#include "sheet/cell_grid.h"
#include "sheet/whole_units.h"

namespace korvex {
namespace {

// The longest step between samples, and how far the curve may bend away from a step.
constexpr double kSampleStep = 0.5;
constexpr double kSampleBend = 0.01;
// Between two samples the curve may lie a little farther from an arc than the samples do: by
// its bend, and, inside the arc's circle, by the sagitta of a step (0.03 for a radius of 1).
constexpr double kBetweenSamples = 0.05;
// Halving the parameter this often gets below any step a double can hold.
constexpr int kMaxSampleDepth = 48;
// Coarse samples: per turn of an ellipse, and per knot span of a spline.
constexpr int kCoarseEllipseSamples = 64;
constexpr int kCoarseSpanSamples = 4;
constexpr int kMinCoarseSamples = 16;
constexpr int kMaxCoarseSamples = kMaxCurveSamples;

FittedCurve fit;

double Distance(PlanePoint a, PlanePoint b) {
  return std::hypot(b.x - a.x, b.y - a.y);
}

double Cross(double ax, double ay, double bx, double by) {
  return ax * by - ay * bx;
}

double DistanceToSegment(PlanePoint p, PlanePoint a, PlanePoint b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return Distance(p, {a.x + t * dx, a.y + t * dy});
}

// How far the point lies from the straight step between two others.
double Bend(PlanePoint p, PlanePoint a, PlanePoint b) {
  const double length = Distance(a, b);
  if (!(length > 0)) return Distance(p, a);
  return std::fabs(Cross(b.x - a.x, b.y - a.y, p.x - a.x, p.y - a.y)) / length;
}

void Extend(ArcBox& box, PlanePoint p) {
  box.minX = std::min(box.minX, p.x);
  box.maxX = std::max(box.maxX, p.x);
  box.minY = std::min(box.minY, p.y);
  box.maxY = std::max(box.maxY, p.y);
}

bool FinitePoint(PlanePoint p) {
  return std::isfinite(p.x) && std::isfinite(p.y);
}

// The parameters of the coarse samples: evenly over each knot span of a spline (its pieces
// may differ much in length), evenly over an ellipse.
int CoarseParameters(const PlaneCurve& curve, double* parameters, int capacity) {
  int count = 0;
  if (curve.form == CurveForm::kSpline) {
    int spans = 0;
    for (int k = curve.degree; k < curve.poleCount; ++k) {
      if (curve.knots[k] < curve.knots[k + 1]) ++spans;
    }
    int perSpan = std::max(kCoarseSpanSamples, kMinCoarseSamples / std::max(spans, 1));
    // A spline of very many spans gets fewer samples a span: the fine pass fills them in.
    if (spans * perSpan >= capacity) perSpan = std::max(1, (capacity - 1) / std::max(spans, 1));
    for (int k = curve.degree; k < curve.poleCount && count + perSpan < capacity; ++k) {
      const double a = curve.knots[k];
      const double b = curve.knots[k + 1];
      if (!(a < b)) continue;
      for (int i = 0; i < perSpan; ++i) parameters[count++] = a + (b - a) * i / perSpan;
    }
  } else {
    const double turns = (curve.t1 - curve.t0) / kTwoPi;
    const int steps = std::max(kMinCoarseSamples / 2,
                               static_cast<int>(kCoarseEllipseSamples * std::min(turns, 1.0)));
    for (int i = 0; i < steps; ++i) {
      parameters[count++] = curve.t0 + (curve.t1 - curve.t0) * i / steps;
    }
  }
  parameters[count++] = curve.t1;
  return count;
}

// An interval still to sample, from where the samples have got to up to tb.
struct Interval {
  double tb;
  PlanePoint pb;
  int depth;
};

// Adds the samples after a (already a sample) up to and including b, halving the interval
// until each step is short and straight. False when the table is full.
bool SampleBetween(const PlaneCurve& curve, double ta, PlanePoint pa, double tb, PlanePoint pb) {
  Interval stack[kMaxSampleDepth + 2];
  int top = 0;
  stack[top++] = {tb, pb, 0};
  double t = ta;
  PlanePoint p = pa;
  while (top > 0) {
    const Interval interval = stack[--top];
    const double tm = (t + interval.tb) / 2;
    const PlanePoint pm = CurvePoint(curve, tm);
    const bool rough =
        Distance(p, interval.pb) > kSampleStep || Bend(pm, p, interval.pb) > kSampleBend;
    if (rough && interval.depth < kMaxSampleDepth && tm > t && tm < interval.tb) {
      // The far half waits under the near one.
      stack[top++] = {interval.tb, interval.pb, interval.depth + 1};
      stack[top++] = {tm, pm, interval.depth + 1};
      continue;
    }
    if (fit.sampleCount + 2 > kMaxCurveSamples) return false;
    fit.samples[fit.sampleCount++] = {tm, pm};
    fit.samples[fit.sampleCount++] = {interval.tb, interval.pb};
    Extend(fit.box, pm);
    Extend(fit.box, interval.pb);
    t = interval.tb;
    p = interval.pb;
  }
  return true;
}

// The piece from sample i to sample j, if it is good enough: its fitted bulge and the bulge
// byte it is written with.
bool PieceFits(int i, int j, double& bulge, long& bulgeByte) {
  const CurveSample* s = fit.samples;
  const PlanePoint a = s[i].p;
  const PlanePoint b = s[j].p;
  std::int16_t ax, ay, bx, by;
  if (!RoundToWhole(a.x, ax) || !RoundToWhole(a.y, ay) || !RoundToWhole(b.x, bx) ||
      !RoundToWhole(b.y, by)) {
    return false;
  }
  if (ax == bx && ay == by) return false;
  bulge = ThreePointBulge(a, s[(i + j) / 2].p, b);
  static const double kMaxBulge = std::tan(kMaxFittedSweep / 4 / 180 * kPi);
  if (!(std::fabs(bulge) <= kMaxBulge)) return false;
  for (int k = i + 1; k < j; ++k) {
    if (DistanceToBulgeArc(s[k].p, a, b, bulge) > kFitTolerance - kBetweenSamples) return false;
  }
  // As written: between the whole-unit ends, with the byte of the fitted bulge, or failing
  // that with the byte of the arc through the whole-unit ends and the middle sample.
  const PlanePoint wa = {static_cast<double>(ax), static_cast<double>(ay)};
  const PlanePoint wb = {static_cast<double>(bx), static_cast<double>(by)};
  const double candidates[2] = {bulge, ThreePointBulge(wa, s[(i + j) / 2].p, wb)};
  for (const double candidate : candidates) {
    if (!(std::fabs(candidate) <= kMaxBulge)) continue;
    const double rounded = std::round(candidate * kMaxBulgeByte);
    const double written = rounded / kMaxBulgeByte;
    bool near = true;
    for (int k = i; k <= j && near; ++k) {
      near = DistanceToBulgeArc(s[k].p, wa, wb, written) <= kWrittenTolerance - kBetweenSamples;
    }
    if (near) {
      bulgeByte = static_cast<long>(rounded);
      return true;
    }
  }
  return false;
}

void AddPiece(int i, int j, double bulge, long bulgeByte) {
  FittedPiece& piece = fit.pieces[fit.pieceCount++];
  piece.from = fit.samples[i].p;
  piece.to = fit.samples[j].p;
  piece.bulge = bulge;
  piece.bulgeByte = bulgeByte;
  RoundToWhole(piece.from.x, piece.fromX);
  RoundToWhole(piece.from.y, piece.fromY);
  RoundToWhole(piece.to.x, piece.toX);
  RoundToWhole(piece.to.y, piece.toY);
}

bool SameWholePoint(PlanePoint a, PlanePoint b) {
  std::int16_t ax, ay, bx, by;
  return RoundToWhole(a.x, ax) && RoundToWhole(a.y, ay) && RoundToWhole(b.x, bx) &&
         RoundToWhole(b.y, by) && ax == bx && ay == by;
}

}  // namespace

const FittedCurve& CurrentFit() {
  return fit;
}

CurveSampling SampleCurve(const PlaneCurve& curve) {
  static double parameters[kMaxCoarseSamples + 1];
  fit.sampleCount = 0;
  fit.pieceCount = 0;
  const int coarse = CoarseParameters(curve, parameters, kMaxCoarseSamples);
  PlanePoint first = CurvePoint(curve, parameters[0]);
  if (!FinitePoint(first)) return CurveSampling::kNotFinite;
  fit.box = {first.x, first.x, first.y, first.y};
  // The coarse pass alone tells a curve that no box can hold; its samples lie on the curve,
  // so its extent is at most the curve's.
  for (int i = 1; i < coarse; ++i) {
    const PlanePoint p = CurvePoint(curve, parameters[i]);
    if (!FinitePoint(p)) return CurveSampling::kNotFinite;
    Extend(fit.box, p);
  }
  if (fit.box.maxX - fit.box.minX > kCellBoxSize + 1 ||
      fit.box.maxY - fit.box.minY > kCellBoxSize + 1) {
    return CurveSampling::kTooLarge;
  }
  fit.samples[fit.sampleCount++] = {parameters[0], first};
  PlanePoint from = first;
  for (int i = 1; i < coarse; ++i) {
    const PlanePoint to = CurvePoint(curve, parameters[i]);
    if (!SampleBetween(curve, parameters[i - 1], from, parameters[i], to)) {
      return CurveSampling::kTooLong;
    }
    from = to;
  }
  for (int i = 0; i < fit.sampleCount; ++i) {
    if (!FinitePoint(fit.samples[i].p)) return CurveSampling::kNotFinite;
  }
  return CurveSampling::kSampled;
}

void FitSampledCurve() {
  fit.pieceCount = 0;
  const int last = fit.sampleCount - 1;
  int i = 0;
  while (i < last) {
    // The first sample that rounds elsewhere than the piece's start; a tail that rounds onto
    // the start ends the path there, which is where the curve ends.
    int first = i + 1;
    while (first <= last && SameWholePoint(fit.samples[first].p, fit.samples[i].p)) ++first;
    if (first > last) break;
    double bulge = 0;
    long bulgeByte = 0;
    if (!PieceFits(i, first, bulge, bulgeByte)) {
      // A curve that turns within a unit: the step is written as a line.
      AddPiece(i, first, 0, 0);
      i = first;
      continue;
    }
    // Gallop, then halve: the longest run the pieces's tests pass, found in few tests.
    int good = first;
    double goodBulge = bulge;
    long goodByte = bulgeByte;
    int bad = -1;
    for (int step = 1; good < last; step *= 2) {
      const int j = std::min(good + step, last);
      if (!PieceFits(i, j, bulge, bulgeByte)) {
        bad = j;
        break;
      }
      good = j;
      goodBulge = bulge;
      goodByte = bulgeByte;
    }
    while (bad > good + 1) {
      const int j = (good + bad) / 2;
      if (PieceFits(i, j, bulge, bulgeByte)) {
        good = j;
        goodBulge = bulge;
        goodByte = bulgeByte;
      } else {
        bad = j;
      }
    }
    AddPiece(i, good, goodBulge, goodByte);
    i = good;
  }
}

double ThreePointBulge(PlanePoint a, PlanePoint m, PlanePoint b) {
  const double ax = a.x - m.x, ay = a.y - m.y;
  const double bx = b.x - m.x, by = b.y - m.y;
  const double cross = Cross(ax, ay, bx, by);
  const double dot = ax * bx + ay * by;
  const double lengths = std::hypot(ax, ay) * std::hypot(bx, by);
  // The inscribed angle at m is phi; the arc sweeps 2 (pi - phi), and tan of a quarter of it
  // is (1 + cos phi) / sin phi.
  if (cross == 0) return dot <= 0 ? 0 : HUGE_VAL;
  const double magnitude = (lengths + dot) / std::fabs(cross);
  // m to the right of the way from a to b: the arc runs counter-clockwise.
  const double side = Cross(b.x - a.x, b.y - a.y, m.x - a.x, m.y - a.y);
  return side < 0 ? magnitude : -magnitude;
}

double DistanceToBulgeArc(PlanePoint p, PlanePoint a, PlanePoint b, double bulge) {
  const double chord = Distance(a, b);
  if (std::fabs(bulge) < 1e-12 || !(chord > 0)) return DistanceToSegment(p, a, b);
  // The centre lies on the chord's left for a counter-clockwise arc of less than a half
  // circle, c (1 - b^2) / (4 b) from the chord's middle; the radius is c (1 + b^2) / (4 |b|).
  const double nx = -(b.y - a.y) / chord;
  const double ny = (b.x - a.x) / chord;
  const double offset = chord * (1 - bulge * bulge) / (4 * bulge);
  const PlanePoint centre = {(a.x + b.x) / 2 + nx * offset, (a.y + b.y) / 2 + ny * offset};
  const double radius = chord * (1 + bulge * bulge) / (4 * std::fabs(bulge));
  const double fromCentre = Distance(p, centre);
  if (fromCentre > 0) {
    // The point's projection on the circle lies on the arc when it is on the arc's side of
    // the chord: the right for a counter-clockwise arc.
    const PlanePoint x = {centre.x + (p.x - centre.x) * radius / fromCentre,
                          centre.y + (p.y - centre.y) * radius / fromCentre};
    const double side = Cross(b.x - a.x, b.y - a.y, x.x - a.x, x.y - a.y);
    if ((bulge > 0 && side <= 0) || (bulge < 0 && side >= 0)) {
      return std::fabs(fromCentre - radius);
    }
  }
  return std::min(Distance(p, a), Distance(p, b));
}

}  // namespace korvex
