// Compiled shape files (.shx), as CAD programs load them. Three layouts are read into the
// same tables as shape source text, each bound checked before it is read: shapes
// ("AutoCAD-86 shapes 1.0", or 1.1 with a font description), Unicode fonts
// ("AutoCAD-86 unifont 1.0") and big fonts ("AutoCAD-86 bigfont 1.0"). Each is written
// from a source the checker found clean.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "shape_files/shp_source.h"
#include "shape_files/source_problem.h"

namespace korvex {

enum class ShapeFileForm : std::uint8_t {
  kSource,    // shape source text (.shp)
  kShapes10,  // compiled shapes without a font description
  kShapes11,  // compiled shapes with shape 0, a font description
  kUnifont,
  kBigfont,
};

// How the form is named to the user: "AutoCAD-86 unifont 1.0", "shape source text".
const char* ShapeFileFormName(ShapeFileForm form);

// Each compiled layout opens with its signature, CR LF and the byte 0x1A.
inline constexpr std::string_view kShxSignatureStart = "AutoCAD-86 ";
// A record holds its name, a NUL and the shape bytes in a 16-bit length.
inline constexpr int kShxRecordLengthLimit = 65535;

// Whether the bytes open as a compiled shape file of any layout.
bool IsCompiledShapeFile(std::string_view bytes);

// Reads a compiled file into the tables (emptied first): names, shape numbers and bytes,
// the signed operands (vectors, bulges, octant bytes) given back their signs. False, with a
// problem of line 0 saying what is wrong where, when the layout is unknown, cut short or
// points past the file's end; nothing past the bytes is ever read.
bool ReadShx(std::string_view bytes, ShapeSource& source, SourceProblemList& problems,
             ShapeFileForm& form);

// Reads a shape file of either kind, by what it holds rather than by its name. False, with
// a problem of line 0, when it cannot be read at all.
bool ReadShapeFile(const std::filesystem::path& path, ShapeSource& source,
                   SourceProblemList& problems, ShapeFileForm& form);

// Writes the compiled form of the tables to the open output (binary mode): the unifont
// layout for a *UNIFONT source, the bigfont layout for a *BIGFONT one, the shapes layout
// otherwise; the shapes in ascending order. The source must be one the checker finds no
// refusals in. False when the output failed.
bool WriteShx(const ShapeSource& source, std::FILE* output);

}  // namespace korvex
