// The last-file setting: read once at start-up, written at once when it changes.
#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "shell_fakes.h"

namespace korvex::shell {
namespace {

using korvex::test::MemorySettingsStore;

TEST(LastFileSettingTest, FirstRunReadsEmpty) {
  MemorySettingsStore store;
  LastFileSetting setting;
  setting.Load(store);
  EXPECT_EQ(setting.Value(), "");
  EXPECT_EQ(store.writes, 0) << "the entry is created by the first write, not at start-up";
}

TEST(LastFileSettingTest, ReadsTheStoredEntry) {
  MemorySettingsStore store;
  store.entries["Options/Last file"] = "C:\\gone\\removed.dxf";
  LastFileSetting setting;
  setting.Load(store);
  // A file that no longer exists is still the starting point: nothing checks it here.
  EXPECT_EQ(setting.Value(), "C:\\gone\\removed.dxf");
}

TEST(LastFileSettingTest, AssignWritesAtOnce) {
  MemorySettingsStore store;
  LastFileSetting setting;
  setting.Load(store);
  setting.Assign("/home/ann/shapes.dxf");
  EXPECT_EQ(setting.Value(), "/home/ann/shapes.dxf");
  EXPECT_EQ(store.entries["Options/Last file"], "/home/ann/shapes.dxf");
  EXPECT_EQ(store.writes, 1);
}

TEST(LastFileSettingTest, WithoutStoreHoldsTheValueOnly) {
  LastFileSetting setting;
  setting.Assign("/home/ann/shapes.dxf");
  EXPECT_EQ(setting.Value(), "/home/ann/shapes.dxf");
}

}  // namespace
}  // namespace korvex::shell
