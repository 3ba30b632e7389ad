// What the main window's sheet shows, as its title and its note say it: the shape file
// last written or opened, and whether a conversion has failed since, so that an old sheet
// never passes for the drawing's shapes.
#pragma once

#include <string>

namespace korvex::shell {

class ShownSheet {
 public:
  // A file just written or opened: shown as it stands.
  void Show(const std::string& path);
  // A conversion failed: the file shown, if any, no longer stands for the drawing.
  void MarkStale();

  const std::string& Path() const { return path_; }
  bool Stale() const { return stale_; }
  // The main window's title: "Korvex" alone while no file is shown, else with the file's
  // name ("Korvex - shapes.shp"), marked while out of date.
  std::string Title() const;
  // The line written across an out-of-date sheet; empty while it is not.
  std::string StaleNote() const;

 private:
  std::string path_;
  bool stale_ = false;
};

}  // namespace korvex::shell
