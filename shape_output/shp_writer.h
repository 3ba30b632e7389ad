// The SHP file writer: the shape source file that the CAD program compiles. One shape
// definition per shape cell that holds something, in ascending shape number: a header
// line "*number,bytes,NAME" and body lines cut after a comma from the 62nd character on,
// every line ending in CR LF, and the byte 0x1A at the very end.
#pragma once

#include <cstdio>

#include "platform/outcome.h"
#include "shape_files/shp_layout.h"

namespace korvex {

inline constexpr const char* kGlyphFileName = "SHPTXT.SHP";

// Writes every shape of the entity table to the open output (binary mode). Refused, after
// a message, when the program's folder cannot be found; refused without one when the
// output could not be written (the stream's error flag tells). Stopped, after a message,
// when the glyph file is missing or unreadable or a shape reached the byte limit.
// With a font name the file is a text font: first its description (shape 0: the name, and
// above, below and modes from the entity table's font settings), then the glyphs, with a
// line feed (10) and a space (32) where the sheet leaves them empty.
Outcome WriteShapes(std::FILE* output, const char* fontName = nullptr);

}  // namespace korvex
