// The conversion dialog's window: its controls (IDs, texts, access keys, tab order,
// places in dialog units, editable boxes), how it grows wider, and the wiring of its
// boxes and buttons to the dialog's rules, the focus included.
#include "app/korvex_dlg.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <optional>
#include <set>
#include <vector>

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

// The captions are the classic ones; an "&" marks each access key.
TEST_F(KorvexDlgTest, ControlsInTabOrderWithTextsAndPlaces) {
  enum Kind { kButton, kBox, kText };
  const struct {
    int id;
    Kind kind;
    const char* label;
    int x, y, width, height;
  } controls[] = {
      {wxID_STATIC, kText,
       "Input Shapes working drawings (in DXF format)  must use the ShapesTemplate.dxf as "
       "prototype!",
       15, 7, 359, 18},
      {IDC_INPUT_LABEL, kText, "&Input Shapes DXF Working Drawing", 16, 42, 55, 20},
      {IDC_INPUT_PATH, kBox, "", 93, 41, 198, 16},
      {IDC_BROWSE_INPUT, kButton, "&Browse", 310, 41, 44, 17},
      {IDC_OUTPUT_LABEL, kText, "&Output Shape SHP filename", 17, 69, 68, 16},
      {IDC_OUTPUT_PATH, kBox, "", 95, 68, 197, 16},
      {IDC_BROWSE_OUTPUT, kButton, "B&rowse", 310, 68, 44, 17},
      {wxID_OK, kButton, "&Generate SHP File", 21, 113, 112, 14},
      {wxID_CANCEL, kButton, "Exit to &Main Menu", 181, 114, 59, 14},
      {IDC_EXIT_PROGRAM, kButton, "Exit &Program", 298, 114, 50, 14},
  };
  const wxWindowList& children = dialog_->GetChildren();
  ASSERT_EQ(children.size(), std::size(controls));
  auto child = children.begin();
  for (const auto& expected : controls) {
    SCOPED_TRACE(expected.label);
    wxWindow* control = *child++;
    EXPECT_EQ(control->GetId(), expected.id);
    EXPECT_EQ(control->GetRect(), DialogUnitsToPixels(dialog_, expected.x, expected.y,
                                                      expected.width, expected.height));
    switch (expected.kind) {
      case kButton:
        ASSERT_NE(dynamic_cast<wxButton*>(control), nullptr);
        EXPECT_EQ(control->GetLabel(), expected.label);
        EXPECT_TRUE(control->AcceptsFocus());
        break;
      case kBox: {
        auto* box = dynamic_cast<wxTextCtrl*>(control);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->IsEditable()) << "paths are typed and pasted too";
        break;
      }
      case kText:
        ASSERT_NE(dynamic_cast<wxStaticText*>(control), nullptr);
        EXPECT_EQ(control->GetLabel(), expected.label);
        break;
    }
  }
}

// Tab goes through the controls in the rules' order: each box, then its Browse button,
// then the buttons that act on both.
TEST_F(KorvexDlgTest, TabOrderIsTheRulesOrder) {
  std::vector<wxWindow*> focusable;
  for (wxWindow* child : dialog_->GetChildren()) {
    if (child->AcceptsFocusFromKeyboard()) focusable.push_back(child);
  }
  ASSERT_EQ(focusable.size(), std::size(korvex::shell::kConversionDialogTabOrder));
  for (std::size_t i = 0; i < focusable.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(focusable[i], dialog_->Control(korvex::shell::kConversionDialogTabOrder[i]));
  }
}

TEST_F(KorvexDlgTest, AccessKeysAreDistinct) {
  std::set<wxChar> keys;
  for (wxWindow* child : dialog_->GetChildren()) {
    const wxString label = child->GetLabel();
    const int amp = label.Find('&');
    if (child->GetId() == wxID_STATIC || dynamic_cast<wxTextCtrl*>(child) != nullptr) continue;
    SCOPED_TRACE(label.ToStdString());
    ASSERT_NE(amp, wxNOT_FOUND);
    EXPECT_TRUE(keys.insert(wxTolower(label[amp + 1])).second) << "used twice";
  }
  EXPECT_EQ(keys.size(), 7u) << "five buttons and the two boxes' labels";
}

// Wider only: the boxes grow and the buttons beside them keep their distance.
TEST_F(KorvexDlgTest, TheDialogGrowsWiderAndTheBoxesWithIt) {
  const wxSize laidOut = dialog_->ConvertDialogToPixels(wxSize(381, 142));
  EXPECT_TRUE(dialog_->HasFlag(wxRESIZE_BORDER));
  EXPECT_EQ(dialog_->GetMinClientSize(), laidOut);
  EXPECT_EQ(dialog_->GetMaxClientSize().GetHeight(), laidOut.GetHeight());

  const auto rect = [this](int id) { return dialog_->FindWindow(id)->GetRect(); };
  const wxRect inputBox = rect(IDC_INPUT_PATH);
  const wxRect outputBox = rect(IDC_OUTPUT_PATH);
  const wxRect browse = rect(IDC_BROWSE_INPUT);
  const wxRect generate = rect(wxID_OK);
  const wxRect mainMenu = rect(wxID_CANCEL);
  const wxRect exitProgram = rect(IDC_EXIT_PROGRAM);
  constexpr int kExtra = 300;
  dialog_->SetClientSize(laidOut.GetWidth() + kExtra, laidOut.GetHeight());

  EXPECT_EQ(rect(IDC_INPUT_PATH).GetWidth(), inputBox.GetWidth() + kExtra);
  EXPECT_EQ(rect(IDC_OUTPUT_PATH).GetWidth(), outputBox.GetWidth() + kExtra);
  EXPECT_EQ(rect(IDC_INPUT_PATH).GetPosition(), inputBox.GetPosition());
  EXPECT_EQ(rect(IDC_BROWSE_INPUT).GetPosition(), browse.GetPosition() + wxPoint(kExtra, 0));
  EXPECT_EQ(rect(IDC_BROWSE_INPUT).GetSize(), browse.GetSize());
  EXPECT_EQ(rect(wxID_OK), generate);
  EXPECT_EQ(rect(wxID_CANCEL).GetPosition(), mainMenu.GetPosition() + wxPoint(kExtra / 2, 0));
  EXPECT_EQ(rect(IDC_EXIT_PROGRAM).GetPosition(), exitProgram.GetPosition() + wxPoint(kExtra, 0));

  dialog_->SetClientSize(laidOut);
  EXPECT_EQ(rect(IDC_INPUT_PATH), inputBox) << "narrower again: back in place";
}

TEST_F(KorvexDlgTest, EnterRunsGenerate) {
  EXPECT_EQ(dialog_->GetDefaultItem(), dialog_->FindWindow(wxID_OK));
}

TEST_F(KorvexDlgTest, OpeningShowsTheRememberedInputOnlyWithTheFocusInIt) {
  EXPECT_EQ(Box(IDC_INPUT_PATH), "/home/ann/shapes.dxf");
  EXPECT_EQ(Box(IDC_OUTPUT_PATH), "");
  EXPECT_EQ(dialog_->FindWindow(IDC_INPUT_PATH)->GetToolTipText(), "/home/ann/shapes.dxf")
      << "the whole path, however narrow the box";
  EXPECT_EQ(wxWindow::FindFocus(), dialog_->FindWindow(IDC_INPUT_PATH));
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

// After a Browse the focus moves on: to the next box, or to Generate, so that Enter
// converts instead of opening the file dialog again.
TEST_F(KorvexDlgTest, BrowseMovesTheFocusOn) {
  chooser_.answers = {std::string("/home/ann/other.dxf"), std::nullopt,
                      std::string("/home/ann/other.shp")};
  Click(IDC_BROWSE_INPUT);
  EXPECT_EQ(wxWindow::FindFocus(), dialog_->FindWindow(IDC_OUTPUT_PATH));
  Click(IDC_BROWSE_OUTPUT);
  EXPECT_EQ(wxWindow::FindFocus(), dialog_->FindWindow(IDC_BROWSE_OUTPUT)) << "cancelled";
  Click(IDC_BROWSE_OUTPUT);
  EXPECT_EQ(wxWindow::FindFocus(), dialog_->FindWindow(wxID_OK));
}

// What is typed or pasted into the boxes is what is converted, as the rules take it.
TEST_F(KorvexDlgTest, TypedPathsAreConverted) {
  auto* input = static_cast<wxTextCtrl*>(dialog_->FindWindow(IDC_INPUT_PATH));
  auto* output = static_cast<wxTextCtrl*>(dialog_->FindWindow(IDC_OUTPUT_PATH));
  input->SetValue("/home/ann/typed.dxf");  // as typing does, it sends a text event
  output->SetValue("result");
  EXPECT_EQ(output->GetToolTipText(), "result");
  Click(wxID_OK);
  ASSERT_EQ(converter_.calls.size(), 1u);
  EXPECT_EQ(converter_.calls[0].input, "/home/ann/typed.dxf");
  EXPECT_EQ(converter_.calls[0].output, "/home/ann/result.shp");
  EXPECT_EQ(Box(IDC_OUTPUT_PATH), "/home/ann/result.shp") << "the box shows what was written";
  EXPECT_EQ(output->GetToolTipText(), "/home/ann/result.shp");
  EXPECT_EQ(store_.entries[korvex::shell::kLastFileEntry], "/home/ann/typed.dxf");
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
  EXPECT_NE(frontend_.MessageText(0).find("/home/ann/out.shp"), std::string::npos);
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
