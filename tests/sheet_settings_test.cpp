// What a sheet records beside its shapes: a cell's scale (SCALE texts), where a shape leaves
// the pen (ADVANCE points), a font's description (the FONT text) and the guides that are
// never converted; read from the drawing and written into the shapes' bytes.
#include <gtest/gtest.h>

#include <string>

#include "conversion/conversion_run.h"
#include "sheet/font_sheet.h"
#include "sheet/left_out_table.h"
#include "sheet/shape_scale.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::DxfBuilder;

TEST(ShapeScaleTest, ReadsAndWritesScaleTexts) {
  struct Case {
    const char* text;
    bool read;
    int drawingUnits;
    int shapeUnits;
  } cases[] = {
      {"SCALE 4", true, 4, 1},
      {"scale 20/7", true, 20, 7},
      {"  Scale  1 / 255 ", true, 1, 255},
      {"SCALE 255", true, 255, 1},
      {"SCALE 256", false, 0, 0},
      {"SCALE 0", false, 0, 0},
      {"SCALE 3/0", false, 0, 0},
      {"SCALE", false, 0, 0},
      {"SCALE4", false, 0, 0},
      {"SCALE 4 units", false, 0, 0},
      {"SCALE -4", false, 0, 0},
      {"SCALE 1/2/3", false, 0, 0},
      {"SCALES 4", false, 0, 0},
      {"SCALE 0004", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ShapeScale scale = {9, 9};
    EXPECT_EQ(ReadScaleText(c.text, scale), c.read);
    if (!c.read) {
      EXPECT_EQ(scale.drawingUnits, 9);  // left as it was
      continue;
    }
    EXPECT_EQ(scale.drawingUnits, c.drawingUnits);
    EXPECT_EQ(scale.shapeUnits, c.shapeUnits);
    char text[kScaleTextCapacity];
    FormatScaleText(scale, text);
    ShapeScale again = {};
    EXPECT_TRUE(ReadScaleText(text, again)) << text;
    EXPECT_EQ(again.drawingUnits, scale.drawingUnits);
    EXPECT_EQ(again.shapeUnits, scale.shapeUnits);
  }
}

TEST(FontSheetTextTest, ReadsAndWritesFontDescriptions) {
  struct Case {
    const char* text;
    bool read;
    FontSettings settings;  // from the defaults
  } cases[] = {
      {"ABOVE 21 BELOW 7 MODES 2 SPACING 3", true, {21, 7, 2, 3}},
      {"spacing 0 above 255", true, {255, 25, 0, 0}},
      {"", true, kDefaultFontSettings},
      {"ABOVE 0", false, {}},
      {"ABOVE 256", false, {}},
      {"MODES 1", false, {}},
      {"ABOVE 20 ABOVE 21", false, {}},
      {"ABOVE", false, {}},
      {"HEIGHT 20", false, {}},
      {"ABOVE 20x", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    FontSettings settings = kDefaultFontSettings;
    EXPECT_EQ(ReadFontText(c.text, settings), c.read);
    const FontSettings expected = c.read ? c.settings : kDefaultFontSettings;
    EXPECT_EQ(settings.above, expected.above);
    EXPECT_EQ(settings.below, expected.below);
    EXPECT_EQ(settings.modes, expected.modes);
    EXPECT_EQ(settings.spacing, expected.spacing);
    // Written as two texts, each within the 30 characters a drawing's text holds.
    char text[kFontTextCapacity];
    FontSettings again = {};
    EXPECT_LE(FormatFontText(settings, text), 30u);
    EXPECT_TRUE(ReadFontText(text, again)) << text;
    EXPECT_LE(FormatSpacingText(settings, text), 30u);
    EXPECT_TRUE(ReadFontText(text, again)) << text;
    EXPECT_EQ(again.above, settings.above);
    EXPECT_EQ(again.below, settings.below);
    EXPECT_EQ(again.modes, settings.modes);
    EXPECT_EQ(again.spacing, settings.spacing);
  }
}

class SheetSettingsTest : public test::KorvexTest {
 protected:
  // Cell 241, bottom left: its box from (0, 0), its name band from y 100.
  static DxfBuilder& Stroke(DxfBuilder& drawing) { return drawing.Line(10, 10, 90, 10); }
  static DxfBuilder& OnLayer(DxfBuilder& drawing, const char* kind, const char* layer, double x,
                             double y) {
    return drawing.Group(0, kind).Group(8, layer).Group(10, x).Group(20, y).Group(30, 0.0);
  }
};

TEST_F(SheetSettingsTest, ACellsScaleAndAdvanceGoIntoItsBytes) {
  struct Case {
    const char* what;
    std::string entities;
    const char* body;
  } cases[] = {
      {"no settings", "", "3,100,2,8,(10,10),1,8,(80,0),0"},
      {"a scale", "SCALE 4", "3,4,2,8,(10,10),1,8,(80,0),0"},
      {"a scale of a fraction", "SCALE 3/2", "3,3,4,2,2,8,(10,10),1,8,(80,0),0"},
      {"a scale of 1", "SCALE 1", "2,8,(10,10),1,8,(80,0),0"},
      {"a scale of 1/4", "SCALE 1/4", "4,4,2,8,(10,10),1,8,(80,0),0"},
      {"no scale", "SCALE four", "3,100,2,8,(10,10),1,8,(80,0),0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DxfBuilder drawing;
    drawing.Markers();
    Stroke(drawing);
    if (!c.entities.empty()) drawing.Text(3, 113, 5, c.entities, "SCALE");
    const std::string shp = Convert(drawing.Build());
    EXPECT_EQ(shp.substr(shp.find('\n') + 1), std::string(c.body) + "\r\n\x1a");
    // A scale text is neither the shape's name nor a text of its own.
    EXPECT_EQ(shp.substr(0, shp.find(',')), "*241");
    EXPECT_NE(shp.find("SHAPE241"), std::string::npos);
  }
}

TEST_F(SheetSettingsTest, AnAdvancePointEndsTheShapeWithAPenUpMove) {
  DxfBuilder drawing;
  drawing.Markers();
  Stroke(drawing);
  OnLayer(drawing, "POINT", "ADVANCE", 95, 40);
  // Another cell holds its advance point alone: a shape of one move.
  OnLayer(drawing, "POINT", "ADVANCE", 130, 60);
  const std::string shp = Convert(drawing.Build());
  EXPECT_EQ(shp,
            "*241,15,SHAPE241\r\n3,100,2,8,(10,10),1,8,(80,0),2,8,(5,30),0\r\n"
            "*242,7,SHAPE242\r\n3,100,2,8,(5,60),0\r\n\x1a");
}

TEST_F(SheetSettingsTest, GuidesAreNeverConvertedAndBadSettingsAreNoted) {
  DxfBuilder drawing;
  drawing.Markers();
  Stroke(drawing);
  drawing.Group(0, "LINE").Group(8, "GUIDE").Group(10, 0.0).Group(20, 25.0).Group(11, 100.0);
  drawing.Group(21, 25.0);
  drawing.Text(3, 113, 5, "SCALE 1000", "SCALE");
  drawing.Text(1880, 50, 5, "ABOVE 300", "FONT");
  ResetLeftOut(true);
  const std::filesystem::path input = Drawing(drawing.Build());
  ASSERT_EQ(ConvertDrawing(input, Scratch("out.shp"), true), Outcome::kDone);
  EXPECT_EQ(test::ReadFileBytes(Scratch("out.shp")),
            "*241,11,SHAPE241\r\n3,100,2,8,(10,10),1,8,(80,0),0\r\n\x1a");
  const LeftOutTable& leftOut = LeftOut();
  ASSERT_EQ(leftOut.kept, 2);  // the guide is the sheet's: not noted
  char text[200];
  DescribeLeftOut(leftOut.entries[0], text, sizeof text);
  EXPECT_NE(std::string(text).find("'SCALE 1000' is no scale"), std::string::npos) << text;
  DescribeLeftOut(leftOut.entries[1], text, sizeof text);
  EXPECT_NE(std::string(text).find("'ABOVE 300' is no font description"), std::string::npos)
      << text;
}

TEST_F(SheetSettingsTest, AFontTextDescribesTheFont) {
  DxfBuilder drawing;
  drawing.Markers();
  Stroke(drawing);
  drawing.Text(1880, 50, 5, "ABOVE 40 BELOW 10 SPACING 5", "FONT");
  const std::filesystem::path input = Drawing(drawing.Build());
  ASSERT_EQ(ConvertFontDrawing(input, Scratch("font.shp"), "F"), Outcome::kDone);
  // The glyph stands on the baseline 25 units above its box's bottom edge; it moves on to
  // its right extent and the spacing.
  EXPECT_EQ(test::ReadFileBytes(Scratch("font.shp")),
            "*0,4,F\r\n40,10,0,0\r\n*10,5,LF\r\n2,8,(0,-67),0\r\n*32,5,SPACE\r\n2,8,(24,0),0\r\n"
            "*241,13,SHAPE241\r\n2,8,(10,-15),1,8,(80,0),2,8,(5,15),0\r\n\x1a");
}

}  // namespace
}  // namespace korvex
