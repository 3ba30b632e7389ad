// The "Write Sheet Drawing" command: its two file dialogs, the sheet written by the
// library, and the message that says where it went and what to do next.
#include "app/sheet_drawing_writing.h"

#include <string>

#include "app/dialog_paths.h"
#include "conversion/sheet_run.h"
#include "platform/platform.h"

namespace korvex::shell {

SheetDrawingWriting::SheetDrawingWriting(FileChooser& chooser) : chooser_(chooser) {}

std::optional<std::string> SheetDrawingWriting::WriteSheetDrawing(const std::string& shownShapeFile,
                                                                  const std::string& startFolder) {
  FileDialogRequest open;
  open.kind = FileDialogKind::kOpen;
  open.title = "Shape File to Draw on a Sheet";
  open.filterDescription = "Shape files (*.shp, *.shx)";
  open.filterPattern = "*.shp;*.shx";
  open.defaultExtension = "shp";
  open.startFolder = shownShapeFile.empty() ? startFolder : FolderWithSeparator(shownShapeFile);
  open.fileName = shownShapeFile;
  const auto shapeFile = chooser_.Choose(open);
  if (!shapeFile) return std::nullopt;

  // The save dialog asks before it replaces a drawing, so the library may replace one.
  FileDialogRequest save;
  save.kind = FileDialogKind::kSave;
  save.title = "Write Sheet Drawing";
  save.filterDescription = "Shapes DXF files (*.dxf)";
  save.filterPattern = "*.dxf";
  save.defaultExtension = "dxf";
  save.startFolder = FolderWithSeparator(*shapeFile);
  save.fileName = DefaultOutputName(*shapeFile, ".dxf");
  const auto chosen = chooser_.Choose(save);
  if (!chosen) return std::nullopt;
  const std::string sheetFile = WithDefaultExtension(*chosen, "dxf");

  int shapesDrawn = 0;
  if (WriteShapeSheet(platform::PathFromUtf8(*shapeFile), platform::PathFromUtf8(sheetFile),
                      &shapesDrawn) != Outcome::kDone) {
    return std::nullopt;
  }
  platform::ShowMessage("Sheet drawing written to " + sheetFile + "\n" +
                            std::to_string(shapesDrawn) +
                            " shapes drawn: edit them in your CAD program, save the drawing as "
                            "ASCII DXF, then generate its shape file.",
                        platform::kMessageInformation);
  return sheetFile;
}

}  // namespace korvex::shell
