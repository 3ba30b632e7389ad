// The "Open Shape File" command: the open dialog, the sheet, and the message when a file
// can't be shown.
#include "app/shape_file_opening.h"

#include "platform/platform.h"

namespace korvex::shell {

ShapeFileOpening::ShapeFileOpening(FileChooser& chooser, ShapeFileViewer& viewer)
    : chooser_(chooser), viewer_(viewer) {}

bool ShapeFileOpening::OpenShapeFile(const std::string& startFolder) {
  FileDialogRequest request;
  request.kind = FileDialogKind::kOpen;
  request.title = "Open Shape File";
  // Both forms in one entry: the sheet reads either, known by what the file holds.
  request.filterDescription = "Shape files (*.shp, *.shx)";
  request.filterPattern = "*.shp;*.shx";
  request.defaultExtension = "shp";
  request.startFolder = startFolder;
  const auto chosen = chooser_.Choose(request);
  if (!chosen) return false;

  std::string reason;
  if (!viewer_.ShowShapeFile(*chosen, reason)) {
    platform::ShowMessage("Cannot show the shape file\n" + reason, platform::kMessageOk);
    return false;
  }
  return true;
}

}  // namespace korvex::shell
