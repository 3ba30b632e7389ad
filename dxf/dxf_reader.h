// The DXF entity reader: captures the usable entities of a working drawing into the
// drawing entity table, each tagged with the shape cell that holds it.
#pragma once

#include <filesystem>

namespace korvex {

// The template marker pair: two texts in the name band above cell 256 by which a drawing
// made from the shape sheet template is recognised.
inline constexpr char kTemplateMarkerFirst[] = "KORVEX SHAPE SHEET";
inline constexpr char kTemplateMarkerSecond[] = "TEMPLATE REV 1";

// Set while an entity's group list is read when the entity is to be dropped at its end.
extern bool skipMark;

// Reads the next line of an entity's group list: false when the list has ended (at the
// "  0" line that starts the next entity, or at the end of the file). Handles ("  5") are
// passed over with their values.
bool NextEntityGroup();

// Reads the drawing; false, after a message, when it cannot be opened or read, lacks the
// template marker pair, or holds nothing usable.
bool ReadDrawing(const std::filesystem::path& inputPath);

}  // namespace korvex
