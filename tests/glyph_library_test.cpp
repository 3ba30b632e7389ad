#include "shape_output/glyph_library.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "test_support.h"

namespace korvex {
namespace {

using test::KorvexTest;

class GlyphLibraryTest : public KorvexTest {
 protected:
  // Loads a glyph file written from lines joined with CR LF.
  void Load(const std::string& bytes) {
    const std::filesystem::path path = Scratch("glyphs.shp");
    test::WriteFileBytes(path, bytes);
    std::FILE* file = platform::OpenFile(path, "rb");
    ASSERT_NE(file, nullptr);
    LoadGlyphIndex(file);
    std::fclose(file);
  }
};

TEST_F(GlyphLibraryTest, IndexesAGlyphAndCollectsItsTokens) {
  Load(";test font\r\n*65,12,A\r\n2,8,(1,0),1,8,(2,6),8,(2,-6),0\r\n");
  EXPECT_EQ(GlyphTokenCount(65), 11);
  EXPECT_EQ(GlyphBodyOffset(65), 22);  // the byte position of the body line
  EXPECT_STREQ(LookUpGlyph(65), "2,8,(1,0),1,8,(2,6),8,(2,-6),");
  EXPECT_EQ(GlyphByteCount(65), 12);
}

TEST_F(GlyphLibraryTest, BodiesContinueAcrossLineBreaks) {
  Load(
      "*65,12,A\r\n2,8,(1,0),1,\r\n8,(2,6),8,(2,-6),0\r\n"
      "*66,12,B\r\n2,8,(1,0),1\r\n,8,(2,6),8,(2,-6),0\r\n");
  EXPECT_STREQ(LookUpGlyph(65), "2,8,(1,0),1,8,(2,6),8,(2,-6),");
  EXPECT_STREQ(LookUpGlyph(66), "2,8,(1,0),1,8,(2,6),8,(2,-6),");
}

TEST_F(GlyphLibraryTest, CodesWithoutAGlyphAddOnlyThePenDown) {
  Load("*65,3,A\r\n2,1,0\r\n");
  EXPECT_STREQ(LookUpGlyph(66), "");
  EXPECT_EQ(GlyphByteCount(66), 1);
  EXPECT_STREQ(LookUpGlyph(200), "");
  EXPECT_EQ(GlyphByteCount(200), 1);
  EXPECT_EQ(GlyphByteCount(-1), 1);
}

TEST_F(GlyphLibraryTest, NothingAfterCode130IsRead) {
  Load("*130,3,LAST\r\n2,1,0\r\n*65,3,A\r\n2,1,0\r\n");
  EXPECT_EQ(GlyphByteCount(130), 3);
  EXPECT_EQ(GlyphTokenCount(65), 0);
}

TEST_F(GlyphLibraryTest, OffsetsFollowTheBytesAsStored) {
  Load("*65,3,A\r\n2,1,0\r\n*66,3,B\r\n1,2,0\r\n");
  EXPECT_EQ(GlyphBodyOffset(65), 9);
  EXPECT_EQ(GlyphBodyOffset(66), 9 + 7 + 9);
  EXPECT_STREQ(LookUpGlyph(66), "1,2,");
}

TEST_F(GlyphLibraryTest, ASpaceEndsTheReadingOfALine) {
  Load("*65,9,A\r\n2,8,(1,0), 1,8,(0,6),0\r\n");
  EXPECT_STREQ(LookUpGlyph(65), "2,8,(1,0),");
}

TEST_F(GlyphLibraryTest, MalformedFilesCannotOverrunAnything) {
  std::string bytes =
      "*999,3,BIG\r\n2,1,0\r\n*-4,3,NEG\r\n2,1,0\r\n*abc\r\n"
      "*70,5000,HUGE\r\n2,1,0\r\n*66,300,LONG\r\n" +
      std::string(500, '8') + "," + std::string(40, '(') + "\r\n";
  for (int i = 0; i < 60; ++i) bytes += "8,(10,-10),";
  bytes += "0\r\n*67,4,C\r\n2,1,0\r\n";
  Load(bytes);
  EXPECT_EQ(GlyphTokenCount(70), 0);  // a byte count no glyph can have
  const std::string longGlyph = LookUpGlyph(66);
  EXPECT_LT(longGlyph.size(), static_cast<std::size_t>(kGlyphTextCapacity));
  // The 500-character token comes in pieces, each cut to 18 characters.
  EXPECT_EQ(longGlyph.substr(0, kMaxTokenLength + 1), std::string(kMaxTokenLength, '8') + ",");
  EXPECT_STREQ(LookUpGlyph(67), "2,1,0,");  // its count reaches the next header's "0"
}

}  // namespace
}  // namespace korvex
