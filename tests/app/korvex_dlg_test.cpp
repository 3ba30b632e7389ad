// The conversion dialog's window: its controls (IDs, texts, tab order, places in dialog
// units, read-only boxes) and the wiring of its buttons to the dialog's rules.
#include "app/korvex_dlg.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/command_ids.h"
#include "app/dialog_units.h"
#include "desktop_test_support.h"
#include "shell_fakes.h"

namespace {

using korvex::test::MemorySettingsStore;
using korvex::test::RecordingConverter;
using korvex::test::ScriptedFileChooser;

// Stands for the process's end, so that the test goes on after "Exit Program".
struct ProcessEnded {
  int status;
};
class EndRecordingFrontend final : public korvex::platform::Frontend {
 public:
  int ShowMessage(std::string_view, unsigned) override { return korvex::platform::kAnswerOk; }
  [[noreturn]] void EndProcess(int status) override { throw ProcessEnded{status}; }
};

class KorvexDlgTest : public korvex::test::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    if (IsSkipped()) return;
    store_.entries[korvex::shell::kLastFileEntry] = "/home/ann/shapes.dxf";
    lastFile_.Load(store_);
    dialog_ = new CKorvexDlg(nullptr, rules_);
    dialog_->InitDialog();
  }
  void TearDown() override {
    if (dialog_ != nullptr) dialog_->Destroy();
    DesktopTest::TearDown();
  }
  void Click(int id) {
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(dialog_->FindWindow(id));
    dialog_->ProcessWindowEvent(event);
  }
  wxString Box(int id) const {
    return static_cast<wxTextCtrl*>(dialog_->FindWindow(id))->GetValue();
  }

  MemorySettingsStore store_;
  korvex::shell::LastFileSetting lastFile_;
  ScriptedFileChooser chooser_;
  RecordingConverter converter_;
  korvex::shell::ConversionDialogRules rules_{lastFile_, chooser_, converter_};
  CKorvexDlg* dialog_ = nullptr;
};

TEST_F(KorvexDlgTest, CaptionIdAndSize) {
  EXPECT_EQ(dialog_->GetTitle(), "Korvex");
  EXPECT_EQ(dialog_->GetId(), IDD_KORVEX_DIALOG);
  EXPECT_EQ(dialog_->GetClientSize(), dialog_->ConvertDialogToPixels(wxSize(381, 142)));
}

TEST_F(KorvexDlgTest, ControlsInTabOrderWithTextsAndPlaces) {
  enum Kind { kButton, kBox, kText };
  const struct {
    int id;
    Kind kind;
    const char* text;
    int x, y, width, height;
  } controls[] = {
      {wxID_OK, kButton, "Generate SHP File", 21, 113, 112, 14},
      {wxID_CANCEL, kButton, "Exit to Main Menu", 181, 114, 59, 14},
      {IDC_INPUT_PATH, kBox, "", 93, 41, 198, 16},
      {IDC_INPUT_LABEL, kText, "Input Shapes DXF Working Drawing", 16, 42, 55, 20},
      {IDC_OUTPUT_LABEL, kText, "Output Shape SHP filename", 17, 69, 68, 16},
      {IDC_OUTPUT_PATH, kBox, "", 95, 68, 197, 16},
      {IDC_BROWSE_INPUT, kButton, "Browse", 310, 41, 44, 17},
      {IDC_BROWSE_OUTPUT, kButton, "Browse", 310, 68, 44, 17},
      {wxID_STATIC, kText,
       "Input Shapes working drawings (in DXF format)  must use the ShapesTemplate.dxf as "
       "prototype!",
       15, 7, 359, 18},
      {IDC_EXIT_PROGRAM, kButton, "Exit Program", 298, 114, 50, 14},
  };
  const wxWindowList& children = dialog_->GetChildren();
  ASSERT_EQ(children.size(), std::size(controls));
  auto child = children.begin();
  for (const auto& expected : controls) {
    SCOPED_TRACE(expected.text);
    wxWindow* control = *child++;
    EXPECT_EQ(control->GetId(), expected.id);
    EXPECT_EQ(control->GetRect(), DialogUnitsToPixels(dialog_, expected.x, expected.y,
                                                      expected.width, expected.height));
    switch (expected.kind) {
      case kButton:
        ASSERT_NE(dynamic_cast<wxButton*>(control), nullptr);
        EXPECT_EQ(control->GetLabel(), expected.text);
        EXPECT_TRUE(control->AcceptsFocus());
        break;
      case kBox: {
        auto* box = dynamic_cast<wxTextCtrl*>(control);
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->IsEditable());
        EXPECT_TRUE(box->HasFlag(wxTE_READONLY));
        break;
      }
      case kText:
        ASSERT_NE(dynamic_cast<wxStaticText*>(control), nullptr);
        EXPECT_EQ(control->GetLabel(), expected.text);
        break;
    }
  }
}

TEST_F(KorvexDlgTest, EnterRunsGenerate) {
  EXPECT_EQ(dialog_->GetDefaultItem(), dialog_->FindWindow(wxID_OK));
}

TEST_F(KorvexDlgTest, OpeningShowsTheRememberedInputOnly) {
  EXPECT_EQ(Box(IDC_INPUT_PATH), "/home/ann/shapes.dxf");
  EXPECT_EQ(Box(IDC_OUTPUT_PATH), "");
}

TEST_F(KorvexDlgTest, BrowseButtonsFillTheBoxes) {
  chooser_.answers = {std::string("/home/ann/other.dxf"), std::string("/home/ann/result")};
  Click(IDC_BROWSE_INPUT);
  EXPECT_EQ(Box(IDC_INPUT_PATH), "/home/ann/other.dxf");
  Click(IDC_BROWSE_OUTPUT);
  EXPECT_EQ(Box(IDC_OUTPUT_PATH), "/home/ann/result.shp");
  ASSERT_EQ(chooser_.requests.size(), 2u);
  EXPECT_EQ(chooser_.requests[1].fileName, "/home/ann/other.shp");

  // Another input blanks the output box.
  chooser_.answers.push_back(std::string("/home/ann/third.dxf"));
  Click(IDC_BROWSE_INPUT);
  EXPECT_EQ(Box(IDC_INPUT_PATH), "/home/ann/third.dxf");
  EXPECT_EQ(Box(IDC_OUTPUT_PATH), "");
}

TEST_F(KorvexDlgTest, GenerateConvertsAndKeepsTheDialogOpen) {
  chooser_.answers = {std::string("/home/ann/out.shp")};
  Click(IDC_BROWSE_OUTPUT);
  Click(wxID_OK);
  ASSERT_EQ(converter_.calls.size(), 1u);
  EXPECT_EQ(converter_.calls[0].input, "/home/ann/shapes.dxf");
  EXPECT_EQ(converter_.calls[0].output, "/home/ann/out.shp");
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageText(0).rfind("Shape File Generated!\n", 0), 0u);
  EXPECT_EQ(dialog_->GetReturnCode(), 0) << "the OK button must not end the dialog";
  EXPECT_EQ(Box(IDC_OUTPUT_PATH), "/home/ann/out.shp");
}

TEST_F(KorvexDlgTest, ExitProgramEndsTheProcessWithStatusZero) {
  EndRecordingFrontend ending;
  korvex::platform::InstallFrontend(ending);
  try {
    Click(IDC_EXIT_PROGRAM);
    ADD_FAILURE() << "Exit Program returned";
  } catch (const ProcessEnded& ended) {
    EXPECT_EQ(ended.status, 0);
  }
  korvex::platform::InstallFrontend(frontend_);
}

}  // namespace
