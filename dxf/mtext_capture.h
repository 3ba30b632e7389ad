// MTEXT entities: the plain text of a one-line MTEXT, its formatting codes removed, placed by
// the TEXT rules (a name in the name band, strokes inside a box). A multi-line MTEXT is left
// out and noted: a shape's text is one line.
#pragma once

#include <cstdint>

#include "dxf/arc_geometry.h"
#include "sheet/entity_table.h"

namespace korvex {

// The most characters of one MTEXT's text (its groups 3 and 1) kept for taking the plain
// text from; a text longer than that is cut long after the 30 characters a shape keeps.
inline constexpr int kMaxMtextLength = 2048;

// What an MTEXT's groups give, its text already plain. `point` is where the text's first
// line stands on its base line, as a TEXT's insertion point does: the MTEXT's own insertion
// point is a corner or middle of its box (group 71), the top left by default.
struct MtextGroups {
  PlanePoint point;
  double height;
  char text[kTextCapacity];
  bool cut;        // the plain text was longer than a record keeps
  int lines;       // lines of the plain text that hold something
  bool onIdLayer;  // cell numbers and captions of the template
};

void ReadMtextGroups(MtextGroups& mtext);

// The plain text of an MTEXT's text: paragraph breaks (\P) end lines; font, height, width,
// colour, spacing and alignment codes (\f...; \H...; and the like), underline and overline
// switches, and the braces that group formatting are removed; \~ is a space, \\ \{ \} the
// character itself, a stack (\S1/2;) its two parts with a slash, \U+00B0 and the like the
// font's symbols. Writes at most capacity - 1 characters and a NUL; returns the length of the
// whole plain text (which may be longer), `lines` the lines that hold something.
int PlainMtextText(const char* raw, int length, char* plain, int capacity, int& lines);

void CaptureMtext();

}  // namespace korvex
