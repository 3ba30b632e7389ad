#include "dxf/curve_capture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "conversion/conversion_run.h"
#include "curve_drawing.h"
#include "dxf/arc_geometry.h"
#include "dxf/dxf_reader.h"
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

constexpr double kNear = 0.005;
constexpr DxfStyle kBothStyles[] = {DxfStyle::kR12, DxfStyle::kR2000};

const char* StyleName(DxfStyle style) {
  return style == DxfStyle::kR12 ? "R12 POLYLINE" : "R2000 LWPOLYLINE";
}

// The counter-clockwise sweep of an arc record, degrees.
double Sweep(const DrawingEntityRecord& record) {
  const double sweep = record.endAngle - record.startAngle;
  return sweep < 0 ? sweep + 360 : sweep;
}

class CurveCaptureTest : public test::KorvexTest {
 protected:
  // A drawing that carries the template marker pair, so that only the curves decide.
  static DxfBuilder Sheet() {
    DxfBuilder drawing;
    drawing.Markers();
    return drawing;
  }

  // Reads the drawing into fresh tables; the number of records captured.
  int Read(const DxfBuilder& drawing) { return ReadText(drawing.Build()); }

  int ReadText(const std::string& text) {
    ResetConversionTables();
    ReadDrawing(Drawing(text));
    return Entities().total;
  }

  // The drawing cut off right after the entities that were added: no ENDSEC, no EOF.
  static std::string CutAfterEntities(const DxfBuilder& drawing) {
    std::string text = drawing.Build();
    text.erase(text.rfind("  0\nENDSEC\n"));
    return text;
  }

  static void ExpectLine(const DrawingEntityRecord& r, int n, int x1, int y1, int x2, int y2) {
    EXPECT_EQ(r.kind, kKindLine);
    EXPECT_EQ(r.shapeNumber, n);
    EXPECT_EQ(r.startX, x1);
    EXPECT_EQ(r.startY, y1);
    EXPECT_EQ(r.endX, x2);
    EXPECT_EQ(r.endY, y2);
  }

  static void ExpectArc(const DrawingEntityRecord& r, int n, int x1, int y1, int x2, int y2,
                        double cx, double cy, double radius, double a1, double a2) {
    EXPECT_EQ(r.kind, kKindArc);
    EXPECT_EQ(r.shapeNumber, n);
    EXPECT_EQ(r.startX, x1);
    EXPECT_EQ(r.startY, y1);
    EXPECT_EQ(r.endX, x2);
    EXPECT_EQ(r.endY, y2);
    EXPECT_NEAR(r.centreX, cx, kNear);
    EXPECT_NEAR(r.centreY, cy, kNear);
    EXPECT_NEAR(r.radius, radius, kNear);
    EXPECT_NEAR(r.startAngle, a1, kNear);
    EXPECT_NEAR(r.endAngle, a2, kNear);
  }

  static void ExpectSquare(int lines) {
    ASSERT_EQ(Entities().total, lines);
    ExpectLine(Entities().records[0], 241, 10, 10, 90, 10);
    ExpectLine(Entities().records[1], 241, 90, 10, 90, 90);
    ExpectLine(Entities().records[2], 241, 90, 90, 10, 90);
    if (lines == 4) ExpectLine(Entities().records[3], 241, 10, 90, 10, 10);
  }

  static void ExpectBulgeTwoSplit() {
    ASSERT_EQ(Entities().total, 2);
    ExpectArc(Entities().records[0], 241, 40, 50, 60, 35, 50, 42.5, 12.5, 143.13, 323.13);
    ExpectArc(Entities().records[1], 241, 60, 35, 60, 50, 50, 42.5, 12.5, 323.13, 36.87);
  }
};

const std::vector<PolylineVertex> kSquare = {{10, 10, 0}, {90, 10, 0}, {90, 90, 0}, {10, 90, 0}};

// ---- ARC ----------------------------------------------------------------------------------

TEST_F(CurveCaptureTest, ArcIsStoredWithItsRoundedEnds) {
  for (DxfStyle style : kBothStyles) {
    SCOPED_TRACE(StyleName(style));
    DxfBuilder drawing = Sheet();
    AddArc(drawing, style, 50, 50, 30, 30, 120);
    ASSERT_EQ(Read(drawing), 1);
    ExpectArc(Entities().records[0], 241, 76, 65, 35, 76, 50, 50, 30, 30, 120);
    EXPECT_EQ(Entities().keys[0], 241 * kKeyShapeFactor);
  }
}

TEST_F(CurveCaptureTest, ArcSeenFromBelowIsMirrored) {
  struct Case {
    const char* what;
    bool extrusionFirst;
    double a1, a2;
    int sx, sy, ex, ey;
    double m1, m2;
  } cases[] = {
      {"230 after the angles", false, 60, 150, 76, 65, 35, 76, 30, 120},
      {"230 before the angles", true, 60, 150, 76, 65, 35, 76, 30, 120},
      {"angles over 180", false, 200, 250, 60, 22, 78, 40, 290, 340},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DxfBuilder drawing = Sheet();
    drawing.Group(0, "ARC").Group(8, "0");
    if (c.extrusionFirst) drawing.Group(230, -1.0);
    drawing.Group(10, -50.0).Group(20, 50.0).Group(40, 30.0).Group(50, c.a1).Group(51, c.a2);
    if (!c.extrusionFirst) drawing.Group(210, 0.0).Group(220, 0.0).Group(230, -1.0);
    ASSERT_EQ(Read(drawing), 1);
    ExpectArc(Entities().records[0], 241, c.sx, c.sy, c.ex, c.ey, 50, 50, 30, c.m1, c.m2);
  }
}

TEST_F(CurveCaptureTest, MirroringLeavesTheHoldersAsTheFileGaveThem) {
  // The second ARC lacks its centre and its extrusion: it takes the first one's centre as
  // written (-50, 50), which lies off the sheet, not the mirrored (50, 50).
  DxfBuilder drawing = Sheet();
  drawing.Group(0, "ARC").Group(10, -50.0).Group(20, 50.0).Group(40, 30.0);
  drawing.Group(50, 60.0).Group(51, 150.0).Group(230, -1.0);
  drawing.Group(0, "ARC").Group(40, 30.0).Group(50, 30.0).Group(51, 120.0);
  EXPECT_EQ(Read(drawing), 1);
}

TEST_F(CurveCaptureTest, ArcLackingARadiusTakesTheLastOneRead) {
  DxfBuilder drawing = Sheet();
  AddCircle(drawing, DxfStyle::kR12, 175, 1800, 20);
  drawing.Group(0, "ARC").Group(10, 50.0).Group(20, 50.0).Group(50, 30.0).Group(51, 120.0);
  ASSERT_EQ(Read(drawing), 2);
  EXPECT_EQ(Entities().records[1].kind, kKindArc);
  EXPECT_EQ(Entities().records[1].radius, 20);
  EXPECT_EQ(Entities().records[1].shapeNumber, 241);
}

TEST_F(CurveCaptureTest, ArcsThatNoShapeCanHoldAreDropped) {
  struct Case {
    const char* what;
    std::string cx, cy, r, a1, a2, extrusion;
  } cases[] = {
      {"tilted plane, z 1", "50", "50", "30", "30", "120", "1"},
      {"tilted plane, z 0.5", "50", "50", "30", "30", "120", "0.5"},
      {"radius 0.9", "50", "50", "0.9", "30", "120", ""},
      {"radius over 1220", "50", "50", "1221", "30", "120", ""},
      {"round, 0 to 360", "50", "50", "30", "0", "360", ""},
      {"bulge out of the box", "50", "80", "30", "30", "150", ""},
      {"in cell 256", "1925", "50", "30", "30", "120", ""},
      {"huge centre", "1e308", "50", "30", "30", "120", ""},
      {"centre overflows", "1e999", "50", "30", "30", "120", ""},
      {"NaN centre", "50", "nan", "30", "30", "120", ""},
      {"infinite radius", "50", "50", "inf", "30", "120", ""},
      {"huge radius", "50", "50", "1e308", "30", "120", ""},
      {"NaN radius", "50", "50", "nan", "30", "120", ""},
      {"NaN start angle", "50", "50", "30", "nan", "120", ""},
      {"infinite end angle", "50", "50", "30", "30", "-inf", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DxfBuilder drawing = Sheet();
    drawing.Group(0, "ARC").Group(10, c.cx).Group(20, c.cy).Group(40, c.r);
    drawing.Group(50, c.a1).Group(51, c.a2);
    if (!c.extrusion.empty()) drawing.Group(230, c.extrusion);
    EXPECT_EQ(Read(drawing), 0);
  }
}

TEST_F(CurveCaptureTest, ArcAnglesOutsideOneTurnAreTakenModulo360) {
  DxfBuilder drawing = Sheet();
  AddArc(drawing, DxfStyle::kR12, 50, 50, 30, -30, 60);
  ASSERT_EQ(Read(drawing), 1);
  ExpectArc(Entities().records[0], 241, 76, 35, 65, 76, 50, 50, 30, 330, 60);

  // The arc passes direction 0 and crosses the right edge there; seen as -40 to 40 it is
  // the same arc, and is dropped the same way.
  const double startAngles[] = {-40, 320, 680};
  for (double a1 : startAngles) {
    SCOPED_TRACE(a1);
    DxfBuilder crossing = Sheet();
    AddArc(crossing, DxfStyle::kR12, 72, 50, 29, a1, 40);
    EXPECT_EQ(Read(crossing), 0);
  }
}

TEST_F(CurveCaptureTest, FileEndingInsideAnArcStillStoresIt) {
  DxfBuilder drawing = Sheet();
  AddArc(drawing, DxfStyle::kR12, 50, 50, 30, 30, 120);
  ASSERT_EQ(ReadText(CutAfterEntities(drawing)), 1);
  ExpectArc(Entities().records[0], 241, 76, 65, 35, 76, 50, 50, 30, 30, 120);
}

// ---- CIRCLE -------------------------------------------------------------------------------

TEST_F(CurveCaptureTest, CircleStartsAtItsTruncatedRightmostPoint) {
  for (DxfStyle style : kBothStyles) {
    SCOPED_TRACE(StyleName(style));
    DxfBuilder drawing = Sheet();
    AddCircle(drawing, style, 50.9, 50.9, 20.9);
    ASSERT_EQ(Read(drawing), 1);
    const DrawingEntityRecord& r = Entities().records[0];
    EXPECT_EQ(r.kind, kKindCircle);
    EXPECT_EQ(r.shapeNumber, 241);
    EXPECT_EQ(r.startX, 71);
    EXPECT_EQ(r.startY, 50);
    EXPECT_EQ(r.endX, 0);
    EXPECT_EQ(r.endY, 0);
    EXPECT_EQ(r.centreX, 50.9);
    EXPECT_EQ(r.centreY, 50.9);
    EXPECT_EQ(r.radius, 20.9);
  }
}

TEST_F(CurveCaptureTest, CircleWithAnExtrusionIsAbandonedAndTheScanGoesOn) {
  DxfBuilder drawing = Sheet();
  AddCircle(drawing, DxfStyle::kR2000, 50.9, 50.9, 20.9)
      .Group(210, 0.0)
      .Group(220, 0.0)
      .Group(230, 1.0);
  AddLine(drawing, DxfStyle::kR2000, 135, 1760, 215, 1760);
  ASSERT_EQ(Read(drawing), 1);
  ExpectLine(Entities().records[0], 18, 135, 1760, 215, 1760);
}

TEST_F(CurveCaptureTest, CirclesThatNoShapeCanDrawAreDropped) {
  struct Case {
    const char* what;
    std::string cx, cy, r;
  } cases[] = {
      {"radius below 1", "50", "50", "0.9"},  {"radius 0", "50", "50", "0"},
      {"negative radius", "50", "50", "-20"}, {"radius 50 reaches every edge", "50", "50", "50"},
      {"huge centre", "1e308", "50", "20"},   {"NaN centre", "50", "nan", "20"},
      {"infinite radius", "50", "50", "inf"}, {"huge radius", "50", "50", "1e308"},
      {"NaN radius", "50", "50", "nan"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DxfBuilder drawing = Sheet();
    drawing.Group(0, "CIRCLE").Group(10, c.cx).Group(20, c.cy).Group(40, c.r);
    EXPECT_EQ(Read(drawing), 0);
  }
}

// ---- POLYLINE and LWPOLYLINE --------------------------------------------------------------

TEST_F(CurveCaptureTest, ClosedPolylineAddsTheClosingSegment) {
  struct Case {
    int flags;
    int lines;
  } cases[] = {{1, 4}, {129, 4}, {0, 3}, {128, 3}};
  for (DxfStyle style : kBothStyles) {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << StyleName(style) << ", flags " << c.flags);
      DxfBuilder drawing = Sheet();
      AddPolyline(drawing, style, kSquare, c.flags);
      Read(drawing);
      ExpectSquare(c.lines);
    }
  }
}

TEST_F(CurveCaptureTest, VerticesAreTruncatedToWholeUnits) {
  for (DxfStyle style : kBothStyles) {
    SCOPED_TRACE(StyleName(style));
    DxfBuilder drawing = Sheet();
    AddPolyline(drawing, style, {{12.7, 30.9, 0}, {80.99, 70.5, 0}}, 0);
    ASSERT_EQ(Read(drawing), 1);
    ExpectLine(Entities().records[0], 241, 12, 30, 80, 70);
  }
}

TEST_F(CurveCaptureTest, BulgedSegmentsBecomeArcs) {
  for (DxfStyle style : kBothStyles) {
    SCOPED_TRACE(StyleName(style));
    DxfBuilder drawing = Sheet();
    AddPolyline(drawing, style, {{40, 50, 1}, {60, 50, 0.5}, {80, 50, -0.5}, {100, 50, 0}}, 0);
    ASSERT_EQ(Read(drawing), 3);
    ExpectArc(Entities().records[0], 241, 40, 50, 60, 50, 50, 50, 10, 180, 0);
    ExpectArc(Entities().records[1], 241, 60, 50, 80, 50, 70, 57.5, 12.5, 216.87, 323.13);
    // Clockwise from (80, 50): counter-clockwise from (100, 50), rising above the chord.
    ExpectArc(Entities().records[2], 241, 100, 50, 80, 50, 90, 42.5, 12.5, 36.87, 143.13);
  }
}

TEST_F(CurveCaptureTest, ArcOverHalfACircleIsSplitAtTheOppositePoint) {
  for (DxfStyle style : kBothStyles) {
    SCOPED_TRACE(StyleName(style));
    DxfBuilder drawing = Sheet();
    AddPolyline(drawing, style, {{40, 50, 2}, {60, 50, 0}}, 0);
    Read(drawing);
    ExpectBulgeTwoSplit();

    DxfBuilder clockwise = Sheet();
    AddPolyline(clockwise, style, {{60, 50, -2}, {40, 50, 0}}, 0);
    Read(clockwise);
    ExpectBulgeTwoSplit();
  }
}

TEST_F(CurveCaptureTest, SplitArcKeepsTheSweepThatWasDrawn) {
  // Bulge 3 from (20, 50) to (33, 57): the opposite point (42.33, 39.67) must be rounded.
  // The rest after the half circle keeps the whole arc's remaining sweep, and its ends lie
  // on its own circle.
  const double bulge = 3;
  const double included = 4 * std::atan(bulge) * 180 / kPi;
  DxfBuilder drawing = Sheet();
  AddPolyline(drawing, DxfStyle::kR2000, {{20, 50, bulge}, {33, 57, 0}}, 0);
  ASSERT_EQ(Read(drawing), 2);
  const DrawingEntityRecord& half = Entities().records[0];
  const DrawingEntityRecord& rest = Entities().records[1];
  EXPECT_EQ(half.endX, 42);
  EXPECT_EQ(half.endY, 40);
  EXPECT_NEAR(Sweep(half), 180, 2);
  EXPECT_EQ(rest.startX, 42);
  EXPECT_EQ(rest.startY, 40);
  EXPECT_EQ(rest.endX, 33);
  EXPECT_EQ(rest.endY, 57);
  EXPECT_NEAR(Sweep(rest), included - 180, 1e-9);
  EXPECT_NEAR(PointDistance(rest.centreX, rest.centreY, 42, 40), rest.radius, 1e-9);
  EXPECT_NEAR(PointDistance(rest.centreX, rest.centreY, 33, 57), rest.radius, 1e-9);
}

TEST_F(CurveCaptureTest, SplitArcComesOutWhereNoCircleOfTheWholeRadiusFitsTheRest) {
  // Bulge 7.533 from (20, 20) to (21, 20): radius 1.92, opposite point (21, 16.3) rounds to
  // (21, 16), 4 units from the end: more than the whole arc's diameter. The rest is still
  // the arc of the remaining 149.75 degrees from (21, 16) to (21, 20).
  DxfBuilder drawing = Sheet();
  AddPolyline(drawing, DxfStyle::kR12, {{20, 20, 7.533}, {21, 20, 0}}, 0);
  ASSERT_EQ(Read(drawing), 2);
  const DrawingEntityRecord& rest = Entities().records[1];
  EXPECT_EQ(Entities().records[0].endX, 21);
  EXPECT_EQ(Entities().records[0].endY, 16);
  EXPECT_EQ(rest.startX, 21);
  EXPECT_EQ(rest.startY, 16);
  EXPECT_EQ(rest.endX, 21);
  EXPECT_EQ(rest.endY, 20);
  EXPECT_NEAR(Sweep(rest), 149.75, kNear);
  // Left of the upward chord: the rest is counter-clockwise and under 180 degrees.
  EXPECT_LT(rest.centreX, 21);
  EXPECT_NEAR(PointDistance(rest.centreX, rest.centreY, 21, 16), rest.radius, 1e-9);
  EXPECT_NEAR(PointDistance(rest.centreX, rest.centreY, 21, 20), rest.radius, 1e-9);
}

TEST_F(CurveCaptureTest, BulgesBelongToTheirOwnPolyline) {
  for (DxfStyle style : kBothStyles) {
    SCOPED_TRACE(StyleName(style));
    DxfBuilder drawing = Sheet();
    AddPolyline(drawing, style, {{40, 50, 0.5}, {60, 50, 2}, {80, 50, 0}}, 0);
    AddPolyline(drawing, style, kSquare, 1);
    ASSERT_EQ(Read(drawing), 3 + 4);
    for (int i = 3; i < 7; ++i) EXPECT_EQ(Entities().records[i].kind, kKindLine) << i;
  }
}

TEST_F(CurveCaptureTest, PointLikeSegmentsGiveNoRecord) {
  for (DxfStyle style : kBothStyles) {
    SCOPED_TRACE(StyleName(style));
    DxfBuilder drawing = Sheet();
    AddPolyline(drawing, style, {{10, 10, 0}, {10.6, 10.2, 0.5}, {50, 50, 0}}, 0);
    AddPolyline(drawing, style, {{30, 30, 0}}, 1);
    ASSERT_EQ(Read(drawing), 1);
    EXPECT_EQ(Entities().records[0].kind, kKindArc);
  }
}

TEST_F(CurveCaptureTest, SegmentsBelongByTheirEndPointsAlone) {
  DxfBuilder drawing = Sheet();
  // Clockwise from (10, 90) to (90, 90): the half circle rises 40 units above the box.
  AddPolyline(drawing, DxfStyle::kR2000, {{10, 90, -1}, {90, 90, 0}, {140, 90, 0}}, 0);
  ASSERT_EQ(Read(drawing), 1);  // the second segment crosses into cell 242
  ExpectArc(Entities().records[0], 241, 90, 90, 10, 90, 50, 90, 40, 0, 180);
}

TEST_F(CurveCaptureTest, VertexListHoldsTheFirst500Vertices) {
  std::vector<PolylineVertex> zigzag;
  for (int i = 0; i < 600; ++i) zigzag.push_back({10.0 + i % 80, i % 2 == 0 ? 10.0 : 90.0, 0});
  struct Case {
    int flags;
    int segments;
  } cases[] = {{0, 499}, {1, 500}};
  for (DxfStyle style : kBothStyles) {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << StyleName(style) << ", flags " << c.flags);
      DxfBuilder drawing = Sheet();
      AddPolyline(drawing, style, zigzag, c.flags);
      AddLine(drawing, style, 135, 10, 215, 10);  // the scan reads on after the rest
      ASSERT_EQ(Read(drawing), c.segments + 1);
      ExpectLine(Entities().records[498], 241, 28, 10, 29, 90);
      if (c.flags == 1) ExpectLine(Entities().records[499], 241, 29, 90, 10, 10);
      ExpectLine(Entities().records[c.segments], 242, 135, 10, 215, 10);
    }
  }
}

TEST_F(CurveCaptureTest, FileEndingInsideAPolylineStillMakesItsSegments) {
  for (DxfStyle style : kBothStyles) {
    SCOPED_TRACE(StyleName(style));
    DxfBuilder drawing = Sheet();
    AddPolyline(drawing, style, kSquare, 1);
    std::string text = CutAfterEntities(drawing);
    if (style == DxfStyle::kR12) text.erase(text.rfind("  0\nSEQEND\n"));
    ReadText(text);
    ExpectSquare(4);

    // Cut inside the header, before the flags: nothing to make.
    text.erase(text.rfind(" 70\n"));
    EXPECT_EQ(ReadText(text), 0);
  }
}

TEST_F(CurveCaptureTest, GroupsBeforeTheFirstVertexAreIgnored) {
  DxfBuilder drawing = Sheet();
  drawing.Group(0, "LWPOLYLINE").Group(90, "2").Group(70, "0");
  drawing.Group(20, 77.0).Group(42, 1.0);
  drawing.Group(10, 10.0).Group(20, 10.0).Group(10, 90.0).Group(20, 10.0);
  ASSERT_EQ(Read(drawing), 1);
  ExpectLine(Entities().records[0], 241, 10, 10, 90, 10);
}

TEST_F(CurveCaptureTest, VertexWithoutYIsDroppedWithItsSegments) {
  // The corner (90, ?) has no y: neither of its sides is drawn, and no side is made
  // between its neighbours that the drawing does not hold.
  for (DxfStyle style : kBothStyles) {
    SCOPED_TRACE(StyleName(style));
    DxfBuilder drawing = Sheet();
    if (style == DxfStyle::kR2000) {
      drawing.Group(0, "LWPOLYLINE").Group(90, "4").Group(70, "1");
      drawing.Group(10, 10.0).Group(20, 10.0).Group(10, 90.0);
      drawing.Group(10, 90.0).Group(20, 90.0).Group(10, 10.0).Group(20, 90.0);
    } else {
      drawing.Group(0, "POLYLINE").Group(66, "1").Group(70, "1");
      drawing.Group(0, "VERTEX").Group(10, 10.0).Group(20, 10.0);
      drawing.Group(0, "VERTEX").Group(10, 90.0);
      drawing.Group(0, "VERTEX").Group(10, 90.0).Group(20, 90.0);
      drawing.Group(0, "VERTEX").Group(10, 10.0).Group(20, 90.0);
      drawing.Group(0, "SEQEND");
    }
    ASSERT_EQ(Read(drawing), 2);
    ExpectLine(Entities().records[0], 241, 90, 90, 10, 90);
    ExpectLine(Entities().records[1], 241, 10, 90, 10, 10);
  }
}

TEST_F(CurveCaptureTest, PolylineHeaderGivesFlagsButNoVertex) {
  // A header that gives its point after the flags: the point is no vertex.
  DxfBuilder late = Sheet();
  late.Group(0, "POLYLINE").Group(66, "1").Group(70, "0").Group(10, 0.0).Group(20, 0.0);
  for (const PolylineVertex& v : kSquare) late.Group(0, "VERTEX").Group(10, v.x).Group(20, v.y);
  late.Group(0, "SEQEND");
  Read(late);
  ExpectSquare(3);
}

TEST_F(CurveCaptureTest, PolylineHeaderWithoutFlagsLosesNoVertex) {
  // The vertices' own 70 groups (1 here) are vertex flags, not the polyline's.
  DxfBuilder drawing = Sheet();
  drawing.Group(0, "POLYLINE").Group(8, "0").Group(66, "1").Group(10, 0.0).Group(20, 0.0);
  for (const PolylineVertex& v : kSquare) {
    drawing.Group(0, "VERTEX").Group(8, "0").Group(10, v.x).Group(20, v.y).Group(70, "1");
  }
  drawing.Group(0, "SEQEND");
  Read(drawing);
  ExpectSquare(3);

  DxfBuilder lightweight = Sheet();
  lightweight.Group(0, "LWPOLYLINE").Group(8, "0").Group(90, "4");
  for (const PolylineVertex& v : kSquare) lightweight.Group(10, v.x).Group(20, v.y);
  Read(lightweight);
  ExpectSquare(3);
}

TEST_F(CurveCaptureTest, PolylinesWithoutVerticesEndAtTheirOwnEnd) {
  DxfBuilder drawing = Sheet();
  drawing.Group(0, "POLYLINE").Group(8, "0").Group(66, "1").Group(0, "SEQEND").Group(8, "0");
  drawing.Group(0, "LWPOLYLINE").Group(8, "0").Group(90, "0");
  AddLine(drawing, DxfStyle::kR12, 135, 10, 215, 10);
  ASSERT_EQ(Read(drawing), 1);
  ExpectLine(Entities().records[0], 242, 135, 10, 215, 10);
}

TEST_F(CurveCaptureTest, UnusableVertexValuesDropOnlyTheirSegments) {
  // The closed square with its second vertex replaced.
  const double nan = std::nan("");
  const double inf = HUGE_VAL;
  struct Case {
    const char* what;
    PolylineVertex second;
    int kept;
  } cases[] = {
      {"huge x", {1e308, 10, 0}, 2},
      {"NaN x", {nan, 10, 0}, 2},
      {"infinite y", {90, -inf, 0}, 2},
      {"NaN bulge", {90, 10, nan}, 3},
      {"infinite bulge", {90, 10, inf}, 3},
      {"bulge whose circle is far too big", {90, 10, 1e300}, 3},
      {"bulge whose pieces no vector holds", {90, 10, -200}, 3},
  };
  for (DxfStyle style : kBothStyles) {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << StyleName(style) << ": " << c.what);
      std::vector<PolylineVertex> square = kSquare;
      square[1] = c.second;
      DxfBuilder drawing = Sheet();
      AddPolyline(drawing, style, square, 1);
      ASSERT_EQ(Read(drawing), c.kept);
      ExpectLine(Entities().records[c.kept - 1], 241, 10, 90, 10, 10);
    }
  }
}

TEST_F(CurveCaptureTest, EveryTruncatedDrawingReadsSafely) {
  // Wherever the file ends, what is stored is a well-formed record of a shape cell.
  DxfBuilder drawing = Sheet();
  AddArc(drawing, DxfStyle::kR2000, 50, 50, 30, 30, 120);
  AddCircle(drawing, DxfStyle::kR12, 50.9, 50.9, 20.9);
  AddPolyline(drawing, DxfStyle::kR12, {{40, 50, 2}, {60, 50, -0.5}, {70, 80, 0}}, 1);
  AddPolyline(drawing, DxfStyle::kR2000, {{10, 10, -3}, {20, 30, 0.5}, {90, 90, 0}}, 1);
  const std::string text = drawing.Build();
  const std::size_t curves = text.find("\nARC\n");
  for (std::size_t length = curves; length <= text.size(); ++length) {
    SCOPED_TRACE(length);
    const int total = ReadText(text.substr(0, length));
    for (int i = 0; i < total; ++i) {
      const DrawingEntityRecord& r = Entities().records[i];
      EXPECT_GE(r.kind, kKindLine);
      EXPECT_LE(r.kind, kKindCircle);
      EXPECT_EQ(r.shapeNumber, 241);
      EXPECT_TRUE(std::isfinite(r.startAngle) && std::isfinite(r.endAngle) &&
                  std::isfinite(r.radius));
    }
  }
  EXPECT_EQ(Entities().total, 1 + 1 + 4 + 4);
}

TEST_F(CurveCaptureTest, BigBulgeThatStillFitsIsKept) {
  // Bulge 50 over a 2-unit chord: an arc of 355 degrees and radius 25 rising to y = 60.
  DxfBuilder drawing = Sheet();
  AddPolyline(drawing, DxfStyle::kR2000, {{42, 10, 50}, {40, 10, 0}}, 0);
  ASSERT_EQ(Read(drawing), 2);
  EXPECT_NEAR(Entities().records[0].radius, 25.01, 0.005);
  EXPECT_EQ(Entities().records[0].endX, 40);
  EXPECT_EQ(Entities().records[0].endY, 60);
  EXPECT_EQ(Entities().records[1].endX, 40);
  EXPECT_EQ(Entities().records[1].endY, 10);
}

}  // namespace
}  // namespace korvex
