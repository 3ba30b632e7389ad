#include "sheet/left_out_table.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/printf_format.h"

namespace korvex {
namespace {

LeftOutTable table;

// Appends to a fixed buffer; what does not fit is cut.
struct TextSink {
  char* text;
  std::size_t capacity;
  std::size_t length;

  void Add(const char* format, ...) KORVEX_PRINTF_FORMAT(2, 3) {
    if (length + 1 >= capacity) return;
    std::va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(text + length, capacity - length, format, arguments);
    va_end(arguments);
    if (written > 0) length += static_cast<std::size_t>(written);
    if (length >= capacity) length = capacity - 1;
  }
};

void AddPoints(TextSink& out, const LeftOutEntry& entry) {
  if (entry.pointCount >= 1) out.Add(" (%.10g,%.10g)", entry.points[0][0], entry.points[0][1]);
  if (entry.pointCount >= 2) out.Add("-(%.10g,%.10g)", entry.points[1][0], entry.points[1][1]);
  if (entry.hasRadius) out.Add(" radius %.10g", entry.radius);
}

void AddReason(TextSink& out, const LeftOutEntry& entry) {
  switch (entry.reason) {
    case LeftOutReason::kOffSheet:
      out.Add("lies off the sheet; left out");
      break;
    case LeftOutReason::kEndOutsideBox:
      out.Add("end point %.10g units %s the box; left out", entry.amount, entry.detail);
      break;
    case LeftOutReason::kTwoBoxes:
      out.Add("its ends lie in two boxes, cells %d and %d; left out", entry.cell, entry.otherCell);
      break;
    case LeftOutReason::kCrossesGap:
      out.Add("crosses the gap between boxes; left out");
      break;
    case LeftOutReason::kInCell256:
      out.Add("lies in cell 256, which holds the template's markers and no shape; left out");
      break;
    case LeftOutReason::kCurveLeavesBox:
      out.Add("its curve leaves the box by %.10g units; left out", entry.amount);
      break;
    case LeftOutReason::kZeroLength:
      out.Add("has no length; left out");
      break;
    case LeftOutReason::kExtrusion:
      out.Add("has an extrusion direction (it is drawn in another plane); left out");
      break;
    case LeftOutReason::kRadius:
      out.Add("a radius of %.10g cannot be drawn in a box; left out", entry.amount);
      break;
    case LeftOutReason::kUnreadKind:
      if (entry.detail[0] != '\0') {
        out.Add(
            "Korvex does not read %s entities (block %s): explode it in the CAD program; "
            "left out",
            entry.kind, entry.detail);
      } else {
        out.Add(
            "Korvex does not read %s entities: draw it with lines, arcs, circles or "
            "polylines; left out",
            entry.kind);
      }
      break;
    case LeftOutReason::kAfterStop:
      out.Add("stands after the first VIEWPORT, where reading ends; left out");
      break;
    case LeftOutReason::kSecondPoint:
      out.Add("the POINT at line %.10g in the same cell sets the insertion point; ignored",
              entry.amount);
      break;
    case LeftOutReason::kNoBoxOrBand:
      out.Add(std::strcmp(entry.kind, "POINT") == 0 ? "lies in no box; left out"
                                                    : "lies in no box and no name band; left out");
      break;
    case LeftOutReason::kTextCut:
      out.Add("text cut to 30 characters");
      break;
    case LeftOutReason::kNameCut:
      out.Add("name cut to 30 characters");
      break;
    case LeftOutReason::kTextHeight:
      out.Add("text height %.10g is outside 1 to 255: drawn %s high", entry.amount, entry.detail);
      break;
    case LeftOutReason::kNoGlyph:
      out.Add("character %s has no glyph in SHPTXT.SHP: nothing drawn for it", entry.detail);
      break;
    case LeftOutReason::kTooManyVertices:
      out.Add("vertices past the 500th are left out");
      break;
    case LeftOutReason::kByteLimit:
      out.Add("the shape passed the limit of 2000 bytes: the run stopped here");
      break;
    case LeftOutReason::kExplodedBoxes:
      out.Add(
          "%.10g cells hold nothing but their own box outline: the template's boxes were "
          "exploded into lines. Undo the explode, or start again from the template; as it "
          "is, each of these cells becomes a square shape",
          entry.amount);
      break;
    case LeftOutReason::kMalformedCurve:
      out.Add("its %s make no curve; left out", entry.detail);
      break;
    case LeftOutReason::kTooManyPoints:
      out.Add("more than %.10g control or fit points, which Korvex does not keep; left out",
              entry.amount);
      break;
    case LeftOutReason::kCurveTooLong:
      out.Add("too long a curve to follow in one box; left out");
      break;
    case LeftOutReason::kMultiLineText:
      out.Add(
          "an MTEXT of %.10g lines: Korvex reads one-line MTEXT only (write each line as a TEXT "
          "or an MTEXT of its own); left out",
          entry.amount);
      break;
    case LeftOutReason::kInvisibleText:
      out.Add("an invisible attribute, which the CAD program does not draw; left out");
      break;
    case LeftOutReason::kNoSuchBlock:
      out.Add("block %s is not defined in the drawing's BLOCKS section; left out", entry.detail);
      break;
    case LeftOutReason::kEmptyBlock:
      out.Add(
          "block %s holds nothing to draw (an external reference's drawing is not in this file: "
          "bind it in the CAD program first); left out",
          entry.detail);
      break;
    case LeftOutReason::kBlockNotKept:
      out.Add("block %s was not kept: the drawing defines more than %.10g blocks; left out",
              entry.detail, entry.amount);
      break;
    case LeftOutReason::kBlockPartNotKept:
      out.Add("%.10g of the block's entities were past the room Korvex keeps for blocks; left out",
              entry.amount);
      break;
    case LeftOutReason::kNestedTooDeep:
      out.Add(
          "its blocks insert blocks more than %.10g deep, or a block inserts itself: the deeper "
          "ones left out",
          entry.amount);
      break;
    case LeftOutReason::kTooManyCopies:
      out.Add("the drawing's inserts place more than %.10g entities: the rest left out",
              entry.amount);
      break;
    case LeftOutReason::kUnreadScale:
      out.Add(
          "'%s' is no scale: write SCALE p or SCALE p/q (p drawing units for q shape units, "
          "1 to 255); ignored",
          entry.detail);
      break;
    case LeftOutReason::kUnreadFontText:
      out.Add("'%s' is no font description: write ABOVE n BELOW n MODES 0 SPACING n; ignored",
              entry.detail);
      break;
  }
}

}  // namespace

const LeftOutTable& LeftOut() {
  return table;
}

void ResetLeftOut(bool record) {
  table.kept = 0;
  table.total = 0;
  table.recording = record;
}

LeftOutEntry StartLeftOut(const char* kind, std::int32_t line, LeftOutReason reason) {
  LeftOutEntry entry = {};
  std::snprintf(entry.kind, sizeof entry.kind, "%s", kind);
  entry.line = line;
  entry.reason = reason;
  return entry;
}

void NoteLeftOut(const LeftOutEntry& entry) {
  ++table.total;
  if (table.recording && table.kept < kMaxLeftOut) table.entries[table.kept++] = entry;
}

void SetLeftOutPoint(LeftOutEntry& entry, double x, double y) {
  entry.pointCount = 1;
  entry.points[0][0] = x;
  entry.points[0][1] = y;
}

void SetLeftOutSegment(LeftOutEntry& entry, double x1, double y1, double x2, double y2) {
  SetLeftOutPoint(entry, x1, y1);
  entry.pointCount = 2;
  entry.points[1][0] = x2;
  entry.points[1][1] = y2;
}

void SetLeftOutCircle(LeftOutEntry& entry, double cx, double cy, double radius) {
  SetLeftOutPoint(entry, cx, cy);
  entry.hasRadius = true;
  entry.radius = radius;
}

std::size_t DescribeLeftOut(const LeftOutEntry& entry, char* text, std::size_t capacity) {
  if (capacity == 0) return 0;
  TextSink out{text, capacity, 0};
  text[0] = '\0';
  if (entry.cell != 0) out.Add("cell %d: ", entry.cell);
  out.Add("%s", entry.kind);
  if (entry.block[0] != '\0') out.Add(" of block %s", entry.block);
  AddPoints(out, entry);
  out.Add(": ");
  AddReason(out, entry);
  return out.length;
}

std::size_t DescribeLeftOutReason(const LeftOutEntry& entry, char* text, std::size_t capacity) {
  if (capacity == 0) return 0;
  TextSink out{text, capacity, 0};
  text[0] = '\0';
  AddReason(out, entry);
  return out.length;
}

}  // namespace korvex
