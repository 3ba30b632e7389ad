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
// The parameters of the last coarse pass, where the fine pass starts from.
double coarseParameters[kMaxCoarseSamples + 1];
int coarseCount = 0;

// Plain square roots: the values here never come near overflowing, and hypot's care costs.
double Distance(PlanePoint a, PlanePoint b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  return std::sqrt(dx * dx + dy * dy);
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
    // The step is short and straight: its end is the next sample. (Its middle, on a straight
    // step, adds nothing to the fit or the extent.)
    if (fit.sampleCount + 1 > kMaxCurveSamples) return false;
    fit.samples[fit.sampleCount++] = {interval.tb, interval.pb};
    Extend(fit.box, interval.pb);
    t = interval.tb;
    p = interval.pb;
  }
  return true;
}

// The arc from a to b of a bulge, worked out once for the distances of many points to it.
struct BulgeArcShape {
  PlanePoint a;
  PlanePoint b;
  bool straight;
  PlanePoint centre;
  double radius;
  double bulge;
  double centreSide;  // cross(b - a, centre - a)
};

BulgeArcShape ShapeOfBulgeArc(PlanePoint a, PlanePoint b, double bulge) {
  BulgeArcShape arc = {a, b, true, {0, 0}, 0, bulge, 0};
  const double chord = Distance(a, b);
  if (std::fabs(bulge) < 1e-12 || !(chord > 0)) return arc;
  arc.straight = false;
  // The centre lies on the chord's left for a counter-clockwise arc of less than a half
  // circle, c (1 - b^2) / (4 b) from the chord's middle; the radius is c (1 + b^2) / (4 |b|).
  const double nx = -(b.y - a.y) / chord;
  const double ny = (b.x - a.x) / chord;
  const double offset = chord * (1 - bulge * bulge) / (4 * bulge);
  arc.centre = {(a.x + b.x) / 2 + nx * offset, (a.y + b.y) / 2 + ny * offset};
  arc.radius = chord * (1 + bulge * bulge) / (4 * std::fabs(bulge));
  arc.centreSide = Cross(b.x - a.x, b.y - a.y, arc.centre.x - a.x, arc.centre.y - a.y);
  return arc;
}

double DistanceToShape(const BulgeArcShape& arc, PlanePoint p) {
  if (arc.straight) return DistanceToSegment(p, arc.a, arc.b);
  const double dx = p.x - arc.centre.x;
  const double dy = p.y - arc.centre.y;
  const double fromCentre = std::sqrt(dx * dx + dy * dy);
  if (fromCentre > 0) {
    // The point's projection on the circle lies on the arc when it is on the arc's side of
    // the chord: the right for a counter-clockwise arc.
    const double side = arc.centreSide + arc.radius / fromCentre *
                                             Cross(arc.b.x - arc.a.x, arc.b.y - arc.a.y, dx, dy);
    if ((arc.bulge > 0 && side <= 0) || (arc.bulge < 0 && side >= 0)) {
      return std::fabs(fromCentre - arc.radius);
    }
  }
  return std::min(Distance(p, arc.a), Distance(p, arc.b));
}

// The farthest the samples i to j lie from the arc from a to b of the bulge; the search stops
// at `enough`, which the result then exceeds.
double Deviation(int i, int j, PlanePoint a, PlanePoint b, double bulge, double enough) {
  const BulgeArcShape arc = ShapeOfBulgeArc(a, b, bulge);
  double worst = 0;
  for (int k = i; k <= j && worst <= enough; ++k) {
    worst = std::max(worst, DistanceToShape(arc, fit.samples[k].p));
  }
  return worst;
}

// The bulge near `guess` whose arc from a to b lies closest to the samples i to j, found by
// narrowing a range about the guess (the deviation falls, then rises, as the bulge grows).
double ClosestBulge(int i, int j, PlanePoint a, PlanePoint b, double guess, double& deviation) {
  constexpr int kNarrowings = 8;
  // Only a deviation near the tolerance matters: beyond twice it, the search is lost anyway.
  const double cap = 2 * kFitTolerance;
  // The guess is usually good enough: the search is for the pieces it is not, and only for
  // those it misses by little (a search moves the arc by less than the tolerance).
  deviation = Deviation(i, j, a, b, guess, 2 * kFitTolerance);
  if (deviation <= kFitTolerance - kBetweenSamples || deviation > 2 * kFitTolerance) {
    return guess;
  }
  double low = guess - 0.25 * std::fabs(guess) - 0.02;
  double high = guess + 0.25 * std::fabs(guess) + 0.02;
  for (int step = 0; step < kNarrowings; ++step) {
    const double m1 = low + (high - low) / 3;
    const double m2 = high - (high - low) / 3;
    if (Deviation(i, j, a, b, m1, cap) < Deviation(i, j, a, b, m2, cap)) {
      high = m2;
    } else {
      low = m1;
    }
  }
  const double best = (low + high) / 2;
  deviation = Deviation(i, j, a, b, best, cap);
  return best;
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
  static const double kMaxBulge = std::tan(kMaxFittedSweep / 4 / 180 * kPi);
  const double guess = ThreePointBulge(a, s[(i + j) / 2].p, b);
  if (!(std::fabs(guess) <= kMaxBulge)) return false;
  // The fitted arc: the closest of its family to the samples, through the curve's own points.
  double deviation = 0;
  bulge = ClosestBulge(i, j, a, b, guess, deviation);
  if (!(std::fabs(bulge) <= kMaxBulge) || deviation > kFitTolerance - kBetweenSamples) {
    return false;
  }
  // As written: between the whole-unit ends, with the bulge byte nearest the fitted bulge,
  // or one a little off it that the moved ends need.
  const PlanePoint wa = {static_cast<double>(ax), static_cast<double>(ay)};
  const PlanePoint wb = {static_cast<double>(bx), static_cast<double>(by)};
  constexpr int kByteReach = 6;
  const long nearest = std::lround(bulge * kMaxBulgeByte);
  for (int offset = 0; offset <= 2 * kByteReach; ++offset) {
    const long byte = nearest + (offset % 2 == 0 ? offset / 2 : -(offset + 1) / 2);
    if (std::labs(byte) > kMaxBulge * kMaxBulgeByte) continue;
    const double written = static_cast<double>(byte) / kMaxBulgeByte;
    if (Deviation(i, j, wa, wb, written, kWrittenTolerance) <=
        kWrittenTolerance - kBetweenSamples) {
      bulgeByte = byte;
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

CurveSampling SampleCurveCoarsely(const PlaneCurve& curve) {
  fit.sampleCount = 0;
  fit.pieceCount = 0;
  coarseCount = CoarseParameters(curve, coarseParameters, kMaxCoarseSamples);
  const PlanePoint first = CurvePoint(curve, coarseParameters[0]);
  if (!FinitePoint(first)) return CurveSampling::kNotFinite;
  fit.box = {first.x, first.x, first.y, first.y};
  for (int i = 1; i < coarseCount; ++i) {
    const PlanePoint p = CurvePoint(curve, coarseParameters[i]);
    if (!FinitePoint(p)) return CurveSampling::kNotFinite;
    Extend(fit.box, p);
  }
  if (fit.box.maxX - fit.box.minX > kCellBoxSize + 1 ||
      fit.box.maxY - fit.box.minY > kCellBoxSize + 1) {
    return CurveSampling::kTooLarge;
  }
  return CurveSampling::kSampled;
}

CurveSampling SampleCurveFinely(const PlaneCurve& curve) {
  fit.sampleCount = 0;
  fit.pieceCount = 0;
  PlanePoint from = CurvePoint(curve, coarseParameters[0]);
  fit.box = {from.x, from.x, from.y, from.y};
  fit.samples[fit.sampleCount++] = {coarseParameters[0], from};
  for (int i = 1; i < coarseCount; ++i) {
    const PlanePoint to = CurvePoint(curve, coarseParameters[i]);
    if (!SampleBetween(curve, coarseParameters[i - 1], from, coarseParameters[i], to)) {
      return CurveSampling::kTooLong;
    }
    from = to;
  }
  for (int i = 0; i < fit.sampleCount; ++i) {
    if (!FinitePoint(fit.samples[i].p)) return CurveSampling::kNotFinite;
  }
  return CurveSampling::kSampled;
}

CurveSampling SampleCurve(const PlaneCurve& curve) {
  const CurveSampling coarse = SampleCurveCoarsely(curve);
  return coarse == CurveSampling::kSampled ? SampleCurveFinely(curve) : coarse;
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
    if (first > last) {
      // The path as fitted still follows the curve to its end; as written it ends there
      // already, so the piece writes nothing.
      AddPiece(i, last, 0, 0);
      break;
    }
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
  const double lengths = std::sqrt((ax * ax + ay * ay) * (bx * bx + by * by));
  // The inscribed angle at m is phi; the arc sweeps 2 (pi - phi), and tan of a quarter of it
  // is (1 + cos phi) / sin phi.
  if (cross == 0) return dot <= 0 ? 0 : HUGE_VAL;
  const double magnitude = (lengths + dot) / std::fabs(cross);
  // m to the right of the way from a to b: the arc runs counter-clockwise.
  const double side = Cross(b.x - a.x, b.y - a.y, m.x - a.x, m.y - a.y);
  return side < 0 ? magnitude : -magnitude;
}

double DistanceToBulgeArc(PlanePoint p, PlanePoint a, PlanePoint b, double bulge) {
  return DistanceToShape(ShapeOfBulgeArc(a, b, bulge), p);
}

}  // namespace korvex
