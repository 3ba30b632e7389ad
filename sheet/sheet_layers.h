// The layers of a shape sheet drawing that carry more than shapes: the reader gives each its
// meaning, and the writers of new sheets put their entities there.
#pragma once

namespace korvex {

// What the user draws, and the names and insertion points of the shapes.
inline constexpr char kShapeLayer[] = "SHAPES";
// TEXT entities in a cell that record the scale its drawing has (SCALE p or SCALE p/q).
inline constexpr char kScaleLayer[] = "SCALE";
// A POINT in a cell where the pen is to stand when the shape ends: where a text font's next
// character starts.
inline constexpr char kAdvanceLayer[] = "ADVANCE";
// The font sheet's baselines and cap lines: never converted.
inline constexpr char kGuideLayer[] = "GUIDE";
// The TEXT that holds a text font's description (ABOVE n BELOW n MODES n SPACING n).
inline constexpr char kFontLayer[] = "FONT";
// Cell numbers, captions and the font sheet's character labels: never converted.
inline constexpr char kLabelLayer[] = "ID";

}  // namespace korvex
