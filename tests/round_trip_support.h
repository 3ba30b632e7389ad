// Shapes drawn back from the bytes written for them, and the geometry they must match:
// straight pieces, counter-clockwise arcs and circles, and the strokes the shape interpreter
// draws. Shared by the round-trip tests of the curves.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "shape_files/shape_interpreter.h"
#include "sheet/cell_grid.h"
#include "test_support.h"

namespace korvex::test {

inline constexpr double kPi = 3.141592653589793;

// ---- Geometry as drawn --------------------------------------------------------------------

struct Point {
  double x;
  double y;
};

// A straight piece, a counter-clockwise arc (start angle and sweep in degrees) or a circle.
struct Piece {
  enum Kind { kSegment, kArc, kCircle } kind;
  Point a, b;  // segment ends
  Point centre;
  double radius;
  double startAngle;
  double sweep;
};

inline Piece Segment(Point a, Point b) {
  return {Piece::kSegment, a, b, {}, 0, 0, 0};
}
inline Piece Arc(Point centre, double radius, double startAngle, double sweep) {
  return {Piece::kArc, {}, {}, centre, radius, startAngle, sweep};
}
inline Piece Circle(Point centre, double radius) {
  return {Piece::kCircle, {}, {}, centre, radius, 0, 360};
}

inline Point OnCircle(const Piece& piece, double degrees) {
  const double t = degrees * kPi / 180;
  return {piece.centre.x + piece.radius * std::cos(t), piece.centre.y + piece.radius * std::sin(t)};
}

inline double Distance(Point p, Point q) {
  return std::hypot(p.x - q.x, p.y - q.y);
}

inline double DistanceToSegment(Point p, Point a, Point b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return Distance(p, {a.x + t * dx, a.y + t * dy});
}

inline double DistanceToPiece(Point p, const Piece& piece) {
  if (piece.kind == Piece::kSegment) return DistanceToSegment(p, piece.a, piece.b);
  const double fromCentre = Distance(p, piece.centre);
  if (piece.kind == Piece::kCircle) return std::fabs(fromCentre - piece.radius);
  double angle = std::atan2(p.y - piece.centre.y, p.x - piece.centre.x) * 180 / kPi;
  angle = std::fmod(angle - piece.startAngle + 720, 360.0);
  if (angle <= piece.sweep) return std::fabs(fromCentre - piece.radius);
  return std::min(Distance(p, OnCircle(piece, piece.startAngle)),
                  Distance(p, OnCircle(piece, piece.startAngle + piece.sweep)));
}

// The points every drawing of the piece must pass: its ends and its middle, or for a
// circle its four quarter points.
inline std::vector<Point> KeyPoints(const Piece& piece) {
  if (piece.kind == Piece::kSegment) {
    return {piece.a, piece.b, {(piece.a.x + piece.b.x) / 2, (piece.a.y + piece.b.y) / 2}};
  }
  if (piece.kind == Piece::kCircle) {
    return {OnCircle(piece, 0), OnCircle(piece, 90), OnCircle(piece, 180), OnCircle(piece, 270)};
  }
  return {OnCircle(piece, piece.startAngle), OnCircle(piece, piece.startAngle + piece.sweep / 2),
          OnCircle(piece, piece.startAngle + piece.sweep)};
}

// The arc a polyline bulge describes from p to q (the DXF bulge convention).
inline Piece BulgePiece(Point p, Point q, double bulge) {
  if (bulge == 0) return Segment(p, q);
  const Point s = bulge > 0 ? p : q;
  const Point e = bulge > 0 ? q : p;
  const double included = 4 * std::atan(std::fabs(bulge));
  const double chord = Distance(s, e);
  const double radius = chord / (2 * std::sin(included / 2));
  // The centre lies left of the chord for an arc under 180 degrees, right of it above.
  const double toCentre = radius * std::cos(included / 2);
  const Point centre = {(s.x + e.x) / 2 - (e.y - s.y) / chord * toCentre,
                        (s.y + e.y) / 2 + (e.x - s.x) / chord * toCentre};
  const double start = std::atan2(s.y - centre.y, s.x - centre.x) * 180 / kPi;
  return Arc(centre, radius, start, included * 180 / kPi);
}

// ---- Shapes drawn back --------------------------------------------------------------------

struct Stroke {
  Point a, b;
};

inline void CollectStroke(void* context, double x1, double y1, double x2, double y2) {
  static_cast<std::vector<Stroke>*>(context)->push_back({{x1, y1}, {x2, y2}});
}

struct WrittenShape {
  int byteCount = 0;
  std::string name;
  std::string body;
};

// The shape definitions of a .shp file by shape number, body lines joined.
inline std::map<int, WrittenShape> ReadShapes(const std::string& file) {
  std::map<int, WrittenShape> shapes;
  WrittenShape* current = nullptr;
  std::size_t from = 0;
  while (from < file.size()) {
    std::size_t end = file.find("\r\n", from);
    if (end == std::string::npos) end = file.size();
    const std::string line = file.substr(from, end - from);
    from = end + 2;
    if (line.empty() || line == "\x1A") continue;
    if (line[0] == '*') {
      const int n = std::atoi(line.c_str() + 1);
      const std::size_t comma = line.find(',');
      const std::size_t nameComma = line.find(',', comma + 1);
      current = &shapes[n];
      current->byteCount = std::atoi(line.c_str() + comma + 1);
      current->name = line.substr(nameComma + 1);
    } else if (current != nullptr) {
      current->body += line;
    }
  }
  return shapes;
}

// The lower-left corner of cell n's box.
inline Point CornerOf(int n) {
  const CellCorner corner = CellCornerOf(n);
  return {static_cast<double>(corner.x), static_cast<double>(corner.y)};
}

// Draws one written shape from its origin, in drawing units (the shape's own 3,100 scale
// code divides the 100 passed here).
inline std::vector<Stroke> DrawBack(const WrittenShape& shape, Point origin) {
  const std::vector<std::int16_t> bytes = test::ShapeBytesOf(shape.body);
  EXPECT_EQ(static_cast<int>(bytes.size()), shape.byteCount) << shape.body;
  std::vector<Stroke> strokes;
  const DrawResult result =
      test::DrawBytes(bytes, origin.x, origin.y, kShapeScale, CollectStroke, &strokes);
  EXPECT_TRUE(result.ok) << (result.problem != nullptr ? result.problem : "") << shape.body;
  return strokes;
}

// The farthest any drawn point lies from the pieces; every key point of every piece must
// also lie within the tolerance of a stroke.
inline double Deviation(const std::vector<Stroke>& strokes, const std::vector<Piece>& pieces,
                        double tolerance) {
  double worst = 0;
  for (const Stroke& stroke : strokes) {
    const int samples = 1 + static_cast<int>(Distance(stroke.a, stroke.b) / 0.25);
    for (int i = 0; i <= samples; ++i) {
      const double t = static_cast<double>(i) / samples;
      const Point p = {stroke.a.x + t * (stroke.b.x - stroke.a.x),
                       stroke.a.y + t * (stroke.b.y - stroke.a.y)};
      double nearest = HUGE_VAL;
      for (const Piece& piece : pieces) nearest = std::min(nearest, DistanceToPiece(p, piece));
      worst = std::max(worst, nearest);
    }
  }
  for (const Piece& piece : pieces) {
    for (const Point& key : KeyPoints(piece)) {
      double nearest = HUGE_VAL;
      for (const Stroke& stroke : strokes) {
        nearest = std::min(nearest, DistanceToSegment(key, stroke.a, stroke.b));
      }
      EXPECT_LE(nearest, tolerance) << "key point (" << key.x << ", " << key.y << ") not drawn";
      worst = std::max(worst, nearest);
    }
  }
  return worst;
}

}  // namespace korvex::test
