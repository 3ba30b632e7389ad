// Compiled shape files: fixtures laid out byte by byte from the format (signature, counts,
// index, records, EOF), read into the source tables with their signs, written back byte for
// byte, and every cut or hostile variant refused with a message.
#include "shape_files/shx_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shape_files/shp_check.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::KorvexTest;
using test::ReadFileBytes;

std::string U16(int value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)};
}

std::string U32(unsigned value) {
  return U16(static_cast<int>(value & 0xFFFF)) + U16(static_cast<int>(value >> 16));
}

// Bytes as the file holds them: each value's low eight bits (-2 is 0xFE).
std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes += static_cast<char>(value & 0xFF);
  return bytes;
}

std::string Text(const char* text) {
  return std::string(text, std::char_traits<char>::length(text) + 1);  // with its NUL
}

// Shape 1 ARROW: 2, 8,(-2,-6), 1, 10,(3,-012), 014, 0; shape 2 SUB: 7,1, 12,(-1,2,-127), 0.
const std::string kShapes10 =
    std::string("AutoCAD-86 shapes 1.0\r\n\x1a", 24) +         // 0x00: the 0x1A at 0x17
    Bytes({0x01, 0x00, 0x02, 0x00, 0x02, 0x00}) +              // 0x18: first 1, last 2, 2
    Bytes({0x01, 0x00, 0x10, 0x00, 0x02, 0x00, 0x0B, 0x00}) +  // 0x1E: index, 16 and 11
    Text("ARROW") + Bytes({0x02, 0x08, 0xFE, 0xFA, 0x01, 0x0A, 0x03, 0xEE, 0x14, 0x00}) +
    Text("SUB") + Bytes({0x07, 0x01, 0x0C, 0xFF, 0x02, 0x81, 0x00}) + "EOF";
const char kShapes10Source[] =
    "*1,10,ARROW\n2,8,(-2,-6),1,10,(3,-012),014,0\n*2,7,SUB\n7,1,12,(-1,2,-127),0\n";

// Shape 0, a font description, makes it 1.1.
const std::string kShapes11 = std::string("AutoCAD-86 shapes 1.1\r\n\x1a", 24) + U16(0) +
                              U16(0x41) + U16(2) + U16(0) + U16(5 + 4) + U16(0x41) + U16(2 + 2) +
                              Text("FONT") + Bytes({6, 2, 0, 0}) + Text("A") + Bytes({0x14, 0}) +
                              "EOF";
const char kShapes11Source[] = "*0,4,FONT\n6,2,0,0\n*65,2,A\n014,0\n";

// Record count, then each record's number and length before its name and bytes.
const std::string kUnifont = std::string("AutoCAD-86 unifont 1.0\r\n\x1a", 25) + U16(2) + U16(0) +
                             U16(4 + 6) + Text("UNI") + Bytes({40, 10, 0, 0, 0, 0}) + U16(0x100) +
                             U16(2 + 5) + Text("X") + Bytes({8, -1, 1, 0x14, 0});
const char kUnifontSource[] = "*UNIFONT,6,UNI\n40,10,0,0,0,0\n*0100,5,X\n8,(-1,1),014,0\n";

// Estimate, entry count, range count, a range, then unsorted entries (one empty) pointing
// at records by absolute offset: the entries start at 25 + 6 + 4 = 35, the records at 59.
const std::string kBigfont = std::string("AutoCAD-86 bigfont 1.0\r\n\x1a", 25) + U16(3) + U16(3) +
                             U16(1) + U16(0x81) + U16(0x9F) + U16(0x8140) + U16(5) + U32(67) +
                             U16(0) + U16(0) + U32(0) + U16(0) + U16(8) + U32(59) + Text("BIG") +
                             Bytes({10, 2, 0, 0}) + Text("K1") + Bytes({0x14, 0});

// As the writer lays a big font out: entries in ascending order, records after them (51).
const std::string kBigfontSorted = std::string("AutoCAD-86 bigfont 1.0\r\n\x1a", 25) + U16(2) +
                                   U16(2) + U16(1) + U16(0x81) + U16(0x9F) + U16(0) + U16(8) +
                                   U32(51) + U16(0x8140) + U16(5) + U32(59) + Text("BIG") +
                                   Bytes({10, 2, 0, 0}) + Text("K1") + Bytes({0x14, 0});
const char kBigfontSource[] = "*BIGFONT 2,1,081,09F\n*0,4,BIG\n10,2,0,0\n*08140,2,K1\n014,0\n";

struct ExpectedShape {
  int number;
  const char* name;
  std::vector<int> bytes;
};

ShapeSource& Source() {
  static const std::unique_ptr<ShapeSource> source = std::make_unique<ShapeSource>();
  return *source;
}

std::string Describe(const SourceProblemList& problems) {
  std::string text;
  for (int i = 0; i < problems.count; ++i) text += std::string(problems.items[i].text) + "\n";
  return text;
}

TEST(ShxFileTest, ReadsEachLayoutWithNamesNumbersAndSignedBytes) {
  ASSERT_EQ(kShapes10[0x17], '\x1a');
  ASSERT_EQ(kShapes11[0x17], '\x1a');
  struct Case {
    const std::string& bytes;
    ShapeFileForm form;
    bool unifont;
    bool bigFont;
    std::vector<ExpectedShape> shapes;
  };
  const Case cases[] = {
      {kShapes10,
       ShapeFileForm::kShapes10,
       false,
       false,
       {{1, "ARROW", {2, 8, -2, -6, 1, 10, 3, -0x12, 0x14, 0}},
        {2, "SUB", {7, 1, 12, -1, 2, -127, 0}}}},
      {kShapes11,
       ShapeFileForm::kShapes11,
       false,
       false,
       {{0, "FONT", {6, 2, 0, 0}}, {0x41, "A", {0x14, 0}}}},
      {kUnifont,
       ShapeFileForm::kUnifont,
       true,
       false,
       {{0, "UNI", {40, 10, 0, 0, 0, 0}}, {0x100, "X", {8, -1, 1, 0x14, 0}}}},
      {kBigfont,
       ShapeFileForm::kBigfont,
       false,
       true,
       {{0x8140, "K1", {0x14, 0}}, {0, "BIG", {10, 2, 0, 0}}}},
  };
  for (const Case& c : cases) {
    SourceProblemList problems;
    ShapeFileForm form = ShapeFileForm::kSource;
    ASSERT_TRUE(ReadShx(c.bytes, Source(), problems, form)) << Describe(problems);
    EXPECT_EQ(problems.Total(), 0) << Describe(problems);
    EXPECT_EQ(form, c.form);
    EXPECT_EQ(Source().unifont, c.unifont);
    EXPECT_EQ(Source().bigFont, c.bigFont);
    if (c.bigFont) {
      ASSERT_EQ(Source().bigFontRangeCount, 1);
      EXPECT_EQ(Source().bigFontEstimate, 3);
      EXPECT_EQ(Source().bigFontRanges[0].first, 0x81);
      EXPECT_EQ(Source().bigFontRanges[0].last, 0x9F);
    }
    ASSERT_EQ(Source().shapeCount, static_cast<int>(c.shapes.size()));
    for (int s = 0; s < Source().shapeCount; ++s) {
      const SourceShape& shape = Source().shapes[s];
      EXPECT_EQ(shape.number, c.shapes[s].number);
      EXPECT_STREQ(shape.name, c.shapes[s].name);
      const std::int16_t* bytes = Source().BytesOf(shape);
      EXPECT_EQ(std::vector<int>(bytes, bytes + shape.byteCount), c.shapes[s].bytes)
          << shape.number;
    }
  }
}

class ShxWriteTest : public KorvexTest {
 protected:
  // The compiled form of the tables, through a file as the command writes it.
  std::string Written() {
    const std::filesystem::path path = Scratch("out.shx");
    std::FILE* file = platform::OpenFile(path, "wb");
    EXPECT_NE(file, nullptr);
    EXPECT_TRUE(WriteShx(Source(), file));
    std::fclose(file);
    return ReadFileBytes(path);
  }
};

TEST_F(ShxWriteTest, CompilesSourceAndRewritesEachFixtureByteForByte) {
  struct Case {
    const std::string& compiled;
    const char* source;
  };
  const Case cases[] = {{kShapes10, kShapes10Source},
                        {kShapes11, kShapes11Source},
                        {kUnifont, kUnifontSource},
                        {kBigfontSorted, kBigfontSource}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    SourceProblemList problems;
    ReadShapeSource(c.source, Source(), problems);
    CheckShapeSource(Source(), problems);
    ASSERT_EQ(problems.Total(), 0) << Describe(problems);
    EXPECT_EQ(Written(), c.compiled);
    ShapeFileForm form;
    ASSERT_TRUE(ReadShx(c.compiled, Source(), problems, form));
    EXPECT_EQ(Written(), c.compiled);
  }
}

TEST_F(ShxWriteTest, TheIndexAscendsWhateverTheSourceOrder) {
  SourceProblemList problems;
  ReadShapeSource("*2,7,SUB\n7,1,12,(-1,2,-127),0\n*1,10,ARROW\n2,8,(-2,-6),1,10,(3,-012),014,0\n",
                  Source(), problems);
  ASSERT_EQ(problems.Total(), 0) << Describe(problems);
  EXPECT_EQ(Written(), kShapes10);
}

TEST(ShxFileTest, EveryCutPrefixIsRefusedWithAMessage) {
  for (const std::string* whole : {&kShapes10, &kShapes11, &kUnifont, &kBigfont, &kBigfontSorted}) {
    for (std::size_t length = 0; length < whole->size(); ++length) {
      // Exactly sized, so that a read past the end is a read past the buffer.
      const std::unique_ptr<char[]> cut = std::make_unique<char[]>(length + 1);
      whole->copy(cut.get(), length);
      SourceProblemList problems;
      ShapeFileForm form;
      EXPECT_FALSE(ReadShx(std::string_view(cut.get(), length), Source(), problems, form))
          << whole->substr(0, 22) << " cut to " << length;
      ASSERT_GE(problems.count, 1);
      EXPECT_EQ(problems.items[0].line, 0);
      EXPECT_EQ(Source().shapeCount, 0);
    }
  }
}

// The fixture with the bytes from the offset replaced.
std::string Patched(const std::string& bytes, std::size_t at, const std::string& with) {
  std::string patched = bytes;
  patched.replace(at, with.size(), with);
  return patched;
}

TEST(ShxFileTest, HostileLayoutsAreRefusedSayingWhatAndWhere) {
  std::string manyShapes = std::string("AutoCAD-86 shapes 1.0\r\n\x1a", 24) + U16(1) +
                           U16(kMaxSourceShapes + 1) + U16(kMaxSourceShapes + 1);
  for (int n = 1; n <= kMaxSourceShapes + 1; ++n) manyShapes += U16(n) + U16(2);
  for (int n = 1; n <= kMaxSourceShapes + 1; ++n) manyShapes += Bytes({0, 0});
  manyShapes += "EOF";
  std::string longShape = std::string("AutoCAD-86 shapes 1.0\r\n\x1a", 24) + U16(1) + U16(1) +
                          U16(1) + U16(1) + U16(2 + kShapeByteLimit + 1) + Text("L") +
                          std::string(kShapeByteLimit, '\x01') + Bytes({0}) + "EOF";
  struct Case {
    std::string bytes;
    ProblemKind kind;
    const char* message;
  };
  const Case cases[] = {
      {Patched(kShapes10, 0, "AutoCAD-86 shapes 2.0"), ProblemKind::kCompiledLayout,
       "a compiled shape file of a layout this program does not know ('AutoCAD-86 shapes 2.0'): "
       "it reads AutoCAD-86 shapes 1.0 and 1.1, unifont 1.0 and bigfont 1.0"},
      {Patched(kShapes10, 0x1C, U16(0xFFFF)), ProblemKind::kCompiledLayout,
       "AutoCAD-86 shapes 1.0, at byte 30: the file ends inside its index (cut short?)"},
      {Patched(kShapes10, 0x20, U16(0xFFFF)), ProblemKind::kCompiledLayout,
       "AutoCAD-86 shapes 1.0, at byte 38: a record runs past the end of the file (cut short?)"},
      {Patched(kShapes10, 0x20, U16(0)), ProblemKind::kCompiledLayout,
       "AutoCAD-86 shapes 1.0, at byte 38: a record of 0 bytes, too short for even a name"},
      {Patched(kShapes10, 0x20, U16(3)), ProblemKind::kCompiledLayout,
       "AutoCAD-86 shapes 1.0, at byte 38: a record's name has no end (NUL)"},
      {Patched(kShapes10, 0x22, U16(1)), ProblemKind::kCompiledLayout,
       "AutoCAD-86 shapes 1.0, at byte 34: the index is not in ascending shape order"},
      {Patched(kShapes10, 0x18, U16(5)), ProblemKind::kCompiledLayout,
       "AutoCAD-86 shapes 1.0, at byte 24: the first and last shape numbers differ from the "
       "index's"},
      {Patched(kShapes10, kShapes10.size() - 3, "EOX"), ProblemKind::kCompiledLayout,
       "AutoCAD-86 shapes 1.0, at byte 65: no EOF after the last record (cut short?)"},
      {Patched(kShapes10, 40, "\r"), ProblemKind::kCompiledLayout,
       "AutoCAD-86 shapes 1.0, at byte 38: a name holds a control character or ';', which no "
       "shape name may"},
      {Patched(kShapes10, 42, ";"), ProblemKind::kCompiledLayout,
       "AutoCAD-86 shapes 1.0, at byte 38: a name holds a control character or ';', which no "
       "shape name may"},
      {longShape, ProblemKind::kCompiledLayout,
       "AutoCAD-86 shapes 1.0, at byte 34: shape 1 holds 2001 bytes, more than the 2000 a shape "
       "may hold"},
      {manyShapes, ProblemKind::kTooManyShapes, "more than 1024 shapes in the file: not read"},
      {Patched(kUnifont, 27, U16(7)), ProblemKind::kCompiledLayout,
       "AutoCAD-86 unifont 1.0, at byte 27: the font description must be the first record, and "
       "only it"},
      {Patched(kBigfont, 39, U32(70)), ProblemKind::kCompiledLayout,
       "AutoCAD-86 bigfont 1.0, at byte 35: an entry points past the end of the file (cut "
       "short?)"},
      {std::string("AutoCAD-86 bigfont 1.0\r\n\x1a", 25) + U16(0) + U16(0) +
           U16(kMaxBigFontRanges + 1) + std::string(4 * (kMaxBigFontRanges + 1), '\x81'),
       ProblemKind::kCompiledLayout,
       "AutoCAD-86 bigfont 1.0, at byte 29: more lead-byte ranges than a big font may have"},
      {Patched(kBigfont, 31, U16(0x100)), ProblemKind::kCompiledLayout,
       "AutoCAD-86 bigfont 1.0, at byte 31: a lead-byte range past 255"},
      {Patched(kBigfont, 33, U16(0x100)), ProblemKind::kCompiledLayout,
       "AutoCAD-86 bigfont 1.0, at byte 31: a lead-byte range past 255"},
      {Patched(kBigfont, 29, U16(9)), ProblemKind::kCompiledLayout,
       "AutoCAD-86 bigfont 1.0, at byte 31: the file ends inside its tables (cut short?)"},
  };
  for (const Case& c : cases) {
    SourceProblemList problems;
    ShapeFileForm form;
    EXPECT_FALSE(ReadShx(c.bytes, Source(), problems, form)) << c.message;
    ASSERT_EQ(problems.count, 1) << Describe(problems);
    EXPECT_EQ(problems.items[0].kind, c.kind);
    EXPECT_STREQ(problems.items[0].text, c.message);
    EXPECT_EQ(Source().shapeCount, 0);
  }
}

TEST(ShxFileTest, BytesAfterEofAreReportedButTheShapesRead) {
  SourceProblemList problems;
  ShapeFileForm form;
  EXPECT_TRUE(ReadShx(kShapes10 + "junk", Source(), problems, form));
  EXPECT_EQ(Source().shapeCount, 2);
  ASSERT_EQ(problems.count, 1);
  EXPECT_STREQ(problems.items[0].text,
               "AutoCAD-86 shapes 1.0: 4 bytes after EOF, which CAD programs never read");
}

}  // namespace
}  // namespace korvex
