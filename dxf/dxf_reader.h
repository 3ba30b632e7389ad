// The DXF entity reader: captures the usable entities of a working drawing into the
// drawing entity table, each tagged with the shape cell that holds it.
#pragma once

#include <cstdint>
#include <filesystem>

#include "platform/outcome.h"
#include "sheet/entity_table.h"

namespace korvex {

// Reads the next line of an entity's group list: false when the list has ended (at the
// "  0" line that starts the next entity, or at the end of the file). Handles ("  5") are
// passed over with their values.
bool NextEntityGroup();

// The values a LINE, TEXT or POINT group list fills. The ENTITIES section shares one set
// among all its entities, never reset between them, so that a group an entity lacks keeps
// the value of the last entity that had it; an entity of a block gets a fresh set.
struct ValueHolders {
  double x;  // also a LINE's start x
  double y;
  double endX;
  double endY;
  double textHeight;
  char text[kTextCapacity];
  bool textCut;  // the text held was longer than a record keeps
};

// The sheet's own layers a TEXT may stand on: drawn by the user, or a setting (a cell's
// scale, a font's description) that is read, not drawn.
enum class TextLayer : std::uint8_t { kDrawn, kScale, kFont };

// Each reads the entity's group list, the name line just read, into the holders. A LINE is
// abandoned at its extrusion group (false; the rest of its lines are the scan's), a TEXT on
// the layer ID at its layer (false). `onGrid`: the LINE lies on the template's grid layer.
// `flags`, when given, takes the group 70 (an attribute's flags); `layer`, when given, the
// TEXT's setting layer; `onAdvance`, when given, whether the POINT is an advance point.
bool ReadLineGroups(ValueHolders& values, bool& onGrid);
bool ReadTextGroups(ValueHolders& values, int* flags = nullptr, TextLayer* layer = nullptr);
void ReadPointGroups(ValueHolders& values, bool* onAdvance = nullptr);

// The placement of a LINE, TEXT or POINT given by its numbers, whether drawn in the ENTITIES
// section or placed from a block: the cell it belongs to, and its record (or the shape's name
// or origin point), or a note of why it is left out. `kind` and `line` (the DXF line where it
// starts, or where the INSERT that places it does) are for that note.
void PlaceLine(const char* kind, std::int32_t line, double x1, double y1, double x2, double y2,
               bool onGrid = false);
void PlaceText(const char* kind, std::int32_t line, double x, double y, double height,
               const char* text, bool cut);
// An `advance` point sets where the shape leaves the pen, not its origin.
void PlacePoint(const char* kind, std::int32_t line, double x, double y, bool advance = false);

// Reads the drawing into the entity table. Refused, after a message, when it cannot be
// opened or read, lacks the template marker pair, or holds nothing usable; stopped when
// the record limit stopped the reading (its message shown).
Outcome ReadDrawing(const std::filesystem::path& inputPath);

}  // namespace korvex
