// Drawings of lines, arcs, circles and bulged polylines converted to shape files and drawn
// back from their bytes: what the CAD program will draw must be what the user drew.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "conversion/conversion_run.h"
#include "curve_drawing.h"
#include "round_trip_support.h"
#include "shape_files/shape_interpreter.h"
#include "shape_output/shape_encoder.h"
#include "shape_output/shp_writer.h"
#include "sheet/cell_grid.h"
#include "sheet/entity_table.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::AddArc;
using test::AddCircle;
using test::AddLine;
using test::AddPolyline;
using test::DxfBuilder;
using test::DxfStyle;
using test::PolylineVertex;

using test::Arc;
using test::BulgePiece;
using test::Circle;
using test::CornerOf;
using test::Distance;
using test::DistanceToPiece;
using test::DrawBack;
using test::KeyPoints;
using test::Piece;
using test::Point;
using test::ReadShapes;
using test::Segment;
using test::Stroke;
using test::WrittenShape;

// How far a drawn-back point may lie from the geometry drawn, in drawing units.
constexpr double kTolerance = 1.5;

double Deviation(const std::vector<Stroke>& strokes, const std::vector<Piece>& pieces) {
  return test::Deviation(strokes, pieces, kTolerance);
}

// ---- Random drawings ----------------------------------------------------------------------

enum class ItemKind { kLine, kArc, kCircle, kPolyline };

// One item per shape cell, so that every drawn stroke answers to one item.
struct Cell {
  int n;
  std::vector<Piece> pieces;
  bool hasOrigin = false;
  Point origin{};
};

class CurveRoundTripTest : public test::KorvexTest {
 protected:
  std::mt19937 random_{20240611};

  double Uniform(double from, double to) {
    return std::uniform_real_distribution<double>(from, to)(random_);
  }
  int Whole(int from, int to) { return std::uniform_int_distribution<int>(from, to)(random_); }

  const std::string& Layer() {
    static const std::string layers[] = {"0", "Shapes", "Curves"};
    return layers[Whole(0, 2)];
  }

  void AddRandomLine(DxfBuilder& drawing, DxfStyle style, Point corner, Cell& cell) {
    const Point a = {corner.x + Uniform(2, 98), corner.y + Uniform(2, 98)};
    const Point b = {corner.x + Uniform(2, 98), corner.y + Uniform(2, 98)};
    AddLine(drawing, style, a.x, a.y, b.x, b.y, Layer());
    cell.pieces.push_back(Segment(a, b));
  }

  // The whole circle of the arc stays inside the box, so the arc does.
  void AddRandomArc(DxfBuilder& drawing, DxfStyle style, Point corner, Cell& cell, double sweep) {
    const double radius = sweep < 20 ? Uniform(35, 45) : Uniform(3, 45);
    const Point centre = {corner.x + Uniform(2 + radius, 98 - radius),
                          corner.y + Uniform(2 + radius, 98 - radius)};
    const double start = Uniform(0, 360);
    const double end = std::fmod(start + sweep, 360.0);
    AddArc(drawing, style, centre.x, centre.y, radius, start, end, Layer());
    cell.pieces.push_back(Arc(centre, radius, start, sweep));
  }

  // Centres and radii a little over whole units: the capture truncates them, and the
  // round trip is about arcs, not about truncation.
  void AddRandomCircle(DxfBuilder& drawing, DxfStyle style, Point corner, Cell& cell) {
    const double radius = Whole(3, 45) + Uniform(0, 0.45);
    const double reach = std::ceil(radius) + 2;
    const Point centre = {
        corner.x + Whole(static_cast<int>(reach), static_cast<int>(100 - reach)) + Uniform(0, 0.45),
        corner.y + Whole(static_cast<int>(reach), static_cast<int>(100 - reach)) +
            Uniform(0, 0.45)};
    AddCircle(drawing, style, centre.x, centre.y, radius, Layer());
    cell.pieces.push_back(Circle(centre, radius));
  }

  double RandomBulge() {
    switch (Whole(0, 5)) {
      case 0:
        return 0;
      case 1:
        return Uniform(-1, 1);
      case 2:
        return Whole(0, 1) == 0 ? 1 : -1;
      case 3:
      case 4:
        return (Whole(0, 1) == 0 ? 1 : -1) * Uniform(1, 6);
      default:
        return (Whole(0, 1) == 0 ? 1 : -1) * Uniform(6, 40);  // 320 to 357 degrees
    }
  }

  // Whole-unit vertices; a bulge whose circle would leave the box is tried again.
  void AddRandomPolyline(DxfBuilder& drawing, DxfStyle style, Point corner, Cell& cell) {
    const int count = Whole(2, 6);
    const bool closed = count > 2 && Whole(0, 2) == 0;
    std::vector<PolylineVertex> vertices;
    // A walk of short and long steps: big bulges fit their box only over short chords.
    PolylineVertex v{corner.x + Whole(8, 92), corner.y + Whole(8, 92), 0};
    for (int i = 0; i < count; ++i) {
      vertices.push_back(v);
      const int reach = Whole(0, 1) == 0 ? 6 : 60;
      v.x = std::clamp(v.x + Whole(-reach, reach), corner.x + 8, corner.x + 92);
      v.y = std::clamp(v.y + Whole(-reach, reach), corner.y + 8, corner.y + 92);
      if (v.x == vertices.back().x && v.y == vertices.back().y) v.x += v.x < corner.x + 50 ? 1 : -1;
    }
    const int segments = closed ? count : count - 1;
    for (int i = 0; i < segments; ++i) {
      const PolylineVertex& p = vertices[i];
      const PolylineVertex& q = vertices[(i + 1) % count];
      if (p.x == q.x && p.y == q.y) continue;
      for (int attempt = 0; attempt < 20; ++attempt) {
        const double bulge = RandomBulge();
        const Piece piece = BulgePiece({p.x, p.y}, {q.x, q.y}, bulge);
        const bool fits =
            piece.kind == Piece::kSegment || (piece.centre.x - piece.radius >= corner.x + 1 &&
                                              piece.centre.x + piece.radius <= corner.x + 99 &&
                                              piece.centre.y - piece.radius >= corner.y + 1 &&
                                              piece.centre.y + piece.radius <= corner.y + 99);
        if (fits) {
          vertices[i].bulge = bulge;
          break;
        }
      }
      cell.pieces.push_back(BulgePiece({p.x, p.y}, {q.x, q.y}, vertices[i].bulge));
    }
    AddPolyline(drawing, style, vertices, closed ? 1 : 0, Layer());
  }

  // Items to draw: every arc sweep from 1 to 359 degrees, and lines, circles and
  // polylines, in random order.
  std::vector<std::pair<ItemKind, double>> Items() {
    std::vector<std::pair<ItemKind, double>> items;
    for (int sweep = 1; sweep <= 359; ++sweep) items.push_back({ItemKind::kArc, sweep});
    for (int i = 0; i < 60; ++i) items.push_back({ItemKind::kLine, 0});
    for (int i = 0; i < 80; ++i) items.push_back({ItemKind::kCircle, 0});
    for (int i = 0; i < 220; ++i) items.push_back({ItemKind::kPolyline, 0});
    std::shuffle(items.begin(), items.end(), random_);
    return items;
  }

  // Converts the drawing and compares every cell's shape with what the cell holds.
  double ConvertAndCompare(const DxfBuilder& drawing, const std::vector<Cell>& cells) {
    const std::string file = Convert(drawing.Build());
    EXPECT_FALSE(file.empty());
    EXPECT_TRUE(frontend_.messages.empty());
    const std::map<int, WrittenShape> shapes = ReadShapes(file);
    double worst = 0;
    for (const Cell& cell : cells) {
      SCOPED_TRACE(::testing::Message() << "shape " << cell.n);
      const auto found = shapes.find(cell.n);
      if (found == shapes.end()) {
        // Only an item that rounds to a single point may vanish.
        const std::vector<Point> keys = KeyPoints(cell.pieces.front());
        EXPECT_LE(Distance(keys.front(), keys.back()), kTolerance) << "nothing written";
        continue;
      }
      const Point origin = cell.hasOrigin ? cell.origin : CornerOf(cell.n);
      worst = std::max(worst, Deviation(DrawBack(found->second, origin), cell.pieces));
    }
    return worst;
  }

  double RoundTrip(DxfStyle style) {
    random_.seed(style == DxfStyle::kR12 ? 1201 : 2000);
    double worst = 0;
    const std::vector<std::pair<ItemKind, double>> items = Items();
    for (std::size_t first = 0; first < items.size(); first += kMaxShapeNumber) {
      DxfBuilder drawing;
      drawing.Markers();
      std::vector<Cell> cells;
      for (std::size_t i = first; i < items.size() && i < first + kMaxShapeNumber; ++i) {
        Cell cell;
        cell.n = static_cast<int>(i - first) + 1;
        const Point corner = CornerOf(cell.n);
        switch (items[i].first) {
          case ItemKind::kLine:
            AddRandomLine(drawing, style, corner, cell);
            break;
          case ItemKind::kArc:
            AddRandomArc(drawing, style, corner, cell, items[i].second);
            break;
          case ItemKind::kCircle:
            AddRandomCircle(drawing, style, corner, cell);
            break;
          case ItemKind::kPolyline:
            AddRandomPolyline(drawing, style, corner, cell);
            break;
        }
        // Every third shape measures from a POINT of its own.
        if (cell.n % 3 == 0) {
          cell.hasOrigin = true;
          cell.origin = {corner.x + Whole(0, 100), corner.y + Whole(0, 99)};
          drawing.Point(cell.origin.x, cell.origin.y);
        }
        if (!cell.pieces.empty()) cells.push_back(cell);
      }
      worst = std::max(worst, ConvertAndCompare(drawing, cells));
      ResetConversionTables();
      frontend_.messages.clear();
    }
    return worst;
  }

  static void Report(const char* what, double worst) {
    std::printf("[ round trip ] %s: worst deviation %.3f drawing units\n", what, worst);
    RecordProperty("worstDeviation", std::to_string(worst));
  }
};

TEST_F(CurveRoundTripTest, R12DrawingsComeBackAsDrawn) {
  BuildCellTable();
  const double worst = RoundTrip(DxfStyle::kR12);
  Report("R12", worst);
  EXPECT_LE(worst, kTolerance);
}

TEST_F(CurveRoundTripTest, R2000DrawingsComeBackAsDrawn) {
  BuildCellTable();
  const double worst = RoundTrip(DxfStyle::kR2000);
  Report("R2000", worst);
  EXPECT_LE(worst, kTolerance);
}

TEST_F(CurveRoundTripTest, TruncatedCirclesStayWithinTheirTruncation) {
  // Circles anywhere between whole units: the capture cuts centre and radius toward zero,
  // so a drawn-back circle may lie up to sqrt(2) + 1 units off, never more.
  BuildCellTable();
  DxfBuilder drawing;
  drawing.Markers();
  std::vector<Cell> cells;
  for (int n = 1; n <= kMaxShapeNumber; ++n) {
    Cell cell{n, {}};
    const Point corner = CornerOf(n);
    const double radius = Uniform(3, 45);
    const Point centre = {corner.x + Uniform(radius + 2, 98 - radius),
                          corner.y + Uniform(radius + 2, 98 - radius)};
    AddCircle(drawing, DxfStyle::kR12, centre.x, centre.y, radius);
    cell.pieces.push_back(Circle(centre, radius));
    cells.push_back(cell);
  }
  const std::map<int, WrittenShape> shapes = ReadShapes(Convert(drawing.Build()));
  ASSERT_EQ(shapes.size(), cells.size());
  double worst = 0;
  for (const Cell& cell : cells) {
    std::vector<Stroke> strokes = DrawBack(shapes.at(cell.n), CornerOf(cell.n));
    for (const Stroke& s : strokes) {
      worst = std::max(worst, DistanceToPiece(s.a, cell.pieces.front()));
    }
  }
  Report("circles between whole units", worst);
  EXPECT_LE(worst, std::sqrt(2.0) + 1);
}

// ---- The arc and circle bytes -------------------------------------------------------------

class ArcEncodingTest : public test::KorvexTest {
 protected:
  // The text and byte count of shape n, made from the records given in this order.
  static std::string EncodeRecords(int n, const std::vector<DrawingEntityRecord>& records,
                                   int* byteCount = nullptr) {
    ResetConversionTables();
    for (DrawingEntityRecord record : records) {
      record.shapeNumber = static_cast<std::int16_t>(n);
      StartRecord(0, kKindLine, 0, 0) = record;
      AdmitRecord(record.shapeNumber);
    }
    SortEntityKeys();
    StartEncoderRun();
    EncodedShape shape;
    if (EncodeShape(n, shape) != EncodeResult::kEncoded) return "";
    if (byteCount != nullptr) *byteCount = shape.byteCount;
    return shape.text;
  }

  static DrawingEntityRecord ArcRecord(int sx, int sy, int ex, int ey, double cx, double cy,
                                       double r, double a1, double a2) {
    DrawingEntityRecord record{};
    record.kind = kKindArc;
    record.startX = static_cast<std::int16_t>(sx);
    record.startY = static_cast<std::int16_t>(sy);
    record.endX = static_cast<std::int16_t>(ex);
    record.endY = static_cast<std::int16_t>(ey);
    record.centreX = cx;
    record.centreY = cy;
    record.radius = r;
    record.startAngle = a1;
    record.endAngle = a2;
    return record;
  }

  // The worked example of shape 18: a line, a circle and an arc about the circle's centre.
  static DxfBuilder Shape18(double arcEndAngle) {
    DxfBuilder drawing;
    drawing.Markers().Line(135, 1760, 215, 1760);
    AddCircle(drawing, DxfStyle::kR12, 175, 1800, 20);
    AddArc(drawing, DxfStyle::kR12, 175, 1800, 30, 0, arcEndAngle);
    return drawing;
  }
};

TEST_F(ArcEncodingTest, WorkedExampleOfShape18) {
  struct Case {
    double arcEnd;
    int byteCount;
    const char* text;
  } cases[] = {
      {90, 31,
       "3,100,2,8,(10,10),1,8,(80,0),2,8,(-20,40),1,11,(0,0,0,20,000),2,8,(10,0),1,"
       "12,(-30,30,53),0"},
      {270, 35,
       "3,100,2,8,(10,10),1,8,(80,0),2,8,(-20,40),1,11,(0,0,0,20,000),2,8,(10,0),1,"
       "12,(-60,0,127),12,(30,-30,53),0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arcEnd);
    const std::map<int, WrittenShape> shapes = ReadShapes(Convert(Shape18(c.arcEnd).Build()));
    ASSERT_EQ(shapes.count(18), 1u);
    const WrittenShape& shape = shapes.at(18);
    EXPECT_EQ(shape.name, "SHAPE18");
    EXPECT_EQ(shape.byteCount, c.byteCount);
    EXPECT_EQ(shape.body, c.text);

    // Drawn back, it is the drawing.
    BuildCellTable();
    const Piece pieces[] = {Segment({135, 1760}, {215, 1760}), Circle({175, 1800}, 20),
                            Arc({175, 1800}, 30, 0, c.arcEnd)};
    EXPECT_LE(Deviation(DrawBack(shape, {125, 1750}), {std::begin(pieces), std::end(pieces)}),
              kTolerance);
  }
}

TEST_F(ArcEncodingTest, ArcsWithoutAChordNeverComputeZeroOverZero) {
  DrawingEntityRecord line{};
  line.kind = kKindLine;
  line.startX = 10;
  line.startY = 10;
  line.endX = 90;
  line.endY = 10;
  struct Case {
    const char* what;
    DrawingEntityRecord arc;
    const char* text;
  } cases[] = {
      {"sweeps round: a full circle", ArcRecord(80, 50, 80, 50, 50, 50, 30, 0, 359.9),
       "3,100,2,8,(10,10),1,8,(80,0),2,8,(-10,40),1,12,(-60,0,127),12,(60,0,127),0"},
      {"0 to 360: a full circle", ArcRecord(80, 50, 80, 50, 50, 50, 30, 0, 360),
       "3,100,2,8,(10,10),1,8,(80,0),2,8,(-10,40),1,12,(-60,0,127),12,(60,0,127),0"},
      {"equal angles: nothing", ArcRecord(50, 80, 50, 80, 50, 50, 30, 90, 90),
       "3,100,2,8,(10,10),1,8,(80,0),0"},
      {"NaN angles: nothing", ArcRecord(50, 80, 50, 80, 50, 50, 30, std::nan(""), 90),
       "3,100,2,8,(10,10),1,8,(80,0),0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int byteCount = 0;
    const std::string text = EncodeRecords(241, {line, c.arc}, &byteCount);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(static_cast<int>(test::ShapeBytesOf(text).size()), byteCount);
  }
  // Alone in its shape, an arc that draws nothing leaves the shape out.
  EXPECT_EQ(EncodeRecords(241, {ArcRecord(50, 80, 50, 80, 50, 50, 30, 90, 90)}), "");
}

}  // namespace
}  // namespace korvex
