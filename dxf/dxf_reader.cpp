// The scan of the ENTITIES section and the LINE, TEXT and POINT entities.
#include "dxf/dxf_reader.h"

#include <cstdint>
#include <cstring>

#include "dxf/curve_capture.h"
#include "dxf/dxf_line_reader.h"
#include "dxf/template_drawing.h"
#include "platform/message_text.h"
#include "platform/platform.h"
#include "sheet/cell_grid.h"
#include "sheet/entity_table.h"
#include "sheet/whole_units.h"

namespace korvex {

bool NextEntityGroup() {
  while (ReadDxfLine()) {
    if (DxfLineIs("  0\n")) return false;
    if (!DxfLineIs("  5\n")) return true;
    // The handle's value is read and discarded, so that a handle such as "0" never reads
    // as a group code.
    ReadDxfLine();
  }
  return false;
}

namespace {

// Value holders shared by all entity kinds and never reset between entities: a group
// that an entity lacks keeps the value of the last entity that had it. Each drawing starts
// them afresh, so that nothing of a drawing converted before carries over.
double holderX = 0;
double holderY = 0;
double holderEndX = 0;
double holderEndY = 0;
double holderTextHeight = 0;
char holderText[kTextCapacity] = {};

bool markerFirstSeen = false;
bool markerSecondSeen = false;

void ResetValueHolders() {
  holderX = 0;
  holderY = 0;
  holderEndX = 0;
  holderEndY = 0;
  holderTextHeight = 0;
  holderText[0] = '\0';
}

void ReadLineEntity() {
  while (NextEntityGroup()) {
    if (DxfLineIs(" 10\n")) {
      ReadDxfValue(holderX);
    } else if (DxfLineIs(" 20\n")) {
      ReadDxfValue(holderY);
    } else if (DxfLineIs(" 11\n")) {
      ReadDxfValue(holderEndX);
    } else if (DxfLineIs(" 21\n")) {
      ReadDxfValue(holderEndY);
    } else if (DxfLineIs("210\n")) {
      return;  // a LINE with an extrusion direction is never captured
    }
  }
  if (holderX == holderEndX && holderY == holderEndY) return;
  std::int16_t x1, y1, x2, y2;
  if (!RoundToWhole(holderX, x1) || !RoundToWhole(holderY, y1) || !RoundToWhole(holderEndX, x2) ||
      !RoundToWhole(holderEndY, y2)) {
    return;
  }
  const std::int16_t n = LineCell(x1, y1, x2, y2);
  if (!IsShapeNumber(n)) return;
  StartRecord(n, kKindLine, x1, y1, x2, y2);
  AdmitRecord(n);
}

// A text height as the one byte the shape's scale code holds: truncated toward zero, then
// kept within 1 to 255 so that a text of odd height still comes out, at the nearest size
// a shape can give it.
std::int16_t TextHeightByte(double height) {
  if (!(height >= 1)) return 1;
  if (height >= 255) return 255;
  return static_cast<std::int16_t>(height);
}

void MarkTemplateMarker(const char* text) {
  if (std::strcmp(text, kTemplateMarkerFirst) == 0) markerFirstSeen = true;
  if (std::strcmp(text, kTemplateMarkerSecond) == 0) markerSecondSeen = true;
}

void ReadTextEntity() {
  while (NextEntityGroup()) {
    if (DxfLineIs("  8\n")) {
      ReadDxfLine();
      if (DxfLineIs("ID\n")) return;  // cell numbers and captions of the sheet
    } else if (DxfLineIs(" 10\n")) {
      ReadDxfValue(holderX);
    } else if (DxfLineIs(" 20\n")) {
      ReadDxfValue(holderY);
    } else if (DxfLineIs(" 40\n")) {
      ReadDxfValue(holderTextHeight);
    } else if (DxfLineIs("  1\n")) {
      if (ReadDxfLine()) {
        const DxfLine& line = currentDxfLine;
        const bool hasLineEnd = line.text[line.length - 1] == '\n';
        CopyText(holderText, line.text, line.length - (hasLineEnd ? 1 : 0));
      }
    }
  }
  std::int16_t x, y;
  if (!RoundToWhole(holderX, x) || !RoundToWhole(holderY, y)) return;
  const std::int16_t n = TextCell(x, y);
  if (n == kCellCount) {
    if (y >= CellBoxOf(kCellCount).top) MarkTemplateMarker(holderText);
    return;
  }
  if (!IsShapeNumber(n)) return;
  if (y >= CellBoxOf(n).top) {
    SetShapeName(n, holderText, static_cast<int>(std::strlen(holderText)));
    return;
  }
  DrawingEntityRecord& record = StartRecord(n, kKindText, x, y);
  CopyText(record.text, holderText, static_cast<int>(std::strlen(holderText)));
  record.textHeight = TextHeightByte(holderTextHeight);
  AdmitRecord(n);
}

void ReadPointEntity() {
  while (NextEntityGroup()) {
    if (DxfLineIs(" 10\n")) {
      ReadDxfValue(holderX);
    } else if (DxfLineIs(" 20\n")) {
      ReadDxfValue(holderY);
    }
  }
  std::int16_t x, y;
  if (!RoundToWhole(holderX, x) || !RoundToWhole(holderY, y)) return;
  const std::int16_t n = PointCell(x, y);
  if (!IsShapeNumber(n)) return;
  SetShapeOrigin(n, x, y);
}

// Every line the scan reads is compared, so a value line of an entity that no handler
// reads acts as an entity name or a stop word when it reads as one. A stop at the record
// limit ends the scan.
void ScanEntities() {
  while (!Entities().stopped && ReadDxfLine()) {
    if (DxfLineIs("VIEWPORT\n") || DxfLineIs("DESCRIPTION\n") || DxfLineIs("ENDSEC\n")) {
      return;
    } else if (DxfLineIs("LINE\n")) {
      ReadLineEntity();
    } else if (DxfLineIs("ARC\n")) {
      CaptureArc();
    } else if (DxfLineIs("CIRCLE\n")) {
      CaptureCircle();
    } else if (DxfLineIs("POLYLINE\n")) {
      CapturePolyline();
    } else if (DxfLineIs("LWPOLYLINE\n")) {
      CaptureLwPolyline();
    } else if (DxfLineIs("TEXT\n")) {
      ReadTextEntity();
    } else if (DxfLineIs("POINT\n")) {
      ReadPointEntity();
    }
  }
}

// What the search for the entities found out about the file, for a user who gave the wrong
// file: a binary DXF starts with its own first line, any ASCII DXF has sections, and one
// whose lines end in CR alone reads as pieces holding CRs.
enum class FileKind { kAsciiDxf, kBinaryDxf, kCrOnlyLines, kNotDxf };

bool FindEntitiesSection(FileKind& kind) {
  kind = FileKind::kNotDxf;
  if (ReadDxfLine() && DxfLineIs("AutoCAD Binary DXF\n")) {
    kind = FileKind::kBinaryDxf;
    return false;
  }
  do {
    const DxfLine& line = currentDxfLine;
    if (DxfLineIs("SECTION\n")) kind = FileKind::kAsciiDxf;
    if (DxfLineIs("ENTITIES\n")) return true;
    if (kind == FileKind::kNotDxf && std::memchr(line.text, '\r', line.length) != nullptr) {
      kind = FileKind::kCrOnlyLines;
    }
  } while (ReadDxfLine());
  return false;
}

}  // namespace

Outcome ReadDrawing(const std::filesystem::path& inputPath) {
  markerFirstSeen = false;
  markerSecondSeen = false;
  ResetValueHolders();
  ResetCurveHolders();
  std::string reason;
  if (!OpenDrawingFile(inputPath, reason)) {
    ShowPathMessage("Error opening DXF file %s", inputPath, platform::kMessageOk, reason.c_str());
    return Outcome::kRefused;
  }
  FileKind kind = FileKind::kAsciiDxf;
  if (FindEntitiesSection(kind)) ScanEntities();

  const bool readFailed = DrawingReadFailed();
  CloseDrawingFile();
  if (Entities().stopped) return Outcome::kStopped;
  if (readFailed) {
    ShowPathMessage("Error reading DXF file %s", inputPath, platform::kMessageOk);
    return Outcome::kRefused;
  }
  if (!markerFirstSeen || !markerSecondSeen) {
    // The advice about the template would mislead the user of a file that is no drawing
    // Korvex can read at all.
    const char* cause =
        kind == FileKind::kBinaryDxf
            ? "This is a binary DXF file: save it as ASCII DXF (R12 or later)."
        : kind == FileKind::kCrOnlyLines
            ? "Its lines end in a carriage return alone, which Korvex does not read: save it "
              "again as ASCII DXF."
        : kind == FileKind::kNotDxf
            ? "This is not a DXF file."
            : "Make sure ShapesTemplate.dxf template was NOT ALTERED OR MODIFIED in any way!";
    static MessageText message;
    FormatMessage(message, "Invalid input DXF file\n%s", cause);
    ShowMessageText(message, platform::kMessageInformation);
    return Outcome::kRefused;
  }
  if (Entities().total == 0) {
    platform::ShowMessage("No valid drawing entities found", platform::kMessageInformation);
    return Outcome::kRefused;
  }
  return Outcome::kDone;
}

}  // namespace korvex
