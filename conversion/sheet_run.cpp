#include "conversion/sheet_run.h"

#include <cstdio>
#include <string>
#include <system_error>

#include "dxf/template_drawing.h"
#include "platform/message_text.h"
#include "platform/pending_file.h"
#include "platform/platform.h"
#include "shape_files/sheet_writer.h"
#include "shape_files/shx_file.h"
#include "shape_output/shp_writer.h"
#include "sheet/cell_grid.h"
#include "sheet/entity_table.h"
#include "sheet/font_sheet.h"
#include "sheet/sheet_drawing.h"

namespace korvex {
namespace {

// The reader's tables are large: one static set serves every sheet of the run.
ShapeSource& SheetTables() {
  static ShapeSource source;
  return source;
}

// The glyphs texts are drawn with, to know this program's texts in a shape again; without
// the glyph file they are drawn in strokes.
const ShapeSource* TextGlyphs() {
  static ShapeSource glyphs;
  static SourceProblemList problems;
  problems.Clear();
  const std::filesystem::path folder = platform::ExecutableFolder();
  if (folder.empty() || !ReadShapeSourceFile(folder / kGlyphFileName, glyphs, problems)) {
    return nullptr;
  }
  return &glyphs;
}

std::FILE* OpenTemplate() {
  const std::filesystem::path templatePath = TemplateDrawingPath();
  std::string reason;
  std::FILE* file = templatePath.empty() ? nullptr : platform::OpenInputFile(templatePath, reason);
  if (file == nullptr) {
    platform::ShowMessage("ShapesTemplate.dxf support file not found\nTry reinstalling Korvex",
                          platform::kMessageInformation);
  }
  return file;
}

// What a writer of the drawing says went wrong; nullptr when nothing did.
using DrawingWriter = const char* (*)(std::FILE* templateFile, std::FILE* output);

constexpr const char* kTemplateUnreadable =
    "The template ShapesTemplate.dxf could not be read to the end of its ENTITIES section, or "
    "the disk refused the drawing: reinstall Korvex, or free space on the disk.";

// Writes the template with what `write` adds to it through a pending file.
Outcome WriteFromTemplate(const std::filesystem::path& sheetFile, bool replaceExisting,
                          DrawingWriter write) {
  std::FILE* templateFile = OpenTemplate();
  if (templateFile == nullptr) return Outcome::kStopped;
  std::filesystem::path pending;
  std::error_code error;
  std::FILE* output = platform::OpenPendingFile(sheetFile, pending, error);
  if (output == nullptr) {
    std::fclose(templateFile);
    ShowPathMessage("Error creating DXF file %s", sheetFile, platform::kMessageOk,
                    error.message().c_str());
    return Outcome::kRefused;
  }
  const char* failure = write(templateFile, output);
  std::fclose(templateFile);
  if (failure != nullptr) {
    platform::DiscardPendingFile(output, pending);
    ShowPathMessage("Error writing DXF file %s", sheetFile, platform::kMessageOk, failure);
    return Outcome::kRefused;
  }
  if (!platform::CommitPendingFile(output, pending, sheetFile, error, replaceExisting)) {
    ShowPathMessage("Error writing DXF file %s", sheetFile, platform::kMessageOk,
                    error.message().c_str());
    return Outcome::kRefused;
  }
  return Outcome::kDone;
}

SheetReport& Report() {
  static SheetReport report;
  return report;
}

const char* WriteFontSheetDrawing(std::FILE* templateFile, std::FILE* output) {
  if (!StartSheetDrawing(templateFile, output)) return kTemplateUnreadable;
  WriteFontSheetEntities();
  return FinishSheetDrawing() ? nullptr : kTemplateUnreadable;
}

// One message for all the shapes left out, or drawn only in part.
void ShowNotes(const std::filesystem::path& shapeFile, const SheetReport& report) {
  const bool tooMany = report.records > kRecordWarningTotal;
  if (report.noteCount == 0 && !report.verticalLeftOut && !tooMany) return;
  static MessageText message;
  const std::string name = platform::PathText(shapeFile);
  FormatMessage(message, "%s: %d of %d shapes drawn on the sheet", name.c_str(), report.drawn,
                report.drawn + report.leftOut);
  for (int i = 0; i < report.noteCount; ++i) {
    const SheetNote& note = report.notes[i];
    char line[160];
    std::snprintf(line, sizeof line, "\nshape %d: %s%s", note.number, note.reason,
                  note.drawn ? " (drawn up to there)" : "; left out");
    AppendMessage(message, line);
  }
  if (report.notesDropped > 0) {
    char line[64];
    std::snprintf(line, sizeof line, "\n(%d more)", report.notesDropped);
    AppendMessage(message, line);
  }
  if (report.verticalLeftOut) {
    AppendMessage(message,
                  "\nThe font's vertical text (code 14) is not drawn: converted, it is a font for "
                  "horizontal text (MODES 0).");
  }
  if (tooMany) {
    char line[240];
    std::snprintf(line, sizeof line,
                  "\nThe sheet holds %d drawing entities: converting it asks to go on past %d "
                  "and stops past %d. Keep fewer shapes on one sheet.",
                  report.records, kRecordWarningTotal, kRecordStopTotal);
    AppendMessage(message, line);
  }
  ShowMessageText(message, platform::kMessageInformation);
}

// The shape file being drawn, for the message about what its sheet leaves out.
const std::filesystem::path* sheetShapeFile = nullptr;

// The shapes are listed before the drawing is kept or given up, so that a user hears why a
// sheet with nothing drawn is not written.
const char* WriteShapes(std::FILE* templateFile, std::FILE* output) {
  if (!WriteSheetDrawing(SheetTables(), TextGlyphs(), templateFile, output, Report())) {
    return kTemplateUnreadable;
  }
  ShowNotes(*sheetShapeFile, Report());
  return Report().drawn == 0 ? "The shape file holds no shape that can be drawn in a cell."
                             : nullptr;
}

}  // namespace

Outcome WriteShapeSheet(const std::filesystem::path& shapeFile,
                        const std::filesystem::path& sheetFile, int* shapesDrawn) {
  static SourceProblemList problems;
  problems.Clear();
  ShapeSource& source = SheetTables();
  ShapeFileForm form = ShapeFileForm::kSource;
  if (!ReadShapeFile(shapeFile, source, problems, form)) {
    ShowPathMessage("Error reading shape file %s", shapeFile, platform::kMessageOk,
                    problems.count > 0 ? problems.items[0].text : nullptr);
    return Outcome::kRefused;
  }
  if (platform::SameFile(shapeFile, sheetFile)) {
    ShowPathMessage("Cannot write the drawing over its own shape file %s", sheetFile,
                    platform::kMessageOk);
    return Outcome::kRefused;
  }
  Report() = SheetReport{};
  sheetShapeFile = &shapeFile;
  const Outcome outcome = WriteFromTemplate(sheetFile, true, WriteShapes);
  if (outcome != Outcome::kDone) return outcome;
  if (shapesDrawn != nullptr) *shapesDrawn = Report().drawn;
  return Outcome::kDone;
}

Outcome WriteFontSheet(const std::filesystem::path& sheetFile, bool replaceExisting) {
  return WriteFromTemplate(sheetFile, replaceExisting, WriteFontSheetDrawing);
}

}  // namespace korvex
