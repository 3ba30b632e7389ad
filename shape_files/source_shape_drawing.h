// Draws one shape of a shape source file, its subshapes (code 7) taken from the same file.
#pragma once

#include "shape_files/shape_interpreter.h"
#include "shape_files/shp_source.h"

namespace korvex {

// Drawing options for the shapes of the file: subshapes are looked up in it, with the
// file's own width of subshape numbers. The caller adds the sinks.
ShapeDrawingOptions SourceDrawingOptions(const ShapeSource& source);

// Draws the shape from the origin with its vector lengths multiplied by scale, horizontally
// (code 14's flagged commands skipped), each pen-down segment sent to the sink.
DrawResult DrawSourceShape(const ShapeSource& source, const SourceShape& shape, double originX,
                           double originY, double scale, StrokeSink sink, void* sinkContext);

}  // namespace korvex
