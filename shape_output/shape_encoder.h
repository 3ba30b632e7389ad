// The shape byte encoder: turns the captured entities of one shape cell into the
// definition bytes of one shape definition, written as shape source text (decimal
// bytes and parenthesised vector groups, ending in 0), with its byte count and name.
#pragma once

#include <cstdint>

#include "shape_files/shape_format.h"

namespace korvex {

// The check against the compiler's limit (kShapeByteLimit) runs before each entity, so it
// stops short of the limit by the most one entity can add.
inline constexpr int kShapeByteWarning = 1800;
inline constexpr int kShapeByteStop = 1990;
inline constexpr int kShapeTextCapacity = 20000;

struct EncodedShape {
  char name[32];
  std::int32_t byteCount;
  const char* text;  // NUL-terminated, valid until the next shape is encoded
  std::int32_t length;
};

// Sets the key cursor before the first sorted key. A text font's run (font) measures its
// glyphs from the font sheet's baseline, in glyph units of one drawing unit, and ends each
// with a pen-up move to where the next character starts.
void StartEncoderRun(bool font = false);

enum class EncodeResult : std::uint8_t {
  kEncoded,  // the shape's text, count and name are in the EncodedShape
  kEmpty,    // the shape has no entities, or none that draws anything
  kStopped,  // stopped at the byte limit (asked and answered Yes, or passed), after a message
};

// Encodes shape n (1 to 255): its vector lengths divided by the scale its cell records
// (the sheet's 100 units a shape unit without one, a font's 1), its entities in reading
// order, and a pen-up move to its advance POINT when it has one. A font's glyph without
// one moves to its right extent plus the font's spacing, on the baseline. Near the byte
// limit it asks whether to stop; past it, it stops.
EncodeResult EncodeShape(int n, EncodedShape& shape);

}  // namespace korvex
