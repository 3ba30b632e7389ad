// The shape source checker: what the CAD program's compiler (or its first drawing of the
// shape) would refuse in a file the reader has taken, so that a user hears of it before
// compiling.
#pragma once

#include "shape_files/shp_source.h"
#include "shape_files/source_problem.h"

namespace korvex {

// Adds the problems of every shape to the list: a byte count other than the header's, more
// than 2000 bytes, a byte out of the range of its place, an unknown code, no final 0 or
// bytes after it, a subshape the file does not define, a position stack pushed past four or
// popped empty, a shape number defined twice. Shapes the reader found malformed are checked
// only for their number. Returns the number of problems found (kept or dropped).
int CheckShapeSource(const ShapeSource& source, SourceProblemList& problems);

}  // namespace korvex
