#include "sheet/entity_table.h"

#include <algorithm>
#include <cstring>

#include "platform/message_text.h"
#include "platform/platform.h"

namespace korvex {
namespace {

EntityTable table;

}  // namespace

const EntityTable& Entities() {
  return table;
}

void ClearRecords() {
  std::memset(table.records, 0, sizeof(DrawingEntityRecord) * static_cast<unsigned>(table.total));
  table.total = 0;
}

void ResetShapeTables() {
  for (int n = 1; n <= kMaxShapeNumber; ++n) {
    table.shapeEntityCount[n] = 0;
    table.shapeOriginX[n] = kNoOrigin;
    table.shapeOriginY[n] = kNoOrigin;
    table.shapeNames[n][0] = '\0';
    table.shapeScales[n] = ShapeScale{0, 1};
    table.shapeAdvanceX[n] = kNoOrigin;
    table.shapeAdvanceY[n] = kNoOrigin;
  }
  table.fontSettings = kDefaultFontSettings;
  table.textCaptured = false;
  table.stopped = false;
}

DrawingEntityRecord& StartRecord(std::int16_t shapeNumber, EntityKind kind, std::int16_t startX,
                                 std::int16_t startY, std::int16_t endX, std::int16_t endY) {
  DrawingEntityRecord& record = table.records[table.total];
  record.shapeNumber = shapeNumber;
  record.kind = kind;
  record.clockwise = false;
  record.startX = startX;
  record.startY = startY;
  record.endX = endX;
  record.endY = endY;
  return record;
}

bool AdmitRecord(std::int16_t shapeNumber, std::int32_t line) {
  if (table.stopped) return false;
  if (table.records[table.total].kind == kKindText) table.textCaptured = true;
  table.shapeEntityCount[shapeNumber] += 1;
  table.lines[table.total] = line;
  table.keys[table.total] = shapeNumber * kKeyShapeFactor + table.total;
  table.total += 1;

  if (table.total > kRecordWarningTotal) {
    static MessageText message;
    FormatMessage(message,
                  "Warning - Number of drawing entities %d approaching maximum of 100000!\n",
                  static_cast<int>(table.total));
    AppendMessage(message, "Program will stop if limit is exceeded!\n");
    AppendMessage(message, "Reply YES to quit the program now");
    if (ShowMessageText(message, platform::kMessageYesNoWarning) == platform::kAnswerYes) {
      table.stopped = true;
      return false;
    }
  }
  if (table.total > kRecordStopTotal) {
    platform::ShowMessage("Maximum number of shape entities exceeded!\nExiting application!",
                          platform::kMessageOk);
    table.stopped = true;
    return false;
  }
  return true;
}

void SetShapeOrigin(int n, std::int32_t x, std::int32_t y) {
  table.shapeOriginX[n] = x;
  table.shapeOriginY[n] = y;
}

void SetShapeName(int n, const char* name, int length) {
  CopyText(table.shapeNames[n], name, length);
}

void SetShapeScale(int n, const ShapeScale& scale) {
  table.shapeScales[n] = scale;
}

void SetShapeAdvance(int n, std::int32_t x, std::int32_t y) {
  table.shapeAdvanceX[n] = x;
  table.shapeAdvanceY[n] = y;
}

void SetFontSettings(const FontSettings& settings) {
  table.fontSettings = settings;
}

// Each key is shapeNumber * 100000 + its own index, and the keys stand in index order, so
// distributing them by shape number, keeping their order, sorts them in one linear pass.
void SortEntityKeys() {
  static std::int32_t shapeStart[kMaxShapeNumber + 2];
  static std::int32_t sorted[kMaxRecords];
  std::fill(shapeStart, shapeStart + kMaxShapeNumber + 2, 0);
  const std::int32_t total = table.total;
  std::int32_t* const keys = table.keys;
  for (std::int32_t i = 0; i < total; ++i) ++shapeStart[keys[i] / kKeyShapeFactor + 1];
  for (int n = 1; n <= kMaxShapeNumber + 1; ++n) shapeStart[n] += shapeStart[n - 1];
  for (std::int32_t i = 0; i < total; ++i) {
    sorted[shapeStart[keys[i] / kKeyShapeFactor]++] = keys[i];
  }
  std::copy(sorted, sorted + total, keys);
}

void CopyText(char (&target)[kTextCapacity], const char* source, int length) {
  const int count = length < kMaxTextLength ? length : kMaxTextLength;
  std::memcpy(target, source, static_cast<unsigned>(count));
  target[count] = '\0';
}

}  // namespace korvex
