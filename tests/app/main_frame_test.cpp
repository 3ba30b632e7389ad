// The main window: its menus and their commands, the status bar and its panes, and the
// commands' way to the application object's handlers.
#include "app/main_frame.h"

#include <gtest/gtest.h>
#include <wx/filedlg.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/statusbr.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <typeindex>

#include "app/about_dlg.h"
#include "app/child_view.h"
#include "app/command_ids.h"
#include "app/korvex_app.h"
#include "app/korvex_dlg.h"
#include "desktop_test_support.h"
#include "shell_fakes.h"

namespace {

using korvex::test::ModalDialogRecorder;

class RecordingPageOpener final : public korvex::shell::PageOpener {
 public:
  bool Open(const std::string& address) override {
    addresses.push_back(address);
    return opens;
  }
  std::vector<std::string> addresses;
  bool opens = true;
};

// A shape file of one shape, written for a test and removed after it.
class ShapeFileForTest {
 public:
  explicit ShapeFileForTest(const std::string& name)
      : path_(std::filesystem::temp_directory_path() / name) {
    std::ofstream out(path_, std::ios::binary);
    out << "*18,11,SHAPE18\r\n3,100,2,8,(10,10),1,8,(80,0),0\r\n\x1a";
  }
  ~ShapeFileForTest() { std::filesystem::remove(path_); }
  const std::filesystem::path& Path() const { return path_; }
  std::string Text() const { return korvex::platform::PathText(path_); }

 private:
  std::filesystem::path path_;
};

class MainFrameTest : public korvex::test::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    if (IsSkipped()) return;
    frame_ = new CMainFrame();
  }
  void TearDown() override {
    if (frame_ != nullptr) frame_->Destroy();
    DesktopTest::TearDown();
  }
  // Sends a menu command as choosing the item does.
  void Choose(int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(frame_);
    frame_->ProcessWindowEvent(event);
  }
  void SendMenuEvent(wxEventType type, int id) {
    wxMenuEvent event(type, id);
    event.SetEventObject(frame_);
    frame_->ProcessWindowEvent(event);
  }
  wxString MessagePane() const { return frame_->GetStatusBar()->GetStatusText(kMessagePane); }

  CMainFrame* frame_ = nullptr;
};

TEST_F(MainFrameTest, TitleIsKorvex) {
  EXPECT_EQ(frame_->GetTitle(), "Korvex");
  EXPECT_NE(frame_->View(), nullptr);
  EXPECT_EQ(frame_->View()->GetParent(), frame_);
}

TEST_F(MainFrameTest, MenusInOrder) {
  const wxMenuBar* menuBar = frame_->GetMenuBar();
  ASSERT_NE(menuBar, nullptr);
  const char* labels[] = {"&File", "&View", "Korvex", "Product", "&Help"};
  ASSERT_EQ(menuBar->GetMenuCount(), std::size(labels));
  for (std::size_t i = 0; i < std::size(labels); ++i) {
    EXPECT_EQ(menuBar->GetMenuLabel(i), labels[i]);
  }
}

TEST_F(MainFrameTest, ItemsWithTheirCommandsAndPrompts) {
  const struct {
    std::size_t menu;
    int id;
    const char* label;
    const char* prompt;
  } items[] = {
      {0, wxID_EXIT, "E&xit", "Quit the application; prompts to save documents"},
      {1, ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar"},
      {2, ID_CREATE_EMPTY_SHAPES_FILE, "Create Empty DXF Shapes File", ""},
      {2, ID_GENERATE_SHAPE_FILE, "Generate Shape (SHP) File", ""},
      {3, ID_LATEST_VERSION_INFO, "Latest version info", ""},
      {3, ID_DOWNLOAD_CURRENT_VERSION, "Download Current Version", ""},
      {4, wxID_ABOUT, "&About Korvex...",
       "Display program information, version number and copyright"},
      {4, wxID_HELP, "User Manual", ""},
  };
  const wxMenuBar* menuBar = frame_->GetMenuBar();
  std::size_t position[5] = {};
  for (const auto& expected : items) {
    SCOPED_TRACE(expected.label);
    const wxMenu* menu = menuBar->GetMenu(expected.menu);
    ASSERT_LT(position[expected.menu], menu->GetMenuItemCount());
    const wxMenuItem* item = menu->FindItemByPosition(position[expected.menu]++);
    EXPECT_EQ(item->GetId(), expected.id);
    EXPECT_EQ(item->GetItemLabel(), expected.label);
    EXPECT_EQ(item->GetHelp(), expected.prompt);
  }
  for (std::size_t menu = 0; menu < 5; ++menu) {
    EXPECT_EQ(menuBar->GetMenu(menu)->GetMenuItemCount(), position[menu]) << "menu " << menu;
  }
  EXPECT_TRUE(menuBar->FindItem(ID_VIEW_STATUS_BAR)->IsCheckable());
}

TEST_F(MainFrameTest, OwnCommandIdsAreDistinctAndInWxRange) {
  const int ids[] = {ID_VIEW_STATUS_BAR, ID_GENERATE_SHAPE_FILE, ID_LATEST_VERSION_INFO,
                     ID_DOWNLOAD_CURRENT_VERSION, ID_CREATE_EMPTY_SHAPES_FILE};
  std::set<int> seen;
  for (int id : ids) {
    EXPECT_GT(id, wxID_HIGHEST) << "clear of wxWidgets' own IDs";
    EXPECT_LT(id, 0x7FFF) << "wxWidgets asserts on menu IDs from 0x7FFF up";
    EXPECT_TRUE(seen.insert(id).second) << id;
  }
}

TEST_F(MainFrameTest, StatusBarHasMessagePaneAndThreeIndicators) {
  const wxStatusBar* statusBar = frame_->GetStatusBar();
  ASSERT_NE(statusBar, nullptr);
  ASSERT_EQ(statusBar->GetFieldsCount(), kStatusPaneCount);
  EXPECT_EQ(MessagePane(), "Ready");
  EXPECT_EQ(statusBar->GetStatusWidth(kMessagePane), -1) << "the message pane stretches";
  for (int pane : {kCapsPane, kNumPane, kScrollPane}) {
    EXPECT_GT(statusBar->GetStatusWidth(pane), 0) << pane;
  }
  // Each indicator is as wide as its own text needs.
  EXPECT_GT(statusBar->GetStatusWidth(kScrollPane), statusBar->GetStatusWidth(kCapsPane));
}

TEST_F(MainFrameTest, IndicatorsFollowTheLockKeys) {
  frame_->UpdateKeyIndicators();
  const struct {
    int pane;
    wxKeyCode key;
    const char* text;
  } indicators[] = {{kCapsPane, WXK_CAPITAL, "CAP"},
                    {kNumPane, WXK_NUMLOCK, "NUM"},
                    {kScrollPane, WXK_SCROLL, "SCRL"}};
  for (const auto& indicator : indicators) {
    SCOPED_TRACE(indicator.text);
    const wxString expected = wxGetKeyState(indicator.key) ? indicator.text : "";
    EXPECT_EQ(frame_->GetStatusBar()->GetStatusText(indicator.pane), expected);
  }
}

TEST_F(MainFrameTest, HighlightedItemShowsItsPromptThenReady) {
  SendMenuEvent(wxEVT_MENU_OPEN, wxID_ANY);
  SendMenuEvent(wxEVT_MENU_HIGHLIGHT, wxID_EXIT);
  EXPECT_EQ(MessagePane(), "Quit the application; prompts to save documents");
  SendMenuEvent(wxEVT_MENU_HIGHLIGHT, ID_GENERATE_SHAPE_FILE);
  EXPECT_EQ(MessagePane(), "") << "the program's own commands have no prompt";
  SendMenuEvent(wxEVT_MENU_CLOSE, wxID_ANY);
  EXPECT_EQ(MessagePane(), "Ready");
}

TEST_F(MainFrameTest, StatusBarCommandHidesAndShowsTheBar) {
  wxMenuItem* item = frame_->GetMenuBar()->FindItem(ID_VIEW_STATUS_BAR);
  frame_->DoMenuUpdates();
  EXPECT_TRUE(item->IsChecked());

  Choose(ID_VIEW_STATUS_BAR);
  frame_->DoMenuUpdates();
  EXPECT_FALSE(frame_->GetStatusBar()->IsShown());
  EXPECT_FALSE(item->IsChecked());

  Choose(ID_VIEW_STATUS_BAR);
  frame_->DoMenuUpdates();
  EXPECT_TRUE(frame_->GetStatusBar()->IsShown());
  EXPECT_TRUE(item->IsChecked());
}

TEST_F(MainFrameTest, DialogCommandsReachTheApplicationAndShowTheirDialogs) {
  const struct {
    int command;
    std::type_index type;
    int id;
    const char* title;
  } commands[] = {
      {wxID_ABOUT, typeid(CAboutDlg), IDD_ABOUTBOX, "About Korvex "},
      {ID_GENERATE_SHAPE_FILE, typeid(CKorvexDlg), IDD_KORVEX_DIALOG, "Korvex"},
  };
  for (const auto& expected : commands) {
    SCOPED_TRACE(expected.title);
    ModalDialogRecorder recorder;
    Choose(expected.command);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].type, expected.type);
    EXPECT_EQ(recorder.shown[0].id, expected.id);
    EXPECT_EQ(recorder.shown[0].title, expected.title);
  }
}

TEST_F(MainFrameTest, WebPageCommandsOpenTheProductPages) {
  RecordingPageOpener opener;
  wxGetApp().SetPageOpener(opener);
  Choose(ID_LATEST_VERSION_INFO);
  Choose(ID_DOWNLOAD_CURRENT_VERSION);
  Choose(wxID_HELP);
  const std::string site = korvex::shell::kProductSite;
  EXPECT_EQ(opener.addresses,
            (std::vector<std::string>{site + "/shp_release_notes.html", site + "/shp_download.html",
                                      site + "/shp_help.pdf"}));
}

TEST_F(MainFrameTest, EmptyDrawingCommandWithoutTemplateSaysNotFound) {
  std::filesystem::create_directories(Scratch("program"));
  frontend_.executableFolder = Scratch("program");
  ModalDialogRecorder recorder;
  Choose(ID_CREATE_EMPTY_SHAPES_FILE);
  EXPECT_TRUE(recorder.shown.empty()) << "no save dialog opens";
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageText(0),
            "ShapesTemplate.dxf support file not found\nTry reinstalling Korvex");
}

TEST_F(MainFrameTest, EmptyDrawingCommandAsksWhereToSave) {
  frontend_.executableFolder = korvex::test::BinFolder();
  ModalDialogRecorder recorder;
  Choose(ID_CREATE_EMPTY_SHAPES_FILE);
  ASSERT_EQ(recorder.shown.size(), 1u);
  const auto& shown = recorder.shown[0];
  EXPECT_EQ(shown.type, typeid(wxFileDialog));
  EXPECT_EQ(shown.title, "Create Shapes DXF file");
  EXPECT_EQ(shown.wildcard, "AutoCAD DXF files (*.dxf)|*.dxf");
  EXPECT_EQ(shown.filename, "");
  EXPECT_TRUE(shown.style & wxFD_SAVE);
  EXPECT_TRUE(shown.style & wxFD_OVERWRITE_PROMPT);
  EXPECT_TRUE(frontend_.messages.empty()) << "a cancel shows nothing";
}

TEST_F(MainFrameTest, ExitCommandClosesTheMainWindow) {
  wxGetApp().SetTopWindow(frame_);
  int closeRequests = 0;
  frame_->Bind(wxEVT_CLOSE_WINDOW, [&closeRequests](wxCloseEvent& event) {
    ++closeRequests;
    event.Veto();  // the test's frame stays for TearDown
  });
  Choose(wxID_EXIT);
  EXPECT_EQ(closeRequests, 1);
  wxGetApp().SetTopWindow(nullptr);
}

TEST_F(MainFrameTest, ViewShowsTheSheetOfTheShapeFileWritten) {
  const std::filesystem::path shapeFile =
      std::filesystem::temp_directory_path() / "korvex-view-test.shp";
  {
    std::ofstream out(shapeFile, std::ios::binary);
    out << "*18,11,SHAPE18\r\n3,100,2,8,(10,10),1,8,(80,0),0\r\n\x1a";
  }
  EXPECT_TRUE(frame_->View()->ShownShapeFile().empty());
  frame_->Show();
  frame_->View()->ShowShapeFile(shapeFile);
  frame_->View()->Update();  // paints the sheet now
  EXPECT_EQ(frame_->View()->ShownShapeFile(), shapeFile);
  std::filesystem::remove(shapeFile);
}

// After a conversion that left something out, the list beside the sheet names each entity
// and the status bar counts them; after one that left nothing out, the list goes.
TEST_F(MainFrameTest, WhatWasLeftOutIsListedBesideTheSheet) {
  auto leftOut = std::make_shared<korvex::LeftOutTable>();
  korvex::ResetLeftOut(true);
  korvex::LeftOutEntry entry =
      korvex::StartLeftOut("LINE", 60, korvex::LeftOutReason::kEndOutsideBox);
  korvex::SetLeftOutSegment(entry, 150, 1780, 228, 1780);
  entry.cell = 18;
  entry.amount = 3;
  std::snprintf(entry.detail, sizeof entry.detail, "right of");
  korvex::NoteLeftOut(entry);
  *leftOut = korvex::LeftOut();
  frame_->Show();
  frame_->ShowConversion("korvex-absent.shp", leftOut);
  wxListCtrl* list = frame_->LeftOutList();
  EXPECT_TRUE(list->IsShown());
  ASSERT_EQ(list->GetItemCount(), 1);
  EXPECT_EQ(list->GetItemText(0, 0), "end point 3 units right of the box; left out");
  EXPECT_EQ(list->GetItemText(0, 1), "18");
  EXPECT_EQ(list->GetItemText(0, 2), "LINE");
  EXPECT_EQ(list->GetItemText(0, 3), "60");
  EXPECT_EQ(MessagePane(),
            "1 entity of the drawing was left out of the shapes or kept only in part: see the "
            "list");
  list->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);  // highlights it
  frame_->View()->Update();

  frame_->ShowConversion("korvex-absent.shp", std::make_shared<korvex::LeftOutTable>());
  EXPECT_FALSE(list->IsShown());
  EXPECT_EQ(list->GetItemCount(), 0);
  EXPECT_EQ(MessagePane(), "Ready");
}

}  // namespace
