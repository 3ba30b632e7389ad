// The path texts of the shell's dialogs: starting folders, the proposed output name and
// the extensions a chosen name must end in.
#include "app/dialog_paths.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace korvex::shell {
namespace {

struct PathCase {
  const char* given;
  const char* expected;
};

TEST(DialogPathsTest, FolderKeepsItsSeparator) {
  const PathCase cases[] = {
      {"C:\\work\\shapes.dxf", "C:\\work\\"},
      {"C:\\my.files\\out", "C:\\my.files\\"},
      {"/home/ann/shapes.dxf", "/home/ann/"},
      {"C:\\work/mixed.dxf", "C:\\work/"},
      {"\\\\server\\share\\a.dxf", "\\\\server\\share\\"},
      // No folder in the path: the platform chooses where the dialog starts.
      {"shapes.dxf", ""},
      {"", ""},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.given);
    EXPECT_EQ(FolderWithSeparator(c.given), c.expected);
  }
}

TEST(DialogPathsTest, ProposedOutputReplacesTheDrawingsExtension) {
  const PathCase cases[] = {
      {"C:\\work\\shapes.dxf", "C:\\work\\shapes.shp"},
      {"C:\\work\\shapes.DXF", "C:\\work\\shapes.shp"},
      {"C:\\work\\shapes.v2.dxf", "C:\\work\\shapes.v2.shp"},
      {"/home/ann/shapes.dxf", "/home/ann/shapes.shp"},
      // A dot in a folder name is no extension of the file.
      {"C:\\my.files\\drawing", "C:\\my.files\\drawing.shp"},
      {"/home/ann.b/drawing", "/home/ann.b/drawing.shp"},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.given);
    EXPECT_EQ(DefaultOutputName(c.given), c.expected);
  }
}

TEST(DialogPathsTest, ChosenOutputEndsInShp) {
  const PathCase cases[] = {
      {"C:\\work\\result", "C:\\work\\result.shp"},
      {"C:\\work\\result.txt", "C:\\work\\result.txt.shp"},
      {"C:\\work\\RESULT.SHP", "C:\\work\\RESULT.SHP"},
      {"C:\\work\\name.Shp", "C:\\work\\name.Shp"},
      {"C:\\work\\shapes.shp", "C:\\work\\shapes.shp"},
      // The text after the last "." of the whole path decides.
      {"C:\\my.files\\out", "C:\\my.files\\out.shp"},
      {"C:\\work.shp\\out", "C:\\work.shp\\out.shp"},
      {"/home/ann/result", "/home/ann/result.shp"},
      // A compiled file is written as such.
      {"/home/ann/result.shx", "/home/ann/result.shx"},
      {"/home/ann/RESULT.SHX", "/home/ann/RESULT.SHX"},
      {"/home/ann/result.shx.txt", "/home/ann/result.shx.txt.shp"},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.given);
    EXPECT_EQ(ShapeFilePath(c.given), c.expected);
  }
}

TEST(DialogPathsTest, DefaultExtensionOnlyForANameWithout) {
  const PathCase cases[] = {
      {"/home/ann/new", "/home/ann/new.dxf"},
      {"/home/ann/new.dxf", "/home/ann/new.dxf"},
      {"/home/ann/new.txt", "/home/ann/new.txt"},
      {"C:\\my.files\\new", "C:\\my.files\\new.dxf"},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.given);
    EXPECT_EQ(WithDefaultExtension(c.given, "dxf"), c.expected);
  }
  EXPECT_EQ(WithDefaultExtension("/home/ann/new", ""), "/home/ann/new");
}

TEST(DialogPathsTest, ExtensionOfTheFileNameOnly) {
  EXPECT_EQ(DefaultOutputName("C:\\work\\shapes.dxf"), "C:\\work\\shapes.shp");
  EXPECT_EQ(DefaultOutputName("C:\\my.files\\out"), "C:\\my.files\\out.shp");
  EXPECT_EQ(DefaultOutputName("shapes"), "shapes.shp");
}

// What a user types or pastes into a path box, as the dialog takes it: the folder a name
// alone lies in is the one the box follows, here /home/ann/drawings/.
TEST(DialogPathsTest, TypedPathIsTakenAsTheUserMeantIt) {
  const PathCase cases[] = {
      {"/home/ann/shapes.dxf", "/home/ann/shapes.dxf"},
      {"C:\\work\\shapes.dxf", "C:\\work\\shapes.dxf"},
      {"C:/work/shapes.dxf", "C:/work/shapes.dxf"},
      {"\\\\server\\share\\a.dxf", "\\\\server\\share\\a.dxf"},
      // A name alone, or a folder below, lies in the folder the box follows.
      {"other.dxf", "/home/ann/drawings/other.dxf"},
      {"old/other.dxf", "/home/ann/drawings/old/other.dxf"},
      // Pasted with blanks, a line end or quotes around it.
      {"  /home/ann/shapes.dxf \n", "/home/ann/shapes.dxf"},
      {"\"/home/ann/my shapes.dxf\"", "/home/ann/my shapes.dxf"},
      {"'/home/ann/my shapes.dxf'", "/home/ann/my shapes.dxf"},
      // Copied from a file manager.
      {"file:///home/ann/my%20shapes%2Bold.dxf", "/home/ann/my shapes+old.dxf"},
      {"file://localhost/home/ann/shapes.dxf", "/home/ann/shapes.dxf"},
      {"file:///C:/work/shapes.dxf", "C:/work/shapes.dxf"},
      {"file:///home/ann/100%.dxf", "/home/ann/100%.dxf"},
      // The home folder.
      {"~/shapes.dxf", "/home/ann/shapes.dxf"},
      {"~", "/home/ann"},
      {"~ann/shapes.dxf", "/home/ann/drawings/~ann/shapes.dxf"},
      // Blanks inside a name are the name's.
      {"my shapes.dxf", "/home/ann/drawings/my shapes.dxf"},
      {"   ", ""},
      {"", ""},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.given);
    EXPECT_EQ(TypedPath(c.given, "/home/ann/drawings/", "/home/ann"), c.expected);
  }
  // Without a folder to follow, or a home folder, a name stays as it was typed.
  EXPECT_EQ(TypedPath("other.dxf", "", "/home/ann"), "other.dxf");
  EXPECT_EQ(TypedPath("~/other.dxf", "/x/", ""), "/x/~/other.dxf");
  EXPECT_EQ(TypedPath("~/other.dxf", "/x/", "/home/ann/"), "/home/ann/other.dxf");
}

TEST(DialogPathsTest, Utf8TextNamesThePath) {
  const std::string text = "/tmp/f\xC3\xA4rg/\xE5\xBD\xA2.dxf";  // färg/形.dxf
  EXPECT_EQ(platform::PathText(platform::PathFromUtf8(text)), text);
  EXPECT_EQ(platform::PathText(platform::PathFromUtf8(text).filename()), "\xE5\xBD\xA2.dxf");
}

}  // namespace
}  // namespace korvex::shell
