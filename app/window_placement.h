// Where the main window was and how large, kept with the last-file setting so that the
// program opens where the user left it: its outer position, the size of its client area
// (the decorations differ between window managers) and whether it was maximised. Plain
// numbers, fitted to the screen it comes back on, so that a window saved on a screen
// that is gone opens where it can be seen.
#pragma once

#include <optional>
#include <string>

#include "app/settings_store.h"

namespace korvex::shell {

// Entry of the main window's placement: section "Options", value "Main window".
inline constexpr const char* kMainWindowEntry = "Options/Main window";

struct WindowPlacement {
  int x = 0;
  int y = 0;
  int width = 0;   // of the client area
  int height = 0;  // of the client area
  bool maximized = false;

  bool operator==(const WindowPlacement&) const = default;
};

// "x,y,width,height", with ",maximized" when it was.
std::string PlacementText(const WindowPlacement& placement);
// Nothing when the text is no placement (absent, edited by hand, sizes not positive).
std::optional<WindowPlacement> PlacementOfText(const std::string& text);

// The work area of a screen (without its panels), in the same pixels.
struct ScreenArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// How much of the window's top edge must lie on the screen for the user to reach it.
inline constexpr int kReachableMargin = 64;

// The placement fitted to the area: no smaller than minWidth x minHeight, no larger than the
// area, and centred in the area when too little of its top edge would lie on it.
WindowPlacement FitPlacement(WindowPlacement placement, const ScreenArea& area, int minWidth,
                             int minHeight);

// The stored placement: read once at start-up, written whenever it changes.
class WindowPlacementSetting {
 public:
  void Load(SettingsStore& store);
  // Nothing on a first run or when the stored text is no placement.
  const std::optional<WindowPlacement>& Value() const { return value_; }
  // Writes at once when the placement changed.
  void Assign(const WindowPlacement& placement);

 private:
  SettingsStore* store_ = nullptr;
  std::optional<WindowPlacement> value_;
};

}  // namespace korvex::shell
