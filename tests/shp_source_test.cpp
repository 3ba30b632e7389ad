// The shape source reader and checker: hand-written files in every notation, each malformed
// line reported with its number, each class of what the compiler refuses flagged.
#include "shape_files/shp_source.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "shape_files/shp_check.h"

namespace korvex {
namespace {

// The tables are large: one per test program, on the heap.
ShapeSource& Source() {
  static const std::unique_ptr<ShapeSource> source = std::make_unique<ShapeSource>();
  return *source;
}

// Reads the text; the problems of the reader, then (when check) of the checker.
std::unique_ptr<SourceProblemList> Read(const std::string& text, bool check = false) {
  auto problems = std::make_unique<SourceProblemList>();
  ReadShapeSource(text, Source(), *problems);
  if (check) CheckShapeSource(Source(), *problems);
  return problems;
}

std::string Describe(const SourceProblemList& problems) {
  std::string text;
  for (int i = 0; i < problems.count; ++i) {
    text += std::to_string(problems.items[i].line) + ": " + problems.items[i].text + "\n";
  }
  return text;
}

std::vector<int> BytesOf(const SourceShape& shape) {
  const std::int16_t* bytes = Source().BytesOf(shape);
  return std::vector<int>(bytes, bytes + shape.byteCount);
}

TEST(ShpSourceTest, ReadsOurWritersOutputWithItsCutsInsideGroups) {
  const std::string text =
      "*1,22,ARROW\r\n"
      "3,100,2,8,(13,50),1,8,(72,0),8,(-20,15),2,8,(20,-15),1,8,(-20,\r\n"
      "-15),0\r\n"
      "*255,11,SHAPE255\r\n"
      "3,100,2,8,(10,10),1,8,(80,0),0\r\n\x1a";
  const auto problems = Read(text, true);
  EXPECT_EQ(problems->Total(), 0) << Describe(*problems);
  ASSERT_EQ(Source().shapeCount, 2);
  const SourceShape& arrow = Source().shapes[0];
  EXPECT_EQ(arrow.number, 1);
  EXPECT_STREQ(arrow.name, "ARROW");
  EXPECT_EQ(arrow.declaredBytes, 22);
  EXPECT_EQ(arrow.headerLine, 1);
  EXPECT_EQ(BytesOf(arrow), (std::vector<int>{3,   100, 2, 8, 13, 50,  1, 8, 72,  0,   8,
                                              -20, 15,  2, 8, 20, -15, 1, 8, -20, -15, 0}));
  // The byte cut over the line end stands on the line it was read from.
  EXPECT_EQ(Source().LinesOf(arrow)[19], 2);
  EXPECT_EQ(Source().LinesOf(arrow)[20], 3);
  EXPECT_EQ(Source().Find(255), &Source().shapes[1]);
  EXPECT_EQ(Source().Find(2), nullptr);
}

TEST(ShpSourceTest, ReadsHandWrittenFontsWithCommentsHexAndDescriptions) {
  const std::string text =
      "; a hand-written font\n"
      "\n"
      "*0,4,Test font  ; the description\n"
      "6,2,0,0\n"
      "*00041,9,uca\n"
      "  2 , 8 , ( -2 , -6 ) ,   ; spaces and a comment after the comma\n"
      "1,024,0A,-012,0\n"
      "*BIGFONT 2,1,081,09F\n"
      "*0E9,2,\n"
      "7,0\n";
  const auto problems = Read(text);
  EXPECT_EQ(problems->Total(), 0) << Describe(*problems);
  EXPECT_TRUE(Source().bigFont);
  ASSERT_EQ(Source().shapeCount, 3);
  EXPECT_EQ(Source().shapes[0].number, 0);
  EXPECT_STREQ(Source().shapes[0].name, "Test font");
  EXPECT_EQ(Source().shapes[1].number, 0x41);
  EXPECT_STREQ(Source().shapes[1].name, "uca");
  EXPECT_EQ(BytesOf(Source().shapes[1]), (std::vector<int>{2, 8, -2, -6, 1, 0x24, 10, -18, 0}));
  EXPECT_EQ(Source().shapes[2].number, 0xE9);
  EXPECT_STREQ(Source().shapes[2].name, "");
}

TEST(ShpSourceTest, UnifontDescriptionStandsForShapeZero) {
  // Shape numbers run to 65535, past the 32767 a byte or count may reach.
  const auto problems =
      Read("*UNIFONT,6,Unicode test\n40,10,0,0,0,0\n*0100,2,X\n010,0\n*0FFFF,2,Y\n010,0\n", true);
  EXPECT_EQ(problems->Total(), 0) << Describe(*problems);
  EXPECT_TRUE(Source().unifont);
  ASSERT_EQ(Source().shapeCount, 3);
  EXPECT_EQ(Source().shapes[0].number, 0);
  EXPECT_EQ(Source().shapes[1].number, 256);
  EXPECT_EQ(Source().shapes[2].number, 65535);
  EXPECT_TRUE(Read("*010000,2,Z\n010,0\n")->Has(ProblemKind::kMalformedLine));
}

TEST(ShpSourceTest, BigFontLinesGiveTheEstimateAndTheLeadByteRanges) {
  EXPECT_EQ(Read("*BIGFONT 4000,2,081,09F,0E0,0FC\n*0,4,B\n8,0,2,0\n")->Total(), 0);
  EXPECT_TRUE(Source().bigFont);
  EXPECT_EQ(Source().bigFontEstimate, 4000);
  ASSERT_EQ(Source().bigFontRangeCount, 2);
  EXPECT_EQ(Source().bigFontRanges[1].first, 0xE0);
  EXPECT_EQ(Source().bigFontRanges[1].last, 0xFC);
  const char* malformed[] = {
      "*BIGFONT 4000\n",                                     // no range count
      "*BIGFONT 4000,2,081,09F\n",                           // one pair short
      "*BIGFONT 4000,1,081,0100\n",                          // a lead byte past 255
      "*BIGFONT 4000,1,081,X\n",                             // not a number
      "*BIGFONT 1,9,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1\n",  // more ranges than kept
  };
  for (const char* line : malformed) {
    const auto problems = Read(std::string(line) + "*0,4,B\n8,0,2,0\n");
    ASSERT_EQ(problems->count, 1) << line;
    EXPECT_EQ(problems->items[0].kind, ProblemKind::kMalformedLine) << line;
    EXPECT_EQ(problems->items[0].line, 1) << line;
  }
}

TEST(ShpSourceTest, ReadsNumbersInDecimalAndLeadingZeroHexadecimal) {
  struct Case {
    const char* text;
    bool ok;
    int value;
  };
  const Case cases[] = {
      {"0", true, 0},      {"10", true, 10},     {"012", true, 18},  {"0A", true, 10},
      {"0a", true, 10},    {"-012", true, -18},  {"+5", true, 5},    {"00", true, 0},
      {"0FF", true, 255},  {"-128", true, -128}, {"300", true, 300}, {"07FFF", true, 32767},
      {"A", false, 0},     {"1A", false, 0},     {"0x10", false, 0}, {"", false, 0},
      {"-", false, 0},     {"--5", false, 0},    {"+-5", false, 0},  {"99999", false, 0},
      {"08000", false, 0}, {"1.5", false, 0},    {"0G", false, 0},
  };
  for (const Case& c : cases) {
    int value = -9999;
    EXPECT_EQ(ReadSourceNumber(c.text, value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(ShpSourceTest, MalformedLinesAreReportedWithTheirLineAndReason) {
  struct Case {
    const char* text;
    int line;
    const char* reason;
  };
  const Case cases[] = {
      {"*1,2\n0,0\n", 1, "needs *number,bytes,name"},
      {"*X,2,A\n0\n", 1, "shape number"},
      {"*70000,2,A\n0\n", 1, "shape number"},
      {"*1,B,A\n0\n", 1, "byte count"},
      {"*1,-2,A\n0\n", 1, "byte count"},
      {"*1,3,A\n1,,0\n", 2, "empty byte"},
      {"*1,2,A\nA,0\n", 2, "hexadecimal needs a leading 0"},
      {"*1,2,A\n1Z,0\n", 2, "not a number"},
      {"*1,2,A\n99999,0\n", 2, "not a number"},
      {"*1,3,A\n1\n((1),0\n", 3, "nested"},
      {"*1,2,A\n1),0\n", 2, "')' without its '('"},
      {"*1,3,A\n1 2,0\n", 2, "unexpected text"},
      {"*1,4,A\n8,(1,\n2,0\n", 3, "not closed"},
      {"*1,4,A\n8,(1,\n2,0\n*2,1,B\n0\n", 4, "not closed"},
      {"\n010,0\n*1,2,A\n010,0\n", 2, "without a shape header"},
      {"", 0, "no shape definitions"},
      {"; only a comment\n", 0, "no shape definitions"},
  };
  for (const Case& c : cases) {
    const auto problems = Read(c.text);
    ASSERT_GE(problems->count, 1) << c.text;
    EXPECT_EQ(problems->items[0].kind, ProblemKind::kMalformedLine) << c.text;
    EXPECT_EQ(problems->items[0].line, c.line) << c.text << "\n" << Describe(*problems);
    EXPECT_NE(std::string(problems->items[0].text).find(c.reason), std::string::npos)
        << c.text << "\n"
        << Describe(*problems);
  }
}

TEST(ShpSourceTest, EveryLineEndCountsOneLine) {
  for (const char* end : {"\n", "\r\n", "\r"}) {
    const std::string text = std::string("*1,2,A") + end + "010,0" + end + "BAD,0" + end;
    const auto problems = Read(text);
    ASSERT_EQ(problems->count, 1) << Describe(*problems);
    EXPECT_EQ(problems->items[0].line, 3);
  }
}

// The compiler never reads past the end-of-file byte: what stands there is lost, and is
// how a file spliced from two others shows itself.
TEST(ShpSourceTest, ReadingStopsAtTheEndOfFileByteAndReportsWhatFollows) {
  struct Case {
    std::string text;
    const char* problem;  // nullptr: none
  } cases[] = {
      {std::string("*1,2,A\n010,0\n\x1a"), nullptr},
      {std::string("*1,2,A\n010,0\n\x1a\r\n"), nullptr},
      {std::string("*1,2,A\n010,0\n\x1a*2,2,B\n010,0\n\x1a"),
       "a shape definition after the end-of-file byte 0x1A: the compiler never reads it"},
      {std::string("*1,2,A\n010,0\n\x1agarbage\n*2,2,B\n"),
       "a shape definition after the end-of-file byte 0x1A: the compiler never reads it"},
      {std::string("*1,2,A\n010,0\n\x1agarbage"),
       "7 bytes after the end-of-file byte 0x1A: the compiler never reads them"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto problems = Read(c.text);
    EXPECT_EQ(Source().shapeCount, 1);
    if (c.problem == nullptr) {
      EXPECT_EQ(problems->Total(), 0) << Describe(*problems);
      continue;
    }
    ASSERT_EQ(problems->count, 1) << Describe(*problems);
    EXPECT_EQ(problems->items[0].kind, ProblemKind::kDataAfterEnd);
    EXPECT_EQ(problems->items[0].line, 3);
    EXPECT_STREQ(problems->items[0].text, c.problem);
  }
}

TEST(ShpSourceTest, LinesPastTheCompilersLimitAreFlagged) {
  const std::string longComment = "; " + std::string(kCompilerLineLimit, 'x');
  const auto problems = Read("*1,2,A\n" + longComment + "\n010,0\n");
  ASSERT_EQ(problems->count, 1);
  EXPECT_EQ(problems->items[0].kind, ProblemKind::kLineTooLong);
  EXPECT_EQ(problems->items[0].line, 2);
  EXPECT_EQ(Read("*1,2,A\n; " + std::string(kCompilerLineLimit - 2, 'x') + "\n010,0\n")->Total(),
            0);
}

TEST(ShpSourceTest, TooManyShapesAreReportedAndTheTablesStayBounded) {
  std::string text;
  for (int n = 1; n <= kMaxSourceShapes + 5; ++n) text += "*" + std::to_string(n) + ",1,S\n0\n";
  const auto problems = Read(text);
  EXPECT_EQ(Source().shapeCount, kMaxSourceShapes);
  EXPECT_TRUE(Source().truncated);
  ASSERT_EQ(problems->count, 1);
  EXPECT_EQ(problems->items[0].kind, ProblemKind::kTooManyShapes);
  EXPECT_EQ(problems->items[0].line, 2 * kMaxSourceShapes + 1);
}

// Every prefix of a file reads without harm, and what it reads is a prefix of the whole.
TEST(ShpSourceTest, EveryTruncatedPrefixReadsAsAPrefix) {
  const std::string text =
      "*0,4,F\n6,2,0,0\n*1,12,A ; c\n2,8,(-2,-6),1,024,\n10,(1,-032),012,0\n*2,3,B\n7,1,0\n";
  Read(text);
  const std::vector<int> whole(Source().bytes, Source().bytes + Source().byteCount);
  for (std::size_t length = 0; length <= text.size(); ++length) {
    Read(text.substr(0, length), true);
    ASSERT_LE(Source().byteCount, static_cast<int>(whole.size()));
    for (int i = 0; i < Source().byteCount; ++i) {
      // A number cut short reads as another number; only whole tokens must agree.
      if (i + 1 < Source().byteCount) {
        ASSERT_EQ(Source().bytes[i], whole[i]) << length;
      }
    }
  }
}

TEST(ShpCheckTest, CleanFilesHaveNoProblems) {
  const char* files[] = {
      "*230,6,DBOX\n014,010,01C,018,012,0\n",
      "*1,11,SHAPE1\r\n3,100,2,8,(10,10),1,8,(80,0),0\r\n\x1a",
      "*9,2,SUB\n010,0\n*1,3,USES\n7,9,0\n",
      "*1,20,ALL\n1,2,3,2,4,2,5,6,8,(-128,127),9,(1,1),(0,0),10,(1,-032),0\n"
      "*2,19,ARCS\n11,(56,28,0,3,012),12,(0,2,-127),13,(0,2,127),(0,0),14,010,0\n",
      "*0,4,Font\n10,2,0,0\n*65,2,A\n010,0\n",
  };
  for (const char* file : files) {
    const auto problems = Read(file, true);
    EXPECT_EQ(problems->Total(), 0) << file << "\n" << Describe(*problems);
  }
}

TEST(ShpCheckTest, FlagsEachClassTheCompilerRefuses) {
  std::string tooLong = "*1,2001,LONG\n";
  for (int line = 0; line < 50; ++line) {
    for (int i = 0; i < 40; ++i) tooLong += "1,";  // pen down: 2000 valid bytes and the 0
    tooLong += "\n";
  }
  tooLong += "0\n";
  struct Case {
    std::string text;
    ProblemKind kind;
    int line;
  };
  const Case cases[] = {
      {"*1,3,A\n010,0\n", ProblemKind::kByteCountMismatch, 1},
      {"*1,5,A\n010,\n010,0\n", ProblemKind::kByteCountMismatch, 1},
      {tooLong, ProblemKind::kShapeTooLong, 1},
      {"*1,2,A\n300,0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,2,A\n-129,0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,4,A\n8,(200,0),0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,4,A\n8,\n(0,-129),0\n", ProblemKind::kByteOutOfRange, 3},
      {"*1,6,A\n9,(1,128),(0,0),0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,5,A\n12,(0,10,-128),0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,5,A\n12,(-128,10,0),0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,10,A\n13,(1,1,1),(0,128,1),(0,0),0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,3,A\n3,0,0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,3,A\n4,-2,0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,4,A\n10,(0,012),0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,4,A\n10,(1,08),0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,4,A\n10,(1,-080),0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,7,A\n11,(0,0,0,0,012),0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,7,A\n11,(-1,0,0,3,012),0\n", ProblemKind::kByteOutOfRange, 2},
      {"*1,2,A\n010,020\n", ProblemKind::kMissingEnd, 2},
      {"*1,3,A\n010,\n8,(1,0)\n", ProblemKind::kMissingEnd, 3},
      {"*1,4,A\n9,(1,1),0\n", ProblemKind::kMissingEnd, 2},
      {"*1,0,A\n", ProblemKind::kMissingEnd, 1},
      {"*0,4,Font\n10,2,0,1\n", ProblemKind::kMissingEnd, 2},
      {"*1,3,A\n0,\n010,0\n", ProblemKind::kBytesAfterEnd, 3},
      {"*1,2,A\n15,0\n", ProblemKind::kUnknownCode, 2},
      {"*1,3,A\n010,-5,0\n", ProblemKind::kUnknownCode, 2},
      {"*1,3,A\n7,9,0\n", ProblemKind::kMissingSubshape, 2},
      {"*1,3,A\n7,0,0\n", ProblemKind::kMissingSubshape, 2},
      {"*UNIFONT,6,U\n40,10,0,0,0,0\n*065,4,A\n7,(01,00),0\n", ProblemKind::kMissingSubshape, 4},
      {"*1,2,A\n010,0\n*1,2,B\n010,0\n", ProblemKind::kDuplicateShape, 3},
      {"*1,7,A\n5,5,5,5,\n5,6,0\n", ProblemKind::kPositionStack, 3},
      {"*1,2,A\n6,0\n", ProblemKind::kPositionStack, 2},
  };
  std::set<ProblemKind> flagged;
  for (const Case& c : cases) {
    const auto problems = Read(c.text, true);
    ASSERT_GE(problems->count, 1) << c.text;
    bool found = false;
    for (int i = 0; i < problems->count; ++i) {
      found = found || (problems->items[i].kind == c.kind && problems->items[i].line == c.line);
    }
    EXPECT_TRUE(found) << c.text << "\n" << Describe(*problems);
    flagged.insert(c.kind);
  }
  // Each class the checker knows has a row above.
  for (ProblemKind kind :
       {ProblemKind::kByteCountMismatch, ProblemKind::kShapeTooLong, ProblemKind::kByteOutOfRange,
        ProblemKind::kMissingEnd, ProblemKind::kBytesAfterEnd, ProblemKind::kUnknownCode,
        ProblemKind::kMissingSubshape, ProblemKind::kDuplicateShape, ProblemKind::kPositionStack}) {
    EXPECT_EQ(flagged.count(kind), 1u) << static_cast<int>(kind);
  }
}

// What the compiler takes but CAD programs may not read as meant: warned of, not refused.
TEST(ShpCheckTest, WarnsOfLowerCaseNamesAndDecimalNegativeOctants) {
  struct Case {
    const char* text;
    ProblemKind kind;  // the one warning, or kMalformedLine for none
    const char* message;
  };
  const Case cases[] = {
      {"*1,2,Arrow\n010,0\n", ProblemKind::kLowerCaseName,
       "shape 1 (Arrow): the name has lower-case letters: CAD programs never find it by name; "
       "write it in upper case"},
      {"*1,4,A\n10,(1,-18),0\n", ProblemKind::kAmbiguousOctant,
       "shape 1 (A): negative octant byte -18 in decimal is read differently by different "
       "programs: write it as -012"},
      {"*1,7,A\n11,(0,0,0,3,-18),0\n", ProblemKind::kAmbiguousOctant,
       "shape 1 (A): negative octant byte -18 in decimal is read differently by different "
       "programs: write it as -012"},
      {"*1,4,A\n10,(1,-012),0\n", ProblemKind::kMalformedLine, nullptr},
      {"*1,4,A\n10,(1,18),0\n", ProblemKind::kMalformedLine, nullptr},
      {"*1,4,A\n8,(1,-18),0\n", ProblemKind::kMalformedLine, nullptr},  // no octant byte
      {"*0,4,font name\n6,2,0,0\n", ProblemKind::kMalformedLine, nullptr},
  };
  for (const Case& c : cases) {
    const auto problems = Read(c.text, true);
    EXPECT_EQ(problems->Refusals(), 0) << c.text << Describe(*problems);
    if (c.message == nullptr) {
      EXPECT_EQ(problems->Total(), 0) << c.text << Describe(*problems);
      continue;
    }
    ASSERT_EQ(problems->count, 1) << c.text;
    EXPECT_EQ(problems->warnings, 1);
    EXPECT_EQ(problems->items[0].kind, c.kind);
    EXPECT_TRUE(IsWarning(c.kind));
    EXPECT_EQ(problems->items[0].line, 2 - (c.kind == ProblemKind::kLowerCaseName));
    EXPECT_STREQ(problems->items[0].text, c.message);
  }
}

TEST(ShpCheckTest, MessagesNameTheShape) {
  const auto problems = Read("*7,3,ARROW\n010,0\n", true);
  ASSERT_EQ(problems->count, 1);
  EXPECT_STREQ(problems->items[0].text,
               "shape 7 (ARROW): the header counts 3 bytes, the body has 2");
}

TEST(ShpCheckTest, MalformedShapesAreNotCheckedTwice) {
  // The bad token already explains the short body: no count mismatch on top.
  const auto problems = Read("*1,3,A\n010,XYZ,0\n", true);
  ASSERT_EQ(problems->count, 1) << Describe(*problems);
  EXPECT_EQ(problems->items[0].kind, ProblemKind::kMalformedLine);
}

TEST(ShpCheckTest, ProblemsPastTheListAreCounted) {
  std::string text = "*1,301,A\n";
  for (int i = 0; i < 300; ++i) text += "300,\n";
  text += "0\n";
  const auto problems = Read(text, true);
  EXPECT_EQ(problems->count, kMaxSourceProblems);
  // Each byte is out of range; the first also stops the command walk as an unknown code.
  EXPECT_EQ(problems->Total(), 300 + 1);
}

}  // namespace
}  // namespace korvex
