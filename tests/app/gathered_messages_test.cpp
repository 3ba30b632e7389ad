// Messages gathered into one box while a conversion runs: plain messages held in order,
// questions asked at once (after what was held), the front end put back afterwards.
#include "app/gathered_messages.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace korvex::shell {
namespace {

class GatheredMessagesTest : public korvex::test::KorvexTest {};

TEST_F(GatheredMessagesTest, PlainMessagesAreHeldInOrder) {
  {
    GatheredMessages gathered;
    EXPECT_EQ(platform::ShowMessage("Error opening DXF file a.dxf\nNo such file or directory",
                                    platform::kMessageOk),
              platform::kAnswerOk);
    platform::ShowMessage("Error processing dxf file a.dxf", platform::kMessageOk);
    EXPECT_EQ(gathered.Text(),
              "Error opening DXF file a.dxf\nNo such file or directory\n\n"
              "Error processing dxf file a.dxf");
    EXPECT_EQ(gathered.Flags(), platform::kMessageOk);
    EXPECT_TRUE(frontend_.messages.empty()) << "nothing shown yet";
  }
  // Put back: messages are shown again.
  platform::ShowMessage("after", platform::kMessageOk);
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageText(0), "after");
}

TEST_F(GatheredMessagesTest, TheInformationIconIsKept) {
  GatheredMessages gathered;
  platform::ShowMessage("Invalid input DXF file\nThis is not a DXF file.",
                        platform::kMessageInformation);
  platform::ShowMessage("Error processing dxf file a.dxf", platform::kMessageOk);
  EXPECT_EQ(gathered.Flags(), platform::kMessageInformation);
}

// A question can't wait for the end of the run: what was held is shown first, then the
// question is asked and its answer returned.
TEST_F(GatheredMessagesTest, QuestionsAreAskedAtOnceAfterWhatWasHeld) {
  frontend_.answers = {platform::kAnswerYes};
  GatheredMessages gathered;
  platform::ShowMessage("held", platform::kMessageInformation);
  EXPECT_EQ(platform::ShowMessage("Stop now?", platform::kMessageYesNoWarning),
            platform::kAnswerYes);
  ASSERT_EQ(frontend_.messages.size(), 2u);
  EXPECT_EQ(frontend_.MessageText(0), "held");
  EXPECT_EQ(frontend_.MessageFlags(0), platform::kMessageInformation);
  EXPECT_EQ(frontend_.MessageText(1), "Stop now?");
  EXPECT_EQ(gathered.Text(), "") << "shown once, not again";
  EXPECT_EQ(gathered.Flags(), platform::kMessageOk);
}

TEST_F(GatheredMessagesTest, TheEndOfTheProcessShowsWhatWasHeld) {
  GatheredMessages gathered;
  platform::ShowMessage("SHPTXT.SHP file not found", platform::kMessageOk);
  EXPECT_THROW(platform::EndProcess(3), platform::ProcessEnded);
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageText(0), "SHPTXT.SHP file not found");
}

TEST_F(GatheredMessagesTest, TheProgramsFolderIsTheFrontEndsOwn) {
  frontend_.executableFolder = "/opt/korvex";
  GatheredMessages gathered;
  EXPECT_EQ(platform::ExecutableFolder(), std::filesystem::path("/opt/korvex"));
}

TEST(WithReasonsTest, TheSummaryComesFirst) {
  EXPECT_EQ(WithReasons("Shape File Not Generated", ""), "Shape File Not Generated");
  EXPECT_EQ(WithReasons("Shape File Not Generated", "Error opening DXF file a.dxf"),
            "Shape File Not Generated\n\nError opening DXF file a.dxf");
}

}  // namespace
}  // namespace korvex::shell
