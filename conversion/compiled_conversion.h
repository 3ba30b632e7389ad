// A drawing's shapes written as a compiled shape file (.shx), which CAD programs load,
// without the CAD program's compiler: the .shp is written as ever, then read back, checked
// and compiled. For every front end that offers a .shx target.
#pragma once

#include <filesystem>

#include "platform/outcome.h"

namespace korvex {

// Whether the path names a compiled shape file: its extension is .shx, in any case.
bool IsCompiledShapePath(const std::filesystem::path& path);

// Compiles a shape source file into the target, whole or not at all. Refused, after a
// message naming the target and what the compiler would refuse, when the file cannot be
// read, holds a problem the compiler refuses, or the target cannot be written. When done,
// *shapeCount (when given) is the number of shapes compiled.
Outcome CompileShapeFile(const std::filesystem::path& shapeFile,
                         const std::filesystem::path& shxFile, int* shapeCount = nullptr);

// Converts the drawing and compiles its shapes into shxFile. The .shp goes to keptShapeFile
// when one is named, and otherwise under a temporary name beside shxFile, removed
// afterwards. As ConvertDrawing (ConvertFontDrawing with a font name), then as
// CompileShapeFile.
Outcome ConvertDrawingToShx(const std::filesystem::path& inputPath,
                            const std::filesystem::path& shxFile,
                            const std::filesystem::path& keptShapeFile, bool explain,
                            int* shapeCount = nullptr, const char* fontName = nullptr);

}  // namespace korvex
