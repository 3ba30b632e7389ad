// The platform layer's file operations, which differ by system underneath: files opened by
// path (wide names on Windows) in binary mode, paths as UTF-8 text, and the file copy.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/pending_file.h"
#include "test_support.h"

namespace korvex {
namespace {

using test::KorvexTest;
using test::ReadFileBytes;
using test::U8Path;
using test::WriteFileBytes;

class PlatformTest : public KorvexTest {};

TEST_F(PlatformTest, FilesOpenByNonAsciiNamesWithTheirBytesUntouched) {
  const std::string bytes = "  0\r\nLINE\r\n\n\r\x1a tail";
  for (const char8_t* name :
       {u8"\u0444\u0430\u0439\u043b.dxf", u8"\u56f3\u5f62.dxf", u8"d\u00e9j\u00e0 vu.dxf"}) {
    const std::filesystem::path path = scratch_ / U8Path(name);
    SCOPED_TRACE(platform::PathText(path));
    std::FILE* file = platform::OpenFile(path, "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    EXPECT_EQ(std::fclose(file), 0);
    EXPECT_EQ(ReadFileBytes(path), bytes);

    file = platform::OpenFile(path, "rb");
    ASSERT_NE(file, nullptr);
    std::string read(64, '\0');
    read.resize(std::fread(read.data(), 1, read.size(), file));
    std::fclose(file);
    EXPECT_EQ(read, bytes) << "binary mode: no CR LF translation, no stop at 0x1A";
  }
  EXPECT_EQ(platform::OpenFile(Scratch("missing.dxf"), "rb"), nullptr);
}

TEST_F(PlatformTest, PathTextIsUtf8) {
  EXPECT_EQ(platform::PathText(U8Path(u8"\u0416\u5f62\u00e9")), "\xD0\x96\xE5\xBD\xA2\xC3\xA9");
  EXPECT_EQ(platform::PathText(std::filesystem::path("plain.shp")), "plain.shp");
}

// Both files in one folder: the case the C++ library's copy on Windows gets wrong.
TEST_F(PlatformTest, CopyReplacesAnExistingFileOnlyWhenAsked) {
  const std::filesystem::path from = Scratch("template.dxf");
  const std::filesystem::path to = Scratch("mine.dxf");
  WriteFileBytes(from, "template\r\n");
  WriteFileBytes(to, "an older drawing, longer than the template\r\n");
  std::error_code error;

  EXPECT_FALSE(platform::CopyFileByPath(from, to, false, error));
  EXPECT_TRUE(error);
  EXPECT_EQ(ReadFileBytes(to), "an older drawing, longer than the template\r\n");

  EXPECT_TRUE(platform::CopyFileByPath(from, to, true, error)) << error.message();
  EXPECT_FALSE(error);
  EXPECT_EQ(ReadFileBytes(to), "template\r\n");
}

TEST_F(PlatformTest, CopyToANewFileAndFromAMissingOne) {
  const std::filesystem::path from = Scratch("template.dxf");
  WriteFileBytes(from, "template\r\n");
  const std::filesystem::path fresh = scratch_ / U8Path(u8"\u043d\u043e\u0432\u044b\u0439.dxf");
  std::error_code error;
  for (const bool replace : {false, true}) {
    EXPECT_TRUE(platform::CopyFileByPath(from, fresh, replace, error)) << error.message();
    EXPECT_EQ(ReadFileBytes(fresh), "template\r\n");
    std::filesystem::remove(fresh);
  }
  EXPECT_FALSE(platform::CopyFileByPath(Scratch("missing.dxf"), fresh, true, error));
  EXPECT_TRUE(error);
  EXPECT_FALSE(std::filesystem::exists(fresh));
}

}  // namespace
}  // namespace korvex
