// Compiled shapes written back as source text: each command's operands grouped as the shape
// encoder groups them, octant bytes in the one form every reader takes alike, and the file
// laid out as the .shp writer lays it out.
#include "shape_files/shp_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shape_files/shx_file.h"
#include "test_support.h"

namespace korvex {
namespace {

std::string Body(const std::vector<std::int16_t>& bytes, bool wide = false,
                 bool description = false) {
  static char text[kShapeBodyTextCapacity];
  const int length =
      FormatShapeBody(bytes.data(), static_cast<int>(bytes.size()), wide, description, text);
  return std::string(text, static_cast<std::size_t>(length));
}

TEST(ShpTextTest, GroupsEachCommandsOperandsAsTheEncoderDoes) {
  struct Case {
    std::vector<std::int16_t> bytes;
    bool wide;
    const char* text;
  };
  const Case cases[] = {
      {{3, 100, 2, 8, 13, 50, 1, 8, -20, -15, 0}, false, "3,100,2,8,(13,50),1,8,(-20,-15),0"},
      {{11, 0, 0, 0, 40, 0, 0}, false, "11,(0,0,0,40,000),0"},
      {{10, 3, -0x12, 10, 1, 0x34, 0}, false, "10,(3,-012),10,(1,034),0"},
      {{10, 1, -128, 0}, false, "10,(1,-080),0"},
      {{12, -1, 2, -127, 0}, false, "12,(-1,2,-127),0"},
      {{9, 1, 1, -2, 3, 0, 0, 0}, false, "9,(1,1),(-2,3),(0,0),0"},
      {{13, 1, 1, 127, 0, 2, -3, 0, 0, 0}, false, "13,(1,1,127),(0,2,-3),(0,0),0"},
      {{5, 4, 2, 7, 9, 14, 0x14, 6, 0}, false, "5,4,2,7,9,14,20,6,0"},
      {{7, 1, 0, 0}, true, "7,(1,0),0"},
      // Bytes the walk cannot take stay bytes, written plain.
      {{8, 1, 15, 0}, false, "8,(1,15),0"},
      {{0x14, 15, 3, 0}, false, "20,15,3,0"},
      {{0x14, 8, 1}, false, "20,8,1"},
  };
  for (const Case& c : cases) EXPECT_EQ(Body(c.bytes, c.wide), c.text);
  // A font description holds measures, not commands.
  EXPECT_EQ(Body({8, 2, 0, 0}, false, true), "8,2,0,0");
}

class ShpTextFileTest : public test::KorvexTest {
 protected:
  // The source text read, then written back as a file.
  std::string WrittenBack(const char* text) {
    static ShapeSource source;
    SourceProblemList problems;
    ReadShapeSource(text, source, problems);
    EXPECT_EQ(problems.Total(), 0);
    const std::filesystem::path path = Scratch("out.shp");
    std::FILE* file = platform::OpenFile(path, "wb");
    EXPECT_NE(file, nullptr);
    EXPECT_TRUE(WriteShapeSourceText(source, file));
    std::fclose(file);
    return test::ReadFileBytes(path);
  }
};

TEST_F(ShpTextFileTest, WritesTheFileInTheShpWritersLayout) {
  // Cut after the first comma from the 62nd character on, even inside a group.
  EXPECT_EQ(
      WrittenBack("*UNIFONT,6,Unicode font\n40,10,0,0,0,0\n*0100,27,LONG\n"
                  "8,(1,1),8,(1,1),8,(1,1),8,(1,1),8,(1,1),8,(1,1),8,(1,1),8,(10,10),2,2,0\n"),
      "*UNIFONT,6,Unicode font\r\n40,10,0,0,0,0\r\n*256,27,LONG\r\n"
      "8,(1,1),8,(1,1),8,(1,1),8,(1,1),8,(1,1),8,(1,1),8,(1,1),8,(10,\r\n"
      "10),2,2,0\r\n\x1a");
}

// A big font's range line comes first, its numbers in decimal like every byte.
TEST_F(ShpTextFileTest, WritesABigFontsRangeLineFirst) {
  EXPECT_EQ(WrittenBack("*BIGFONT 2,2,081,09F,0E0,0FC\n*0,4,BIG\n10,2,0,0\n*08140,2,K1\n014,0\n"),
            "*BIGFONT 2,2,129,159,224,252\r\n*0,4,BIG\r\n10,2,0,0\r\n*33088,2,K1\r\n20,0\r\n"
            "\x1a");
}

}  // namespace
}  // namespace korvex
