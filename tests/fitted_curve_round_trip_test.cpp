// Ellipses, elliptical arcs, splines (degrees 2 and 3, open and closed, by control points and
// by fit points), blocks placed by nested, scaled and turned INSERTs and by MINSERTs, drawn at
// random in many cells, converted and drawn back from their bytes: what the CAD program
// will draw must be the curve the user drew. The true curves are the test's own: ellipses
// from their axes, splines by the Cox-de Boor basis functions, fit-point splines by a dense
// solve of the cubic through the points, blocks moved point by point.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "conversion/conversion_run.h"
#include "curve_drawing.h"
#include "dxf/curve_fit.h"
#include "dxf/plane_curve.h"
#include "dxf/spline_curve.h"
#include "round_trip_support.h"
#include "sheet/cell_grid.h"
#include "sheet/entity_table.h"
#include "sheet/left_out_table.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::AddEllipse;
using test::AddInsert;
using test::AddLine;
using test::AddSpline;
using test::CornerOf;
using test::Distance;
using test::DrawBack;
using test::DxfBuilder;
using test::DxfStyle;
using test::InsertEntity;
using test::kPi;
using test::Point;
using test::ReadShapes;
using test::SplineEntity;
using test::SplinePoint;
using test::Stroke;
using test::WrittenShape;

// What the CAD program draws from the bytes, against the true curve; and the fitted path,
// before its points are rounded.
constexpr double kDrawnTolerance = 1.5;
constexpr double kFittedTolerance = 0.5;
// The true curves are sampled this finely: a distance to the samples overstates the
// distance to the curve by at most half of it.
constexpr double kTrueStep = 0.1;

// ---- The test's own curves --------------------------------------------------------------

// A map of the plane: x' = xx x + xy y + dx, y' = yx x + yy y + dy.
struct Affine {
  double xx = 1, xy = 0, yx = 0, yy = 1, dx = 0, dy = 0;

  Point operator()(Point p) const { return {xx * p.x + xy * p.y + dx, yx * p.x + yy * p.y + dy}; }
  Point Vector(Point v) const { return {xx * v.x + xy * v.y, yx * v.x + yy * v.y}; }
  Affine After(const Affine& inner) const {
    return {xx * inner.xx + xy * inner.yx,      xx * inner.xy + xy * inner.yy,
            yx * inner.xx + yy * inner.yx,      yx * inner.xy + yy * inner.yy,
            xx * inner.dx + xy * inner.dy + dx, yx * inner.dx + yy * inner.dy + dy};
  }
};

// An INSERT's map, as the CAD program places a block: base point to the origin, scaled,
// moved by the copy's offset, turned, moved to the insertion point.
Affine InsertMap(Point base, double sx, double sy, double degrees, Point at, Point offset = {}) {
  const double c = std::cos(degrees * kPi / 180);
  const double s = std::sin(degrees * kPi / 180);
  const Point local = {-sx * base.x + offset.x, -sy * base.y + offset.y};
  return {c * sx,
          -s * sy,
          s * sx,
          c * sy,
          at.x + c * local.x - s * local.y,
          at.y + s * local.x + c * local.y};
}

// A curve as points along it, at most kTrueStep apart.
struct TrueCurve {
  std::vector<Point> points;
  bool closed = false;
};

// The points from a to b (a already taken), halving the parameter where they are far apart:
// a curve's speed may differ much along it.
template <typename F>
void SampleBetween(F& point, double ta, Point a, double tb, Point b, int depth,
                   std::vector<Point>& points) {
  if (Distance(a, b) > kTrueStep && depth < 40) {
    const double tm = (ta + tb) / 2;
    const Point m = point(tm);
    SampleBetween(point, ta, a, tm, m, depth + 1, points);
    SampleBetween(point, tm, m, tb, b, depth + 1, points);
    return;
  }
  points.push_back(b);
}

template <typename F>
TrueCurve Sampled(F point, double t0, double t1, bool closed) {
  TrueCurve curve;
  curve.closed = closed;
  constexpr int kSteps = 400;
  Point previous = point(t0);
  curve.points.push_back(previous);
  for (int i = 1; i <= kSteps; ++i) {
    const double ta = t0 + (t1 - t0) * (i - 1) / kSteps;
    const double tb = t0 + (t1 - t0) * i / kSteps;
    const Point p = point(tb);
    SampleBetween(point, ta, previous, tb, p, 0, curve.points);
    previous = p;
  }
  return curve;
}

TrueCurve Moved(const TrueCurve& curve, const Affine& map) {
  TrueCurve moved = curve;
  for (Point& p : moved.points) p = map(p);
  // A map that stretches needs more samples: fill in between the moved ones.
  TrueCurve filled;
  filled.closed = curve.closed;
  for (std::size_t i = 0; i < moved.points.size(); ++i) {
    if (i > 0) {
      const Point a = moved.points[i - 1];
      const Point b = moved.points[i];
      const int extra = static_cast<int>(Distance(a, b) / kTrueStep);
      for (int k = 1; k <= extra; ++k) {
        const double t = static_cast<double>(k) / (extra + 1);
        filled.points.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
      }
    }
    filled.points.push_back(moved.points[i]);
  }
  return filled;
}

struct EllipseEntity {
  Point centre;
  Point major;
  double ratio;
  double t0;
  double t1;
  bool fromBelow;
};

Point EllipseV(const EllipseEntity& e) {
  const double turn = e.fromBelow ? -1 : 1;
  return {-turn * e.ratio * e.major.y, turn * e.ratio * e.major.x};
}

TrueCurve TrueEllipse(const EllipseEntity& e) {
  const Point v = EllipseV(e);
  return Sampled(
      [&](double t) {
        return Point{e.centre.x + e.major.x * std::cos(t) + v.x * std::sin(t),
                     e.centre.y + e.major.y * std::cos(t) + v.y * std::sin(t)};
      },
      e.t0, e.t1, e.t1 - e.t0 >= 2 * kPi - 1e-12);
}

// The B-spline basis function N(i, p) at t, by the Cox-de Boor recursion.
double Basis(const std::vector<double>& knots, int i, int p, double t) {
  if (p == 0) return knots[i] <= t && t < knots[i + 1] ? 1 : 0;
  double value = 0;
  const double left = knots[i + p] - knots[i];
  const double right = knots[i + p + 1] - knots[i + 1];
  if (left > 0) value += (t - knots[i]) / left * Basis(knots, i, p - 1, t);
  if (right > 0) value += (knots[i + p + 1] - t) / right * Basis(knots, i + 1, p - 1, t);
  return value;
}

TrueCurve TrueSpline(const SplineEntity& s) {
  const int n = static_cast<int>(s.controls.size());
  const double t0 = s.knots[s.degree];
  const double t1 = s.knots[n];
  // The basis is zero at the domain's very end: the last point is taken a hair before it.
  const double end = t1 - (t1 - t0) * 1e-10;
  return Sampled(
      [&](double t) {
        t = std::min(t, end);
        double x = 0, y = 0, w = 0;
        for (int i = 0; i < n; ++i) {
          const double b = Basis(s.knots, i, s.degree, t) * (s.weights.empty() ? 1 : s.weights[i]);
          x += b * s.controls[i].x;
          y += b * s.controls[i].y;
          w += b;
        }
        return Point{x / w, y / w};
      },
      t0, t1, (s.flags & 1) != 0);
}

// The cubic through fit points with chord-length parameters and second derivatives
// continuous: its derivatives at the points from a dense solve, then Hermite pieces.
TrueCurve TrueFitSpline(const SplineEntity& s) {
  const bool closed = (s.flags & 1) != 0;
  std::vector<Point> q;
  for (const SplinePoint& p : s.fits) q.push_back({p.x, p.y});
  const int m = static_cast<int>(q.size());
  const int spans = closed ? m : m - 1;
  const int unknowns = closed ? m : m;
  std::vector<double> h(spans);
  for (int i = 0; i < spans; ++i) h[i] = Distance(q[i], q[(i + 1) % m]);
  std::vector<std::vector<double>> a(unknowns, std::vector<double>(unknowns + 2, 0));
  const auto interior = [&](int row, int before, int after) {
    const double hb = h[(row - 1 + spans) % spans];
    const double ha = h[row % spans];
    a[row][before] += ha;
    a[row][row] += 2 * (hb + ha);
    a[row][after] += hb;
    for (int c = 0; c < 2; ++c) {
      const double qi = c == 0 ? q[row].x : q[row].y;
      const double qb = c == 0 ? q[before].x : q[before].y;
      const double qa = c == 0 ? q[after].x : q[after].y;
      a[row][unknowns + c] = 3 * (ha / hb * (qi - qb) + hb / ha * (qa - qi));
    }
  };
  if (closed) {
    for (int i = 0; i < m; ++i) interior(i, (i + m - 1) % m, (i + 1) % m);
  } else {
    for (int i = 1; i < m - 1; ++i) interior(i, i - 1, i + 1);
    const auto end = [&](int row, int other, bool given, SplinePoint tangent, int from, int to,
                         double span) {
      if (given) {
        const double length = std::hypot(tangent.x, tangent.y);
        a[row][row] = 1;
        a[row][unknowns] = tangent.x / length;
        a[row][unknowns + 1] = tangent.y / length;
      } else {
        a[row][row] = 2;
        a[row][other] = 1;
        a[row][unknowns] = 3 * (q[to].x - q[from].x) / span;
        a[row][unknowns + 1] = 3 * (q[to].y - q[from].y) / span;
      }
    };
    end(0, 1, s.tangents, s.startTangent, 0, 1, h[0]);
    end(m - 1, m - 2, s.tangents, s.endTangent, m - 2, m - 1, h[m - 2]);
  }
  // Gaussian elimination with partial pivoting.
  for (int col = 0; col < unknowns; ++col) {
    int pivot = col;
    for (int r = col + 1; r < unknowns; ++r) {
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    }
    std::swap(a[col], a[pivot]);
    for (int r = 0; r < unknowns; ++r) {
      if (r == col) continue;
      const double f = a[r][col] / a[col][col];
      for (int c = col; c < unknowns + 2; ++c) a[r][c] -= f * a[col][c];
    }
  }
  std::vector<Point> d(unknowns);
  for (int i = 0; i < unknowns; ++i) {
    d[i] = {a[i][unknowns] / a[i][i], a[i][unknowns + 1] / a[i][i]};
  }
  TrueCurve curve;
  curve.closed = closed;
  for (int i = 0; i < spans; ++i) {
    const Point p0 = q[i], p1 = q[(i + 1) % m];
    const Point d0 = d[i], d1 = d[(i + 1) % m];
    const double span = h[i];
    const int steps = std::max(4, static_cast<int>(span / kTrueStep * 2));
    for (int k = i == 0 ? 0 : 1; k <= steps; ++k) {
      const double u = static_cast<double>(k) / steps;
      const double h00 = 2 * u * u * u - 3 * u * u + 1, h10 = u * u * u - 2 * u * u + u;
      const double h01 = -2 * u * u * u + 3 * u * u, h11 = u * u * u - u * u;
      curve.points.push_back({h00 * p0.x + h10 * span * d0.x + h01 * p1.x + h11 * span * d1.x,
                              h00 * p0.y + h10 * span * d0.y + h01 * p1.y + h11 * span * d1.y});
    }
  }
  return curve;
}

// ---- Distances ----------------------------------------------------------------------------

// Points or strokes by square buckets of two units over a square about the cell, for the
// nearest of them to a point: exact within kReach of it, else found the slow way.
template <typename Item, double (*ItemDistance)(Point, const Item&)>
class Nearest {
 public:
  Nearest(const std::vector<Item>& items, Point corner, Point (*lowCorner)(const Item&),
          Point (*highCorner)(const Item&))
      : items_(items), origin_{corner.x - kMargin, corner.y - kMargin} {
    for (const Item& item : items) {
      const Point low = lowCorner(item), high = highCorner(item);
      for (int bx = Bucket(low.x - origin_.x); bx <= Bucket(high.x - origin_.x); ++bx) {
        for (int by = Bucket(low.y - origin_.y); by <= Bucket(high.y - origin_.y); ++by) {
          buckets_[bx * kBuckets + by].push_back(&item);
        }
      }
    }
  }

  double Distance(Point p) const {
    double nearest = HUGE_VAL;
    const int bx = Bucket(p.x - origin_.x), by = Bucket(p.y - origin_.y);
    for (int x = std::max(bx - 1, 0); x <= std::min(bx + 1, kBuckets - 1); ++x) {
      for (int y = std::max(by - 1, 0); y <= std::min(by + 1, kBuckets - 1); ++y) {
        for (const Item* item : buckets_[x * kBuckets + y]) {
          nearest = std::min(nearest, ItemDistance(p, *item));
        }
      }
    }
    if (nearest <= kSize) return nearest;
    for (const Item& item : items_) nearest = std::min(nearest, ItemDistance(p, item));
    return nearest;
  }

 private:
  static constexpr double kSize = 2;
  static constexpr double kMargin = 20;
  static constexpr int kBuckets = static_cast<int>((kCellBoxSize + 2 * kMargin) / kSize) + 1;
  static int Bucket(double offset) {
    return std::clamp(static_cast<int>(std::floor(offset / kSize)), 0, kBuckets - 1);
  }
  const std::vector<Item>& items_;
  Point origin_;
  std::vector<std::vector<const Item*>> buckets_ =
      std::vector<std::vector<const Item*>>(kBuckets * kBuckets);
};

double PointDistance(Point p, const Point& q) {
  return test::Distance(p, q);
}
Point ItSelf(const Point& p) {
  return p;
}
double StrokeDistance(Point p, const Stroke& s) {
  return test::DistanceToSegment(p, s.a, s.b);
}
Point StrokeLow(const Stroke& s) {
  return {std::min(s.a.x, s.b.x), std::min(s.a.y, s.b.y)};
}
Point StrokeHigh(const Stroke& s) {
  return {std::max(s.a.x, s.b.x), std::max(s.a.y, s.b.y)};
}

using NearestPoint = Nearest<Point, PointDistance>;
using NearestStroke = Nearest<Stroke, StrokeDistance>;

std::vector<Point> AllPoints(const std::vector<TrueCurve>& curves) {
  std::vector<Point> points;
  for (const TrueCurve& curve : curves) {
    points.insert(points.end(), curve.points.begin(), curve.points.end());
  }
  return points;
}

// The farthest a drawn point lies from the true curves, and a true point from the strokes.
struct Deviations {
  double drawn = 0;
  double truth = 0;
};

Deviations Compare(const std::vector<Stroke>& strokes, const std::vector<TrueCurve>& curves,
                   Point corner) {
  Deviations worst;
  const std::vector<Point> points = AllPoints(curves);
  const NearestPoint nearestTrue(points, corner, ItSelf, ItSelf);
  const NearestStroke nearestDrawn(strokes, corner, StrokeLow, StrokeHigh);
  for (const Stroke& stroke : strokes) {
    const int steps = 1 + static_cast<int>(Distance(stroke.a, stroke.b) / 0.25);
    for (int i = 0; i <= steps; ++i) {
      const double t = static_cast<double>(i) / steps;
      const Point p = {stroke.a.x + t * (stroke.b.x - stroke.a.x),
                       stroke.a.y + t * (stroke.b.y - stroke.a.y)};
      worst.drawn = std::max(worst.drawn, nearestTrue.Distance(p));
    }
  }
  for (const Point& p : points) worst.truth = std::max(worst.truth, nearestDrawn.Distance(p));
  return worst;
}

// The fitted path of the product's own curve, before rounding, against the true one.
Deviations CompareFit(const PlaneCurve& curve, const TrueCurve& truth, Point corner) {
  Deviations worst;
  const NearestPoint nearestTrue(truth.points, corner, ItSelf, ItSelf);
  if (SampleCurve(curve) != CurveSampling::kSampled) {
    ADD_FAILURE() << "the curve was not sampled";
    return worst;
  }
  FitSampledCurve();
  const FittedCurve& fit = CurrentFit();
  std::vector<test::Piece> pieces;
  for (int i = 0; i < fit.pieceCount; ++i) {
    const FittedPiece& piece = fit.pieces[i];
    pieces.push_back(
        test::BulgePiece({piece.from.x, piece.from.y}, {piece.to.x, piece.to.y}, piece.bulge));
  }
  for (const test::Piece& piece : pieces) {
    const double length = piece.kind == test::Piece::kSegment
                              ? Distance(piece.a, piece.b)
                              : piece.radius * piece.sweep * kPi / 180;
    const int steps = 1 + static_cast<int>(length / 0.25);
    for (int i = 0; i <= steps; ++i) {
      const double t = static_cast<double>(i) / steps;
      const Point p = piece.kind == test::Piece::kSegment
                          ? Point{piece.a.x + t * (piece.b.x - piece.a.x),
                                  piece.a.y + t * (piece.b.y - piece.a.y)}
                          : test::OnCircle(piece, piece.startAngle + t * piece.sweep);
      worst.drawn = std::max(worst.drawn, nearestTrue.Distance(p));
    }
  }
  for (const Point& p : truth.points) {
    double nearest = HUGE_VAL;
    for (const test::Piece& piece : pieces) nearest = std::min(nearest, DistanceToPiece(p, piece));
    worst.truth = std::max(worst.truth, nearest);
  }
  return worst;
}

// The segments of the plain line chain that follows the curve within the tolerance: from
// each point the farthest later one whose chord stays within it, found by halving (a chord
// that stays within it over a run mostly does over a shorter one too).
int LineChainSegments(const TrueCurve& curve, double tolerance) {
  const std::vector<Point>& p = curve.points;
  const auto follows = [&](std::size_t i, std::size_t j) {
    for (std::size_t k = i + 1; k < j; ++k) {
      if (test::DistanceToSegment(p[k], p[i], p[j]) > tolerance) return false;
    }
    return true;
  };
  int segments = 0;
  std::size_t i = 0;
  while (i + 1 < p.size()) {
    std::size_t good = i + 1;
    std::size_t bad = p.size();
    while (bad - good > 1) {
      const std::size_t j = (good + bad) / 2;
      if (follows(i, j)) {
        good = j;
      } else {
        bad = j;
      }
    }
    ++segments;
    i = good;
  }
  return segments;
}

// ---- Random drawings ------------------------------------------------------------------------

enum class Item {
  kEllipse,
  kEllipticalArc,
  kOpenSpline,
  kClosedSpline,
  kFitSpline,
  kClosedFitSpline,
  kNestedInsert,
  kMinsert,
  kStretchedCircle,
};

const char* ItemName(Item item) {
  switch (item) {
    case Item::kEllipse:
      return "ellipse";
    case Item::kEllipticalArc:
      return "elliptical arc";
    case Item::kOpenSpline:
      return "spline, control points, open";
    case Item::kClosedSpline:
      return "spline, control points, closed";
    case Item::kFitSpline:
      return "spline, fit points, open";
    case Item::kClosedFitSpline:
      return "spline, fit points, closed";
    case Item::kNestedInsert:
      return "nested INSERT";
    case Item::kMinsert:
      return "MINSERT";
    case Item::kStretchedCircle:
      return "circle in a stretched block";
  }
  return "";
}

// One item per cell: the true curves it holds, the product's own curve of it for the fitted
// path (single curves only), and whether its ends are those of one open curve.
struct Cell {
  int n = 0;
  Item item = Item::kEllipse;
  std::vector<TrueCurve> curves;
  bool hasPlaneCurve = false;
  PlaneCurve planeCurve{};
  SplineEntity spline;  // kept so that the plane curve's tables can be made again
  bool openEnds = false;
};

bool InBox(const std::vector<TrueCurve>& curves, Point corner, double margin) {
  for (const TrueCurve& curve : curves) {
    for (const Point& p : curve.points) {
      if (p.x < corner.x + margin || p.x > corner.x + kCellBoxSize - margin ||
          p.y < corner.y + margin || p.y > corner.y + kCellBoxSize - margin) {
        return false;
      }
    }
  }
  return true;
}

// The blocks every drawing holds: INNER (an ellipse, an arc, a spline and a line about its
// base point), OUTER (INNER turned and shrunk, and an elliptical arc of its own), DOT (a small
// ellipse) and RING (a circle).
struct Blocks {
  std::vector<TrueCurve> inner, outer, dot, ring;
  Point outerBase{4, -3};
};

SplineEntity InnerSpline() {
  SplineEntity s;
  s.degree = 3;
  s.controls = {{-12, -10}, {-6, -2}, {6, -20}, {12, -10}};
  s.knots = {0, 0, 0, 0, 1, 1, 1, 1};
  return s;
}

Blocks MakeBlocks(DxfBuilder& drawing, DxfStyle style) {
  Blocks b;
  DxfBuilder inner;
  const EllipseEntity innerEllipse{{0, 2}, {9, 3}, 0.45, 0, 2 * kPi, false};
  AddEllipse(inner, style, 0, 2, 9, 3, 0.45, 0, 2 * kPi);
  test::AddArc(inner, style, 0, 0, 14, 20, 160);
  AddSpline(inner, style, InnerSpline());
  AddLine(inner, style, -14, -16, 14, -15);
  drawing.Block("INNER", 0, 0, inner);
  b.inner.push_back(TrueEllipse(innerEllipse));
  b.inner.push_back(Sampled(
      [](double t) {
        return Point{14 * std::cos(t), 14 * std::sin(t)};
      },
      20 * kPi / 180, 160 * kPi / 180, false));
  b.inner.push_back(TrueSpline(InnerSpline()));
  b.inner.push_back(Sampled([](double t) { return Point{-14 + 28 * t, -16 + t}; }, 0, 1, false));

  DxfBuilder outer;
  InsertEntity nested;
  nested.block = "INNER";
  nested.x = 4;
  nested.y = -3;
  nested.scaleX = nested.scaleY = 0.8;
  nested.rotation = 30;
  AddInsert(outer, style, nested);
  AddEllipse(outer, style, 4, -3, 0, 16, 0.7, 0.3, 2.6);
  drawing.Block("OUTER", b.outerBase.x, b.outerBase.y, outer);
  const Affine innerInOuter = InsertMap({0, 0}, 0.8, 0.8, 30, {4, -3});
  for (const TrueCurve& curve : b.inner) b.outer.push_back(Moved(curve, innerInOuter));
  b.outer.push_back(TrueEllipse({{4, -3}, {0, 16}, 0.7, 0.3, 2.6, false}));

  DxfBuilder dot;
  AddEllipse(dot, style, 0, 0, 7, 0, 0.6, 0, 2 * kPi);
  drawing.Block("DOT", 0, 0, dot);
  b.dot.push_back(TrueEllipse({{0, 0}, {7, 0}, 0.6, 0, 2 * kPi, false}));

  DxfBuilder ring;
  test::AddCircle(ring, style, 0, 0, 10);
  drawing.Block("RING", 0, 0, ring);
  b.ring.push_back(Sampled(
      [](double t) {
        return Point{10 * std::cos(t), 10 * std::sin(t)};
      },
      0, 2 * kPi, true));
  return b;
}

class FittedCurveRoundTripTest : public test::KorvexTest {
 protected:
  std::mt19937 random_{20261208};

  double Uniform(double from, double to) {
    return std::uniform_real_distribution<double>(from, to)(random_);
  }
  int Whole(int from, int to) { return std::uniform_int_distribution<int>(from, to)(random_); }

  SplinePoint RandomPoint(Point corner, double margin) {
    return {corner.x + Uniform(margin, kCellBoxSize - margin),
            corner.y + Uniform(margin, kCellBoxSize - margin)};
  }

  // Fills the cell with one random item of the kind; false when the random draw did not fit
  // its box (the caller draws again).
  bool MakeItem(DxfBuilder& drawing, DxfStyle style, const Blocks& blocks, Cell& cell) {
    const Point corner = CornerOf(cell.n);
    cell.curves.clear();
    cell.hasPlaneCurve = false;
    cell.openEnds = false;
    switch (cell.item) {
      case Item::kEllipse:
      case Item::kEllipticalArc: {
        const double a = Uniform(6, 45);
        const double angle = Uniform(0, 2 * kPi);
        EllipseEntity e{{corner.x + Uniform(10, 90), corner.y + Uniform(10, 90)},
                        {a * std::cos(angle), a * std::sin(angle)},
                        Uniform(0.1, 1),
                        0,
                        2 * kPi,
                        Whole(0, 3) == 0};
        if (cell.item == Item::kEllipticalArc) {
          e.t0 = Uniform(0, 2 * kPi);
          e.t1 = e.t0 + Uniform(0.3, 2 * kPi - 0.3);
          cell.openEnds = true;
        }
        cell.curves.push_back(TrueEllipse(e));
        if (!InBox(cell.curves, corner, 1)) return false;
        AddEllipse(drawing, style, e.centre.x, e.centre.y, e.major.x, e.major.y, e.ratio, e.t0,
                   std::fmod(e.t1, 2 * kPi), e.fromBelow);
        cell.hasPlaneCurve = true;
        cell.planeCurve = EllipseCurve({e.centre.x, e.centre.y}, {e.major.x, e.major.y},
                                       {EllipseV(e).x, EllipseV(e).y}, e.t0, e.t1);
        return true;
      }
      case Item::kOpenSpline:
      case Item::kClosedSpline: {
        SplineEntity s;
        s.degree = Whole(2, 3);
        if (cell.item == Item::kOpenSpline) {
          const int n = Whole(s.degree + 1, 8);
          for (int i = 0; i < n; ++i) s.controls.push_back(RandomPoint(corner, 3));
          // Clamped, the inner knots at random.
          for (int i = 0; i <= s.degree; ++i) s.knots.push_back(0);
          std::vector<double> inner;
          for (int i = 0; i < n - s.degree - 1; ++i) inner.push_back(Uniform(0.05, 0.95));
          std::sort(inner.begin(), inner.end());
          s.knots.insert(s.knots.end(), inner.begin(), inner.end());
          for (int i = 0; i <= s.degree; ++i) s.knots.push_back(1);
          if (Whole(0, 2) == 0) {
            for (int i = 0; i < n; ++i) s.weights.push_back(Uniform(0.5, 2));
            s.flags |= 4;
          }
          cell.openEnds = true;
        } else {
          // Periodic, its first poles again at the end, knots evenly spaced.
          const int distinct = Whole(4, 7);
          for (int i = 0; i < distinct; ++i) s.controls.push_back(RandomPoint(corner, 3));
          for (int i = 0; i < s.degree; ++i) s.controls.push_back(s.controls[i]);
          const int n = static_cast<int>(s.controls.size());
          for (int i = 0; i < n + s.degree + 1; ++i) s.knots.push_back(i);
          s.flags |= 1 | 2;
        }
        cell.curves.push_back(TrueSpline(s));
        AddSpline(drawing, style, s);
        cell.spline = s;
        cell.hasPlaneCurve = true;
        cell.planeCurve.form = CurveForm::kSpline;
        return true;
      }
      case Item::kFitSpline:
      case Item::kClosedFitSpline: {
        SplineEntity s;
        s.degree = Whole(2, 3);  // fit points are joined by the cubic whatever the degree
        const int count = Whole(3, 7);
        for (int i = 0; i < count; ++i) s.fits.push_back(RandomPoint(corner, 22));
        if (cell.item == Item::kClosedFitSpline) {
          s.flags |= 1;
        } else {
          cell.openEnds = true;
          if (Whole(0, 1) == 0) {
            s.tangents = true;
            const double a = Uniform(0, 2 * kPi), b = Uniform(0, 2 * kPi);
            s.startTangent = {std::cos(a), std::sin(a)};
            s.endTangent = {std::cos(b), std::sin(b)};
          }
        }
        for (std::size_t i = 1; i < s.fits.size(); ++i) {
          if (Distance({s.fits[i].x, s.fits[i].y}, {s.fits[i - 1].x, s.fits[i - 1].y}) < 4) {
            return false;
          }
        }
        cell.curves.push_back(TrueFitSpline(s));
        if (!InBox(cell.curves, corner, 1)) return false;
        AddSpline(drawing, style, s);
        cell.spline = s;
        cell.hasPlaneCurve = true;
        cell.planeCurve.form = CurveForm::kSpline;
        return true;
      }
      case Item::kNestedInsert: {
        InsertEntity insert;
        insert.block = "OUTER";
        insert.scaleX = Uniform(0.7, 1.3);
        // A stretched insert turns the block's arcs and ellipses into general ones.
        insert.scaleY = Whole(0, 1) == 0 ? insert.scaleX : insert.scaleX * Uniform(0.6, 1.4);
        insert.rotation = Uniform(0, 360);
        insert.x = corner.x + Uniform(40, 60);
        insert.y = corner.y + Uniform(40, 60);
        const Affine map = InsertMap(blocks.outerBase, insert.scaleX, insert.scaleY,
                                     insert.rotation, {insert.x, insert.y});
        for (const TrueCurve& curve : blocks.outer) cell.curves.push_back(Moved(curve, map));
        if (!InBox(cell.curves, corner, 1)) return false;
        AddInsert(drawing, style, insert);
        return true;
      }
      case Item::kMinsert: {
        InsertEntity insert;
        insert.block = "DOT";
        insert.columns = Whole(2, 3);
        insert.rows = Whole(2, 3);
        insert.columnSpacing = Uniform(18, 28);
        insert.rowSpacing = Uniform(14, 24);
        insert.scaleX = insert.scaleY = Uniform(0.8, 1.2);
        insert.rotation = Uniform(-20, 20);
        insert.x = corner.x + 16;
        insert.y = corner.y + 16;
        for (int r = 0; r < insert.rows; ++r) {
          for (int c = 0; c < insert.columns; ++c) {
            const Affine map =
                InsertMap({0, 0}, insert.scaleX, insert.scaleY, insert.rotation,
                          {insert.x, insert.y}, {c * insert.columnSpacing, r * insert.rowSpacing});
            cell.curves.push_back(Moved(blocks.dot.front(), map));
          }
        }
        if (!InBox(cell.curves, corner, 1)) return false;
        AddInsert(drawing, style, insert);
        return true;
      }
      case Item::kStretchedCircle: {
        InsertEntity insert;
        insert.block = "RING";
        insert.scaleX = Uniform(1, 4);
        insert.scaleY = Uniform(1, 4);
        insert.rotation = Uniform(0, 360);
        insert.x = corner.x + 50;
        insert.y = corner.y + 50;
        cell.curves.push_back(
            Moved(blocks.ring.front(), InsertMap({0, 0}, insert.scaleX, insert.scaleY,
                                                 insert.rotation, {insert.x, insert.y})));
        if (!InBox(cell.curves, corner, 1)) return false;
        AddInsert(drawing, style, insert);
        return true;
      }
    }
    return false;
  }

  std::vector<Item> Items() {
    std::vector<Item> items;
    const std::pair<Item, int> counts[] = {
        {Item::kEllipse, 40},      {Item::kEllipticalArc, 40}, {Item::kOpenSpline, 40},
        {Item::kClosedSpline, 25}, {Item::kFitSpline, 30},     {Item::kClosedFitSpline, 20},
        {Item::kNestedInsert, 30}, {Item::kMinsert, 15},       {Item::kStretchedCircle, 15},
    };
    for (const auto& [item, count] : counts) items.insert(items.end(), count, item);
    std::shuffle(items.begin(), items.end(), random_);
    return items;
  }

  struct Bytes {
    int curves = 0;
    long fitted = 0;
    long lineChain = 0;
  };
  std::map<Item, Bytes> bytes_;
  std::map<Item, Deviations> worst_;
  Deviations worstFit_;

  // The product's own curve of a spline item, its tables made afresh.
  static PlaneCurve ProductSpline(const SplineEntity& s, std::vector<PlanePoint>& controls,
                                  std::vector<PlanePoint>& fits) {
    controls.clear();
    fits.clear();
    for (const SplinePoint& p : s.controls) controls.push_back({p.x, p.y});
    for (const SplinePoint& p : s.fits) fits.push_back({p.x, p.y});
    SplineGroups groups = {};
    groups.flags = s.flags;
    groups.degree = s.degree;
    groups.knotCount = static_cast<int>(s.knots.size());
    groups.controlCount = static_cast<int>(controls.size());
    groups.weightCount = static_cast<int>(s.weights.size());
    groups.fitCount = static_cast<int>(fits.size());
    groups.knots = s.knots.data();
    groups.controls = controls.data();
    groups.weights = s.weights.data();
    groups.fits = fits.data();
    groups.hasStartTangent = groups.hasEndTangent = s.tangents;
    groups.startTangent = {s.startTangent.x, s.startTangent.y};
    groups.endTangent = {s.endTangent.x, s.endTangent.y};
    PlaneCurve curve{};
    EXPECT_EQ(MakeSplineCurve(groups, curve), SplineProblem::kNone);
    return curve;
  }

  void RoundTrip(DxfStyle style, unsigned seed) {
    random_.seed(seed);
    DxfBuilder drawing;
    drawing.Markers();
    const Blocks blocks = MakeBlocks(drawing, style);
    std::vector<Cell> cells;
    const std::vector<Item> items = Items();
    ASSERT_LE(items.size(), static_cast<std::size_t>(kMaxShapeNumber));
    for (std::size_t i = 0; i < items.size(); ++i) {
      Cell cell;
      cell.n = static_cast<int>(i) + 1;
      cell.item = items[i];
      // An item is written only once it fits its box.
      bool made = false;
      for (int attempt = 0; attempt < 100 && !made; ++attempt) {
        made = MakeItem(drawing, style, blocks, cell);
      }
      ASSERT_TRUE(made) << ItemName(cell.item);
      cells.push_back(cell);
    }
    const std::string file = Convert(drawing.Build());
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(frontend_.messages.empty());
    // Everything drawn is placed: nothing is left out.
    EXPECT_EQ(LeftOut().total, 0);

    // The bytes each shape's records take.
    std::map<int, long> recordBytes;
    for (int i = 0; i < Entities().total; ++i) {
      const DrawingEntityRecord& record = Entities().records[i];
      recordBytes[record.shapeNumber] += record.kind == kKindArc    ? 4
                                         : record.kind == kKindLine ? 3
                                                                    : 6;
    }
    const std::map<int, WrittenShape> shapes = ReadShapes(file);
    std::vector<PlanePoint> controls, fits;
    for (const Cell& cell : cells) {
      SCOPED_TRACE(::testing::Message() << ItemName(cell.item) << " in cell " << cell.n);
      const auto found = shapes.find(cell.n);
      ASSERT_NE(found, shapes.end());
      const std::vector<Stroke> strokes = DrawBack(found->second, CornerOf(cell.n));
      ASSERT_FALSE(strokes.empty());
      const Deviations drawn = Compare(strokes, cell.curves, CornerOf(cell.n));
      EXPECT_LE(drawn.drawn, kDrawnTolerance);
      EXPECT_LE(drawn.truth, kDrawnTolerance);
      Deviations& worst = worst_[cell.item];
      worst.drawn = std::max(worst.drawn, drawn.drawn);
      worst.truth = std::max(worst.truth, drawn.truth);
      if (cell.openEnds) {
        // The ends of an open curve are its own, to the unit.
        const Point start = cell.curves.front().points.front();
        const Point end = cell.curves.front().points.back();
        EXPECT_NEAR(strokes.front().a.x, std::floor(start.x + 0.5), 1e-9);
        EXPECT_NEAR(strokes.front().a.y, std::floor(start.y + 0.5), 1e-9);
        EXPECT_NEAR(strokes.back().b.x, std::floor(end.x + 0.5), 1e-9);
        EXPECT_NEAR(strokes.back().b.y, std::floor(end.y + 0.5), 1e-9);
      }
      if (cell.hasPlaneCurve) {
        const PlaneCurve curve = cell.planeCurve.form == CurveForm::kEllipse
                                     ? cell.planeCurve
                                     : ProductSpline(cell.spline, controls, fits);
        const Deviations fit = CompareFit(curve, cell.curves.front(), CornerOf(cell.n));
        EXPECT_LE(fit.drawn, kFittedTolerance);
        EXPECT_LE(fit.truth, kFittedTolerance);
        worstFit_.drawn = std::max(worstFit_.drawn, fit.drawn);
        worstFit_.truth = std::max(worstFit_.truth, fit.truth);
      }
      Bytes& bytes = bytes_[cell.item];
      bytes.curves += static_cast<int>(cell.curves.size());
      bytes.fitted += recordBytes[cell.n];
      for (const TrueCurve& curve : cell.curves) {
        bytes.lineChain += 3 * LineChainSegments(curve, kFittedTolerance);
      }
    }
    ResetConversionTables();
    frontend_.messages.clear();
  }

  void Report() {
    std::printf("[ round trip ] %-32s %6s %8s %8s %12s %12s %6s\n", "", "curves", "drawn", "true",
                "bytes/curve", "line chain", "ratio");
    for (const auto& [item, bytes] : bytes_) {
      const Deviations& worst = worst_[item];
      const double fitted = static_cast<double>(bytes.fitted) / bytes.curves;
      const double chain = static_cast<double>(bytes.lineChain) / bytes.curves;
      std::printf("[ round trip ] %-32s %6d %8.3f %8.3f %12.1f %12.1f %6.2f\n", ItemName(item),
                  bytes.curves, worst.drawn, worst.truth, fitted, chain, fitted / chain);
    }
    std::printf(
        "[ round trip ] fitted path before rounding: worst %.3f (path to curve), %.3f "
        "(curve to path)\n",
        worstFit_.drawn, worstFit_.truth);
  }
};

TEST_F(FittedCurveRoundTripTest, CurvesAndBlocksComeBackAsDrawn) {
  BuildCellTable();
  RoundTrip(DxfStyle::kR12, 1201);
  RoundTrip(DxfStyle::kR2000, 2000);
  Report();
  // Fitted arcs take fewer bytes than the plain line chain that follows the curve as closely.
  for (const auto& [item, bytes] : bytes_) {
    SCOPED_TRACE(ItemName(item));
    EXPECT_LT(bytes.fitted, bytes.lineChain);
  }
}

}  // namespace
}  // namespace korvex
