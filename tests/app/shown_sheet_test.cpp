// What the main window's title and note say of the sheet: the file shown, and whether a
// conversion has failed since it was written.
#include "app/shown_sheet.h"

#include <gtest/gtest.h>

namespace korvex::shell {
namespace {

TEST(ShownSheetTest, TitleNamesTheFileShown) {
  ShownSheet sheet;
  EXPECT_EQ(sheet.Title(), "Korvex");
  sheet.MarkStale();
  EXPECT_FALSE(sheet.Stale()) << "nothing shown, nothing out of date";
  EXPECT_EQ(sheet.StaleNote(), "");

  const struct {
    const char* path;
    const char* title;
  } cases[] = {
      {"/home/ann/shapes.shp", "Korvex - shapes.shp"},
      {"C:\\work\\compiled.SHX", "Korvex - compiled.SHX"},
      {"relative.shp", "Korvex - relative.shp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    sheet.Show(c.path);
    EXPECT_EQ(sheet.Path(), c.path);
    EXPECT_EQ(sheet.Title(), c.title);
  }
}

TEST(ShownSheetTest, AFailedConversionMarksTheSheetUntilTheNextFileIsShown) {
  ShownSheet sheet;
  sheet.Show("/home/ann/shapes.shp");
  EXPECT_FALSE(sheet.Stale());
  EXPECT_EQ(sheet.StaleNote(), "");
  sheet.MarkStale();
  EXPECT_TRUE(sheet.Stale());
  EXPECT_EQ(sheet.Title(), "Korvex - shapes.shp (out of date)");
  EXPECT_EQ(sheet.StaleNote(),
            "Out of date: the last conversion failed. This is shapes.shp as it was written "
            "before.");
  sheet.Show("/home/ann/shapes.shp");
  EXPECT_FALSE(sheet.Stale());
  EXPECT_EQ(sheet.Title(), "Korvex - shapes.shp");
}

}  // namespace
}  // namespace korvex::shell
