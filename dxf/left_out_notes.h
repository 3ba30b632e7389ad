// Why the reader leaves an entity out, worked out where it does so and noted in the record
// of what a conversion left out. Called only for entities that are dropped (or cut), so
// reading a drawing that fits the sheet costs nothing more.
#pragma once

#include <cstdint>

#include "dxf/arc_geometry.h"
#include "sheet/left_out_table.h"

namespace korvex {

// The blocks the entities now being placed come from, outermost first ("PANEL > ARROW");
// empty (nullptr) while the ENTITIES section's own are. Every note made meanwhile carries it.
void SetNotedBlocks(const char* chain);

// An entry of the kind, for the caller to fill and note, carrying the blocks it comes from.
LeftOutEntry StartNote(const char* kind, std::int32_t line, LeftOutReason reason);

// A straight piece between two whole-unit points that LineCell gave no shape.
void NoteDroppedSegment(const char* kind, std::int32_t line, std::int16_t x1, std::int16_t y1,
                        std::int16_t x2, std::int16_t y2);

// An arc between two whole-unit points, with its extent, that ArcCell gave no shape.
void NoteDroppedArc(const char* kind, std::int32_t line, std::int16_t sx, std::int16_t sy,
                    std::int16_t ex, std::int16_t ey, const ArcBox& box, double cx, double cy,
                    double r);

// A fitted curve (an ellipse, a spline), with its start point in whole units and its extent,
// that no shape's box holds; `keyPoint` shows where it lies.
void NoteDroppedCurve(const char* kind, std::int32_t line, std::int16_t sx, std::int16_t sy,
                      const ArcBox& box, PlanePoint keyPoint);

// A circle (centre and radius truncated to whole units) that CircleCell gave no shape.
void NoteDroppedCircle(const char* kind, std::int32_t line, std::int16_t cx, std::int16_t cy,
                       std::int16_t r);

// An entity left out for a reason of its own, at one point (none when no point was read).
void NoteDroppedAt(const char* kind, std::int32_t line, LeftOutReason reason, double x, double y,
                   std::int16_t cell = 0);
void NoteDropped(const char* kind, std::int32_t line, LeftOutReason reason);

}  // namespace korvex
