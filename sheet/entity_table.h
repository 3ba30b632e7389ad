// The drawing entity table: the one store between reading a drawing and writing its
// shapes. The reader fills records and admits them; the writer walks them shape by
// shape through the sorted keys.
#pragma once

#include <cstdint>

#include "sheet/cell_grid.h"
#include "sheet/font_sheet.h"
#include "sheet/shape_scale.h"

namespace korvex {

inline constexpr int kMaxRecords = 100000;
// Admissions past this total raise the warning that lets the user stop.
inline constexpr int kRecordWarningTotal = 99000;
// The admission that takes the total past this ends the program.
inline constexpr int kRecordStopTotal = 99998;
inline constexpr int kKeyShapeFactor = 100000;
inline constexpr int kNoOrigin = 9999;
inline constexpr int kTextCapacity = 32;  // 30 characters, NUL, and one spare
inline constexpr int kMaxTextLength = 30;

enum EntityKind : std::uint8_t {
  kKindLine = 1,
  kKindArc = 2,
  kKindCircle = 3,
  kKindText = 4,
};

struct DrawingEntityRecord {
  std::int16_t shapeNumber;
  std::uint8_t kind;
  // An arc that runs clockwise from its start point to its end point: a piece of a fitted
  // ellipse or spline. Every other arc runs counter-clockwise.
  bool clockwise;
  std::int16_t startX;
  std::int16_t startY;
  std::int16_t endX;
  std::int16_t endY;
  double centreX;
  double centreY;
  double startAngle;
  double endAngle;
  double radius;
  char text[kTextCapacity];
  std::int16_t textHeight;
};

// The table and its per-shape side tables, in one struct in static storage. The reader
// fills it through the functions below; everyone else reads it through Entities().
struct EntityTable {
  DrawingEntityRecord records[kMaxRecords];
  // Records admitted so far; also the slot of the next record.
  std::int32_t total;
  // key = shapeNumber * 100000 + record index; only the first `total` are meaningful.
  std::int32_t keys[kMaxRecords];
  // Per record, the DXF line where its entity starts (0 when not known), for reports.
  std::int32_t lines[kMaxRecords];
  // Per shape, index 1 to 255.
  std::int32_t shapeEntityCount[kMaxShapeNumber + 1];
  std::int32_t shapeOriginX[kMaxShapeNumber + 1];
  std::int32_t shapeOriginY[kMaxShapeNumber + 1];
  char shapeNames[kMaxShapeNumber + 1][kTextCapacity];
  // The scale a SCALE text in the cell records (drawingUnits 0: none), and where a POINT on
  // the ADVANCE layer puts the pen at the shape's end (kNoOrigin: nowhere).
  ShapeScale shapeScales[kMaxShapeNumber + 1];
  std::int32_t shapeAdvanceX[kMaxShapeNumber + 1];
  std::int32_t shapeAdvanceY[kMaxShapeNumber + 1];
  // A text font's description, as a TEXT on the FONT layer gives it (else a new font's).
  FontSettings fontSettings;
  // At least one text record was admitted: the writer needs the glyph file.
  bool textCaptured;
  // The user or the record limit stopped the reading: nothing more is admitted.
  bool stopped;
};

const EntityTable& Entities();

// Zeroes the records that the previous run filled and sets the total back to 0.
void ClearRecords();

// Puts counts, origin points, names, scales, advance points and the font description back
// to their start values, and clears the text-captured and stopped flags.
void ResetShapeTables();

// The next record with its shape, kind and points set; the caller fills the rest of its
// kind and admits it.
DrawingEntityRecord& StartRecord(std::int16_t shapeNumber, EntityKind kind, std::int16_t startX,
                                 std::int16_t startY, std::int16_t endX = 0, std::int16_t endY = 0);

// Counts and keys the record just filled (a text record marks the drawing as holding
// text). Past the warning total it asks whether to stop; past the stop total it stops.
// False when the reading is to stop: nothing more is admitted after that.
bool AdmitRecord(std::int16_t shapeNumber, std::int32_t line = 0);

// The origin point a POINT in the cell gives shape n.
void SetShapeOrigin(int n, std::int32_t x, std::int32_t y);

// The name a text in the cell's name band gives shape n, cut to kMaxTextLength.
void SetShapeName(int n, const char* name, int length);

// The scale a SCALE text in the cell records for shape n.
void SetShapeScale(int n, const ShapeScale& scale);

// The point an ADVANCE POINT in the cell gives the end of shape n.
void SetShapeAdvance(int n, std::int32_t x, std::int32_t y);

void SetFontSettings(const FontSettings& settings);

// Sorts the keys ascending: records grouped by shape, in reading order.
void SortEntityKeys();

// Copies at most kMaxTextLength characters and terminates them.
void CopyText(char (&target)[kTextCapacity], const char* source, int length);

}  // namespace korvex
