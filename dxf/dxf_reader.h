// The DXF entity reader: captures the usable entities of a working drawing into the
// drawing entity table, each tagged with the shape cell that holds it.
#pragma once

#include <filesystem>

#include "platform/outcome.h"

namespace korvex {

// Reads the next line of an entity's group list: false when the list has ended (at the
// "  0" line that starts the next entity, or at the end of the file). Handles ("  5") are
// passed over with their values.
bool NextEntityGroup();

// Reads the drawing into the entity table. Refused, after a message, when it cannot be
// opened or read, lacks the template marker pair, or holds nothing usable; stopped when
// the record limit stopped the reading (its message shown).
Outcome ReadDrawing(const std::filesystem::path& inputPath);

}  // namespace korvex
