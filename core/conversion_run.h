// One conversion: a working drawing in, a shape source file out.
#pragma once

#include <filesystem>

namespace korvex {

// Resets the tables, reads the drawing and writes the .shp file. True when the file was
// written; false after at least one message. The output appears whole or not at all: it
// is written beside the target under a temporary name and renamed into place only when
// complete, so a run that fails or stops part-way leaves an existing file untouched.
bool ConvertDrawing(const std::filesystem::path& inputPath,
                    const std::filesystem::path& outputPath);

// Resets every table of the conversion path to its start values.
void ResetConversionTables();

}  // namespace korvex
