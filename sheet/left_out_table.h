// The record of what a conversion left out: every entity of the drawing that does not become
// part of a shape (or only in part), with its kind, the DXF line where it starts, its cells,
// its key points and the reason, so that a user learns why a shape is incomplete without
// reading the DXF by hand. The template's own entities (the cell boxes, the cell numbers,
// the marker pair) are the sheet, not the user's work, and are never noted.
//
// A fixed table like the others: past its size entries are counted, not kept. Entries are
// kept only when asked for; when not, noting one costs a count.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvex {

inline constexpr int kMaxLeftOut = 2000;
inline constexpr int kLeftOutKindCapacity = 16;
inline constexpr int kLeftOutDetailCapacity = 32;
inline constexpr int kLeftOutBlockCapacity = 64;

enum class LeftOutReason : std::uint8_t {
  kOffSheet,          // a point lies off the sheet (or is no number a drawing can hold)
  kEndOutsideBox,     // an end point lies outside its box by `amount` units
  kTwoBoxes,          // the two ends lie in the boxes of two cells
  kCrossesGap,        // the entity crosses the gap between boxes (an end lies in the gap)
  kInCell256,         // it lies in cell 256, which holds the template's markers
  kCurveLeavesBox,    // an arc's or circle's curve leaves its box by `amount` units
  kZeroLength,        // its ends round to one point
  kExtrusion,         // it carries an extrusion direction: drawn in another plane
  kRadius,            // a radius no shape can draw (`amount`)
  kUnreadKind,        // an entity kind Korvex does not read (`detail`: a block's name)
  kAfterStop,         // after the first VIEWPORT: never read
  kSecondPoint,       // a POINT replaced by a later one in the same cell
  kNoBoxOrBand,       // a TEXT or POINT in no box (nor, for a text, a name band)
  kTextCut,           // a TEXT cut to 30 characters
  kNameCut,           // a name cut to 30 characters
  kTextHeight,        // a text height outside 1 to 255 (`amount`), drawn at the nearest
  kNoGlyph,           // a character with no glyph in the font (`detail`)
  kTooManyVertices,   // a polyline's vertices past the 500th
  kByteLimit,         // the shape reached the byte limit: the run stopped there
  kExplodedBoxes,     // cells holding only their own box outline (`amount` cells)
  kMalformedCurve,    // a SPLINE whose groups make no curve (`detail`: what is wrong)
  kTooManyPoints,     // a SPLINE of more control or fit points than Korvex keeps (`amount`)
  kCurveTooLong,      // a curve too long to follow inside a box
  kMultiLineText,     // an MTEXT of more than one line (`amount` lines)
  kInvisibleText,     // an invisible attribute, which the CAD program does not draw
  kNoSuchBlock,       // an INSERT of a block the drawing does not define (`detail`: its name)
  kBlockNotKept,      // an INSERT of a block past the block table's room (`detail`, `amount`)
  kBlockPartNotKept,  // entities of the block past the table's room (`amount`), not placed
  kNestedTooDeep,     // inserts nested deeper than the limit (`amount`), or a block in itself
  kTooManyCopies,     // the drawing's inserts place more entities than the limit (`amount`)
  kEmptyBlock,        // an INSERT of a block that holds nothing (`detail`), an external reference
  kUnreadScale,       // a TEXT on the SCALE layer that is no scale (`detail`: its text)
  kUnreadFontText,    // a TEXT on the FONT layer that is no font description (`detail`)
};

struct LeftOutEntry {
  char kind[kLeftOutKindCapacity];  // the DXF entity name ("LINE", "INSERT"...)
  std::int32_t line;                // where the entity starts in the DXF file; 0: none
  std::int16_t cell;                // 0: none
  std::int16_t otherCell;           // the second cell of kTwoBoxes and kCrossesGap
  std::uint8_t pointCount;          // 0 to 2 key points
  bool hasRadius;                   // the first point is a centre
  double points[2][2];
  double radius;
  LeftOutReason reason;
  double amount;
  char detail[kLeftOutDetailCapacity];
  // The blocks it was placed from, outermost first ("ARROW", "PANEL > ARROW"), cut to the
  // capacity; empty for an entity drawn in the ENTITIES section.
  char block[kLeftOutBlockCapacity];
};

struct LeftOutTable {
  LeftOutEntry entries[kMaxLeftOut];
  int kept;        // entries held
  int total;       // entries noted, held or not
  bool recording;  // keep entries, not only count them
};

const LeftOutTable& LeftOut();

// Empties the record; entries are kept from now on only when `record`.
void ResetLeftOut(bool record);

// An entry of the kind starting at the line, for the caller to fill and note.
LeftOutEntry StartLeftOut(const char* kind, std::int32_t line, LeftOutReason reason);

void NoteLeftOut(const LeftOutEntry& entry);

// Sets the entry's key points: one point, two points, or a centre with its radius.
void SetLeftOutPoint(LeftOutEntry& entry, double x, double y);
void SetLeftOutSegment(LeftOutEntry& entry, double x1, double y1, double x2, double y2);
void SetLeftOutCircle(LeftOutEntry& entry, double cx, double cy, double radius);

// The entry in plain words, compiler style after the file and line:
// "cell 18: LINE (135,1760)-(235,1760): end point 10 units right of the box; left out".
// Cut to the capacity; returns the length written.
std::size_t DescribeLeftOut(const LeftOutEntry& entry, char* text, std::size_t capacity);

// The reason alone, as it ends that text ("end point 10 units right of the box; left out").
std::size_t DescribeLeftOutReason(const LeftOutEntry& entry, char* text, std::size_t capacity);

}  // namespace korvex
