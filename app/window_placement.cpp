// The main window's placement: as text in the settings, and fitted to a screen.
#include "app/window_placement.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace korvex::shell {

std::string PlacementText(const WindowPlacement& placement) {
  return std::to_string(placement.x) + "," + std::to_string(placement.y) + "," +
         std::to_string(placement.width) + "," + std::to_string(placement.height) +
         (placement.maximized ? ",maximized" : "");
}

std::optional<WindowPlacement> PlacementOfText(const std::string& text) {
  WindowPlacement placement;
  int* const fields[] = {&placement.x, &placement.y, &placement.width, &placement.height};
  const char* next = text.data();
  const char* const end = text.data() + text.size();
  for (int* field : fields) {
    if (field != fields[0]) {
      if (next == end || *next != ',') return std::nullopt;
      ++next;
    }
    const auto [stop, error] = std::from_chars(next, end, *field);
    if (error != std::errc()) return std::nullopt;
    next = stop;
  }
  const std::string_view tail(next, static_cast<std::size_t>(end - next));
  if (tail == ",maximized") {
    placement.maximized = true;
  } else if (!tail.empty()) {
    return std::nullopt;
  }
  if (placement.width <= 0 || placement.height <= 0) return std::nullopt;
  return placement;
}

WindowPlacement FitPlacement(WindowPlacement placement, const ScreenArea& area, int minWidth,
                             int minHeight) {
  placement.width = std::max(minWidth, std::min(placement.width, area.width));
  placement.height = std::max(minHeight, std::min(placement.height, area.height));
  // In a wider type: a position read from the settings may lie anywhere an int reaches.
  const long long x = placement.x;
  const long long y = placement.y;
  const bool topReachable = y >= area.y && y + kReachableMargin <= area.y + area.height &&
                            x + placement.width - kReachableMargin >= area.x &&
                            x + kReachableMargin <= area.x + area.width;
  if (!topReachable) {
    placement.x = area.x + std::max(0, (area.width - placement.width) / 2);
    placement.y = area.y + std::max(0, (area.height - placement.height) / 2);
  }
  return placement;
}

void WindowPlacementSetting::Load(SettingsStore& store) {
  store_ = &store;
  value_ = PlacementOfText(store.ReadText(kMainWindowEntry, ""));
}

void WindowPlacementSetting::Assign(const WindowPlacement& placement) {
  if (value_ == placement) return;
  value_ = placement;
  if (store_ != nullptr) store_->WriteText(kMainWindowEntry, PlacementText(placement));
}

}  // namespace korvex::shell
