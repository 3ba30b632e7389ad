// CMainFrame: menu bar, client view and status bar of the main window, the status bar's
// toggle, its lock-key indicators, the sheet's title, and the window's placement.
#include "app/main_frame.h"

#include <wx/display.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include <algorithm>

#include "app/app_icon.h"
#include "app/child_view.h"
#include "app/command_ids.h"
#include "app/left_out_rows.h"
#include "platform/platform.h"

namespace {

constexpr int kIndicatorTimerId = 1;
constexpr int kLeftOutListId = 2;
constexpr int kPlacementTimerId = 3;
// The list's width beside the sheet, and its columns' share of it.
constexpr int kLeftOutListWidth = 380;
constexpr int kLeftOutColumnWidths[] = {230, 45, 55, 50};
constexpr int kIndicatorPollMilliseconds = 250;
constexpr int kPlacementDelayMilliseconds = 500;
// A first start leaves room around the window on a small screen.
constexpr double kFirstScreenShare = 0.85;

struct KeyIndicator {
  StatusPane pane;
  wxKeyCode key;
  const char* text;
};
constexpr KeyIndicator kKeyIndicators[] = {
    {kCapsPane, WXK_CAPITAL, "CAP"},
    {kNumPane, WXK_NUMLOCK, "NUM"},
    {kScrollPane, WXK_SCROLL, "SCRL"},
};

// Each item with its access key ("&") and the prompt the status bar shows while it is
// highlighted. The "Korvex" menu is the program's file menu: what it makes and shows.
wxMenuBar* CreateMainMenuBar() {
  auto* fileMenu = new wxMenu;
  fileMenu->Append(wxID_EXIT, "E&xit", "Quit the application; prompts to save documents");

  auto* viewMenu = new wxMenu;
  viewMenu->AppendCheckItem(ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar");

  auto* korvexMenu = new wxMenu;
  korvexMenu->Append(ID_CREATE_EMPTY_SHAPES_FILE, "Create &Empty DXF Shapes File",
                     "Make a new drawing of an empty shape sheet, to draw your shapes in");
  korvexMenu->Append(ID_GENERATE_SHAPE_FILE, "&Generate Shape (SHP) File\tCtrl+G",
                     "Convert a shape sheet drawing (DXF) into a shape file (.shp or .shx)");
  // Commands on shape files already written follow, beside this one.
  korvexMenu->AppendSeparator();
  korvexMenu->Append(ID_OPEN_SHAPE_FILE, "&Open Shape File...\tCtrl+O",
                     "Show the shapes of a shape file (.shp or .shx) on the sheet");
  korvexMenu->Append(ID_WRITE_SHEET_DRAWING, "&Write Sheet Drawing...",
                     "Draw the shapes of a shape file (.shp or .shx) on a new shape sheet "
                     "drawing (DXF), to edit them in your CAD program");

  auto* productMenu = new wxMenu;
  productMenu->Append(ID_LATEST_VERSION_INFO, "&Latest version info",
                      "Open the release notes of the latest version in your web browser");
  productMenu->Append(ID_DOWNLOAD_CURRENT_VERSION, "&Download Current Version",
                      "Open the download page in your web browser");

  auto* helpMenu = new wxMenu;
  helpMenu->Append(wxID_ABOUT, "&About Korvex...",
                   "Display program information, version number and copyright");
  helpMenu->Append(wxID_HELP, "User &Manual", "Open the user manual (PDF) in your web browser");

  auto* menuBar = new wxMenuBar;
  menuBar->Append(fileMenu, "&File");
  menuBar->Append(viewMenu, "&View");
  menuBar->Append(korvexMenu, "&Korvex");
  menuBar->Append(productMenu, "&Product");
  menuBar->Append(helpMenu, "&Help");
  return menuBar;
}

// The work area of the screen that shows most of the placement, else of the first screen.
korvex::shell::ScreenArea AreaOfScreenAt(const korvex::shell::WindowPlacement& placement) {
  int screen = wxDisplay::GetFromPoint(wxPoint(placement.x + placement.width / 2,
                                               placement.y + korvex::shell::kReachableMargin / 2));
  if (screen == wxNOT_FOUND) screen = 0;
  const wxRect area = wxDisplay(static_cast<unsigned>(screen)).GetClientArea();
  return {area.x, area.y, area.width, area.height};
}

}  // namespace

wxBEGIN_EVENT_TABLE(CMainFrame, wxFrame)
  EVT_SET_FOCUS(CMainFrame::OnSetFocus)
  EVT_MENU(ID_VIEW_STATUS_BAR, CMainFrame::OnViewStatusBar)
  EVT_UPDATE_UI(ID_VIEW_STATUS_BAR, CMainFrame::OnUpdateViewStatusBar)
  EVT_TIMER(kIndicatorTimerId, CMainFrame::OnIndicatorTimer)
  EVT_TIMER(kPlacementTimerId, CMainFrame::OnPlacementTimer)
  EVT_LIST_ITEM_SELECTED(kLeftOutListId, CMainFrame::OnLeftOutSelected)
  EVT_CLOSE(CMainFrame::OnClose)
wxEND_EVENT_TABLE()

CMainFrame::CMainFrame(korvex::shell::WindowPlacementSetting* placement)
    : wxFrame(nullptr, wxID_ANY, "Korvex"),
      placement_(placement),
      indicatorTimer_(this, kIndicatorTimerId),
      placementTimer_(this, kPlacementTimerId) {
  wxIconBundle icons;
  icons.AddIcon(KorvexIcon(16));
  icons.AddIcon(KorvexIcon(32));
  SetIcons(icons);

  SetMenuBar(CreateMainMenuBar());
  view_ = new CChildView(this);
  leftOutList_ = new wxListCtrl(this, kLeftOutListId, wxDefaultPosition,
                                wxSize(kLeftOutListWidth, -1), wxLC_REPORT | wxLC_SINGLE_SEL);
  for (int column = 0; column < 4; ++column) {
    leftOutList_->AppendColumn(korvex::shell::kLeftOutColumns[column], wxLIST_FORMAT_LEFT,
                               kLeftOutColumnWidths[column]);
  }
  leftOutList_->Hide();
  auto* sizer = new wxBoxSizer(wxHORIZONTAL);
  sizer->Add(view_, 1, wxEXPAND);
  sizer->Add(leftOutList_, 0, wxEXPAND);
  SetSizer(sizer);

  wxStatusBar* statusBar = CreateStatusBar(kStatusPaneCount);
  // Each indicator pane is as wide as its own text, with room for the pane's edges.
  int widths[kStatusPaneCount] = {-1, 0, 0, 0};
  for (const KeyIndicator& indicator : kKeyIndicators) {
    widths[indicator.pane] =
        statusBar->GetTextExtent(indicator.text).GetWidth() + 2 * statusBar->GetCharWidth();
  }
  statusBar->SetStatusWidths(kStatusPaneCount, widths);
  SetStatusText("Ready", kMessagePane);
  UpdateKeyIndicators();
  indicatorTimer_.Start(kIndicatorPollMilliseconds);

  PlaceWindow();
  Bind(wxEVT_MOVE, &CMainFrame::OnMoveOrSize, this);
  Bind(wxEVT_SIZE, &CMainFrame::OnMoveOrSize, this);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::PlaceWindow() {
  SetMinClientSize(wxSize(kMinClientWidth, kMinClientHeight));
  korvex::shell::WindowPlacement wanted;
  if (placement_ != nullptr && placement_->Value()) {
    wanted = *placement_->Value();
  } else {
    const wxRect area = wxDisplay(0u).GetClientArea();
    wanted.width = std::min(kFirstClientWidth, static_cast<int>(area.width * kFirstScreenShare));
    wanted.height = std::min(kFirstClientHeight, static_cast<int>(area.height * kFirstScreenShare));
    wanted.x = area.x + (area.width - wanted.width) / 2;
    wanted.y = area.y + (area.height - wanted.height) / 2;
  }
  normal_ = FitPlacement(wanted, AreaOfScreenAt(wanted), kMinClientWidth, kMinClientHeight);
  normal_.maximized = false;
  // The size is given as a client size, never as the window's: given that way, wxGTK shows
  // the window at once instead of first realising it at 2 x 1 pixels to learn the window
  // manager's frame, which makes GTK assert about the menu bar it can't fit.
  SetClientSize(normal_.width, normal_.height);
  Move(normal_.x, normal_.y);
  if (wanted.maximized) Maximize();
  placed_ = true;
}

void CMainFrame::OnMoveOrSize(wxEvent& event) {
  event.Skip();  // the frame lays out its children on a size event
  if (!placed_ || placement_ == nullptr || !IsShown()) return;
  if (!IsMaximized() && !IsIconized()) {
    const wxPoint position = GetPosition();
    const wxSize client = GetClientSize();
    normal_ = {position.x, position.y, client.GetWidth(), client.GetHeight(), false};
  }
  placementTimer_.StartOnce(kPlacementDelayMilliseconds);
}

void CMainFrame::OnPlacementTimer(wxTimerEvent&) {
  SavePlacement();
}

void CMainFrame::SavePlacement() {
  if (placement_ == nullptr || IsIconized()) return;
  korvex::shell::WindowPlacement saved = normal_;
  saved.maximized = IsMaximized();
  placement_->Assign(saved);
}

void CMainFrame::OnClose(wxCloseEvent& event) {
  placementTimer_.Stop();
  SavePlacement();
  event.Skip();
}

void CMainFrame::UpdateKeyIndicators() {
  wxStatusBar* statusBar = GetStatusBar();
  if (statusBar == nullptr) return;
  for (const KeyIndicator& indicator : kKeyIndicators) {
    const wxString text = wxGetKeyState(indicator.key) ? indicator.text : "";
    if (statusBar->GetStatusText(indicator.pane) != text) {
      statusBar->SetStatusText(text, indicator.pane);
    }
  }
}

void CMainFrame::OnSetFocus(wxFocusEvent&) {
  // The view is the window that takes keyboard input.
  if (view_ != nullptr) view_->SetFocus();
}

void CMainFrame::OnViewStatusBar(wxCommandEvent&) {
  wxStatusBar* statusBar = GetStatusBar();
  statusBar->Show(!statusBar->IsShown());
  // The client area grows or shrinks by the bar's height.
  SendSizeEvent();
}

void CMainFrame::OnUpdateViewStatusBar(wxUpdateUIEvent& event) {
  event.Check(GetStatusBar()->IsShown());
}

void CMainFrame::OnIndicatorTimer(wxTimerEvent&) {
  UpdateKeyIndicators();
}

void CMainFrame::ShowConversion(const std::filesystem::path& shapeFile,
                                std::shared_ptr<const korvex::LeftOutTable> leftOut) {
  leftOutList_->DeleteAllItems();
  if (leftOut != nullptr) {
    long row = 0;
    for (const korvex::shell::LeftOutRow& entry : korvex::shell::LeftOutRows(*leftOut)) {
      leftOutList_->InsertItem(row, wxString::FromUTF8(entry.reason));
      leftOutList_->SetItem(row, 1, wxString::FromUTF8(entry.cell));
      leftOutList_->SetItem(row, 2, wxString::FromUTF8(entry.kind));
      leftOutList_->SetItem(row, 3, wxString::FromUTF8(entry.line));
      ++row;
    }
  }
  leftOutList_->Show(leftOutList_->GetItemCount() > 0);
  const std::string status = leftOut != nullptr ? korvex::shell::LeftOutStatus(*leftOut) : "";
  SetStatusText(status.empty() ? wxString("Ready") : wxString::FromUTF8(status), kMessagePane);
  view_->ShowShapeFile(shapeFile, std::move(leftOut));
  sheet_.Show(korvex::platform::PathText(shapeFile));
  ShowSheetTitle();
  Layout();
}

bool CMainFrame::ShowShapeFile(const std::string& path, std::string& reason) {
  if (!view_->ShowShapeFile(korvex::platform::PathFromUtf8(path), nullptr, &reason)) return false;
  leftOutList_->DeleteAllItems();
  leftOutList_->Hide();
  SetStatusText("Ready", kMessagePane);
  sheet_.Show(path);
  ShowSheetTitle();
  Layout();
  return true;
}

void CMainFrame::MarkSheetStale() {
  sheet_.MarkStale();
  view_->SetStaleNote(sheet_.StaleNote());
  ShowSheetTitle();
}

void CMainFrame::ShowSheetTitle() {
  SetTitle(wxString::FromUTF8(sheet_.Title()));
}

void CMainFrame::OnLeftOutSelected(wxListEvent& event) {
  view_->Highlight(static_cast<int>(event.GetIndex()));
}
