#include "shape_files/source_shape_drawing.h"

namespace korvex {
namespace {

bool FindSubshape(const void* context, int number, const std::int16_t** bytes, int* count) {
  const ShapeSource& source = *static_cast<const ShapeSource*>(context);
  // Shape 0 describes the font; it is no drawing.
  const SourceShape* shape = number > 0 ? source.Find(number) : nullptr;
  if (shape == nullptr) return false;
  *bytes = source.BytesOf(*shape);
  *count = shape->byteCount;
  return true;
}

}  // namespace

ShapeDrawingOptions SourceDrawingOptions(const ShapeSource& source) {
  ShapeDrawingOptions options;
  options.subshapes = FindSubshape;
  options.subshapeContext = &source;
  options.wideSubshapeNumbers = source.unifont;
  return options;
}

DrawResult DrawSourceShape(const ShapeSource& source, const SourceShape& shape, double originX,
                           double originY, double scale, StrokeSink sink, void* sinkContext) {
  ShapeDrawingOptions options = SourceDrawingOptions(source);
  options.sink = sink;
  options.sinkContext = sinkContext;
  return DrawShape(source.BytesOf(shape), shape.byteCount, originX, originY, scale, options);
}

}  // namespace korvex
