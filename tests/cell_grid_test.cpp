#include "sheet/cell_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace korvex {
namespace {

class CellGridTest : public ::testing::Test {
 protected:
  void SetUp() override { BuildCellTable(); }
};

TEST_F(CellGridTest, CornersOfTheSheet) {
  struct Case {
    int n, left, right, bottom, top;
  } cases[] = {
      {1, 0, 100, 1875, 1975},   {16, 1875, 1975, 1875, 1975}, {241, 0, 100, 0, 100},
      {256, 1875, 1975, 0, 100}, {18, 125, 225, 1750, 1850},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    const CellBox box = CellBoxOf(c.n);
    EXPECT_EQ(box.left, c.left);
    EXPECT_EQ(box.right, c.right);
    EXPECT_EQ(box.bottom, c.bottom);
    EXPECT_EQ(box.top, c.top);
    EXPECT_EQ(CellCornerOf(c.n).x, c.left);
    EXPECT_EQ(CellCornerOf(c.n).y, c.bottom);
  }
}

TEST_F(CellGridTest, PointToCellNumber) {
  EXPECT_EQ(CellOfPoint(50, 1925), 1);
  EXPECT_EQ(CellOfPoint(1925, 1925), 16);
  EXPECT_EQ(CellOfPoint(50, 50), 241);
  EXPECT_EQ(CellOfPoint(1925, 50), 256);
  // The bottom row takes y up to 121; the row above starts at 122.
  EXPECT_EQ(CellOfPoint(50, 121), 241);
  EXPECT_EQ(CellOfPoint(50, 122), 225);
  // A column's catchment runs to 21 units right of its box.
  EXPECT_EQ(CellOfPoint(120, 1925), 1);
  EXPECT_EQ(CellOfPoint(121, 1925), 2);
}

// The cell of a whole-unit point is worked out in integers; it must be the sheet's rule,
// trunc((y + 4) / 125 - 17) and trunc((x + 4) / 125 + 1) in doubles, for every 16-bit value.
TEST_F(CellGridTest, IntegerCellRuleIsTheRuleForEveryWholeUnit) {
  const auto ruleCell = [](double x, double y) {
    const int rowTerm = static_cast<int>(std::trunc((y + 4) / 125 - 17));
    const int colTerm = static_cast<int>(std::trunc((x + 4) / 125 + 1));
    return colTerm - 16 * (rowTerm + 1);
  };
  for (int v = INT16_MIN; v <= INT16_MAX; ++v) {
    const auto whole = static_cast<std::int16_t>(v);
    ASSERT_EQ(CellOfPoint(whole, 1000), ruleCell(v, 1000)) << "x " << v;
    ASSERT_EQ(CellOfPoint(1000, whole), ruleCell(1000, v)) << "y " << v;
  }
}

TEST_F(CellGridTest, LinesBelongOnlyWhenBothEndsLieInOneBox) {
  EXPECT_EQ(LineCell(10, 1880, 90, 1970), 1);
  EXPECT_EQ(LineCell(10, 1880, 101, 1970), 0);  // end point past the box edge
  EXPECT_EQ(LineCell(10, 1880, 100, 1970), 1);  // on the edge is inside
  EXPECT_EQ(LineCell(90, 1900, 140, 1900), 0);  // crosses the gap into cell 2
  EXPECT_EQ(LineCell(90, 1900, 110, 1900), 0);  // one end in the gap
  EXPECT_EQ(LineCell(1880, 10, 1970, 90), 0);   // cell 256 is no shape cell
  EXPECT_EQ(LineCell(50, 50, 50, 50), 0);       // a single point
  EXPECT_EQ(LineCell(-1, 50, 50, 50), 0);       // off the sheet
  EXPECT_EQ(LineCell(10, 1976, 10, 1880), 0);   // above the top row's box
}

// Every edge belongs to the box, for the start point as for the end point.
TEST_F(CellGridTest, EitherEndMayLieOnAnyEdgeOfItsBox) {
  struct EdgePoint {
    const char* edge;
    std::int16_t x, y;
  } points[] = {
      {"left", 125, 1800}, {"right", 225, 1800}, {"bottom", 175, 1750}, {"top", 175, 1850}};
  for (const EdgePoint& p : points) {
    SCOPED_TRACE(p.edge);
    EXPECT_EQ(LineCell(p.x, p.y, 175, 1800), 18);
    EXPECT_EQ(LineCell(175, 1800, p.x, p.y), 18);
  }
}

TEST_F(CellGridTest, TextsTakeTheNameBandAbove) {
  EXPECT_EQ(TextCell(1900, 110), 256);
  EXPECT_EQ(TextCell(150, 1750), 18);  // on the bottom edge
  EXPECT_EQ(TextCell(125, 1800), 18);  // on the left edge
  EXPECT_EQ(TextCell(225, 1800), 18);  // on the right edge
  EXPECT_EQ(TextCell(50, 115), 241);   // name band of cell 241
  EXPECT_EQ(TextCell(20, 1950), 1);
  EXPECT_EQ(TextCell(20, 1980), 1);  // name band of the top row
  EXPECT_EQ(TextCell(110, 50), 0);   // in the gap between columns
  EXPECT_EQ(TextCell(-300, 50), 0);  // no such cell
}

TEST_F(CellGridTest, PointsExcludeOnlyTheTopEdge) {
  EXPECT_EQ(PointCell(50, 100), 0);
  EXPECT_EQ(PointCell(50, 99), 241);
  EXPECT_EQ(PointCell(50, 0), 241);
  EXPECT_EQ(PointCell(0, 50), 241);
  EXPECT_EQ(PointCell(100, 50), 241);
  EXPECT_EQ(PointCell(1900, 1900), 16);
  EXPECT_EQ(PointCell(3000, 50), 0);
}

TEST_F(CellGridTest, OnlyCellsOneTo256HaveBoxes) {
  EXPECT_TRUE(IsCellNumber(1));
  EXPECT_TRUE(IsCellNumber(256));
  EXPECT_FALSE(IsCellNumber(0));
  EXPECT_FALSE(IsCellNumber(257));
  EXPECT_FALSE(IsShapeNumber(256));
}

}  // namespace
}  // namespace korvex
