#include "core/entity_table.h"

#include <cstring>

#include "core/message_text.h"
#include "platform/platform.h"

namespace korvex {

DrawingEntityRecord entityRecords[kMaxRecords];
std::int32_t entityTotal = 0;
std::int32_t entityKeys[kMaxRecords];
std::int32_t shapeEntityCount[kMaxShapeNumber + 1];
std::int32_t shapeOriginX[kMaxShapeNumber + 1];
std::int32_t shapeOriginY[kMaxShapeNumber + 1];
char shapeNames[kMaxShapeNumber + 1][kTextCapacity];
bool textCaptured = false;

void ClearRecords() {
  std::memset(entityRecords, 0, sizeof(DrawingEntityRecord) * static_cast<unsigned>(entityTotal));
}

void ResetShapeTables() {
  for (int n = 1; n <= kMaxShapeNumber; ++n) {
    shapeEntityCount[n] = 0;
    shapeOriginX[n] = kNoOrigin;
    shapeOriginY[n] = kNoOrigin;
    shapeNames[n][0] = '\0';
  }
}

DrawingEntityRecord& NextRecord() {
  return entityRecords[entityTotal];
}

DrawingEntityRecord& StartRecord(std::int16_t shapeNumber, EntityKind kind, std::int16_t startX,
                                 std::int16_t startY, std::int16_t endX, std::int16_t endY) {
  DrawingEntityRecord& record = NextRecord();
  record.shapeNumber = shapeNumber;
  record.kind = kind;
  record.startX = startX;
  record.startY = startY;
  record.endX = endX;
  record.endY = endY;
  return record;
}

void AdmitRecord(std::int16_t shapeNumber) {
  shapeEntityCount[shapeNumber] += 1;
  entityKeys[entityTotal] = shapeNumber * kKeyShapeFactor + entityTotal;
  entityTotal += 1;

  if (entityTotal > kRecordWarningTotal) {
    static MessageText message;
    FormatMessage(message,
                  "Warning - Number of drawing entities %d approaching maximum of 100000!\n",
                  static_cast<int>(entityTotal));
    AppendMessage(message, "Program will stop if limit is exceeded!\n");
    AppendMessage(message, "Reply YES to quit the program now");
    if (ShowMessageText(message, platform::kMessageYesNoWarning) == platform::kAnswerYes) {
      platform::EndProcess(platform::kExitStopped);
    }
  }
  if (entityTotal > kRecordStopTotal) {
    platform::ShowMessage("Maximum number of shape entities exceeded!\nExiting application!",
                          platform::kMessageOk);
    platform::EndProcess(platform::kExitStopped);
  }
}

void CopyText(char (&target)[kTextCapacity], const char* source, int length) {
  const int count = length < kMaxTextLength ? length : kMaxTextLength;
  std::memcpy(target, source, static_cast<unsigned>(count));
  target[count] = '\0';
}

}  // namespace korvex
