#include "dxf/arc_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sheet/cell_grid.h"

namespace korvex {
namespace {

// Worked examples are given to two decimals.
constexpr double kNear = 0.005;

class ArcGeometryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildCellTable();
    PlaceBulgeArc(0, 0, 0, 0, 0, 0, 0);
  }

  static void ExpectCentre(double x, double y) {
    EXPECT_NEAR(CurrentBulgeArc().centreX, x, kNear);
    EXPECT_NEAR(CurrentBulgeArc().centreY, y, kNear);
  }
};

TEST_F(ArcGeometryTest, PointOnArcMeasuresDegreesCounterClockwise) {
  const PlanePoint p = PointOnArc(50, 50, 30, 30);
  EXPECT_NEAR(p.x, 75.98, kNear);
  EXPECT_NEAR(p.y, 65, kNear);
  const PlanePoint q = PointOnArc(50, 50, 30, 270);
  EXPECT_NEAR(q.x, 50, 1e-9);
  EXPECT_NEAR(q.y, 20, 1e-9);
}

TEST_F(ArcGeometryTest, BoundingBoxTakesTheExtremesTheArcPasses) {
  struct Case {
    double a1, a2, maxX, minX, maxY, minY;
  } cases[] = {
      {30, 120, 75.98, 35, 80, 65},         // passes 90
      {300, 60, 80, 65, 75.98, 24.02},      // passes 0
      {200, 340, 78.19, 21.81, 39.74, 20},  // passes 270
      {350, 10, 80, 79.54, 55.21, 44.79},   // through 0 only
      {0, 90, 80, 50, 80, 50},              // starts at 0: both maxX and maxY
      {90, 90, 50, 50, 80, 80},             // a point at 90: maxY only
      {100, 80, 80, 20, 79.54, 20},         // the long way round, all but 90
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.a1 << " to " << c.a2);
    const ArcBox box = ArcBoundingBox(50, 50, 30, c.a1, c.a2);
    EXPECT_NEAR(box.maxX, c.maxX, kNear);
    EXPECT_NEAR(box.minX, c.minX, kNear);
    EXPECT_NEAR(box.maxY, c.maxY, kNear);
    EXPECT_NEAR(box.minY, c.minY, kNear);
  }
}

TEST_F(ArcGeometryTest, ArcCellWantsTheWholeArcInOneBox) {
  struct Case {
    const char* what;
    double cx, cy, r, a1, a2;
    int cell;
  } cases[] = {
      {"inside cell 241", 50, 50, 30, 30, 120, 241},
      {"round: ends coincide", 50, 50, 30, 0, 360, 0},
      {"bulge 0.5 past the top edge", 50, 70, 30.5, 30, 150, 241},
      {"bulge 0.6 past the top edge", 50, 70, 30.6, 30, 150, 0},
      {"bulge far past the top edge", 50, 80, 30, 30, 150, 0},
      {"ends in two cells", 112, 50, 30, 120, 60, 0},
      {"cell 256 has a box too", 1925, 50, 30, 30, 120, 256},
      {"off the sheet", -300, 50, 30, 30, 120, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PlanePoint s = PointOnArc(c.cx, c.cy, c.r, c.a1);
    const PlanePoint e = PointOnArc(c.cx, c.cy, c.r, c.a2);
    const auto whole = [](double v) { return static_cast<std::int16_t>(std::trunc(v + 0.5)); };
    EXPECT_EQ(ArcCell(whole(s.x), whole(s.y), whole(e.x), whole(e.y),
                      ArcBoundingBox(c.cx, c.cy, c.r, c.a1, c.a2)),
              c.cell);
  }
}

TEST_F(ArcGeometryTest, CircleCellKeepsHalfAUnitInsideInY) {
  struct Case {
    const char* what;
    std::int16_t cx, cy, r;
    int cell;
  } cases[] = {
      {"radius 20", 50, 50, 20, 241},
      {"radius 49", 50, 50, 49, 241},
      {"radius 50 touches every edge", 50, 50, 50, 0},
      {"exactly to the left edge", 30, 50, 30, 241},
      {"exactly to the right edge", 70, 50, 30, 241},
      {"exactly to the bottom edge", 50, 30, 30, 0},
      {"exactly to the top edge", 50, 70, 30, 0},
      {"cell 18", 175, 1800, 20, 18},
      {"off the sheet", 3000, 50, 20, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CircleCell(c.cx, c.cy, c.r), c.cell);
  }
}

TEST_F(ArcGeometryTest, DistancesAndChordDirections) {
  EXPECT_EQ(PointDistance(0, 0, 3, 4), 5);
  EXPECT_EQ(PointDistance(7, 2, 7, -3), 5);
  EXPECT_EQ(PointDistance(2, 7, -3, 7), 5);
  struct Case {
    double x2, y2, direction;
  } cases[] = {
      {0, 5, kHalfPi},
      {-5, 0, kPi},
      {0, 0, 0},
      {0, -5, kThreeHalfPi},
      {5, 0, 0},
      {5, 5, kPi / 4},
      {-5, 5, 3 * kPi / 4},
      {-5, -5, 5 * kPi / 4},
      {5, -5, 7 * kPi / 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "to " << c.x2 << "," << c.y2);
    EXPECT_NEAR(ChordDirection(0, 0, c.x2, c.y2), c.direction, 1e-12);
  }
}

TEST_F(ArcGeometryTest, AngleFromCentreInEveryQuadrant) {
  SetBulgeArcCentre(50, 50);
  struct Case {
    double x, y, angle;
  } cases[] = {
      {60, 50, 0},   {50, 60, 90},  {40, 50, 180}, {50, 40, 270}, {60, 60, 45},
      {40, 60, 135}, {40, 40, 225}, {60, 40, 315}, {50, 50, 0},  // the centre itself has no
                                                                 // direction
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
    EXPECT_NEAR(AngleFromCentre(c.x, c.y), c.angle, 1e-9);
  }
}

TEST_F(ArcGeometryTest, CentreFromChordLiesLeftOfTheChord) {
  SetBulgeArcRadius(12.5);
  EXPECT_TRUE(CentreFromChord(40, 50, 60, 50));
  ExpectCentre(50, 57.5);
  EXPECT_TRUE(CentreFromChord(60, 50, 40, 50));
  ExpectCentre(50, 42.5);
}

TEST_F(ArcGeometryTest, CentreFromChordTakesAChordJustOverTheDiameterAsOne) {
  SetBulgeArcRadius(10);
  EXPECT_TRUE(CentreFromChord(40, 50, 60.003, 50));
  ExpectCentre(50, 50);
  // A zero chord puts the centre a radius to the left of direction 0.
  EXPECT_TRUE(CentreFromChord(40, 50, 40, 50));
  ExpectCentre(40, 60);
}

TEST_F(ArcGeometryTest, CentreFromChordFailsWhenNoCircleOfTheRadiusFits) {
  SetBulgeArcRadius(10);
  SetBulgeArcCentre(1, 2);
  EXPECT_FALSE(CentreFromChord(40, 50, 60.01, 50));
  EXPECT_EQ(CurrentBulgeArc().centreX, 1);  // the centre is left as it was
  EXPECT_EQ(CurrentBulgeArc().centreY, 2);
  SetBulgeArcRadius(std::nan(""));
  EXPECT_FALSE(CentreFromChord(40, 50, 60, 50));
  EXPECT_EQ(CurrentBulgeArc().centreX, 1);
}

TEST_F(ArcGeometryTest, BulgeArcWorkedExamples) {
  struct Case {
    const char* what;
    double bulge, x1, y1, x2, y2, radius, cx, cy, start, end;
  } cases[] = {
      {"bulge 0.5 dips below the chord", 0.5, 40, 50, 60, 50, 12.5, 50, 57.5, 216.87, 323.13},
      {"bulge 1 is a semicircle", 1, 40, 50, 60, 50, 10, 50, 50, 180, 0},
      {"bulge -0.5 with the ends swapped", -0.5, 60, 50, 40, 50, 12.5, 50, 42.5, 36.87, 143.13},
      {"vertical chord", 1, 50, 40, 50, 60, 10, 50, 50, 270, 90},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetBulgeArcRadius(0);
    BulgeArc(c.bulge, c.x1, c.y1, c.x2, c.y2);
    EXPECT_NEAR(CurrentBulgeArc().radius, c.radius, kNear);
    ExpectCentre(c.cx, c.cy);
    EXPECT_NEAR(CurrentBulgeArc().startAngle, c.start, kNear);
    EXPECT_NEAR(CurrentBulgeArc().endAngle, c.end, kNear);
  }
}

TEST_F(ArcGeometryTest, BulgeArcKeepsARadiusSetBeforehand) {
  SetBulgeArcRadius(12.5);
  BulgeArc(1, 40, 50, 60, 50);  // a bulge of 1 alone would give radius 10
  EXPECT_EQ(CurrentBulgeArc().radius, 12.5);
  ExpectCentre(50, 57.5);
}

TEST_F(ArcGeometryTest, OppositePointLiesAcrossTheWholeArcsCircle) {
  struct Case {
    const char* what;
    double x1, y1, x2, y2, bulge, ax, ay, radius;
  } cases[] = {
      {"horizontal chord", 40, 50, 60, 50, 2, 60, 35, 12.5},
      {"vertical chord", 50, 40, 50, 60, 2, 65, 60, 12.5},
      {"negative bulge measures the same", 40, 50, 60, 50, -2, 60, 35, 12.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PlanePoint a;
    double radius = 0;
    ASSERT_TRUE(OppositePoint(c.x1, c.y1, c.x2, c.y2, c.bulge, a, radius));
    EXPECT_NEAR(a.x, c.ax, 1e-9);
    EXPECT_NEAR(a.y, c.ay, 1e-9);
    EXPECT_NEAR(radius, c.radius, 1e-9);
  }
}

TEST_F(ArcGeometryTest, OppositePointOnSlantedChords) {
  // The start, the end and the opposite point all lie on one circle whose centre is the
  // midpoint of the start and the opposite point.
  const double bulges[] = {1.01, 1.5, 3, 10};
  for (double bulge : bulges) {
    SCOPED_TRACE(bulge);
    PlanePoint a;
    double radius = 0;
    ASSERT_TRUE(OppositePoint(20, 30, 47, 61, bulge, a, radius));
    const double cx = (20 + a.x) / 2;
    const double cy = (30 + a.y) / 2;
    EXPECT_NEAR(PointDistance(cx, cy, 47, 61), radius, 1e-9);
    EXPECT_NEAR(PointDistance(cx, cy, 20, 30), radius, 1e-9);
    // An arc of more than 180 degrees has its centre right of its chord.
    EXPECT_LT((47 - 20) * (cy - 30) - (61 - 30) * (cx - 20), 0);
  }
}

TEST_F(ArcGeometryTest, OppositePointNeedsAChordAndAnArcOverHalfACircle) {
  PlanePoint a{7, 7};
  double radius = 3;
  EXPECT_FALSE(OppositePoint(40, 50, 40, 50, 2, a, radius));
  EXPECT_FALSE(OppositePoint(40, 50, 60, 50, 1, a, radius));
  EXPECT_FALSE(OppositePoint(40, 50, 60, 50, std::nan(""), a, radius));
}

}  // namespace
}  // namespace korvex
