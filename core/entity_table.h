// The drawing entity table: the one store between reading a drawing and writing its
// shapes. The reader fills records and admits them; the writer walks them shape by
// shape through the sorted keys.
#pragma once

#include <cstdint>

#include "core/cell_grid.h"

namespace korvex {

inline constexpr int kMaxRecords = 100000;
// Admissions past this total raise the warning that lets the user stop.
inline constexpr int kRecordWarningTotal = 99000;
// The admission that takes the total past this ends the program.
inline constexpr int kRecordStopTotal = 99998;
inline constexpr int kKeyShapeFactor = 100000;
inline constexpr int kNoOrigin = 9999;
inline constexpr int kTextCapacity = 32;  // 30 characters, NUL, and one spare
inline constexpr int kMaxTextLength = 30;

enum EntityKind : std::uint8_t {
  kKindLine = 1,
  kKindArc = 2,
  kKindCircle = 3,
  kKindText = 4,
};

struct DrawingEntityRecord {
  std::int16_t shapeNumber;
  std::uint8_t kind;
  std::int16_t startX;
  std::int16_t startY;
  std::int16_t endX;
  std::int16_t endY;
  double centreX;
  double centreY;
  double startAngle;
  double endAngle;
  double radius;
  char text[kTextCapacity];
  std::int16_t textHeight;
};

extern DrawingEntityRecord entityRecords[kMaxRecords];
// Records admitted so far; also the slot of the next record.
extern std::int32_t entityTotal;
// key = shapeNumber * 100000 + record index; only the first entityTotal are meaningful.
extern std::int32_t entityKeys[kMaxRecords];
// Per shape, index 1 to 255.
extern std::int32_t shapeEntityCount[kMaxShapeNumber + 1];
extern std::int32_t shapeOriginX[kMaxShapeNumber + 1];
extern std::int32_t shapeOriginY[kMaxShapeNumber + 1];
extern char shapeNames[kMaxShapeNumber + 1][kTextCapacity];
extern bool textCaptured;

// Zeroes the records that the previous run filled.
void ClearRecords();

// Puts counts, origin points and names back to their start values.
void ResetShapeTables();

// The record in the next slot, to be filled and then admitted.
DrawingEntityRecord& NextRecord();

// The next record with its shape, kind and points set; the caller fills the rest of its
// kind and admits it.
DrawingEntityRecord& StartRecord(std::int16_t shapeNumber, EntityKind kind, std::int16_t startX,
                                 std::int16_t startY, std::int16_t endX = 0, std::int16_t endY = 0);

// Counts and keys the record just filled. Past the warning total it asks whether to stop;
// past the stop total it ends the program.
void AdmitRecord(std::int16_t shapeNumber);

// Copies at most kMaxTextLength characters and terminates them.
void CopyText(char (&target)[kTextCapacity], const char* source, int length);

}  // namespace korvex
