// The "Write Sheet Drawing" command without its window: asks for a shape file (.shp or
// .shx) and for the drawing to write, then draws the file's shapes back on a new shape
// sheet drawing, so that they are edited in a CAD program and generated again.
#pragma once

#include <optional>
#include <string>

#include "app/file_chooser.h"

namespace korvex::shell {

class SheetDrawingWriting {
 public:
  explicit SheetDrawingWriting(FileChooser& chooser);

  // The drawing written, or nothing when a dialog was cancelled or the sheet could not be
  // written (after the messages saying why). The open dialog proposes shownShapeFile (the
  // file the main window shows; may be empty) or starts in startFolder; the save dialog
  // proposes the chosen file's name as .dxf beside it.
  std::optional<std::string> WriteSheetDrawing(const std::string& shownShapeFile,
                                               const std::string& startFolder);

 private:
  FileChooser& chooser_;
};

}  // namespace korvex::shell
