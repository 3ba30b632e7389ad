// New sheet drawings made from the template: a shape file drawn back on the shape sheet, so
// that its shapes are edited in a CAD program and converted again, and an empty font sheet
// for a new text font. For every front end.
#pragma once

#include <filesystem>

#include "platform/outcome.h"

namespace korvex {

// Draws the shapes of the shape file (.shp or .shx, known by what it holds) on a new drawing
// made from the template, written to sheetFile whole or not at all (an existing file is
// replaced). Shapes it cannot draw (numbered above 255, too large, too many bytes) are
// listed in one message and left out; a text font becomes a font sheet. Refused, after a
// message, when the shape file cannot be read or holds nothing to draw, or the drawing
// cannot be written; stopped when the template is missing. When done, *shapesDrawn (when
// given) is the number of shapes drawn.
Outcome WriteShapeSheet(const std::filesystem::path& shapeFile,
                        const std::filesystem::path& sheetFile, int* shapesDrawn = nullptr);

// Writes a new font sheet: the template with a baseline, a cap line and the character's
// label in every box, and a new font's description. An existing file is replaced only when
// replaceExisting. Refused or stopped, after a message, as WriteShapeSheet.
Outcome WriteFontSheet(const std::filesystem::path& sheetFile, bool replaceExisting);

}  // namespace korvex
