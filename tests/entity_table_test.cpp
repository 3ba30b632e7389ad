#include "core/entity_table.h"

#include <gtest/gtest.h>

#include "shape/shp_writer.h"
#include "test_support.h"

namespace korvex {
namespace {

using testing::KorvexTest;

class EntityTableTest : public KorvexTest {
 protected:
  void AdmitLineIn(std::int16_t n) {
    DrawingEntityRecord& record = NextRecord();
    record.shapeNumber = n;
    record.kind = kKindLine;
    AdmitRecord(n);
  }
};

TEST_F(EntityTableTest, KeysOrderRecordsByShapeThenReadingOrder) {
  AdmitLineIn(7);
  AdmitLineIn(3);
  AdmitLineIn(7);
  EXPECT_EQ(entityKeys[0], 700000);
  EXPECT_EQ(entityKeys[1], 300001);
  EXPECT_EQ(entityKeys[2], 700002);
  EXPECT_EQ(shapeEntityCount[7], 2);
  EXPECT_EQ(shapeEntityCount[3], 1);
  SortEntityKeys();
  EXPECT_EQ(entityKeys[0] % kKeyShapeFactor, 1);
  EXPECT_EQ(entityKeys[1] % kKeyShapeFactor, 0);
  EXPECT_EQ(entityKeys[2] % kKeyShapeFactor, 2);
}

TEST_F(EntityTableTest, WarningStartsAfterThe99000thAdmission) {
  entityTotal = kRecordWarningTotal - 1;
  AdmitLineIn(5);  // the 99000th
  EXPECT_TRUE(frontend_.messages.empty());
  AdmitLineIn(5);  // the 99001st, answered No
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.messages[0].text,
            "Warning - Number of drawing entities 99001 approaching maximum of 100000!\n"
            "Program will stop if limit is exceeded!\n"
            "Reply YES to quit the program now");
  EXPECT_EQ(frontend_.messages[0].flags, platform::kMessageYesNoWarning);
  AdmitLineIn(5);
  EXPECT_EQ(frontend_.messages.size(), 2u);
  EXPECT_EQ(entityTotal, kRecordWarningTotal + 2);
}

TEST_F(EntityTableTest, AnsweringYesStopsTheRun) {
  entityTotal = kRecordWarningTotal;
  frontend_.answers = {platform::kAnswerYes};
  frontend_.echoToStderr = true;
  EXPECT_EXIT(AdmitLineIn(5), ::testing::ExitedWithCode(platform::kExitStopped),
              "approaching maximum of 100000");
}

TEST_F(EntityTableTest, The99999thAdmissionEndsTheRunEvenAfterNo) {
  entityTotal = kRecordStopTotal - 1;
  AdmitLineIn(9);  // the 99998th: warned, answered No, goes on
  EXPECT_EQ(frontend_.messages.size(), 1u);
  frontend_.echoToStderr = true;
  EXPECT_EXIT(AdmitLineIn(9), ::testing::ExitedWithCode(platform::kExitStopped),
              "Maximum number of shape entities exceeded!\nExiting application!");
}

TEST_F(EntityTableTest, ResetPutsEveryTableBackToItsStartValues) {
  AdmitLineIn(4);
  entityRecords[0].startX = 12;
  shapeOriginX[4] = 10;
  shapeOriginY[4] = 20;
  CopyText(shapeNames[4], "NAME", 4);
  textCaptured = true;
  ClearRecords();
  ResetShapeTables();
  EXPECT_EQ(entityRecords[0].startX, 0);
  EXPECT_EQ(entityRecords[0].shapeNumber, 0);
  EXPECT_EQ(shapeEntityCount[4], 0);
  EXPECT_EQ(shapeOriginX[4], kNoOrigin);
  EXPECT_EQ(shapeOriginY[4], kNoOrigin);
  EXPECT_STREQ(shapeNames[4], "");
}

TEST(CopyTextTest, KeepsAtMostThirtyCharacters) {
  char text[kTextCapacity];
  CopyText(text, "0123456789012345678901234567890123456789", 40);
  EXPECT_STREQ(text, "012345678901234567890123456789");
  CopyText(text, "abc", 3);
  EXPECT_STREQ(text, "abc");
}

}  // namespace
}  // namespace korvex
