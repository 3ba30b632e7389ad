// Blocks and their INSERTs: a block's entities placed exactly as if drawn where the insert
// puts them (the same bytes as the drawing with them drawn there), what is left out of them
// noted at the INSERT's line with the blocks named, the block table's limits, and the
// template's own box block never taken for shape geometry.
#include "dxf/block_insert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "conversion/conversion_run.h"
#include "curve_drawing.h"
#include "dxf/block_table.h"
#include "dxf/dxf_reader.h"
#include "sheet/entity_table.h"
#include "sheet/left_out_table.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::AddArc;
using test::AddCircle;
using test::AddEllipse;
using test::AddInsert;
using test::AddLine;
using test::AddMtext;
using test::AddPolyline;
using test::AddSpline;
using test::DxfBuilder;
using test::DxfStyle;
using test::InsertEntity;
using test::KorvexTest;
using test::SplineEntity;

constexpr DxfStyle kR12 = DxfStyle::kR12;

InsertEntity Insert(const std::string& block, double x, double y, double scaleX = 1,
                    double scaleY = 1, double rotation = 0) {
  InsertEntity insert;
  insert.block = block;
  insert.x = x;
  insert.y = y;
  insert.scaleX = scaleX;
  insert.scaleY = scaleY;
  insert.rotation = rotation;
  return insert;
}

// The number, from 1, of the line that names the first entity of the kind in the ENTITIES
// section.
int LineOf(const std::string& text, const std::string& kind) {
  const std::size_t at = text.find("  0\n" + kind + "\n", text.find("\nENTITIES\n"));
  if (at == std::string::npos) return -1;
  return static_cast<int>(std::count(text.begin(), text.begin() + at + 4, '\n')) + 1;
}

// ---- Placed as if drawn there -------------------------------------------------------------

struct PlacementRow {
  const char* name;
  // The drawing with the block inserted, and its twin with the same geometry drawn there.
  DxfBuilder (*inserted)();
  DxfBuilder (*drawn)();
};

const PlacementRow kPlacements[] = {
    {"LineTurnedAndScaled",
     [] {
       DxfBuilder block;
       AddLine(block, kR12, 0, 0, 20, 5);
       DxfBuilder d;
       d.Markers().Block("B", 0, 0, block);
       return AddInsert(d, kR12, Insert("B", 175, 1780, 2, 2, 90));
     },
     [] {
       DxfBuilder d;
       d.Markers();
       return AddLine(d, kR12, 175, 1780, 165, 1820);
     }},
    {"ArcAndCircleScaledFromTheBasePoint",
     [] {
       DxfBuilder block;
       AddArc(block, kR12, 10, 10, 10, 0, 90);
       AddCircle(block, kR12, 10, 10, 5);
       DxfBuilder d;
       d.Markers().Block("B", 10, 10, block);
       return AddInsert(d, kR12, Insert("B", 175, 1800, 3, 3, 90));
     },
     [] {
       DxfBuilder d;
       d.Markers();
       AddArc(d, kR12, 175, 1800, 30, 90, 180);
       return AddCircle(d, kR12, 175, 1800, 15);
     }},
    {"PolylineMirroredTurnsItsArcsTheOtherWay",
     [] {
       DxfBuilder block;
       AddPolyline(block, DxfStyle::kR2000, {{0, 0, 0.5}, {30, 0, -1}, {30, 30, 0}}, 0);
       DxfBuilder d;
       d.Markers().Block("B", 0, 0, block);
       return AddInsert(d, kR12, Insert("B", 200, 1760, -1, 1));
     },
     [] {
       DxfBuilder d;
       d.Markers();
       return AddPolyline(d, DxfStyle::kR2000, {{200, 1760, -0.5}, {170, 1760, 1}, {170, 1790, 0}},
                          0);
     }},
    {"TextAndPointMoved",
     [] {
       DxfBuilder block;
       block.Text(5, 5, 5, "AB").Text(0, 50, 4, "NAMED").Point(1, 1);
       DxfBuilder d;
       d.Markers().Block("B", 0, 0, block);
       return AddInsert(d, kR12, Insert("B", 130, 1755, 2, 2));
     },
     [] {
       DxfBuilder d;
       return d.Markers().Text(140, 1765, 10, "AB").Text(130, 1855, 8, "NAMED").Point(132, 1757);
     }},
    {"EllipseTurned",
     [] {
       DxfBuilder block;
       AddEllipse(block, kR12, 0, 0, 30, 0, 0.5, 0, 2 * 3.141592653589793);
       DxfBuilder d;
       d.Markers().Block("B", 0, 0, block);
       return AddInsert(d, kR12, Insert("B", 175, 1800, 1, 1, 90));
     },
     [] {
       DxfBuilder d;
       d.Markers();
       return AddEllipse(d, kR12, 175, 1800, 0, 30, 0.5, 0, 2 * 3.141592653589793);
     }},
    {"SplineMoved",
     [] {
       SplineEntity s;
       s.controls = {{0, 0}, {20, 60}, {60, -20}, {80, 40}};
       s.knots = {0, 0, 0, 0, 1, 1, 1, 1};
       DxfBuilder block;
       AddSpline(block, kR12, s);
       DxfBuilder d;
       d.Markers().Block("B", 0, 0, block);
       return AddInsert(d, kR12, Insert("B", 135, 1770));
     },
     [] {
       SplineEntity s;
       s.controls = {{135, 1770}, {155, 1830}, {195, 1750}, {215, 1810}};
       s.knots = {0, 0, 0, 0, 1, 1, 1, 1};
       DxfBuilder d;
       d.Markers();
       return AddSpline(d, kR12, s);
     }},
    {"MinsertCopiesInRowsAndColumns",
     [] {
       DxfBuilder block;
       AddLine(block, kR12, 0, 0, 10, 0);
       DxfBuilder d;
       d.Markers().Block("B", 0, 0, block);
       InsertEntity insert = Insert("B", 135, 1760);
       insert.columns = 3;
       insert.rows = 2;
       insert.columnSpacing = 20;
       insert.rowSpacing = 30;
       return AddInsert(d, kR12, insert);
     },
     [] {
       DxfBuilder d;
       d.Markers();
       for (const double y : {1760, 1790}) {
         for (const double x : {135, 155, 175}) AddLine(d, kR12, x, y, x + 10, y);
       }
       return d;
     }},
    {"NestedInsertsComposeTheirMaps",
     [] {
       DxfBuilder inner;
       AddLine(inner, kR12, 0, 0, 10, 0);
       DxfBuilder outer;
       AddInsert(outer, kR12, Insert("INNER", 5, 0, 1, 1, 90));
       DxfBuilder d;
       d.Markers().Block("INNER", 0, 0, inner).Block("OUTER", 0, 0, outer);
       return AddInsert(d, kR12, Insert("OUTER", 150, 1770, 2, 2, 90));
     },
     [] {
       DxfBuilder d;
       d.Markers();
       return AddLine(d, kR12, 150, 1780, 130, 1780);
     }},
    {"MtextAndAttributes",
     [] {
       DxfBuilder block;
       AddMtext(block, kR12, 10, 40, 8, "{\\fArial;Hi}");
       DxfBuilder d;
       d.Markers().Block("B", 0, 0, block);
       InsertEntity insert = Insert("B", 125, 1750);
       insert.attributes = true;
       AddInsert(d, kR12, insert);
       d.Group(0, "ATTRIB").Group(8, "0").Group(10, 140.0).Group(20, 1760.0).Group(40, 5.0);
       d.Group(1, "TAG").Group(2, "T").Group(70, "0");
       return d.Group(0, "SEQEND").Group(8, "0");
     },
     [] {
       DxfBuilder d;
       return d.Markers().Text(135, 1782, 8, "Hi").Text(140, 1760, 5, "TAG");
     }},
};

class BlockPlacementTest : public KorvexTest, public ::testing::WithParamInterface<PlacementRow> {};

TEST_P(BlockPlacementTest, AsIfDrawnThere) {
  const std::string drawn = Convert(GetParam().drawn().Build());
  ASSERT_FALSE(drawn.empty());
  ResetConversionTables();
  EXPECT_EQ(Convert(GetParam().inserted().Build()), drawn);
  EXPECT_EQ(LeftOut().total, 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, BlockPlacementTest, ::testing::ValuesIn(kPlacements),
                         [](const ::testing::TestParamInfo<PlacementRow>& info) {
                           return std::string(info.param.name);
                         });

// ---- What is left out of a block ----------------------------------------------------------

struct LeftOutRow {
  const char* name;
  DxfBuilder (*drawing)();
  // DescribeLeftOut's texts, each at the line of the INSERT named (its first instance).
  std::vector<std::string> described;
};

// A drawing with one good line in cell 241, so that it converts.
DxfBuilder Good() {
  DxfBuilder d;
  d.Markers().Line(10, 10, 90, 10);
  return d;
}

const LeftOutRow kLeftOut[] = {
    {"NoSuchBlock",
     [] {
       DxfBuilder d = Good();
       return AddInsert(d, kR12, Insert("NOPE", 150, 1780));
     },
     {"INSERT (150,1780): block NOPE is not defined in the drawing's BLOCKS section; left out"}},
    {"EmptyBlockOrExternalReference",
     [] {
       DxfBuilder d = Good();
       d.Block("SITE", 0, 0, DxfBuilder());
       return AddInsert(d, kR12, Insert("SITE", 150, 1780));
     },
     {"INSERT (150,1780): block SITE holds nothing to draw (an external reference's drawing is "
      "not in this file: bind it in the CAD program first); left out"}},
    {"EntityPlacedOutOfItsBox",
     [] {
       DxfBuilder block;
       AddLine(block, kR12, 0, 0, 78, 0);
       DxfBuilder d = Good();
       d.Block("ARROW", 0, 0, block);
       return AddInsert(d, kR12, Insert("ARROW", 150, 1780));
     },
     {"cell 18: LINE of block ARROW (150,1780)-(228,1780): end point 3 units right of the box; "
      "left out"}},
    {"NestedBlocksAreNamedOutermostFirst",
     [] {
       DxfBuilder inner;
       AddLine(inner, kR12, 0, 0, 78, 0);
       DxfBuilder outer;
       AddInsert(outer, kR12, Insert("INNER", 0, 0));
       DxfBuilder d = Good();
       d.Block("INNER", 0, 0, inner).Block("OUTER", 0, 0, outer);
       return AddInsert(d, kR12, Insert("OUTER", 150, 1780));
     },
     {"cell 18: LINE of block OUTER > INNER (150,1780)-(228,1780): end point 3 units right of "
      "the box; left out"}},
    {"KindNotReadInABlock",
     [] {
       DxfBuilder block;
       block.Group(0, "HATCH").Group(8, "0").Group(10, 0.0).Group(20, 0.0);
       DxfBuilder d = Good();
       d.Block("B", 0, 0, block);
       return AddInsert(d, kR12, Insert("B", 150, 1780));
     },
     {"HATCH of block B: Korvex does not read HATCH entities: draw it with lines, arcs, circles "
      "or polylines; left out"}},
    {"ExtrusionInABlock",
     [] {
       DxfBuilder block;
       block.Group(0, "LINE").Group(10, 0.0).Group(20, 0.0).Group(11, 5.0).Group(21, 0.0);
       block.Group(210, 0.0);
       DxfBuilder d = Good();
       d.Block("B", 0, 0, block);
       return AddInsert(d, kR12, Insert("B", 150, 1780));
     },
     {"LINE of block B: has an extrusion direction (it is drawn in another plane); left out"}},
    {"InsertInAnotherPlane",
     [] {
       DxfBuilder block;
       AddLine(block, kR12, 0, 0, 5, 0);
       DxfBuilder d = Good();
       d.Block("B", 0, 0, block);
       AddInsert(d, kR12, Insert("B", 150, 1780));
       return d.Group(210, 1.0).Group(220, 0.0).Group(230, 0.0);
     },
     {"INSERT (150,1780): has an extrusion direction (it is drawn in another plane); left "
      "out"}},
    {"StretchedCircleLeavingItsBox",
     [] {
       DxfBuilder block;
       AddCircle(block, kR12, 0, 0, 10);
       DxfBuilder d = Good();
       d.Block("B", 0, 0, block);
       return AddInsert(d, kR12, Insert("B", 175, 1800, 6, 1));
     },
     {"cell 18: CIRCLE of block B (175,1800): its curve leaves the box by 10 units; left out"}},
    {"MultiLineMtextInABlock",
     [] {
       DxfBuilder block;
       AddMtext(block, kR12, 0, 0, 5, "one\\Ptwo");
       DxfBuilder d = Good();
       d.Block("B", 0, 0, block);
       return AddInsert(d, kR12, Insert("B", 150, 1780));
     },
     {"MTEXT of block B: an MTEXT of 2 lines: Korvex reads one-line MTEXT only (write each line "
      "as a TEXT or an MTEXT of its own); left out"}},
    {"BlockThatInsertsItself",
     [] {
       DxfBuilder block;
       AddLine(block, kR12, 0, 0, 5, 0);
       AddInsert(block, kR12, Insert("LOOP", 10, 0));
       DxfBuilder d = Good();
       d.Block("LOOP", 0, 0, block);
       return AddInsert(d, kR12, Insert("LOOP", 130, 1760));
     },
     {"INSERT of block LOOP > LOOP > LOOP > LOOP > LOOP > LOOP > LOOP > LOOP (210,1760): its "
      "blocks insert blocks more than 8 deep, or a block inserts itself: the deeper ones left "
      "out"}},
    {"InvisibleAttribute",
     [] {
       DxfBuilder block;
       AddLine(block, kR12, 0, 0, 5, 0);
       DxfBuilder d = Good();
       d.Block("B", 0, 0, block);
       InsertEntity insert = Insert("B", 150, 1780);
       insert.attributes = true;
       AddInsert(d, kR12, insert);
       d.Group(0, "ATTRIB").Group(8, "0").Group(10, 150.0).Group(20, 1790.0).Group(40, 5.0);
       d.Group(1, "SECRET").Group(2, "T").Group(70, "1");
       return d.Group(0, "SEQEND");
     },
     {"ATTRIB (150,1790): an invisible attribute, which the CAD program does not draw; left "
      "out"}},
};

class BlockLeftOutTest : public KorvexTest, public ::testing::WithParamInterface<LeftOutRow> {};

TEST_P(BlockLeftOutTest, NotedAtTheInsertsLine) {
  const std::string text = GetParam().drawing().Build();
  ASSERT_EQ(ConvertDrawing(Drawing(text), Scratch("out.shp"), true), Outcome::kDone);
  ASSERT_EQ(LeftOut().kept, static_cast<int>(GetParam().described.size()));
  const std::string kind = std::string(LeftOut().entries[0].kind);
  const int insertLine = LineOf(text, "INSERT");
  const int attribLine = LineOf(text, "ATTRIB");
  for (int i = 0; i < LeftOut().kept; ++i) {
    const LeftOutEntry& entry = LeftOut().entries[i];
    char described[512];
    DescribeLeftOut(entry, described, sizeof described);
    EXPECT_EQ(described, GetParam().described[i]);
    EXPECT_EQ(entry.line, kind == "ATTRIB" ? attribLine : insertLine);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, BlockLeftOutTest, ::testing::ValuesIn(kLeftOut),
                         [](const ::testing::TestParamInfo<LeftOutRow>& info) {
                           return std::string(info.param.name);
                         });

// ---- The block table's limits -------------------------------------------------------------

class BlockTableTest : public KorvexTest {
 protected:
  // Converts with the record kept; the left-out entries' reasons.
  std::vector<LeftOutReason> Reasons(const DxfBuilder& drawing) {
    EXPECT_EQ(ConvertDrawing(Drawing(drawing.Build()), Scratch("out.shp"), true), Outcome::kDone);
    std::vector<LeftOutReason> reasons;
    for (int i = 0; i < LeftOut().kept; ++i) reasons.push_back(LeftOut().entries[i].reason);
    return reasons;
  }

  // A block entity that is kept and placed but draws nothing and notes nothing: a polyline
  // of one vertex.
  static void AddNothing(DxfBuilder& block) {
    AddPolyline(block, DxfStyle::kR2000, {{1, 1, 0}}, 0);
  }
};

TEST_F(BlockTableTest, BlocksPastTheTableAreNamedAtTheirInserts) {
  DxfBuilder d = Good();
  DxfBuilder block;
  AddNothing(block);
  for (int i = 0; i <= kMaxBlocks; ++i) d.Block("B" + std::to_string(i), 0, 0, block);
  AddInsert(d, kR12, Insert("B0", 150, 1780));
  AddInsert(d, kR12, Insert("B" + std::to_string(kMaxBlocks), 150, 1780));
  EXPECT_EQ(Reasons(d), std::vector<LeftOutReason>{LeftOutReason::kBlockNotKept});
  EXPECT_EQ(Blocks().blockCount, kMaxBlocks);
  EXPECT_EQ(Blocks().blocksNotKept, 1);
  char described[256];
  DescribeLeftOut(LeftOut().entries[0], described, sizeof described);
  EXPECT_STREQ(described,
               "INSERT (150,1780): block B512 was not kept: the drawing defines more than 512 "
               "blocks; left out");
}

TEST_F(BlockTableTest, EntitiesPastTheTableAreCountedForTheirBlock) {
  DxfBuilder d = Good();
  DxfBuilder big;
  for (int i = 0; i < kMaxBlockEntities + 3; ++i) AddNothing(big);
  d.Block("BIG", 0, 0, big);
  AddInsert(d, kR12, Insert("BIG", 150, 1780));
  EXPECT_EQ(Reasons(d), std::vector<LeftOutReason>{LeftOutReason::kBlockPartNotKept});
  EXPECT_EQ(Blocks().entityCount, kMaxBlockEntities);
  EXPECT_EQ(LeftOut().entries[0].amount, 3);
}

TEST_F(BlockTableTest, VerticesPastTheTableAreCountedForTheirBlock) {
  DxfBuilder d = Good();
  DxfBuilder many;
  std::vector<test::PolylineVertex> vertices;
  for (int i = 0; i < kMaxVertices; ++i) vertices.push_back({1, 1, 0});
  const int fitting = kMaxBlockVertices / kMaxVertices;
  for (int i = 0; i <= fitting; ++i) AddPolyline(many, DxfStyle::kR2000, vertices, 0);
  d.Block("MANY", 0, 0, many);
  AddInsert(d, kR12, Insert("MANY", 150, 1780));
  EXPECT_EQ(Reasons(d), std::vector<LeftOutReason>{LeftOutReason::kBlockPartNotKept});
  EXPECT_EQ(Blocks().vertexCount, fitting * kMaxVertices);
}

TEST_F(BlockTableTest, InsertsPlaceNoMoreThanTheLimit) {
  DxfBuilder d = Good();
  DxfBuilder block;
  AddNothing(block);
  d.Block("B", 0, 0, block);
  InsertEntity insert = Insert("B", 150, 1780);
  insert.columns = 1000;
  insert.rows = 1000;
  AddInsert(d, kR12, insert);
  EXPECT_EQ(Reasons(d), std::vector<LeftOutReason>{LeftOutReason::kTooManyCopies});
  EXPECT_EQ(LeftOut().entries[0].amount, kMaxInsertedEntities);
}

TEST_F(BlockTableTest, NestingStopsAtItsDepth) {
  // B0 inserts B1 inserts ... B(depth); each holds a line in cell 241. The drawing's INSERT
  // of B0 is the first level.
  DxfBuilder d = Good();
  for (int i = 0; i <= kMaxInsertDepth; ++i) {
    DxfBuilder block;
    AddLine(block, kR12, 20, 20 + 5 * i, 30, 20 + 5 * i);
    if (i < kMaxInsertDepth) AddInsert(block, kR12, Insert("B" + std::to_string(i + 1), 0, 0));
    d.Block("B" + std::to_string(i), 0, 0, block);
  }
  AddInsert(d, kR12, Insert("B0", 0, 0));
  EXPECT_EQ(Reasons(d), std::vector<LeftOutReason>{LeftOutReason::kNestedTooDeep});
  // The good line and one line of each block but the deepest.
  EXPECT_EQ(Entities().total, 1 + kMaxInsertDepth);
}

// ---- The template's own -------------------------------------------------------------------

class TemplateBlockTest : public KorvexTest {};

TEST_F(TemplateBlockTest, TheBoxBlockAndTheGridLayerAreNeverShapeGeometry) {
  // The template, its boxes and marker, converted as it is: nothing captured, nothing noted,
  // and its box block not even kept.
  ConvertDrawing(test::SourceFolder() / "Support/ShapesTemplate.dxf", Scratch("out.shp"), true);
  EXPECT_EQ(Entities().total, 0);
  EXPECT_EQ(LeftOut().total, 0);
  EXPECT_EQ(Blocks().blockCount, 0);

  // The box block inserted on another layer, and a user's block inserted on the grid layer.
  DxfBuilder box;
  AddLine(box, kR12, 0, 0, 100, 0, "GRID");
  AddLine(box, kR12, 10, 10, 90, 90, "GRID");
  DxfBuilder user;
  AddLine(user, kR12, 10, 10, 90, 10);
  DxfBuilder d = Good();
  d.Block(kCellBoxBlock, 0, 0, box).Block("USER", 0, 0, user);
  AddInsert(d, kR12, Insert(kCellBoxBlock, 125, 1750), "SHAPES");
  AddInsert(d, kR12, Insert("cellbox", 250, 1750), "0");
  AddInsert(d, kR12, Insert("USER", 375, 1750), "GRID");
  ResetConversionTables();
  EXPECT_EQ(ConvertDrawing(Drawing(d.Build()), Scratch("out.shp"), true), Outcome::kDone);
  EXPECT_EQ(Entities().total, 1);  // the good line alone
  EXPECT_EQ(LeftOut().total, 0);
}

}  // namespace
}  // namespace korvex
