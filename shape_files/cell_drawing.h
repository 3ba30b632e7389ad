// One shape of a shape file drawn in its cell of a sheet drawing, as a user would draw it:
// connected strokes as polylines (arcs as bulges), lone lines, arcs and circles as LINE, ARC
// and CIRCLE, at a scale that fits the box. Everything it writes is what the reader takes
// back into records that the encoder turns into the same strokes: the same bytes for a
// shape drawn at the sheet's scale in whole units (as this program writes them), and
// strokes within a drawing unit of the shape's own for any other.
#pragma once

#include <cstdint>

#include "shape_files/shp_source.h"
#include "sheet/shape_scale.h"

namespace korvex {

// A shape's drawing is kept as at most this many pieces (lines, arcs, circles); one that
// needs more could not come back within a shape's 2000 bytes, each piece taking 3 or more.
inline constexpr int kMaxCellPieces = 1000;
// A polyline is cut after so many vertices; the reader takes 500.
inline constexpr int kMaxSheetPolylineVertices = 400;

// How a shape lies in its cell, in whole drawing units from the box's lower-left corner.
struct CellPlan {
  // Why the shape cannot be drawn in its cell (nullptr when it can).
  const char* leftOut;
  // The problem its own drawing stops at, when it does: drawn up to there.
  const char* stopped;
  ShapeScale scale;  // drawing units per shape unit
  bool writeScale;   // the scale differs from the default of the sheet's kind
  int originX;
  int originY;
  bool writeOrigin;  // the insertion point is not where the reader puts it without a POINT
  bool writeAdvance;
  int advanceX;  // where the pen ends: a text font's next character
  int advanceY;
  int bytes;    // the bytes converting the cell will give
  int records;  // the drawing entity records reading the cell will make
};

// Plans the shape's cell. A text the shape holds as this program writes texts (see
// shape_texts.h, with the glyphs given there) is drawn as a TEXT, and comes back as the same
// bytes; other texts are drawn in strokes. A font's glyphs (font) keep their end point (an advance
// POINT) and their insertion point on the font sheet's baseline, and are tried at fontScale first
// (for the others the sheet's own scale comes first, then the largest that fits). Left out when no
// scale fits or the cell would come back with more than a shape's 2000 bytes.
void PlanCell(const ShapeSource& source, const SourceShape& shape, bool font,
              const ShapeScale& fontScale, CellPlan& plan);

// Writes the entities of the shape planned last into cell n of the sheet drawing being
// written: its name (when it has one of its own), its scale, its insertion and advance
// POINTs, and its drawing.
void WriteCellEntities(int n, const CellPlan& plan, const char* name);

}  // namespace korvex
