// One conversion: a working drawing in, a shape source file out. The top of the library:
// it calls the DXF reader, which fills the tables, and the shape writer, which reads them.
#pragma once

#include <filesystem>

#include "platform/outcome.h"

namespace korvex {

// Resets the tables, reads the drawing and writes the .shp file. Done when the file was
// written; refused or stopped after at least one message. Whatever the drawing holds that
// is left out of the shapes is counted in LeftOut(), and kept there too when `explain`. The output
// appears whole or not at all: it is written beside the target under a temporary name and renamed
// into place only when complete, so a run that fails or stops part-way leaves an existing file
// untouched and no temporary file behind.
Outcome ConvertDrawing(const std::filesystem::path& inputPath,
                       const std::filesystem::path& outputPath, bool explain = false);

// A text font's name is at most this long, of printable characters other than ';' (which
// would start a comment in the source text).
inline constexpr int kMaxFontNameLength = 60;

// As ConvertDrawing, the cells written as a text font called fontName: its description
// first (shape 0), then the glyphs measured from the font sheet's baseline, each ending
// where the next character starts, a line feed and a space where the sheet has none.
// Refused, after a message, when the name cannot be a font's.
Outcome ConvertFontDrawing(const std::filesystem::path& inputPath,
                           const std::filesystem::path& outputPath, const char* fontName,
                           bool explain = false);

// Resets every table of the conversion path to its start values; the record of what is
// left out keeps its entries from now on only when `explain`.
void ResetConversionTables(bool explain = false);

}  // namespace korvex
