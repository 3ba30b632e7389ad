// A new shape sheet drawing: the template's text with entities added at the end of its
// ENTITIES section, before the stop word, so that the result still reads as a drawing made
// from the template (its marker pair and everything the reader expects stay where they
// were). Entities are written group by group, in the template's own line ends. One drawing
// at a time.
#pragma once

#include <cstdio>

namespace korvex {

// Copies the template (open for reading, binary mode) to the output up to the "  0" that
// comes before the first VIEWPORT, DESCRIPTION or ENDSEC of its ENTITIES section. False
// when the template has no such place (nothing more is to be written then).
bool StartSheetDrawing(std::FILE* templateFile, std::FILE* output);

// Copies the rest of the template; false when the output or the template failed.
bool FinishSheetDrawing();

// One group: the code right-aligned in three columns, the value on the next line.
void SheetGroup(int code, const char* value);
// Coordinates, radii, angles and bulges: whole numbers as "135.0", others with ten
// decimals at most, never in exponent notation.
void SheetNumberGroup(int code, double value);
// Flags and colours, as CAD programs write them ("     1").
void SheetIntegerGroup(int code, int value);

// Entities on a layer, with a colour number when colour is not 0 (else by layer).
void SheetLine(const char* layer, double x1, double y1, double x2, double y2, int colour = 0);
void SheetCircle(const char* layer, double cx, double cy, double radius);
// Counter-clockwise from the start angle to the end angle, degrees.
void SheetArc(const char* layer, double cx, double cy, double radius, double startDegrees,
              double endDegrees);
void SheetText(const char* layer, double x, double y, double height, const char* value,
               int colour = 0);
void SheetPoint(const char* layer, double x, double y, int colour = 0);
// A two-dimensional POLYLINE as R12 drawings hold it: its VERTEX entities, each with the
// bulge of the segment that starts there, then SEQEND.
void StartSheetPolyline(const char* layer, bool closed);
void SheetVertex(const char* layer, double x, double y, double bulge);
void FinishSheetPolyline(const char* layer);

}  // namespace korvex
