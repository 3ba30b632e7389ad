// The limits of the shape format itself, which every reader and writer of shape files
// shares: what the CAD program's compiler takes and what its drawing of a shape allows.
#pragma once

namespace korvex {

// The compiler refuses a shape definition of more than this many bytes.
inline constexpr int kShapeByteLimit = 2000;
// Code 5 pushes the position onto a stack of this depth.
inline constexpr int kMaxPositionStack = 4;

}  // namespace korvex
