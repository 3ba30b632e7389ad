// The scan of the ENTITIES section and the LINE, TEXT and POINT entities.
#include "dxf/dxf_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "dxf/block_insert.h"
#include "dxf/block_section.h"
#include "dxf/block_table.h"
#include "dxf/curve_capture.h"
#include "dxf/dxf_line_reader.h"
#include "dxf/fitted_curve_capture.h"
#include "dxf/left_out_notes.h"
#include "dxf/mtext_capture.h"
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

// The holders of the ENTITIES section, shared by all entity kinds and never reset between
// entities: a group that an entity lacks keeps the value of the last entity that had it.
// Each drawing starts them afresh, so that nothing of a drawing converted before carries
// over.
ValueHolders holders = {};

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
constexpr char kGridLayerLine[] = "GRID\n";

// The line just read names the layer: the name and its line end. The name's length is
// known when compiled, so that most lines fail at the length, as with DxfLineIs.
template <std::size_t N>
bool LayerLineIs(const char (&name)[N]) {
  const DxfLine& line = CurrentDxfLine();
  return line.length == static_cast<int>(N) && line.text[N - 1] == '\n' &&
         std::memcmp(line.text, name, N - 1) == 0;
}

void ResetValueHolders() {
  holders = {};
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

// The LINE's reading and placing, the most common work of the scan, in bodies of their own
// that the scan's loop takes in whole.
inline bool ReadLineGroupsInline(ValueHolders& values, bool& onGrid, bool* onGuide = nullptr) {
  bool layerNext = false;
  onGrid = false;
  while (NextEntityGroup()) {
    if (DxfLineIs(" 10\n")) {
      ReadDxfValue(values.x);
    } else if (DxfLineIs(" 20\n")) {
      ReadDxfValue(values.y);
    } else if (DxfLineIs(" 11\n")) {
      ReadDxfValue(values.endX);
    } else if (DxfLineIs(" 21\n")) {
      ReadDxfValue(values.endY);
    } else if (DxfLineIs("210\n")) {
      return false;
    } else if (layerNext) {
      // The layer's value is only looked at: it went through the comparisons above as
      // every line of the group list always has.
      onGrid = DxfLineIs(kGridLayerLine);
      if (onGuide != nullptr) *onGuide = LayerLineIs(kGuideLayer);
      layerNext = false;
    } else {
      layerNext = DxfLineIs("  8\n");
    }
  }
  return true;
}

inline void PlaceLineInline(const char* kind, std::int32_t line, double x1, double y1, double x2,
                            double y2, bool onGrid) {
  if (x1 == x2 && y1 == y2) {
    NoteDroppedAt(kind, line, LeftOutReason::kZeroLength, x1, y1);
    return;
  }
  std::int16_t wx1, wy1, wx2, wy2;
  if (!RoundToWhole(x1, wx1) || !RoundToWhole(y1, wy1) || !RoundToWhole(x2, wx2) ||
      !RoundToWhole(y2, wy2)) {
    NoteDroppedAt(kind, line, LeftOutReason::kOffSheet, x1, y1);
    return;
  }
  const std::int16_t n = LineCell(wx1, wy1, wx2, wy2);
  if (!IsShapeNumber(n)) {
    NoteDroppedSegment(kind, line, wx1, wy1, wx2, wy2);
    return;
  }
  if (onGrid && IsBoxEdge(n, wx1, wy1, wx2, wy2)) ++gridOutlineEdges[n];
  StartRecord(n, kKindLine, wx1, wy1, wx2, wy2);
  AdmitRecord(n, line);
}

}  // namespace

bool ReadLineGroups(ValueHolders& values, bool& onGrid) {
  return ReadLineGroupsInline(values, onGrid);
}

void PlaceLine(const char* kind, std::int32_t line, double x1, double y1, double x2, double y2,
               bool onGrid) {
  PlaceLineInline(kind, line, x1, y1, x2, y2, onGrid);
}

bool ReadTextGroups(ValueHolders& values, int* flags, TextLayer* layer) {
  if (layer != nullptr) *layer = TextLayer::kDrawn;
  while (NextEntityGroup()) {
    if (DxfLineIs("  8\n")) {
      ReadDxfLine();
      if (DxfLineIs("ID\n")) return false;  // cell numbers and captions of the sheet
      if (layer != nullptr) {
        *layer = LayerLineIs(kScaleLayer)  ? TextLayer::kScale
                 : LayerLineIs(kFontLayer) ? TextLayer::kFont
                                           : TextLayer::kDrawn;
      }
    } else if (DxfLineIs(" 10\n")) {
      ReadDxfValue(values.x);
    } else if (DxfLineIs(" 20\n")) {
      ReadDxfValue(values.y);
    } else if (DxfLineIs(" 40\n")) {
      ReadDxfValue(values.textHeight);
    } else if (DxfLineIs("  1\n")) {
      if (ReadDxfLine()) {
        const DxfLine& value = CurrentDxfLine();
        const int length = value.length - (value.text[value.length - 1] == '\n' ? 1 : 0);
        CopyText(values.text, value.text, length);
        // A line longer than the reader's buffer arrives in pieces: its first is as long as
        // a piece can be, and longer than a record keeps.
        values.textCut = length > kMaxTextLength;
      }
    } else if (flags != nullptr && DxfLineIs(" 70\n")) {
      if (ReadDxfLine()) *flags = DxfLineInteger();
    }
  }
  return true;
}

void ReadPointGroups(ValueHolders& values, bool* onAdvance) {
  bool layerNext = false;
  if (onAdvance != nullptr) *onAdvance = false;
  while (NextEntityGroup()) {
    if (DxfLineIs(" 10\n")) {
      ReadDxfValue(values.x);
    } else if (DxfLineIs(" 20\n")) {
      ReadDxfValue(values.y);
    } else if (layerNext) {
      // As for a LINE, the layer's value went through the comparisons above.
      if (onAdvance != nullptr) *onAdvance = LayerLineIs(kAdvanceLayer);
      layerNext = false;
    } else {
      layerNext = DxfLineIs("  8\n");
    }
  }
}

void PlaceText(const char* kind, std::int32_t line, double x, double y, double height,
               const char* text, bool cut) {
  std::int16_t wx, wy;
  if (!RoundToWhole(x, wx) || !RoundToWhole(y, wy)) {
    NoteDroppedAt(kind, line, LeftOutReason::kOffSheet, x, y);
    return;
  }
  const std::int16_t n = TextCell(wx, wy);
  if (n == kCellCount) {
    // The marker pair is the template's own; any other text there is the user's.
    if (wy >= CellBoxOf(kCellCount).top && MarkTemplateMarker(text)) return;
    NoteDroppedAt(kind, line, LeftOutReason::kInCell256, wx, wy, kCellCount);
    return;
  }
  if (!IsShapeNumber(n)) {
    NoteDroppedAt(kind, line, LeftOutReason::kNoBoxOrBand, wx, wy);
    return;
  }
  if (cut) {
    NoteDroppedAt(kind, line,
                  wy >= CellBoxOf(n).top ? LeftOutReason::kNameCut : LeftOutReason::kTextCut, wx,
                  wy, n);
  }
  if (wy >= CellBoxOf(n).top) {
    SetShapeName(n, text, static_cast<int>(std::strlen(text)));
    return;
  }
  DrawingEntityRecord& record = StartRecord(n, kKindText, wx, wy);
  CopyText(record.text, text, static_cast<int>(std::strlen(text)));
  record.textHeight = TextHeightByte(height);
  if (!(height >= 1 && height <= 255)) {
    LeftOutEntry entry = StartNote(kind, line, LeftOutReason::kTextHeight);
    SetLeftOutPoint(entry, wx, wy);
    entry.cell = n;
    entry.amount = height;
    std::snprintf(entry.detail, sizeof entry.detail, "%d", record.textHeight);
    NoteLeftOut(entry);
  }
  AdmitRecord(n, line);
}

void PlacePoint(const char* kind, std::int32_t line, double x, double y, bool advance) {
  std::int16_t wx, wy;
  if (!RoundToWhole(x, wx) || !RoundToWhole(y, wy)) {
    NoteDroppedAt(kind, line, LeftOutReason::kOffSheet, x, y);
    return;
  }
  const std::int16_t n = PointCell(wx, wy);
  if (!IsShapeNumber(n)) {
    NoteDroppedAt(kind, line,
                  n == kCellCount ? LeftOutReason::kInCell256 : LeftOutReason::kNoBoxOrBand, wx, wy,
                  n);
    return;
  }
  // A point on the ADVANCE layer says where the shape leaves the pen; the last one counts.
  if (advance) {
    SetShapeAdvance(n, wx, wy);
    advanceSeen = true;
    return;
  }
  // The last POINT read in a cell counts; the one it replaces is noted.
  if (originPointLines[n] != kNoPointYet) {
    LeftOutEntry entry = StartNote(kind, originPointLines[n], LeftOutReason::kSecondPoint);
    SetLeftOutPoint(entry, Entities().shapeOriginX[n], Entities().shapeOriginY[n]);
    entry.cell = n;
    entry.amount = line;
    NoteLeftOut(entry);
  }
  originPointLines[n] = line;
  SetShapeOrigin(n, wx, wy);
}

namespace {

void ReadLineEntity() {
  const std::int32_t line = DxfLineNumberInFile();
  bool onGrid = false;
  bool onGuide = false;
  if (!ReadLineGroupsInline(holders, onGrid, &onGuide)) {
    NoteDropped("LINE", line, LeftOutReason::kExtrusion);
    return;
  }
  // The font sheet's guides are the sheet's, not the user's.
  if (onGuide) return;
  PlaceLineInline("LINE", line, holders.x, holders.y, holders.endX, holders.endY, onGrid);
}

// A TEXT on the SCALE layer records its cell's scale, one on the FONT layer the font's
// description; neither is drawn.
void ReadSettingText(bool scaleText, std::int32_t line) {
  std::int16_t x, y;
  if (!RoundToWhole(holders.x, x) || !RoundToWhole(holders.y, y)) {
    NoteDroppedAt("TEXT", line, LeftOutReason::kOffSheet, holders.x, holders.y);
    return;
  }
  FontSettings settings = Entities().fontSettings;
  ShapeScale scale;
  const std::int16_t n = TextCell(x, y);
  if (scaleText && IsShapeNumber(n) && ReadScaleText(holders.text, scale)) {
    SetShapeScale(n, scale);
    return;
  }
  if (!scaleText && ReadFontText(holders.text, settings)) {
    SetFontSettings(settings);
    return;
  }
  LeftOutEntry entry = StartNote(
      "TEXT", line, scaleText ? LeftOutReason::kUnreadScale : LeftOutReason::kUnreadFontText);
  SetLeftOutPoint(entry, x, y);
  if (IsShapeNumber(n)) entry.cell = n;
  std::snprintf(entry.detail, sizeof entry.detail, "%s", holders.text);
  NoteLeftOut(entry);
}

void ReadTextEntity() {
  const std::int32_t line = DxfLineNumberInFile();
  TextLayer layer = TextLayer::kDrawn;
  if (!ReadTextGroups(holders, nullptr, &layer)) return;
  if (layer != TextLayer::kDrawn) {
    ReadSettingText(layer == TextLayer::kScale, line);
    return;
  }
  PlaceText("TEXT", line, holders.x, holders.y, holders.textHeight, holders.text, holders.textCut);
}

// An attribute of the INSERT before it, a text of its own placed where the file says: by the
// TEXT rules, unless the CAD program does not draw it (invisible) or the INSERT was the
// template's.
void ReadAttribEntity(bool ofTemplate) {
  const std::int32_t line = DxfLineNumberInFile();
  int flags = 0;
  if (!ReadTextGroups(holders, &flags) || ofTemplate) return;
  if ((flags & 1) != 0) {
    NoteDroppedAt("ATTRIB", line, LeftOutReason::kInvisibleText, holders.x, holders.y);
    return;
  }
  PlaceText("ATTRIB", line, holders.x, holders.y, holders.textHeight, holders.text,
            holders.textCut);
}

void ReadPointEntity() {
  const std::int32_t line = DxfLineNumberInFile();
  bool onAdvance = false;
  ReadPointGroups(holders, &onAdvance);
  PlacePoint("POINT", line, holders.x, holders.y, onAdvance);
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
  LeftOutEntry entry = StartNote(unread.kind, unread.line, LeftOutReason::kUnreadKind);
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
  if (unread.valueOf == 8) unread.templateOwn = unread.templateOwn || DxfLineIs(kGridLayerLine);
  // Group 2 names the block a dimension is drawn with; for other kinds (a hatch's pattern)
  // it is no block.
  if (unread.valueOf == 2 && std::strstr(unread.kind, "DIMENSION") != nullptr) {
    CopyLineText(unread.block);
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
  // The last INSERT was the template's own: its attributes are the template's too.
  bool templateInsert = false;
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
      CapturePolyline(false);
    } else if (DxfLineIs("LWPOLYLINE\n")) {
      FinishUnread(unread);
      CapturePolyline(true);
    } else if (DxfLineIs("TEXT\n")) {
      FinishUnread(unread);
      ReadTextEntity();
    } else if (DxfLineIs("POINT\n")) {
      FinishUnread(unread);
      ReadPointEntity();
    } else if (DxfLineIs("ELLIPSE\n")) {
      FinishUnread(unread);
      CaptureEllipse();
    } else if (DxfLineIs("SPLINE\n")) {
      FinishUnread(unread);
      CaptureSpline();
    } else if (DxfLineIs("MTEXT\n")) {
      FinishUnread(unread);
      CaptureMtext();
    } else if (DxfLineIs("INSERT\n")) {
      FinishUnread(unread);
      templateInsert = !CaptureInsert();
    } else if (DxfLineIs("ATTRIB\n")) {
      FinishUnread(unread);
      ReadAttribEntity(templateInsert);
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
  LeftOutEntry entry = StartNote("LINE", 0, LeftOutReason::kExplodedBoxes);
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
  // The blocks come before the entities: a section's name is the value after its "  2".
  int afterSection = 0;  // 1: the line after SECTION, 2: the one after its "  2"
  do {
    const DxfLine& line = CurrentDxfLine();
    if (DxfLineIs("ENTITIES\n")) return true;
    if (afterSection == 2 && DxfLineIs("BLOCKS\n")) ReadBlocksSection();
    afterSection = DxfLineIs("SECTION\n") ? 1 : afterSection == 1 && DxfLineIs("  2\n") ? 2 : 0;
    if (afterSection == 1) kind = FileKind::kAsciiDxf;
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
  ResetBlocks();
  ResetInserts();
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
    platform::ShowMessage("No valid drawing entities found\nDraw your shapes in the boxes first",
                          platform::kMessageInformation);
    return Outcome::kRefused;
  }
  return Outcome::kDone;
}

}  // namespace korvex
