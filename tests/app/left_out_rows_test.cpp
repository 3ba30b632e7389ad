// The main window's list of what a conversion left out: one row per entity, with the blocks
// an entity was placed from named beside its kind, and the status bar's count.
#include "app/left_out_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "conversion/conversion_run.h"
#include "curve_drawing.h"
#include "test_support.h"

namespace korvex::shell {
namespace {

using test::AddInsert;
using test::AddLine;
using test::DxfBuilder;
using test::DxfStyle;

class LeftOutRowsTest : public test::KorvexTest {};

TEST_F(LeftOutRowsTest, EachRowNamesItsReasonCellKindAndLine) {
  DxfBuilder arrow;
  AddLine(arrow, DxfStyle::kR12, 0, 0, 78, 0);  // 3 units past the box once inserted
  DxfBuilder d;
  d.Markers().Block("ARROW", 0, 0, arrow);
  AddLine(d, DxfStyle::kR12, 135, 1760, 215, 1760);  // kept
  AddLine(d, DxfStyle::kR12, 200, 1760, 260, 1760);  // across the gap to cell 19
  test::InsertEntity insert;
  insert.block = "ARROW";
  insert.x = 150;
  insert.y = 1780;
  AddInsert(d, DxfStyle::kR12, insert);
  const std::string text = d.Build();
  ASSERT_EQ(ConvertDrawing(Drawing(text), Scratch("out.shp"), true), Outcome::kDone);

  const std::vector<LeftOutRow> rows = LeftOutRows(LeftOut());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].kind, "LINE");
  EXPECT_EQ(rows[0].cell, "18");
  EXPECT_NE(rows[0].reason.find("left out"), std::string::npos) << rows[0].reason;
  EXPECT_EQ(rows[1].kind, "LINE of block ARROW");
  EXPECT_EQ(rows[1].cell, "18");
  EXPECT_EQ(rows[1].reason, "end point 3 units right of the box; left out");
  // The line where each entity starts: the second LINE, then the INSERT.
  const auto lineOf = [&text](std::size_t from, const char* name) {
    const std::size_t at = text.find(std::string("  0\n") + name + "\n", from);
    return std::to_string(std::count(text.begin(), text.begin() + at + 4, '\n') + 1);
  };
  const std::size_t entities = text.find("\nENTITIES\n");
  const std::size_t secondLine = text.find("  0\nLINE\n", text.find("  0\nLINE\n", entities) + 1);
  EXPECT_EQ(rows[0].line, lineOf(secondLine, "LINE"));
  EXPECT_EQ(rows[1].line, lineOf(entities, "INSERT"));
  EXPECT_EQ(LeftOutStatus(LeftOut()),
            "2 entities of the drawing were left out of the shapes or kept only in part: see the "
            "list");
}

TEST_F(LeftOutRowsTest, NothingLeftOutGivesNoRowsAndNoStatus) {
  DxfBuilder d;
  d.Markers();
  AddLine(d, DxfStyle::kR12, 135, 1760, 215, 1760);
  ASSERT_EQ(ConvertDrawing(Drawing(d.Build()), Scratch("out.shp"), true), Outcome::kDone);
  EXPECT_TRUE(LeftOutRows(LeftOut()).empty());
  EXPECT_EQ(LeftOutStatus(LeftOut()), "");
}

}  // namespace
}  // namespace korvex::shell
