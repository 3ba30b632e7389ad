// The record of what a conversion leaves out: each reason with its line, cell and wording;
// the shapes written stay byte for byte what they were; the template's own entities and
// a clean drawing give nothing to report.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "conversion/conversion_run.h"
#include "sheet/cell_grid.h"
#include "sheet/left_out_table.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::DxfBuilder;
using test::KorvexTest;
using test::ReadFileBytes;

// A drawing with one good line in cell 18, so that it converts, then the row's entities.
DxfBuilder GoodDrawing() {
  return DxfBuilder().Markers().Line(135, 1760, 215, 1760);
}

struct Row {
  const char* name;
  DxfBuilder (*add)(DxfBuilder drawing);  // the faulty entity, added last
  const char* described;                  // DescribeLeftOut's text
  int lineOffset;  // the entity's first line, counted from the end of the good drawing
};

const Row kRows[] = {
    {"EndOutsideTheBox", [](DxfBuilder d) { return d.Line(150, 1780, 228, 1780); },
     "cell 18: LINE (150,1780)-(228,1780): end point 3 units right of the box; left out", 2},
    {"EndsInTwoBoxes", [](DxfBuilder d) { return d.Line(150, 1780, 260, 1780); },
     "cell 18: LINE (150,1780)-(260,1780): its ends lie in two boxes, cells 18 and 19; left out",
     2},
    {"CrossesAGap", [](DxfBuilder d) { return d.Line(150, 1780, 247, 1780); },
     "cell 18: LINE (150,1780)-(247,1780): crosses the gap between boxes; left out", 2},
    {"InCell256", [](DxfBuilder d) { return d.Line(1880, 10, 1970, 90); },
     "cell 256: LINE (1880,10)-(1970,90): lies in cell 256, which holds the template's markers "
     "and no shape; left out",
     2},
    {"OffTheSheet", [](DxfBuilder d) { return d.Line(-50, 10, 20, 10); },
     "LINE (-49,10)-(20,10): lies off the sheet; left out", 2},
    {"ZeroLength", [](DxfBuilder d) { return d.Line(150, 1780, 150, 1780); },
     "LINE (150,1780): has no length; left out", 2},
    {"LineWithExtrusion",
     [](DxfBuilder d) {
       return d.Group(0, "LINE")
           .Group(10, 150.0)
           .Group(20, 1780.0)
           .Group(11, 200.0)
           .Group(21, 1780.0)
           .Group(210, 0.0);
     },
     "LINE: has an extrusion direction (it is drawn in another plane); left out", 2},
    {"ArcLeavingItsBox",
     [](DxfBuilder d) {
       return d.Group(0, "ARC")
           .Group(10, 175.0)
           .Group(20, 1800.0)
           .Group(40, 60.0)
           .Group(50, 30.0)
           .Group(51, 150.0);
     },
     "cell 18: ARC (175,1800) radius 60: its curve leaves the box by 10 units; left out", 2},
    {"CircleLeavingItsBox",
     [](DxfBuilder d) {
       return d.Group(0, "CIRCLE").Group(10, 175.0).Group(20, 1800.0).Group(40, 55.0);
     },
     "cell 18: CIRCLE (175,1800) radius 55: its curve leaves the box by 5.5 units; left out", 2},
    {"Solid",
     [](DxfBuilder d) {
       return d.Group(0, "SOLID").Group(8, "0").Group(10, 175.0).Group(20, 1800.0);
     },
     "SOLID (175,1800): Korvex does not read SOLID entities: draw it with lines, arcs, "
     "circles or polylines; left out",
     2},
    {"DimensionWithItsBlock",
     [](DxfBuilder d) { return d.Group(0, "DIMENSION").Group(8, "0").Group(2, "*D1"); },
     "DIMENSION: Korvex does not read DIMENSION entities (block *D1): explode it in the CAD "
     "program; left out",
     2},
    {"InsertOfABlockNotDefined",
     [](DxfBuilder d) {
       return d.Group(0, "INSERT")
           .Group(8, "0")
           .Group(2, "ARROW")
           .Group(10, 150.0)
           .Group(20, 1780.0);
     },
     "INSERT (150,1780): block ARROW is not defined in the drawing's BLOCKS section; left out", 2},
    {"EllipseLeavingItsBox",
     [](DxfBuilder d) {
       return d.Group(0, "ELLIPSE")
           .Group(10, 175.0)
           .Group(20, 1800.0)
           .Group(11, 60.0)
           .Group(21, 0.0)
           .Group(40, 0.3);
     },
     "cell 18: ELLIPSE (175,1800): its curve leaves the box by 10 units; left out", 2},
    {"EllipseSmallerThanAUnit",
     [](DxfBuilder d) {
       return d.Group(0, "ELLIPSE")
           .Group(10, 175.0)
           .Group(20, 1800.0)
           .Group(11, 0.3)
           .Group(21, 0.0)
           .Group(40, 0.5);
     },
     "cell 18: ELLIPSE (175,1800): has no length; left out", 2},
    {"EllipseInCell256",
     [](DxfBuilder d) {
       return d.Group(0, "ELLIPSE")
           .Group(10, 1925.0)
           .Group(20, 50.0)
           .Group(11, 20.0)
           .Group(21, 0.0)
           .Group(40, 0.5);
     },
     "cell 256: ELLIPSE (1925,50): lies in cell 256, which holds the template's markers and no "
     "shape; left out",
     2},
    {"SplineInAnotherPlane",
     [](DxfBuilder d) {
       return d.Group(0, "SPLINE").Group(210, 1.0).Group(220, 0.0).Group(230, 0.0).Group(71, "1");
     },
     "SPLINE: has an extrusion direction (it is drawn in another plane); left out", 2},
    {"SplineWhoseKnotsMakeNoCurve",
     [](DxfBuilder d) {
       d.Group(0, "SPLINE").Group(71, "1");
       for (const double knot : {0.0, 0.0, 1.0}) d.Group(40, knot);
       return d.Group(10, 150.0).Group(20, 1780.0).Group(10, 200.0).Group(20, 1780.0);
     },
     "SPLINE (150,1780): its knots make no curve; left out", 2},
    {"SplineOfTooManyPoints",
     [](DxfBuilder d) {
       d.Group(0, "SPLINE").Group(71, "1");
       for (int i = 0; i <= 1024; ++i) d.Group(10, 150.0 + i % 50).Group(20, 1780.0);
       return d;
     },
     "SPLINE (150,1780): more than 1024 control or fit points, which Korvex does not keep; left "
     "out",
     2},
    {"MtextOfTwoLines",
     [](DxfBuilder d) {
       return d.Group(0, "MTEXT")
           .Group(10, 150.0)
           .Group(20, 1800.0)
           .Group(40, 5.0)
           .Group(71, "7")
           .Group(1, "first\\Psecond");
     },
     "MTEXT (150,1800): an MTEXT of 2 lines: Korvex reads one-line MTEXT only (write each line "
     "as a TEXT or an MTEXT of its own); left out",
     2},
    {"AfterTheFirstViewport",
     [](DxfBuilder d) { return d.Group(0, "VIEWPORT").Group(8, "0").Line(150, 1780, 200, 1780); },
     "LINE: stands after the first VIEWPORT, where reading ends; left out", 6},
    {"SecondPointInACell", [](DxfBuilder d) { return d.Point(150, 1770).Point(160, 1775); },
     "cell 18: POINT (150,1770): the POINT at line NEXT in the same cell sets the insertion "
     "point; ignored",
     2},
    {"TextCutToThirty",
     [](DxfBuilder d) { return d.Text(150, 1770, 5, "0123456789012345678901234567890123"); },
     "cell 18: TEXT (150,1770): text cut to 30 characters", 2},
    {"NameCutToThirty",
     [](DxfBuilder d) { return d.Text(150, 1860, 5, "0123456789012345678901234567890123"); },
     "cell 18: TEXT (150,1860): name cut to 30 characters", 2},
    {"TextHeightOutOfRange", [](DxfBuilder d) { return d.Text(150, 1770, 300, "A"); },
     "cell 18: TEXT (150,1770): text height 300 is outside 1 to 255: drawn 255 high", 2},
    {"TextWithoutGlyph",
     [](DxfBuilder d) {
       return d.Text(150, 1770, 5,
                     "A\xc8\xc8"
                     "B");
     },
     "cell 18: TEXT (150,1770): character code 200 has no glyph in SHPTXT.SHP: nothing drawn "
     "for it",
     2},
    {"TextInNoBox", [](DxfBuilder d) { return d.Text(110, 1800, 5, "gap"); },
     "TEXT (110,1800): lies in no box and no name band; left out", 2},
};

class LeftOutTest : public KorvexTest, public ::testing::WithParamInterface<Row> {
 protected:
  // Converts the drawing with the record kept (or only counted) and returns the .shp bytes.
  std::string ConvertExplained(const std::string& text, bool explain) {
    const std::filesystem::path input = Drawing(text);
    const std::filesystem::path output = Scratch(explain ? "explained.shp" : "plain.shp");
    EXPECT_EQ(ConvertDrawing(input, output, explain), Outcome::kDone);
    return ReadFileBytes(output);
  }
};

std::string PrintRow(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

TEST_P(LeftOutTest, EachReasonIsNotedOnceWithItsLineCellAndWords) {
  const Row& row = GetParam();
  const std::string good = GoodDrawing().Build();
  const std::string text = row.add(GoodDrawing()).Build();
  // The good drawing's lines before its closing "  0 ENDSEC" come first in both.
  const int goodLines = static_cast<int>(std::count(good.begin(), good.end(), '\n')) - 4;

  const std::string plain = ConvertExplained(text, false);
  EXPECT_EQ(LeftOut().total, 1);
  EXPECT_EQ(LeftOut().kept, 0);  // counted, not kept
  const std::string explained = ConvertExplained(text, true);
  EXPECT_EQ(explained, plain);
  ASSERT_EQ(LeftOut().total, 1);
  ASSERT_EQ(LeftOut().kept, 1);
  const LeftOutEntry& entry = LeftOut().entries[0];
  EXPECT_EQ(entry.line, goodLines + row.lineOffset);
  char described[512];
  DescribeLeftOut(entry, described, sizeof described);
  std::string expected = row.described;
  const std::size_t next = expected.find("NEXT");
  if (next != std::string::npos) expected.replace(next, 4, std::to_string(goodLines + 12));
  EXPECT_EQ(described, expected);
}

INSTANTIATE_TEST_SUITE_P(Reasons, LeftOutTest, ::testing::ValuesIn(kRows), PrintRow);

class LeftOutDrawingTest : public KorvexTest {};

// Nothing the template holds of its own is the user's work.
TEST_F(LeftOutDrawingTest, TheTemplateAndTheExampleReportNothing) {
  for (const char* file : {"Support/ShapesTemplate.dxf", "examples/shapes.dxf"}) {
    SCOPED_TRACE(file);
    ConvertDrawing(test::SourceFolder() / file, Scratch("out.shp"), true);
    EXPECT_EQ(LeftOut().total, 0);
  }
}

// The template's box blocks exploded into lines: each cell then holds its own outline,
// which is said once, as such.
TEST_F(LeftOutDrawingTest, ExplodedCellBoxesAreNamedOnce) {
  DxfBuilder drawing;
  drawing.Markers();
  for (const int n : {1, 2, 18}) {
    const CellBox box = CellBoxOf(n);
    const int corners[5][2] = {{box.left, box.bottom},
                               {box.right, box.bottom},
                               {box.right, box.top},
                               {box.left, box.top},
                               {box.left, box.bottom}};
    for (int edge = 0; edge < 4; ++edge) {
      drawing.Group(0, "LINE")
          .Group(8, "GRID")
          .Group(10, static_cast<double>(corners[edge][0]))
          .Group(20, static_cast<double>(corners[edge][1]))
          .Group(11, static_cast<double>(corners[edge + 1][0]))
          .Group(21, static_cast<double>(corners[edge + 1][1]));
    }
  }
  // A square drawn by the user on the box of another cell is the user's shape.
  drawing.Line(250, 1750, 350, 1750);
  ConvertDrawing(Drawing(drawing.Build()), Scratch("out.shp"), true);
  ASSERT_EQ(LeftOut().total, 1);
  EXPECT_EQ(LeftOut().entries[0].reason, LeftOutReason::kExplodedBoxes);
  EXPECT_EQ(LeftOut().entries[0].amount, 3);
}

// Past its size the record counts only.
TEST_F(LeftOutDrawingTest, TheRecordIsBoundedAndCountsTheRest) {
  DxfBuilder drawing = GoodDrawing();
  for (int i = 0; i < kMaxLeftOut + 5; ++i) drawing.Line(150, 1780, 260, 1780);
  ConvertDrawing(Drawing(drawing.Build()), Scratch("out.shp"), true);
  EXPECT_EQ(LeftOut().total, kMaxLeftOut + 5);
  EXPECT_EQ(LeftOut().kept, kMaxLeftOut);
}

}  // namespace
}  // namespace korvex
