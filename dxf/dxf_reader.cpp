// The scan of the ENTITIES section and the LINE, TEXT and POINT entities.
#include "dxf/dxf_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "dxf/curve_capture.h"
#include "dxf/dxf_line_reader.h"
#include "dxf/left_out_notes.h"
#include "dxf/template_drawing.h"
#include "platform/message_text.h"
#include "platform/platform.h"
#include "sheet/cell_grid.h"
#include "sheet/entity_table.h"
#include "sheet/left_out_table.h"
#include "sheet/sheet_layers.h"
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
bool holderTextCut = false;  // the text held was longer than a record keeps

bool markerFirstSeen = false;
bool markerSecondSeen = false;
// A cell that holds an advance point alone is a shape too (a font's space).
bool advanceSeen = false;

// For the record of what is left out: where each cell's origin POINT stands in the file,
// and how many of a cell's records are the edges of its own box drawn on the template's
// grid layer (its box block exploded into lines).
std::int32_t originPointLines[kMaxShapeNumber + 1];
constexpr std::int32_t kNoPointYet = -1;  // line numbers are 0 when they are not counted
std::int16_t gridOutlineEdges[kMaxShapeNumber + 1];
constexpr char kGridLayer[] = "GRID\n";
constexpr char kCellBoxBlock[] = "CELLBOX\n";

// The line just read names the layer: the name and its line end.
bool LayerLineIs(const char* name) {
  const DxfLine& line = CurrentDxfLine();
  const std::size_t length = std::strlen(name);
  return line.length == static_cast<int>(length + 1) && line.text[length] == '\n' &&
         std::memcmp(line.text, name, length) == 0;
}

void ResetValueHolders() {
  holderX = 0;
  holderY = 0;
  holderEndX = 0;
  holderEndY = 0;
  holderTextHeight = 0;
  holderText[0] = '\0';
  holderTextCut = false;
  std::fill(std::begin(originPointLines), std::end(originPointLines), kNoPointYet);
  std::fill(std::begin(gridOutlineEdges), std::end(gridOutlineEdges), 0);
}

// One edge of cell n's box, from corner to corner.
bool IsBoxEdge(int n, std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
  const CellBox box = CellBoxOf(n);
  const auto corner = [&box](std::int16_t x, std::int16_t y) {
    return (x == box.left || x == box.right) && (y == box.bottom || y == box.top);
  };
  return corner(x1, y1) && corner(x2, y2) && (x1 == x2 || y1 == y2);
}

void ReadLineEntity() {
  const std::int32_t line = DxfLineNumberInFile();
  bool layerNext = false;
  bool onGrid = false;
  bool onGuide = false;
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
      // A LINE with an extrusion direction is never captured.
      NoteDropped("LINE", line, LeftOutReason::kExtrusion);
      return;
    } else if (layerNext) {
      // The layer's value is only looked at: it went through the comparisons above as
      // every line of the group list always has.
      onGrid = DxfLineIs(kGridLayer);
      onGuide = LayerLineIs(kGuideLayer);
      layerNext = false;
    } else {
      layerNext = DxfLineIs("  8\n");
    }
  }
  // The font sheet's guides are the sheet's, not the user's.
  if (onGuide) return;
  if (holderX == holderEndX && holderY == holderEndY) {
    NoteDroppedAt("LINE", line, LeftOutReason::kZeroLength, holderX, holderY);
    return;
  }
  std::int16_t x1, y1, x2, y2;
  if (!RoundToWhole(holderX, x1) || !RoundToWhole(holderY, y1) || !RoundToWhole(holderEndX, x2) ||
      !RoundToWhole(holderEndY, y2)) {
    NoteDroppedAt("LINE", line, LeftOutReason::kOffSheet, holderX, holderY);
    return;
  }
  const std::int16_t n = LineCell(x1, y1, x2, y2);
  if (!IsShapeNumber(n)) {
    NoteDroppedSegment("LINE", line, x1, y1, x2, y2);
    return;
  }
  if (onGrid && IsBoxEdge(n, x1, y1, x2, y2)) ++gridOutlineEdges[n];
  StartRecord(n, kKindLine, x1, y1, x2, y2);
  AdmitRecord(n, line);
}

// A text height as the one byte the shape's scale code holds: truncated toward zero, then
// kept within 1 to 255 so that a text of odd height still comes out, at the nearest size
// a shape can give it.
std::int16_t TextHeightByte(double noisyHeight) {
  const double height = WithoutFloatNoise(noisyHeight);
  if (!(height >= 1)) return 1;
  if (height >= 255) return 255;
  return static_cast<std::int16_t>(height);
}

// True when the text is one of the pair.
bool MarkTemplateMarker(const char* text) {
  const bool first = std::strcmp(text, kTemplateMarkerFirst) == 0;
  const bool second = std::strcmp(text, kTemplateMarkerSecond) == 0;
  markerFirstSeen = markerFirstSeen || first;
  markerSecondSeen = markerSecondSeen || second;
  return first || second;
}

// A TEXT on the SCALE layer records its cell's scale, one on the FONT layer the font's
// description; neither is drawn.
void ReadSettingText(bool scaleText, std::int32_t line, std::int16_t x, std::int16_t y) {
  FontSettings settings = Entities().fontSettings;
  ShapeScale scale;
  const std::int16_t n = TextCell(x, y);
  if (scaleText && IsShapeNumber(n) && ReadScaleText(holderText, scale)) {
    SetShapeScale(n, scale);
    return;
  }
  if (!scaleText && ReadFontText(holderText, settings)) {
    SetFontSettings(settings);
    return;
  }
  LeftOutEntry entry = StartLeftOut(
      "TEXT", line, scaleText ? LeftOutReason::kUnreadScale : LeftOutReason::kUnreadFontText);
  SetLeftOutPoint(entry, x, y);
  if (IsShapeNumber(n)) entry.cell = n;
  std::snprintf(entry.detail, sizeof entry.detail, "%s", holderText);
  NoteLeftOut(entry);
}

void ReadTextEntity() {
  const std::int32_t line = DxfLineNumberInFile();
  bool onScale = false;
  bool onFont = false;
  while (NextEntityGroup()) {
    if (DxfLineIs("  8\n")) {
      ReadDxfLine();
      if (DxfLineIs("ID\n")) return;  // cell numbers and captions of the sheet
      onScale = LayerLineIs(kScaleLayer);
      onFont = LayerLineIs(kFontLayer);
    } else if (DxfLineIs(" 10\n")) {
      ReadDxfValue(holderX);
    } else if (DxfLineIs(" 20\n")) {
      ReadDxfValue(holderY);
    } else if (DxfLineIs(" 40\n")) {
      ReadDxfValue(holderTextHeight);
    } else if (DxfLineIs("  1\n")) {
      if (ReadDxfLine()) {
        const DxfLine& value = CurrentDxfLine();
        const int length = value.length - (value.text[value.length - 1] == '\n' ? 1 : 0);
        CopyText(holderText, value.text, length);
        // A line longer than the reader's buffer arrives in pieces: its first is as long as
        // a piece can be, and longer than a record keeps.
        holderTextCut = length > kMaxTextLength;
      }
    }
  }
  std::int16_t x, y;
  if (!RoundToWhole(holderX, x) || !RoundToWhole(holderY, y)) {
    NoteDroppedAt("TEXT", line, LeftOutReason::kOffSheet, holderX, holderY);
    return;
  }
  if (onScale || onFont) {
    ReadSettingText(onScale, line, x, y);
    return;
  }
  const std::int16_t n = TextCell(x, y);
  if (n == kCellCount) {
    // The marker pair is the template's own; any other text there is the user's.
    if (y >= CellBoxOf(kCellCount).top && MarkTemplateMarker(holderText)) return;
    NoteDroppedAt("TEXT", line, LeftOutReason::kInCell256, x, y, kCellCount);
    return;
  }
  if (!IsShapeNumber(n)) {
    NoteDroppedAt("TEXT", line, LeftOutReason::kNoBoxOrBand, x, y);
    return;
  }
  if (holderTextCut) {
    NoteDroppedAt("TEXT", line,
                  y >= CellBoxOf(n).top ? LeftOutReason::kNameCut : LeftOutReason::kTextCut, x, y,
                  n);
  }
  if (y >= CellBoxOf(n).top) {
    SetShapeName(n, holderText, static_cast<int>(std::strlen(holderText)));
    return;
  }
  DrawingEntityRecord& record = StartRecord(n, kKindText, x, y);
  CopyText(record.text, holderText, static_cast<int>(std::strlen(holderText)));
  record.textHeight = TextHeightByte(holderTextHeight);
  if (!(holderTextHeight >= 1 && holderTextHeight <= 255)) {
    LeftOutEntry entry = StartLeftOut("TEXT", line, LeftOutReason::kTextHeight);
    SetLeftOutPoint(entry, x, y);
    entry.cell = n;
    entry.amount = holderTextHeight;
    std::snprintf(entry.detail, sizeof entry.detail, "%d", record.textHeight);
    NoteLeftOut(entry);
  }
  AdmitRecord(n, line);
}

void ReadPointEntity() {
  const std::int32_t line = DxfLineNumberInFile();
  bool layerNext = false;
  bool onAdvance = false;
  while (NextEntityGroup()) {
    if (DxfLineIs(" 10\n")) {
      ReadDxfValue(holderX);
    } else if (DxfLineIs(" 20\n")) {
      ReadDxfValue(holderY);
    } else if (layerNext) {
      // As for a LINE, the layer's value went through the comparisons above.
      onAdvance = LayerLineIs(kAdvanceLayer);
      layerNext = false;
    } else {
      layerNext = DxfLineIs("  8\n");
    }
  }
  std::int16_t x, y;
  if (!RoundToWhole(holderX, x) || !RoundToWhole(holderY, y)) {
    NoteDroppedAt("POINT", line, LeftOutReason::kOffSheet, holderX, holderY);
    return;
  }
  const std::int16_t n = PointCell(x, y);
  if (!IsShapeNumber(n)) {
    NoteDroppedAt("POINT", line,
                  n == kCellCount ? LeftOutReason::kInCell256 : LeftOutReason::kNoBoxOrBand, x, y,
                  n);
    return;
  }
  // A point on the ADVANCE layer says where the shape leaves the pen; the last one counts.
  if (onAdvance) {
    SetShapeAdvance(n, x, y);
    advanceSeen = true;
    return;
  }
  // The last POINT read in a cell counts; the one it replaces is noted.
  if (originPointLines[n] != kNoPointYet) {
    LeftOutEntry entry = StartLeftOut("POINT", originPointLines[n], LeftOutReason::kSecondPoint);
    SetLeftOutPoint(entry, Entities().shapeOriginX[n], Entities().shapeOriginY[n]);
    entry.cell = n;
    entry.amount = line;
    NoteLeftOut(entry);
  }
  originPointLines[n] = line;
  SetShapeOrigin(n, x, y);
}

// An entity of a kind the scan does not read, whose groups the scan passes over: noted when
// its next entity begins, unless it is the template's own (a cell box on the grid layer).
struct UnreadEntity {
  bool pending;
  std::int32_t line;
  char kind[kLeftOutKindCapacity];
  char block[kLeftOutDetailCapacity];
  bool templateOwn;
  int valueOf;  // the group code whose value line comes next: 2, 8, 10 or 20; else 0
  bool hasX, hasY;
  double x, y;  // its first point (insertion point or centre), to show where it lies
};

// Kinds that belong to an entity before them (polyline vertices, a block's attributes) or
// that stand for no geometry.
bool PartOfAnotherEntity() {
  return DxfLineIs("VERTEX\n") || DxfLineIs("SEQEND\n") || DxfLineIs("ATTRIB\n") ||
         DxfLineIs("VIEWPORT\n");
}

// The text of the current line without its line end, cut to the capacity.
template <std::size_t N>
void CopyLineText(char (&target)[N]) {
  const DxfLine& line = CurrentDxfLine();
  int length =
      line.length > 0 && line.text[line.length - 1] == '\n' ? line.length - 1 : line.length;
  if (length > static_cast<int>(N) - 1) length = static_cast<int>(N) - 1;
  std::memcpy(target, line.text, static_cast<std::size_t>(length));
  target[length] = '\0';
}

void FinishUnread(UnreadEntity& unread) {
  if (!unread.pending) return;
  unread.pending = false;
  if (unread.templateOwn) return;
  LeftOutEntry entry = StartLeftOut(unread.kind, unread.line, LeftOutReason::kUnreadKind);
  std::memcpy(entry.detail, unread.block, sizeof entry.detail);
  if (unread.hasX && unread.hasY) SetLeftOutPoint(entry, unread.x, unread.y);
  NoteLeftOut(entry);
}

// Follows the lines of an entity the scan does not read; `atName` tells that the line is
// the name of a new entity.
void FollowUnread(UnreadEntity& unread, bool atName) {
  if (atName) {
    FinishUnread(unread);
    if (PartOfAnotherEntity()) return;
    unread = {};
    unread.pending = true;
    unread.line = DxfLineNumberInFile();
    CopyLineText(unread.kind);
    return;
  }
  if (!unread.pending) return;
  if (unread.valueOf == 8) unread.templateOwn = unread.templateOwn || DxfLineIs(kGridLayer);
  if (unread.valueOf == 2) {
    CopyLineText(unread.block);
    unread.templateOwn = unread.templateOwn || DxfLineIs(kCellBoxBlock);
  }
  if (unread.valueOf == 10 && !unread.hasX) {
    unread.x = DxfLineValue();
    unread.hasX = true;
  }
  if (unread.valueOf == 20 && !unread.hasY) {
    unread.y = DxfLineValue();
    unread.hasY = true;
  }
  unread.valueOf = DxfLineIs("  8\n")   ? 8
                   : DxfLineIs("  2\n") ? 2
                   : DxfLineIs(" 10\n") ? 10
                   : DxfLineIs(" 20\n") ? 20
                                        : 0;
}

// Every line the scan reads is compared, so a value line of an entity that no handler
// reads acts as an entity name or a stop word when it reads as one. A stop at the record
// limit ends the scan. True when a stop word other than the section's end ended it.
bool ScanEntities() {
  UnreadEntity unread = {};
  bool atName = false;  // the line follows a "  0", so it names an entity
  while (!Entities().stopped && ReadDxfLine()) {
    if (DxfLineIs("VIEWPORT\n") || DxfLineIs("DESCRIPTION\n") || DxfLineIs("ENDSEC\n")) {
      FinishUnread(unread);
      return !DxfLineIs("ENDSEC\n");
    }
    if (DxfLineIs("LINE\n")) {
      FinishUnread(unread);
      ReadLineEntity();
    } else if (DxfLineIs("ARC\n")) {
      FinishUnread(unread);
      CaptureArc();
    } else if (DxfLineIs("CIRCLE\n")) {
      FinishUnread(unread);
      CaptureCircle();
    } else if (DxfLineIs("POLYLINE\n")) {
      FinishUnread(unread);
      CapturePolyline();
    } else if (DxfLineIs("LWPOLYLINE\n")) {
      FinishUnread(unread);
      CaptureLwPolyline();
    } else if (DxfLineIs("TEXT\n")) {
      FinishUnread(unread);
      ReadTextEntity();
    } else if (DxfLineIs("POINT\n")) {
      FinishUnread(unread);
      ReadPointEntity();
    } else {
      FollowUnread(unread, atName);
    }
    // A handler ends at the "  0" of the next entity, or earlier when it drops its own.
    atName = DxfLineIs("  0\n");
  }
  FinishUnread(unread);
  return false;
}

// The entities after the stop word are never read: each is noted with its kind and line.
// The reading stops at the first read error, which the drawing's verdict has already seen
// or not, as before.
void NoteEntitiesAfterStop() {
  // Group code and value in turn, from the line after the stop word.
  while (ReadDxfLine()) {
    const bool entityStarts = DxfLineIs("  0\n");
    if (!ReadDxfLine()) return;
    if (!entityStarts) continue;
    if (DxfLineIs("ENDSEC\n")) return;
    if (PartOfAnotherEntity()) continue;
    char kind[kLeftOutKindCapacity];
    CopyLineText(kind);
    NoteDropped(kind, DxfLineNumberInFile(), LeftOutReason::kAfterStop);
  }
}

// Cells that hold nothing but the four edges of their own box, drawn on the grid layer:
// the template's box blocks were exploded. Noted once for all of them.
void NoteExplodedBoxes() {
  int cells = 0;
  for (int n = 1; n <= kMaxShapeNumber; ++n) {
    if (gridOutlineEdges[n] == 4 && Entities().shapeEntityCount[n] == 4) ++cells;
  }
  if (cells == 0) return;
  LeftOutEntry entry = StartLeftOut("LINE", 0, LeftOutReason::kExplodedBoxes);
  entry.amount = cells;
  NoteLeftOut(entry);
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
    const DxfLine& line = CurrentDxfLine();
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
  advanceSeen = false;
  ResetValueHolders();
  ResetCurveHolders();
  std::string reason;
  // Lines are counted only for a record that keeps them.
  if (!OpenDrawingFile(inputPath, reason, LeftOut().recording)) {
    ShowPathMessage("Error opening DXF file %s", inputPath, platform::kMessageOk, reason.c_str());
    return Outcome::kRefused;
  }
  FileKind kind = FileKind::kAsciiDxf;
  const bool stoppedAtWord = FindEntitiesSection(kind) && ScanEntities();

  const bool readFailed = DrawingReadFailed();
  if (stoppedAtWord && !readFailed && !Entities().stopped) NoteEntitiesAfterStop();
  CloseDrawingFile();
  NoteExplodedBoxes();
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
  if (Entities().total == 0 && !advanceSeen) {
    platform::ShowMessage("No valid drawing entities found", platform::kMessageInformation);
    return Outcome::kRefused;
  }
  return Outcome::kDone;
}

}  // namespace korvex
