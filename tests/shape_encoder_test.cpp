#include "shape_output/shape_encoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "conversion/conversion_run.h"
#include "shape_output/glyph_library.h"
#include "shape_output/shp_writer.h"
#include "sheet/entity_table.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::KorvexTest;

class ShapeEncoderTest : public KorvexTest {
 protected:
  DrawingEntityRecord& Add(int n, EntityKind kind, int x1, int y1, int x2 = 0, int y2 = 0) {
    DrawingEntityRecord& record = StartRecord(0, kKindLine, 0, 0);
    record.shapeNumber = static_cast<std::int16_t>(n);
    record.kind = kind;
    record.startX = static_cast<std::int16_t>(x1);
    record.startY = static_cast<std::int16_t>(y1);
    record.endX = static_cast<std::int16_t>(x2);
    record.endY = static_cast<std::int16_t>(y2);
    AdmitRecord(static_cast<std::int16_t>(n));
    return record;
  }
  DrawingEntityRecord& AddArc(int n, double cx, double cy, double r, double a1, double a2, int x1,
                              int y1, int x2, int y2) {
    DrawingEntityRecord& record = Add(n, kKindArc, x1, y1, x2, y2);
    record.centreX = cx;
    record.centreY = cy;
    record.radius = r;
    record.startAngle = a1;
    record.endAngle = a2;
    return record;
  }
  void AddText(int n, int x, int y, int height, const char* text) {
    DrawingEntityRecord& record = Add(n, kKindText, x, y);
    record.textHeight = static_cast<std::int16_t>(height);
    CopyText(record.text, text, static_cast<int>(std::strlen(text)));
  }
  // The worked example's shape 18: a line, a circle and a quarter arc.
  void AddShape18(double arcEnd, int arcEndX, int arcEndY) {
    Add(18, kKindLine, 135, 1760, 215, 1760);
    DrawingEntityRecord& circle = Add(18, kKindCircle, 195, 1800);
    circle.centreX = 175;
    circle.centreY = 1800;
    circle.radius = 20;
    AddArc(18, 175, 1800, 30, 0, arcEnd, 205, 1800, arcEndX, arcEndY);
  }
  EncodedShape Encode(int n) {
    SortEntityKeys();
    StartEncoderRun();
    EncodedShape shape{};
    for (int m = 1; m < n; ++m) EncodeShape(m, shape);
    encodeResult_ = EncodeShape(n, shape);
    encoded_ = encodeResult_ == EncodeResult::kEncoded;
    return shape;
  }
  void LoadGlyphs(const std::string& bytes) {
    const std::filesystem::path path = Scratch("glyphs.shp");
    test::WriteFileBytes(path, bytes);
    std::FILE* file = platform::OpenFile(path, "rb");
    LoadGlyphIndex(file);
    std::fclose(file);
  }
  EncodeResult encodeResult_ = EncodeResult::kEmpty;
  bool encoded_ = false;
};

TEST_F(ShapeEncoderTest, WorkedExampleOfShape18) {
  AddShape18(90, 175, 1830);
  const EncodedShape shape = Encode(18);
  ASSERT_TRUE(encoded_);
  EXPECT_STREQ(shape.name, "SHAPE18");
  EXPECT_EQ(shape.byteCount, 31);
  EXPECT_STREQ(shape.text,
               "3,100,2,8,(10,10),1,8,(80,0),2,8,(-20,40),1,11,(0,0,0,20,000),2,8,(10,0),1,"
               "12,(-30,30,53),0");
}

TEST_F(ShapeEncoderTest, ArcOverASemicircleIsSplitAtTheOppositePoint) {
  AddShape18(270, 175, 1770);
  const EncodedShape shape = Encode(18);
  EXPECT_EQ(shape.byteCount, 35);
  EXPECT_NE(std::string(shape.text).find("2,8,(10,0),1,12,(-60,0,127),12,(30,-30,53),0"),
            std::string::npos)
      << shape.text;
}

TEST_F(ShapeEncoderTest, SemicirclesAndNearSemicircles) {
  // Exactly 180 degrees: one semicircle code.
  AddArc(241, 50, 50, 30, 0, 180, 80, 50, 20, 50);
  // Just over 180 degrees, the opposite point rounding onto the end: still one code.
  AddArc(242, 175, 50, 30, 0, 180.5, 205, 50, 145, 50);
  EXPECT_STREQ(Encode(241).text, "3,100,2,8,(80,50),1,12,(-60,0,127),0");
  EncodedShape shape{};
  ASSERT_EQ(EncodeShape(242, shape), EncodeResult::kEncoded);
  EXPECT_STREQ(shape.text, "3,100,2,8,(80,50),1,12,(-60,0,127),0");
}

// A fitted curve's clockwise arc keeps its pen path: the same bulges, negative, and a sweep
// over 180 degrees split at the point opposite its start.
TEST_F(ShapeEncoderTest, ClockwiseArcsHaveNegativeBulges) {
  struct Case {
    double a1, a2;
    int ex, ey;
    const char* text;
  } cases[] = {
      {90, 0, 80, 50, "3,100,2,8,(50,80),1,12,(30,-30,-53),0"},
      {90, 180, 20, 50, "3,100,2,8,(50,80),1,12,(0,-60,-127),12,(-30,30,-53),0"},
      {90, 270, 50, 20, "3,100,2,8,(50,80),1,12,(0,-60,-127),0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ResetConversionTables();
    AddArc(241, 50, 50, 30, c.a1, c.a2, 50, 80, c.ex, c.ey).clockwise = true;
    EXPECT_STREQ(Encode(241).text, c.text);
  }
}

TEST_F(ShapeEncoderTest, ArcsWithoutAChordNeverProduceABadByte) {
  // Ends that coincide on a short arc draw nothing; the shape's other entity stays.
  AddArc(241, 50, 50, 30, 10, 10, 80, 55, 80, 55);
  Add(241, kKindLine, 10, 10, 20, 10);
  // Ends that coincide on an arc that sweeps round draw a full circle.
  AddArc(242, 175, 50, 30, 0, 359.9, 205, 50, 205, 50);
  EXPECT_STREQ(Encode(241).text, "3,100,2,8,(10,10),1,8,(10,0),0");
  EncodedShape shape{};
  ASSERT_EQ(EncodeShape(242, shape), EncodeResult::kEncoded);
  EXPECT_STREQ(shape.text, "3,100,2,8,(80,50),1,12,(-60,0,127),12,(60,0,127),0");
}

TEST_F(ShapeEncoderTest, OriginPointMovesOnlyThePensStart) {
  AddShape18(90, 175, 1830);
  SetShapeOrigin(18, 150, 1765);
  const EncodedShape shape = Encode(18);
  EXPECT_EQ(shape.byteCount, 31);
  EXPECT_EQ(std::string(shape.text).rfind("3,100,2,8,(-15,-5),1,8,(80,0),2,8,(-20,40),", 0), 0u)
      << shape.text;
}

TEST_F(ShapeEncoderTest, PenMovesOnlyWhereTheStrokeBreaks) {
  Add(241, kKindLine, 0, 0, 50, 0);    // starts at the origin: no pen-up move
  Add(241, kKindLine, 50, 0, 50, 50);  // continues
  Add(241, kKindLine, 0, 0, 50, 50);   // drawn from the other end
  EXPECT_STREQ(Encode(241).text, "3,100,8,(50,0),8,(0,50),2,8,(-50,-50),1,8,(50,50),0");
}

// A name with a control character in it (a lone CR read from the drawing) would break the
// header line of the file; it is written with an underscore in its place.
TEST_F(ShapeEncoderTest, ControlCharactersInNamesDoNotBreakTheHeader) {
  Add(7, kKindLine, 760, 1890, 790, 1890);
  SetShapeName(7, "E\rEGR\tX\x7f", 8);
  EXPECT_STREQ(Encode(7).name, "E_EGR_X_");
}

TEST_F(ShapeEncoderTest, NamesAreUpperCaseOrNumbered) {
  Add(7, kKindLine, 760, 1890, 790, 1890);
  Add(200, kKindLine, 880, 385, 890, 385);
  SetShapeName(7, "Arrow-left", 10);
  SetShapeName(9, "Named but empty", 15);
  const EncodedShape seven = Encode(7);
  EXPECT_STREQ(seven.name, "ARROW-LEFT");
  EncodedShape shape{};
  EXPECT_EQ(EncodeShape(9, shape), EncodeResult::kEmpty);  // a name alone makes no shape
  for (int n = 10; n < 200; ++n) EncodeShape(n, shape);
  ASSERT_EQ(EncodeShape(200, shape), EncodeResult::kEncoded);
  EXPECT_STREQ(shape.name, "SHAPE200");
}

TEST_F(ShapeEncoderTest, TextsAreDrawnGlyphByGlyphAtTheirHeight) {
  LoadGlyphs("*65,12,A\r\n2,8,(1,0),1,8,(2,6),8,(2,-6),0\r\n*66,5,B\r\n2,8,(6,0),0\r\n");
  AddText(241, 10, 20, 10, "AB");
  AddText(242, 135, 20, 5, "A\xB0z");  // no glyph for z, and a byte beyond the index
  EncodedShape shape = Encode(241);
  EXPECT_STREQ(shape.text,
               "3,100,2,8,(10,20),1,5,4,10,3,6,2,8,(1,0),1,8,(2,6),8,(2,-6),1,2,8,(6,0),1,"
               "6,3,10,4,6,0");
  EXPECT_EQ(shape.byteCount, 2 + 5 + 5 + 12 + 5 + 5 + 1);
  ASSERT_EQ(EncodeShape(242, shape), EncodeResult::kEncoded);
  EXPECT_STREQ(shape.text,
               "3,100,2,8,(10,20),1,5,4,5,3,6,2,8,(1,0),1,8,(2,6),8,(2,-6),1,1,1,6,3,5,4,6,0");
  EXPECT_EQ(shape.byteCount, 2 + 5 + 5 + 12 + 1 + 1 + 5 + 1);
}

TEST_F(ShapeEncoderTest, WarnsNearTheByteLimitAndAsksAgain) {
  // Connected lines from the origin: 2 + 600 * 3 = 1802 bytes before the last two.
  for (int i = 0; i < 602; ++i) {
    const int x = (i % 2) * 10;  // from the origin, to and fro
    Add(241, kKindLine, x, 0, 10 - x, 0);
  }
  const EncodedShape shape = Encode(241);
  EXPECT_EQ(shape.byteCount, 2 + 602 * 3 + 1);
  ASSERT_EQ(frontend_.messages.size(), 2u);
  EXPECT_EQ(frontend_.MessageText(0),
            "Warning - Number of bytes 1802 for shape number 241 approaching limit of 2000 "
            "bytes!\nProgram will automatically stop execution once the limit is reached\n"
            "Reply YES to quit the program now");
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageYesNoWarning);
}

TEST_F(ShapeEncoderTest, StopsPastTheByteLimit) {
  for (int i = 0; i < 700; ++i) {
    const int x = (i % 2) * 10;  // from the origin, to and fro
    Add(241, kKindLine, x, 0, 10 - x, 0);
  }
  Encode(241);
  EXPECT_EQ(encodeResult_, EncodeResult::kStopped);
  EXPECT_EQ(frontend_.MessageText(frontend_.messages.size() - 1),
            "Number of bytes 1991 for shape 241 exceeds limit!\nExiting Program");
}

// The warning comes only past 1,800 bytes: at exactly 1,800 before an entity nothing is
// asked, and the next entity's check asks.
TEST_F(ShapeEncoderTest, WarningStartsPastEighteenHundredBytes) {
  for (const int extra : {0, 1}) {
    SCOPED_TRACE(extra);
    ResetConversionTables();
    frontend_.messages.clear();
    Add(241, kKindLine, 10, 0, 20, 0);  // scale 2 + pen-up 5 + line 3: 10 bytes
    Add(241, kKindLine, 30, 0, 40, 0);  // 18 bytes
    for (int i = 0; i < 594; ++i) {     // 3 bytes each: 1,800 bytes
      const int x = 40 + (i % 2) * 10;
      Add(241, kKindLine, x, 0, 90 - x, 0);
    }
    Add(241, kKindLine, 40, 0, 50, 0);                  // checked at exactly 1,800
    if (extra == 1) Add(241, kKindLine, 50, 0, 40, 0);  // checked at 1,803
    const EncodedShape shape = Encode(241);
    EXPECT_EQ(encodeResult_, EncodeResult::kEncoded);
    EXPECT_EQ(shape.byteCount, 1804 + 3 * extra);
    EXPECT_EQ(frontend_.messages.size(), static_cast<std::size_t>(extra));
  }
}

TEST_F(ShapeEncoderTest, AnsweringYesAtTheWarningStops) {
  for (int i = 0; i < 602; ++i) {
    const int x = (i % 2) * 10;  // from the origin, to and fro
    Add(241, kKindLine, x, 0, 10 - x, 0);
  }
  frontend_.answers = {platform::kAnswerYes};
  Encode(241);
  EXPECT_EQ(encodeResult_, EncodeResult::kStopped);
  EXPECT_EQ(frontend_.messages.size(), 1u);  // the question, and nothing after it
}

}  // namespace
}  // namespace korvex
