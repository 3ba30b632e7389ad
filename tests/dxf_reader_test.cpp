#include "dxf/dxf_reader.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "conversion/conversion_run.h"
#include "curve_drawing.h"
#include "dxf/dxf_line_reader.h"
#include "dxf/dxf_number.h"
#include "dxf/template_drawing.h"
#include "sheet/entity_table.h"
#include "sheet/left_out_table.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::DxfBuilder;
using test::KorvexTest;

constexpr const char* kInvalidDrawing =
    "Invalid input DXF file\n"
    "Make sure ShapesTemplate.dxf template was NOT ALTERED OR MODIFIED in any way!";

class DxfReaderTest : public KorvexTest {
 protected:
  bool Read(const std::string& text) { return ReadDrawing(Drawing(text)) == Outcome::kDone; }
  bool Read(const DxfBuilder& drawing) { return Read(drawing.Build()); }
  std::string LastMessage() const { return frontend_.MessageText(frontend_.messages.size() - 1); }
};

TEST_F(DxfReaderTest, RefusesDrawingsWithoutTheMarkerPair) {
  EXPECT_FALSE(Read(DxfBuilder().Line(10, 1880, 90, 1970)));
  EXPECT_EQ(LastMessage(), kInvalidDrawing);
  EXPECT_EQ(frontend_.MessageFlags(frontend_.messages.size() - 1), platform::kMessageInformation);

  ResetConversionTables();
  EXPECT_FALSE(Read(DxfBuilder().Markers()));
  EXPECT_EQ(LastMessage(), "No valid drawing entities found\nDraw your shapes in the boxes first");

  ResetConversionTables();
  EXPECT_FALSE(Read("  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n  0\nEOF\n"));
  EXPECT_EQ(LastMessage(), kInvalidDrawing);
}

TEST_F(DxfReaderTest, MarkerCountsOnlyInTheBandAboveCell256) {
  EXPECT_FALSE(Read(DxfBuilder()
                        .Line(10, 1880, 90, 1970)
                        .Text(1878, 112, 6, kTemplateMarkerFirst)
                        .Text(1878, 60, 6, kTemplateMarkerSecond)));
  EXPECT_EQ(LastMessage(), kInvalidDrawing);
}

TEST_F(DxfReaderTest, MarkersAreComparedExactly) {
  EXPECT_FALSE(Read(DxfBuilder()
                        .Line(10, 1880, 90, 1970)
                        .Text(1878, 112, 6, kTemplateMarkerFirst)
                        .Text(1878, 103, 6, "template rev 1")));
  EXPECT_EQ(LastMessage(), kInvalidDrawing);
}

TEST_F(DxfReaderTest, NothingAfterTheFirstStopWordIsRead) {
  const std::string stopWords[] = {"VIEWPORT", "DESCRIPTION", "ENDSEC"};
  for (const std::string& stop : stopWords) {
    SCOPED_TRACE(stop);
    ResetConversionTables();
    frontend_.messages.clear();
    EXPECT_TRUE(Read(
        DxfBuilder().Markers().Line(10, 1880, 90, 1970).Group(0, stop).Line(135, 1760, 215, 1760)));
    EXPECT_EQ(Entities().total, 1);
    ResetConversionTables();
    EXPECT_FALSE(Read(DxfBuilder().Line(10, 1880, 90, 1970).Group(0, stop).Markers()));
    EXPECT_EQ(LastMessage(), kInvalidDrawing);
  }
}

TEST_F(DxfReaderTest, LineIsRoundedAndPlacedInItsCell) {
  ASSERT_TRUE(Read(DxfBuilder().Markers().Line(10.4, 1880.5, 90.6, 1969.5)));
  ASSERT_EQ(Entities().total, 1);
  const DrawingEntityRecord& record = Entities().records[0];
  EXPECT_EQ(record.shapeNumber, 1);
  EXPECT_EQ(record.kind, kKindLine);
  EXPECT_EQ(record.startX, 10);
  EXPECT_EQ(record.startY, 1881);
  EXPECT_EQ(record.endX, 91);
  EXPECT_EQ(record.endY, 1970);
  EXPECT_EQ(Entities().keys[0], 100000);
}

TEST_F(DxfReaderTest, DropsLinesThatCannotBeShapeContent) {
  ASSERT_TRUE(Read(DxfBuilder()
                       .Markers()
                       .Line(10.2, 1900, 10.4, 1900)  // rounds to one point
                       .Line(10, 1900, 10, 1900)      // a point as read
                       .Line(90, 1900, 140, 1900)     // across the gap
                       .Line(1880, 10, 1970, 90)      // in cell 256
                       .Group(0, "LINE")
                       .Group(10, 10.0)
                       .Group(20, 1880.0)
                       .Group(11, 90.0)
                       .Group(21, 1970.0)
                       .Group(210, 0.0)
                       .Group(220, 0.0)
                       .Group(230, 1.0)  // extrusion
                       .Line(135, 1760, 215, 1760)));
  ASSERT_EQ(Entities().total, 1);
  EXPECT_EQ(Entities().records[0].shapeNumber, 18);
}

TEST_F(DxfReaderTest, ValuesThatDoNotFitWholeUnitsDropTheirEntity) {
  const char* hostile[] = {"1e308", "-1e308", "inf", "nan", "40000", "1e400", "-32769"};
  for (const char* value : hostile) {
    SCOPED_TRACE(value);
    ResetConversionTables();
    ASSERT_TRUE(Read(DxfBuilder()
                         .Markers()
                         .Group(0, "LINE")
                         .Group(10, value)
                         .Group(20, "1900")
                         .Group(11, "90")
                         .Group(21, "1900")
                         .Group(0, "POINT")
                         .Group(10, "50")
                         .Group(20, value)
                         .Group(0, "TEXT")
                         .Group(10, value)
                         .Group(20, "1900")
                         .Group(1, "X")
                         .Line(135, 1760, 215, 1760)));
    EXPECT_EQ(Entities().total, 1);
    EXPECT_EQ(Entities().shapeOriginX[1], kNoOrigin);
  }
}

TEST_F(DxfReaderTest, TextsBecomeRecordsOrNames) {
  ASSERT_TRUE(Read(DxfBuilder()
                       .Markers()
                       .Text(20, 1950, 10.9, "abc")
                       .Text(20, 1980, 5, "first name")
                       .Text(30, 1985, 5, "Arrow-left")
                       .Text(40, 1940, 5, "cell", "ID")
                       .Text(30, 1930, 5, "0123456789012345678901234567890123456789")));
  ASSERT_EQ(Entities().total, 2);
  EXPECT_EQ(Entities().records[0].kind, kKindText);
  EXPECT_STREQ(Entities().records[0].text, "abc");
  EXPECT_EQ(Entities().records[0].textHeight, 10);  // truncated, not rounded
  EXPECT_EQ(Entities().records[0].startX, 20);
  EXPECT_EQ(Entities().records[0].startY, 1950);
  EXPECT_STREQ(Entities().records[1].text, "012345678901234567890123456789");
  EXPECT_STREQ(Entities().shapeNames[1], "Arrow-left");  // the last name read wins
  EXPECT_TRUE(Entities().textCaptured);
}

// A text on the bottom edge of cell 18's box is drawn in it; one exactly on the top edge
// already stands in the name band and names the shape.
TEST_F(DxfReaderTest, TextsOnTheBoxEdgesGoToTheBoxOrTheBand) {
  ASSERT_TRUE(
      Read(DxfBuilder().Markers().Text(150, 1750, 10, "ON BOTTOM").Text(150, 1850, 5, "ON TOP")));
  ASSERT_EQ(Entities().total, 1);
  EXPECT_EQ(Entities().records[0].shapeNumber, 18);
  EXPECT_STREQ(Entities().records[0].text, "ON BOTTOM");
  EXPECT_STREQ(Entities().shapeNames[18], "ON TOP");
}

TEST_F(DxfReaderTest, TextHeightIsKeptWithinWhatAShapeByteHolds) {
  struct Case {
    const char* height;
    int expected;
  } cases[] = {{"2.9", 2}, {"0", 1}, {"-5", 1}, {"10000", 255}, {"nan", 1}, {"255.9", 255}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    ResetConversionTables();
    ASSERT_TRUE(Read(DxfBuilder()
                         .Markers()
                         .Group(0, "TEXT")
                         .Group(10, "20")
                         .Group(20, "1950")
                         .Group(40, c.height)
                         .Group(1, "A")));
    EXPECT_EQ(Entities().records[0].textHeight, c.expected);
  }
}

TEST_F(DxfReaderTest, PointsSetTheOriginAndTheLastOneWins) {
  ASSERT_TRUE(Read(DxfBuilder()
                       .Markers()
                       .Point(1900, 1900)
                       .Point(60, 60)
                       .Point(61.5, 70.4)
                       .Point(50, 100)  // on the top edge of cell 241: outside
                       .Line(10, 1880, 90, 1970)));
  EXPECT_EQ(Entities().shapeOriginX[16], 1900);
  EXPECT_EQ(Entities().shapeOriginY[16], 1900);
  EXPECT_EQ(Entities().shapeOriginX[241], 62);
  EXPECT_EQ(Entities().shapeOriginY[241], 70);
  EXPECT_EQ(Entities().total, 1);  // points make no record
}

TEST_F(DxfReaderTest, ValueLinesThatReadAsEntityNamesActAsThem) {
  // An MTEXT is read by nobody, so its value "LINE" starts a LINE.
  ASSERT_TRUE(Read(DxfBuilder()
                       .Markers()
                       .Group(0, "MTEXT")
                       .Group(1, "LINE")
                       .Group(10, 135.0)
                       .Group(20, 1760.0)
                       .Group(11, 215.0)
                       .Group(21, 1760.0)));
  ASSERT_EQ(Entities().total, 1);
  EXPECT_EQ(Entities().records[0].shapeNumber, 18);
}

TEST_F(DxfReaderTest, LongLinesArriveIn31CharacterPieces) {
  // The comment's second piece reads "LINE" and starts an entity.
  ASSERT_TRUE(Read(DxfBuilder()
                       .Markers()
                       .Group(0, "MTEXT")
                       .Group(999, std::string(31, 'x') + "LINE")
                       .Group(10, 135.0)
                       .Group(20, 1760.0)
                       .Group(11, 215.0)
                       .Group(21, 1760.0)));
  EXPECT_EQ(Entities().total, 1);
}

TEST_F(DxfReaderTest, CrLfDrawingsReadLikeLfDrawings) {
  const DxfBuilder drawing = DxfBuilder().Markers().Line(135, 1760, 215, 1760).Point(150, 1765);
  ASSERT_TRUE(Read(drawing.BuildCrLf()));
  EXPECT_EQ(Entities().total, 1);
  EXPECT_EQ(Entities().shapeOriginX[18], 150);
}

// A file Korvex cannot read as a drawing is refused with its cause, not with the advice
// about the template, which would send the user looking in the wrong place.
TEST_F(DxfReaderTest, FilesThatAreNoAsciiDrawingsAreNamedForWhatTheyAre) {
  std::string crOnly = DxfBuilder().Markers().Line(135, 1760, 215, 1760).Build();
  for (char& c : crOnly) {
    if (c == '\n') c = '\r';
  }
  std::string noMarkers = DxfBuilder().Line(135, 1760, 215, 1760).Build();
  const std::string binary = std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "\0\x02HEADER\0";
  struct Case {
    const char* what;
    std::string text;
    const char* cause;
  } cases[] = {
      {"empty", "", "This is not a DXF file."},
      {"words", "Dear user,\nthis is a letter.\n", "This is not a DXF file."},
      {"binary DXF", binary, "This is a binary DXF file: save it as ASCII DXF (R12 or later)."},
      {"CR-only line ends", crOnly,
       "Its lines end in a carriage return alone, which Korvex does not read: save it again as "
       "ASCII DXF."},
      {"no markers", noMarkers,
       "Make sure ShapesTemplate.dxf template was NOT ALTERED OR MODIFIED in any way!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(Read(c.text));
    EXPECT_EQ(LastMessage(), std::string("Invalid input DXF file\n") + c.cause);
  }
}

TEST_F(DxfReaderTest, FileEndingInsideAnEntityStillProcessesIt) {
  std::string text = DxfBuilder().Markers().Build();
  text = text.substr(0, text.rfind("  0\nENDSEC"));
  text += "  0\nLINE\n 10\n135\n 20\n1760\n 11\n215\n 21\n1760";  // no final line end
  ASSERT_TRUE(Read(text));
  EXPECT_EQ(Entities().total, 1);
  EXPECT_EQ(Entities().records[0].endX, 215);
}

TEST_F(DxfReaderTest, GroupsAnEntityLacksKeepTheLastValueRead) {
  // The second LINE has no end point: it takes the first one's.
  ASSERT_TRUE(Read(DxfBuilder()
                       .Markers()
                       .Line(135, 1760, 215, 1760)
                       .Group(0, "LINE")
                       .Group(10, 135.0)
                       .Group(20, 1800.0)));
  ASSERT_EQ(Entities().total, 2);
  EXPECT_EQ(Entities().records[1].endX, 215);
  EXPECT_EQ(Entities().records[1].endY, 1760);
}

// Each with the system's reason, or ours for what is no file; a pipe with no writer and a
// device that never ends are refused at once instead of holding the run.
TEST_F(DxfReaderTest, UnreadableInputsAreReportedByNameAndReason) {
  struct Case {
    std::filesystem::path input;
    const char* reason;
  } cases[] = {
      {Scratch("missing.dxf"), "No such file or directory"},
      {scratch_, "It is a folder, not a file."},
#ifndef _WIN32
      {Scratch("pipe.dxf"), "It is a device or a pipe, not a file."},
      {"/dev/zero", "It is a device or a pipe, not a file."},
#endif
  };
#ifndef _WIN32
  ASSERT_EQ(mkfifo(Scratch("pipe.dxf").c_str(), 0600), 0);
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input.string());
    EXPECT_EQ(ReadDrawing(c.input), Outcome::kRefused);
    EXPECT_EQ(LastMessage(), "Error opening DXF file " + c.input.string() + "\n" + c.reason);
  }
}

TEST(DxfNumberTest, ReadsAsAtofDoesInTheCLocale) {
  struct Case {
    const char* text;
    double expected;
  } cases[] = {{"  12.5\n", 12.5}, {"-3\n", -3}, {"+4.25\n", 4.25}, {"1e3\n", 1000},
               {"abc\n", 0},       {"\n", 0},    {"7.5xyz", 7.5},   {"1e-400\n", 0},
               {"1,5\n", 1},       {".5\n", 0.5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseDxfNumber(c.text, std::strlen(c.text)), c.expected);
  }
  EXPECT_TRUE(std::signbit(ParseDxfNumber("-0.0", 4)));
  EXPECT_EQ(ParseDxfNumber("1760.250000000000000001", 22), 1760.25);
  EXPECT_TRUE(std::isinf(ParseDxfNumber("1e400", 5)));
  EXPECT_TRUE(std::isnan(ParseDxfNumber("nan", 3)));
  EXPECT_EQ(ParseDxfInteger("  129\n", 6), 129);
  EXPECT_EQ(ParseDxfInteger("99999999999\n", 12), 0);
}

TEST(DxfNumberTest, PlainDecimalsReadExactlyAsTheFullConversion) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    const double value = std::ldexp(static_cast<double>(random() % 100000000) - 5e7,
                                    static_cast<int>(random() % 40) - 30);
    char text[64];
    std::snprintf(text, sizeof text, i % 2 ? "%.6f" : "%.15g", value);
    SCOPED_TRACE(text);
    ASSERT_EQ(ParseDxfNumber(text, std::strlen(text)), std::strtod(text, nullptr));
  }
}

// The drawing's text with the value of every group from firstCode to lastCode that is a
// whole number other than 0 nudged off it by one part in 1e15, down and up in turn, as
// another CAD program re-saves 263 as 262.9999999999999 or 263.0000000000001.
std::string FloatNoiseTwin(const std::string& plain, int firstCode, int lastCode) {
  std::string noisy;
  std::size_t start = 0;
  int code = -1;
  bool down = true;
  while (start < plain.size()) {
    const std::size_t end = plain.find('\n', start);
    const std::string line = plain.substr(start, end - start);
    const bool value = code >= firstCode && code <= lastCode;
    char* rest = nullptr;
    const double number = std::strtod(line.c_str(), &rest);
    if (value && *rest == '\0' && number != 0 && number == std::floor(number)) {
      char nudged[64];
      std::snprintf(nudged, sizeof nudged, "%.16g", number * (down ? 1 - 1e-15 : 1 + 1e-15));
      noisy += std::string(nudged) + "\n";
      down = !down;
    } else {
      noisy += line + "\n";
    }
    code = code == -1 ? std::atoi(line.c_str()) : -1;
    start = end + 1;
  }
  EXPECT_NE(noisy.find(".99999999999"), std::string::npos) << noisy;  // both ways
  EXPECT_NE(noisy.find(".00000000000"), std::string::npos) << noisy;
  return noisy;
}

// Every whole number of the drawing written with float noise converts to the same bytes as
// the drawing itself.
TEST_F(DxfReaderTest, WholeNumbersWithFloatNoiseConvertAsWholeNumbers) {
  DxfBuilder drawing;
  drawing.Markers()
      .Line(135, 1760, 215, 1760)
      .Group(0, "CIRCLE")
      .Group(8, "0")
      .Group(10, 175.0)
      .Group(20, 1813.0)
      .Group(40, 21.0)
      .Group(0, "LWPOLYLINE")
      .Group(90, "3")
      .Group(70, "0")
      .Group(10, 263.0)
      .Group(20, 1763.0)
      .Group(10, 330.0)
      .Group(20, 1790.0)
      .Group(10, 263.0)
      .Group(20, 1830.0)
      .Text(400, 1770, 9, "K");
  const std::string plain = drawing.Build();
  const std::string noisy = FloatNoiseTwin(plain, 10, 49);
  const std::string shp = Convert(plain);
  ASSERT_FALSE(shp.empty());
  EXPECT_EQ(Convert(noisy), shp);
}

// An arc whose end point falls on a half unit (25 cos 60 from a centre at 175): noise on
// the centre, the radius or the angles must not move it to the other side of the half.
TEST_F(DxfReaderTest, FloatNoiseMovesNoArcEndOffAHalfUnit) {
  DxfBuilder drawing;
  drawing.Markers()
      .Group(0, "ARC")
      .Group(10, 175.0)
      .Group(20, 1800.0)
      .Group(40, 25.0)
      .Group(50, 60.0)
      .Group(51, 120.0);
  const std::string plain = drawing.Build();
  const std::string shp = Convert(plain);
  ASSERT_FALSE(shp.empty());
  ASSERT_NE(shp.find("SHAPE18"), std::string::npos) << shp;
  EXPECT_EQ(Convert(FloatNoiseTwin(plain, 10, 59)), shp);
}

// The kinds whose numbers are moved or fitted before they are rounded: an ellipse, splines
// by control points and by fit points, a block inserted scaled and turned, a MINSERT and an
// MTEXT.
TEST_F(DxfReaderTest, FloatNoiseOnTransformedAndFittedKindsChangesNoByte) {
  DxfBuilder block;
  test::AddLine(block, test::DxfStyle::kR12, 10.25, 0, 30, 10);
  test::AddEllipse(block, test::DxfStyle::kR12, 0, 0, 12, 4, 0.5, 0, 6.283185307179586);
  test::AddArc(block, test::DxfStyle::kR12, 0, 0, 10, 30, 120);
  DxfBuilder halfBlock;
  test::AddLine(halfBlock, test::DxfStyle::kR12, 10.25, 30, 30, 40);
  DxfBuilder drawing;
  drawing.Markers().Block("PART", 0, 0, block).Block("HALF", 0, 0, halfBlock);
  test::AddEllipse(drawing, test::DxfStyle::kR12, 175, 1800, 30, 10, 0.5, 0, 6.283185307179586);
  test::SplineEntity controls;
  controls.controls = {{260, 1760}, {280, 1840}, {320, 1770}, {340, 1830}};
  controls.knots = {0, 0, 0, 0, 1, 1, 1, 1};
  controls.weights = {1, 2, 3, 1};
  test::AddSpline(drawing, test::DxfStyle::kR2000, controls);
  test::SplineEntity fits;
  fits.fits = {{390, 1770}, {420, 1830}, {450, 1780}, {470, 1820}};
  fits.tangents = true;
  fits.startTangent = {0, 1};
  fits.endTangent = {1, 0};
  test::AddSpline(drawing, test::DxfStyle::kR2000, fits);
  test::InsertEntity insert;
  insert.block = "PART";
  insert.x = 560;
  insert.y = 1780;
  insert.scaleX = insert.scaleY = 2;
  insert.rotation = 90;
  test::AddInsert(drawing, test::DxfStyle::kR12, insert);
  // A line that ends on a half unit only by its insert's scale, inserted at the origin (no
  // other value's noise to drown its scale's), twice, a point with one whole number between
  // them so that one of the two scales is nudged down.
  test::InsertEntity half;
  half.block = "HALF";
  half.scaleX = half.scaleY = 2;
  test::AddInsert(drawing, test::DxfStyle::kR12, half);
  drawing.Point(90, 71.25);
  test::AddInsert(drawing, test::DxfStyle::kR12, half);
  test::InsertEntity copies;
  copies.block = "PART";
  copies.x = 650;
  copies.y = 1780;
  copies.columns = 2;
  copies.rows = 2;
  copies.columnSpacing = 30;
  copies.rowSpacing = 30;
  copies.scaleX = copies.scaleY = 1;
  test::AddInsert(drawing, test::DxfStyle::kR12, copies);
  test::AddMtext(drawing, test::DxfStyle::kR2000, 880, 1840, 10, "{\\fArial;AB}", 4);
  const std::string plain = drawing.Build();
  const std::string shp = Convert(plain);
  ASSERT_FALSE(shp.empty());
  for (const char* shape : {"*18,", "*19,", "*20,", "*21,", "*22,", "*24,", "*241,"}) {
    EXPECT_NE(shp.find(shape), std::string::npos) << shape << "\n" << shp;
  }
  EXPECT_EQ(LeftOut().total, 0);
  EXPECT_EQ(Convert(FloatNoiseTwin(plain, 10, 59)), shp);
}

}  // namespace
}  // namespace korvex
