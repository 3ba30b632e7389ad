// The main window: its menus and their commands, the status bar and its panes, the
// commands' way to the application object's handlers, the sheet and its title, and the
// window's placement.
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
using korvex::test::RecordingPageOpener;

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
  const char* labels[] = {"&File", "&View", "&Korvex", "&Product", "&Help"};
  ASSERT_EQ(menuBar->GetMenuCount(), std::size(labels));
  for (std::size_t i = 0; i < std::size(labels); ++i) {
    EXPECT_EQ(menuBar->GetMenuLabel(i), labels[i]);
  }
}

// The classic captions, each with its access key ("&") and a prompt for the status bar;
// the Korvex menu also opens shape files, after a separator.
TEST_F(MainFrameTest, ItemsWithTheirCommandsAndPrompts) {
  const struct {
    std::size_t menu;
    int id;
    const char* label;
    const char* prompt;
  } items[] = {
      {0, wxID_EXIT, "E&xit", "Quit the application; prompts to save documents"},
      {1, ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar"},
      {2, ID_CREATE_EMPTY_SHAPES_FILE, "Create &Empty DXF Shapes File",
       "Make a new drawing of an empty shape sheet, to draw your shapes in"},
      {2, ID_GENERATE_SHAPE_FILE, "&Generate Shape (SHP) File\tCtrl+G",
       "Convert a shape sheet drawing (DXF) into a shape file (.shp or .shx)"},
      {2, wxID_SEPARATOR, "", ""},
      {2, ID_OPEN_SHAPE_FILE, "&Open Shape File...\tCtrl+O",
       "Show the shapes of a shape file (.shp or .shx) on the sheet"},
      {2, ID_WRITE_SHEET_DRAWING, "&Write Sheet Drawing...",
       "Draw the shapes of a shape file (.shp or .shx) on a new shape sheet drawing (DXF), to "
       "edit them in your CAD program"},
      {3, ID_LATEST_VERSION_INFO, "&Latest version info",
       "Open the release notes of the latest version in your web browser"},
      {3, ID_DOWNLOAD_CURRENT_VERSION, "&Download Current Version",
       "Open the download page in your web browser"},
      {4, wxID_ABOUT, "&About Korvex...",
       "Display program information, version number and copyright"},
      {4, wxID_HELP, "User &Manual", "Open the user manual (PDF) in your web browser"},
  };
  const wxMenuBar* menuBar = frame_->GetMenuBar();
  std::size_t position[5] = {};
  for (const auto& expected : items) {
    SCOPED_TRACE(expected.label);
    const wxMenu* menu = menuBar->GetMenu(expected.menu);
    ASSERT_LT(position[expected.menu], menu->GetMenuItemCount());
    const wxMenuItem* item = menu->FindItemByPosition(position[expected.menu]++);
    if (expected.id == wxID_SEPARATOR) {
      EXPECT_TRUE(item->IsSeparator());
      continue;
    }
    EXPECT_EQ(item->GetId(), expected.id);
    EXPECT_EQ(item->GetItemLabel(), expected.label);
    EXPECT_EQ(item->GetHelp(), expected.prompt);
  }
  for (std::size_t menu = 0; menu < 5; ++menu) {
    EXPECT_EQ(menuBar->GetMenu(menu)->GetMenuItemCount(), position[menu]) << "menu " << menu;
  }
  EXPECT_TRUE(menuBar->FindItem(ID_VIEW_STATUS_BAR)->IsCheckable());
}

// Every command is reached from the keyboard, and says what it does before it is chosen.
TEST_F(MainFrameTest, EveryItemHasAnAccessKeyOfItsOwnAndAPrompt) {
  const wxMenuBar* menuBar = frame_->GetMenuBar();
  std::set<wxChar> menuKeys;
  for (std::size_t m = 0; m < menuBar->GetMenuCount(); ++m) {
    const wxString title = menuBar->GetMenuLabel(m);
    ASSERT_NE(title.Find('&'), wxNOT_FOUND) << title;
    EXPECT_TRUE(menuKeys.insert(wxTolower(title[title.Find('&') + 1])).second) << title;
    std::set<wxChar> itemKeys;
    for (const wxMenuItem* item : menuBar->GetMenu(m)->GetMenuItems()) {
      if (item->IsSeparator()) continue;
      const wxString label = item->GetItemLabel();
      SCOPED_TRACE(label.ToStdString());
      ASSERT_NE(label.Find('&'), wxNOT_FOUND);
      EXPECT_TRUE(itemKeys.insert(wxTolower(label[label.Find('&') + 1])).second);
      EXPECT_FALSE(item->GetHelp().empty());
    }
  }
}

TEST_F(MainFrameTest, OwnCommandIdsAreDistinctAndInWxRange) {
  const int ids[] = {ID_VIEW_STATUS_BAR,          ID_GENERATE_SHAPE_FILE,
                     ID_LATEST_VERSION_INFO,      ID_DOWNLOAD_CURRENT_VERSION,
                     ID_CREATE_EMPTY_SHAPES_FILE, ID_OPEN_SHAPE_FILE};
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
  EXPECT_EQ(MessagePane(), "Convert a shape sheet drawing (DXF) into a shape file (.shp or .shx)");
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
  EXPECT_TRUE(frontend_.messages.empty());

  // Without a browser, the user is told which address to open.
  opener.opens = false;
  Choose(wxID_HELP);
  ASSERT_EQ(frontend_.messages.size(), 1u);
  EXPECT_EQ(frontend_.MessageText(0).rfind("Cannot open " + site + "/shp_help.pdf\n", 0), 0u);
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
  const ShapeFileForTest shapeFile("korvex-view-test.shp");
  EXPECT_TRUE(frame_->View()->ShownShapeFile().empty());
  frame_->Show();
  frame_->View()->ShowShapeFile(shapeFile.Path());
  EXPECT_EQ(frame_->View()->ShownShapeFile(), shapeFile.Path());
  EXPECT_TRUE(
      korvex::test::HandleEventsUntil([this] { return frame_->View()->SheetsDrawn() > 0; }));
}

// The title names the file shown; after a failed conversion both the title and the sheet
// say it is out of date, until the next file is shown.
TEST_F(MainFrameTest, TitleNamesTheSheetShownAndWhetherItIsOutOfDate) {
  const ShapeFileForTest shapeFile("korvex-title-test.shp");
  frame_->Show();
  frame_->ShowConversion(shapeFile.Path(), nullptr);
  EXPECT_EQ(frame_->GetTitle(), "Korvex - korvex-title-test.shp");
  EXPECT_EQ(frame_->View()->StaleNote(), "");

  ASSERT_TRUE(
      korvex::test::HandleEventsUntil([this] { return frame_->View()->SheetsDrawn() > 0; }));
  const int drawn = frame_->View()->SheetsDrawn();
  frame_->MarkSheetStale();
  EXPECT_TRUE(korvex::test::HandleEventsUntil([&] {
    return frame_->View()->SheetsDrawn() > drawn;
  })) << "drawn again, faded";
  EXPECT_EQ(frame_->GetTitle(), "Korvex - korvex-title-test.shp (out of date)");
  EXPECT_EQ(frame_->View()->StaleNote(), frame_->Sheet().StaleNote());
  EXPECT_FALSE(frame_->View()->StaleNote().empty());

  frame_->ShowConversion(shapeFile.Path(), nullptr);
  EXPECT_EQ(frame_->GetTitle(), "Korvex - korvex-title-test.shp");
  EXPECT_EQ(frame_->View()->StaleNote(), "");
}

// Korvex > Open Shape File shows a .shp or .shx as a converted file is shown; one that
// can't be read leaves the sheet as it was and says why.
TEST_F(MainFrameTest, OpenShapeFileShowsTheChosenFile) {
  wxGetApp().SetTopWindow(frame_);
  {
    ModalDialogRecorder recorder;
    Choose(ID_OPEN_SHAPE_FILE);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].type, typeid(wxFileDialog));
    EXPECT_EQ(recorder.shown[0].title, "Open Shape File");
    EXPECT_EQ(recorder.shown[0].wildcard, "Shape files (*.shp, *.shx)|*.shp;*.shx");
    EXPECT_TRUE(recorder.shown[0].style & wxFD_FILE_MUST_EXIST);
  }
  const ShapeFileForTest shapeFile("korvex-open-test.shp");
  std::string reason;
  frame_->Show();
  EXPECT_TRUE(frame_->ShowShapeFile(shapeFile.Text(), reason)) << reason;
  EXPECT_EQ(frame_->GetTitle(), "Korvex - korvex-open-test.shp");
  EXPECT_EQ(frame_->View()->ShownShapeFile(), shapeFile.Path());
  EXPECT_FALSE(frame_->LeftOutList()->IsShown());

  const std::string absent = korvex::platform::PathText(Scratch("absent.shx"));
  EXPECT_FALSE(frame_->ShowShapeFile(absent, reason));
  EXPECT_NE(reason.find(absent), std::string::npos) << reason;
  EXPECT_EQ(frame_->GetTitle(), "Korvex - korvex-open-test.shp") << "the sheet shown stays";
  EXPECT_EQ(frame_->View()->ShownShapeFile(), shapeFile.Path());
  wxGetApp().SetTopWindow(nullptr);
}

// The mouse wheel zooms the sheet about the pointer, and the keys take it back.
TEST_F(MainFrameTest, TheWheelZoomsTheSheet) {
  const ShapeFileForTest shapeFile("korvex-zoom-test.shp");
  frame_->Show();
  CChildView* view = frame_->View();
  view->ShowShapeFile(shapeFile.Path());
  wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
  wheel.m_wheelRotation = 2 * 120;
  wheel.m_wheelDelta = 120;
  wheel.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
  wheel.m_x = 40;
  wheel.m_y = 40;
  view->ProcessWindowEvent(wheel);
  EXPECT_DOUBLE_EQ(view->Viewport().Zoom(), 1.25 * 1.25);
  wxKeyEvent home(wxEVT_KEY_DOWN);
  home.m_keyCode = WXK_HOME;
  view->ProcessWindowEvent(home);
  EXPECT_EQ(view->Viewport().Zoom(), 1);
}

// The window opens where it was left, no smaller than its least size, and keeps where it
// is moved with the other setting.
TEST_F(MainFrameTest, ThePlacementIsRestoredAndKept) {
  korvex::test::MemorySettingsStore store;
  store.entries[korvex::shell::kMainWindowEntry] = "60,50,800,600";
  korvex::shell::WindowPlacementSetting placement;
  placement.Load(store);
  auto* frame = new CMainFrame(&placement);
  EXPECT_EQ(frame->GetClientSize(), wxSize(800, 600));
  EXPECT_EQ(frame->GetPosition(), wxPoint(60, 50));
  EXPECT_EQ(frame->GetMinClientSize(),
            wxSize(CMainFrame::kMinClientWidth, CMainFrame::kMinClientHeight));

  frame->Show();
  frame->SetClientSize(900, 650);
  frame->SavePlacement();
  EXPECT_EQ(store.entries[korvex::shell::kMainWindowEntry], "60,50,900,650");
  frame->Destroy();

  // Too small to use: the least size.
  store.entries[korvex::shell::kMainWindowEntry] = "60,50,100,80";
  placement.Load(store);
  frame = new CMainFrame(&placement);
  EXPECT_EQ(frame->GetClientSize(),
            wxSize(CMainFrame::kMinClientWidth, CMainFrame::kMinClientHeight));
  frame->Destroy();
}

TEST_F(MainFrameTest, AFirstStartOpensLargeEnoughToReadTheSheet) {
  const wxSize client = frame_->GetClientSize();
  EXPECT_GE(client.GetWidth(), CMainFrame::kMinClientWidth);
  EXPECT_GE(client.GetHeight(), CMainFrame::kMinClientHeight);
  EXPECT_LE(client.GetWidth(), CMainFrame::kFirstClientWidth);
  EXPECT_LE(client.GetHeight(), CMainFrame::kFirstClientHeight);
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
  EXPECT_EQ(frame_->GetTitle(), "Korvex - korvex-absent.shp");
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
