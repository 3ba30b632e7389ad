// CMainFrame: menu bar, client view and status bar of the main window, the status bar's
// toggle, and its lock-key indicators.
#include "app/main_frame.h"

#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "app/app_icon.h"
#include "app/child_view.h"
#include "app/command_ids.h"
#include "app/left_out_rows.h"

namespace {

// Windows gives a new window a default size in proportion to the screen; wxWidgets' own
// default elsewhere (400 by 250) is too small for the menu bar and the dialog it opens.
#ifdef __WXMSW__
const wxSize kInitialSize = wxDefaultSize;
#else
const wxSize kInitialSize(720, 480);
#endif

constexpr int kIndicatorTimerId = 1;
constexpr int kLeftOutListId = 2;
// The list's width beside the sheet, and its columns' share of it.
constexpr int kLeftOutListWidth = 380;
constexpr int kLeftOutColumnWidths[] = {230, 45, 55, 50};
constexpr int kIndicatorPollMilliseconds = 250;

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

wxMenuBar* CreateMainMenuBar() {
  auto* fileMenu = new wxMenu;
  fileMenu->Append(wxID_EXIT, "E&xit", "Quit the application; prompts to save documents");

  auto* viewMenu = new wxMenu;
  viewMenu->AppendCheckItem(ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar");

  // The program's own commands have no prompt: highlighting them blanks the message pane.
  auto* korvexMenu = new wxMenu;
  korvexMenu->Append(ID_CREATE_EMPTY_SHAPES_FILE, "Create Empty DXF Shapes File");
  korvexMenu->Append(ID_GENERATE_SHAPE_FILE, "Generate Shape (SHP) File");

  auto* productMenu = new wxMenu;
  productMenu->Append(ID_LATEST_VERSION_INFO, "Latest version info");
  productMenu->Append(ID_DOWNLOAD_CURRENT_VERSION, "Download Current Version");

  auto* helpMenu = new wxMenu;
  helpMenu->Append(wxID_ABOUT, "&About Korvex...",
                   "Display program information, version number and copyright");
  helpMenu->Append(wxID_HELP, "User Manual");

  auto* menuBar = new wxMenuBar;
  menuBar->Append(fileMenu, "&File");
  menuBar->Append(viewMenu, "&View");
  menuBar->Append(korvexMenu, "Korvex");
  menuBar->Append(productMenu, "Product");
  menuBar->Append(helpMenu, "&Help");
  return menuBar;
}

}  // namespace

wxBEGIN_EVENT_TABLE(CMainFrame, wxFrame)
  EVT_SET_FOCUS(CMainFrame::OnSetFocus)
  EVT_MENU(ID_VIEW_STATUS_BAR, CMainFrame::OnViewStatusBar)
  EVT_UPDATE_UI(ID_VIEW_STATUS_BAR, CMainFrame::OnUpdateViewStatusBar)
  EVT_TIMER(kIndicatorTimerId, CMainFrame::OnIndicatorTimer)
  EVT_LIST_ITEM_SELECTED(kLeftOutListId, CMainFrame::OnLeftOutSelected)
wxEND_EVENT_TABLE()

CMainFrame::CMainFrame()
    : wxFrame(nullptr, wxID_ANY, "Korvex", wxDefaultPosition, kInitialSize),
      indicatorTimer_(this, kIndicatorTimerId) {
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
  Layout();
}

void CMainFrame::OnLeftOutSelected(wxListEvent& event) {
  view_->Highlight(static_cast<int>(event.GetIndex()));
}
