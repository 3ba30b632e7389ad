// INSERT entities of a user's block, MINSERT arrays among them: the block's entities, read
// from the BLOCKS section into the block table, placed by the insert's point, scale (the same
// or different in x and y), rotation and copies, and inserts within the block to a fixed
// depth, then treated exactly as if drawn there: the same cell rules, records and notes, the
// notes at the INSERT's line and naming the blocks. An arc or circle under a scale that
// differs between x and y becomes an ellipse, and a polyline's arc segment an elliptical arc.
//
// The template's own box block (CELLBOX) and every INSERT on its grid layer are the sheet,
// never shape geometry, and are never noted.
#pragma once

#include <cstdint>

#include "dxf/block_table.h"

namespace korvex {

// The name of the template's box block.
inline constexpr char kCellBoxBlock[] = "CELLBOX";

// Reads an INSERT's group list, the name line just read, into the groups.
void ReadInsertGroups(InsertGroups& insert);

// Starts each drawing's count of what its INSERTs place.
void ResetInserts();

// Reads and places the INSERT whose name line the scan just read. False when it is the
// template's own, whose attributes are the template's too.
bool CaptureInsert();

}  // namespace korvex
