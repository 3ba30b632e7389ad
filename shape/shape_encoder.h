// The shape byte encoder: turns the captured entities of one shape cell into the
// definition bytes of one shape definition, written as shape source text (decimal
// bytes and parenthesised vector groups, ending in 0), with its byte count and name.
#pragma once

#include <cstdint>

namespace korvex {

// AutoCAD refuses a shape definition of more than 2000 bytes. The check runs before each
// entity, so it stops short of the limit by the most one entity can add.
inline constexpr int kShapeByteLimit = 2000;
inline constexpr int kShapeByteWarning = 1800;
inline constexpr int kShapeByteStop = 1990;
inline constexpr int kShapeTextCapacity = 20000;
// Every shape opens by dividing its vector lengths by this: a 100-unit box becomes one unit.
inline constexpr int kShapeScale = 100;

struct EncodedShape {
  char name[32];
  std::int32_t byteCount;
  const char* text;  // NUL-terminated, valid until the next shape is encoded
  std::int32_t length;
};

// Sets the key cursor before the first sorted key.
void StartEncoderRun();

// Encodes shape n (1 to 255); false when the shape has no entities. Near the byte limit
// it asks whether to stop; past it, it ends the program.
bool EncodeShape(int n, EncodedShape& shape);

}  // namespace korvex
