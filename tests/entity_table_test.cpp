#include "sheet/entity_table.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace korvex {
namespace {

using test::KorvexTest;

class EntityTableTest : public KorvexTest {
 protected:
  void SetUp() override {
    KorvexTest::SetUp();
    ClearRecords();
    ResetShapeTables();
  }

  bool AdmitLineIn(std::int16_t n) {
    StartRecord(n, kKindLine, 0, 0);
    return AdmitRecord(n);
  }

  // Admits records until the total is `total`, with no question asked on the way.
  void FillTo(int total) {
    while (Entities().total < total) ASSERT_TRUE(AdmitLineIn(5));
  }
};

TEST_F(EntityTableTest, KeysOrderRecordsByShapeThenReadingOrder) {
  AdmitLineIn(7);
  AdmitLineIn(3);
  AdmitLineIn(7);
  const EntityTable& table = Entities();
  EXPECT_EQ(table.keys[0], 700000);
  EXPECT_EQ(table.keys[1], 300001);
  EXPECT_EQ(table.keys[2], 700002);
  EXPECT_EQ(table.shapeEntityCount[7], 2);
  EXPECT_EQ(table.shapeEntityCount[3], 1);
  SortEntityKeys();
  EXPECT_EQ(table.keys[0] % kKeyShapeFactor, 1);
  EXPECT_EQ(table.keys[1] % kKeyShapeFactor, 0);
  EXPECT_EQ(table.keys[2] % kKeyShapeFactor, 2);
}

TEST_F(EntityTableTest, WarningStartsAfterThe99000thAdmission) {
  FillTo(kRecordWarningTotal - 1);
  AdmitLineIn(5);  // the 99000th
  EXPECT_TRUE(frontend_.messages.empty());
  EXPECT_TRUE(AdmitLineIn(5));  // the 99001st, answered No
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageText(0),
            "Warning - Number of drawing entities 99001 approaching maximum of 100000!\n"
            "Program will stop if limit is exceeded!\n"
            "Reply YES to quit the program now");
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageYesNoWarning);
  AdmitLineIn(5);
  EXPECT_EQ(frontend_.messages.size(), 2u);
  EXPECT_EQ(Entities().total, kRecordWarningTotal + 2);
}

TEST_F(EntityTableTest, AnsweringYesStopsTheRun) {
  FillTo(kRecordWarningTotal);
  frontend_.answers = {platform::kAnswerYes};
  EXPECT_FALSE(AdmitLineIn(5));
  EXPECT_TRUE(Entities().stopped);
  EXPECT_NE(frontend_.MessageText(0).find("approaching maximum of 100000"), std::string::npos);
  // Nothing more is admitted, and nothing more is asked.
  EXPECT_FALSE(AdmitLineIn(5));
  EXPECT_EQ(Entities().total, kRecordWarningTotal + 1);
  EXPECT_EQ(frontend_.messages.size(), 1u);
}

TEST_F(EntityTableTest, The99999thAdmissionEndsTheRunEvenAfterNo) {
  FillTo(kRecordStopTotal - 1);
  frontend_.messages.clear();
  EXPECT_TRUE(AdmitLineIn(9));  // the 99998th: warned, answered No, goes on
  EXPECT_EQ(frontend_.messages.size(), 1u);
  EXPECT_FALSE(AdmitLineIn(9));
  EXPECT_TRUE(Entities().stopped);
  EXPECT_EQ(frontend_.MessageText(2),
            "Maximum number of shape entities exceeded!\nExiting application!");
}

TEST_F(EntityTableTest, ResetPutsEveryTableBackToItsStartValues) {
  StartRecord(4, kKindText, 12, 0);
  AdmitRecord(4);
  SetShapeOrigin(4, 10, 20);
  SetShapeName(4, "NAME", 4);
  EXPECT_TRUE(Entities().textCaptured);
  ClearRecords();
  ResetShapeTables();
  const EntityTable& table = Entities();
  EXPECT_EQ(table.total, 0);
  EXPECT_EQ(table.records[0].startX, 0);
  EXPECT_EQ(table.records[0].shapeNumber, 0);
  EXPECT_EQ(table.shapeEntityCount[4], 0);
  EXPECT_EQ(table.shapeOriginX[4], kNoOrigin);
  EXPECT_EQ(table.shapeOriginY[4], kNoOrigin);
  EXPECT_STREQ(table.shapeNames[4], "");
  EXPECT_FALSE(table.textCaptured);
  EXPECT_FALSE(table.stopped);
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
