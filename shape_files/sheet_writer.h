// The sheet writer: a whole shape file (source or compiled) drawn back as a shape sheet
// drawing, each shape numbered 1 to 255 in its cell (see cell_drawing.h), so that a user
// edits the shapes in a CAD program and converts them back. A text font (a file with a font
// description, shape 0) becomes a font sheet: its description in a TEXT on the FONT layer,
// every glyph on the baseline with its advance POINT, at the scale that puts its capitals
// on the cap line.
#pragma once

#include <cstdio>

#include "shape_files/shp_source.h"

namespace korvex {

// The shapes left out of a sheet, or drawn only up to a problem, listed for the user; past
// the list's end they are counted.
inline constexpr int kMaxSheetNotes = 24;

struct SheetNote {
  int number;
  const char* reason;
  bool drawn;  // drawn up to where its drawing stops
};

struct SheetReport {
  bool font;
  int drawn;             // shapes drawn in their cells (a font's usual line feed and space,
                         // which converting gives back, not among them)
  int leftOut;           // shapes not drawn (numbered above 255 among them)
  int records;           // the drawing entity records reading the sheet will make
  bool verticalLeftOut;  // a font for vertical text too: its vertical parts are not drawn
  SheetNote notes[kMaxSheetNotes];
  int noteCount;
  int notesDropped;
};

// Writes the template (open for reading, binary mode) with the shapes drawn in it to the
// output. With the glyphs texts are drawn as TEXT (see UseGlyphsForTexts). False when the
// template has no ENTITIES section to draw in, or reading or writing failed.
bool WriteSheetDrawing(const ShapeSource& source, const ShapeSource* glyphs,
                       std::FILE* templateFile, std::FILE* output, SheetReport& report);

}  // namespace korvex
