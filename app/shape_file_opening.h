// The "Open Shape File" command without its window: asks for a shape file (.shp or .shx)
// and has the main window show its sheet, as it shows a file just converted; a file that
// can't be read is reported and the sheet shown before stays.
#pragma once

#include <string>

#include "app/file_chooser.h"

namespace korvex::shell {

// The main window's sheet as the command sees it.
class ShapeFileViewer {
 public:
  virtual ~ShapeFileViewer() = default;
  // False, with the reason (naming the file), when the file can't be read.
  virtual bool ShowShapeFile(const std::string& path, std::string& reason) = 0;
};

class ShapeFileOpening {
 public:
  ShapeFileOpening(FileChooser& chooser, ShapeFileViewer& viewer);

  // True when a file was chosen and shown. The dialog starts in startFolder (empty: the
  // platform chooses); a cancel does nothing.
  bool OpenShapeFile(const std::string& startFolder);

 private:
  FileChooser& chooser_;
  ShapeFileViewer& viewer_;
};

}  // namespace korvex::shell
