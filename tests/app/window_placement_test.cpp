// The main window's placement: kept as text with the other setting, read back, and fitted
// to the screen it comes back on.
#include "app/window_placement.h"

#include <gtest/gtest.h>

#include "shell_fakes.h"

namespace korvex::shell {
namespace {

using korvex::test::MemorySettingsStore;

TEST(WindowPlacementTest, TextRoundTrip) {
  const WindowPlacement placements[] = {
      {40, 40, 960, 720, false},
      {-1200, 15, 800, 600, true},  // on a screen left of the first
      {0, 0, 1, 1, false},
  };
  for (const WindowPlacement& placement : placements) {
    SCOPED_TRACE(PlacementText(placement));
    EXPECT_EQ(PlacementOfText(PlacementText(placement)), placement);
  }
  EXPECT_EQ(PlacementText({40, 50, 960, 720, false}), "40,50,960,720");
  EXPECT_EQ(PlacementText({40, 50, 960, 720, true}), "40,50,960,720,maximized");
}

// A setting edited by hand, cut short or from another program is no placement: the window
// opens at its first place.
TEST(WindowPlacementTest, AnythingElseIsNoPlacement) {
  for (const char* text : {"", "40,40,960", "40,40,960,720,", "40,40,960,720,max", "a,b,c,d",
                           "40,40,0,720", "40,40,960,-5", "40, 40,960,720", "40,40,960,720x",
                           "99999999999,0,960,720", "40;40;960;720"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(PlacementOfText(text), std::nullopt);
  }
}

TEST(WindowPlacementTest, FittedToTheScreenItComesBackOn) {
  const ScreenArea area{0, 30, 1920, 1050};  // a panel at the top
  const struct {
    const char* why;
    WindowPlacement saved;
    WindowPlacement fitted;
  } cases[] = {
      {"on the screen", {100, 80, 900, 700, false}, {100, 80, 900, 700, false}},
      {"smaller than the least", {100, 80, 200, 100, true}, {100, 80, 640, 420, true}},
      {"larger than the screen", {0, 30, 4000, 3000, false}, {0, 30, 1920, 1050, false}},
      {"title under the panel", {100, 0, 900, 700, false}, {510, 205, 900, 700, false}},
      {"off to the right", {1900, 80, 900, 700, false}, {510, 205, 900, 700, false}},
      {"off to the left", {-850, 80, 900, 700, false}, {510, 205, 900, 700, false}},
      {"below the screen", {100, 1050, 900, 700, false}, {510, 205, 900, 700, false}},
      {"far away", {2147483000, 2147483000, 900, 700, false}, {510, 205, 900, 700, false}},
      {"its edge just reachable", {-836, 80, 900, 700, false}, {-836, 80, 900, 700, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(FitPlacement(c.saved, area, 640, 420), c.fitted);
  }
}

TEST(WindowPlacementTest, SettingIsReadOnceAndWrittenWhenItChanges) {
  MemorySettingsStore store;
  WindowPlacementSetting first;
  first.Load(store);
  EXPECT_EQ(first.Value(), std::nullopt) << "first run";
  EXPECT_EQ(store.writes, 0);

  first.Assign({40, 40, 960, 720, false});
  first.Assign({40, 40, 960, 720, false});
  EXPECT_EQ(store.writes, 1) << "unchanged: not written again";
  EXPECT_EQ(store.entries[kMainWindowEntry], "40,40,960,720");
  first.Assign({40, 40, 960, 720, true});
  EXPECT_EQ(store.writes, 2);

  // The next run reads it, beside the last file.
  store.entries[kLastFileEntry] = "/home/ann/shapes.dxf";
  WindowPlacementSetting next;
  next.Load(store);
  EXPECT_EQ(next.Value(), (WindowPlacement{40, 40, 960, 720, true}));
  EXPECT_EQ(kMainWindowEntry, std::string("Options/Main window"));
}

}  // namespace
}  // namespace korvex::shell
