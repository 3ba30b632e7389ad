// CMainFrame: the program's only top-level window, with its menu bar, the client view
// that shows a shape file's sheet, the list of what a conversion left out, and the status
// bar. The menu commands themselves are handled by the application object, which
// wxWidgets offers every command the frame leaves alone. The frame opens where it was
// left and keeps its placement with the settings.
#pragma once

#include <wx/frame.h>
#include <wx/timer.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/shape_file_opening.h"
#include "app/shown_sheet.h"
#include "app/window_placement.h"
#include "sheet/left_out_table.h"

class CChildView;
class wxListCtrl;
class wxListEvent;

// Panes of the status bar, left to right.
enum StatusPane {
  kMessagePane,  // menu prompts, or "Ready" when no menu is open
  kCapsPane,     // "CAP" while Caps Lock is on
  kNumPane,      // "NUM" while Num Lock is on
  kScrollPane,   // "SCRL" while Scroll Lock is on
  kStatusPaneCount,
};

class CMainFrame : public wxFrame, public korvex::shell::ShapeFileViewer {
 public:
  // The smallest client area: the sheet stays large enough to read beside the list.
  static constexpr int kMinClientWidth = 640;
  static constexpr int kMinClientHeight = 420;
  // The client area of a first start, made smaller on a smaller screen.
  static constexpr int kFirstClientWidth = 960;
  static constexpr int kFirstClientHeight = 720;

  // placement: where the window was left, and where its moves are kept; nullptr: a first
  // start that keeps nothing.
  explicit CMainFrame(korvex::shell::WindowPlacementSetting* placement = nullptr);
  ~CMainFrame() override;

  CChildView* View() const { return view_; }
  wxListCtrl* LeftOutList() const { return leftOutList_; }
  // Shows the sheet of a written shape file and, beside it, the list of what its conversion
  // left out (hidden when nothing was), with their count in the status bar; the title
  // names the file.
  void ShowConversion(const std::filesystem::path& shapeFile,
                      std::shared_ptr<const korvex::LeftOutTable> leftOut);
  // Shows a shape file the user opened, as a converted one is shown, without a list.
  bool ShowShapeFile(const std::string& path, std::string& reason) override;
  // A conversion failed: the sheet shown is marked out of date, in the title and on it.
  void MarkSheetStale();
  const korvex::shell::ShownSheet& Sheet() const { return sheet_; }
  // Shows each indicator's text while its lock key is on and leaves it blank while off.
  void UpdateKeyIndicators();
  // Writes the window's placement now (it is otherwise written a moment after it changes).
  void SavePlacement();

 private:
  void PlaceWindow();
  void OnSetFocus(wxFocusEvent& event);
  void OnViewStatusBar(wxCommandEvent& event);
  void OnUpdateViewStatusBar(wxUpdateUIEvent& event);
  void OnIndicatorTimer(wxTimerEvent& event);
  void OnPlacementTimer(wxTimerEvent& event);
  void OnLeftOutSelected(wxListEvent& event);
  void OnMoveOrSize(wxEvent& event);
  void OnClose(wxCloseEvent& event);
  void ShowSheetTitle();

  CChildView* view_ = nullptr;
  wxListCtrl* leftOutList_ = nullptr;
  korvex::shell::ShownSheet sheet_;
  korvex::shell::WindowPlacementSetting* placement_;
  // The last placement while neither maximised nor minimised: a maximised window comes
  // back maximised over it, and restores to it.
  korvex::shell::WindowPlacement normal_;
  bool placed_ = false;
  // Lock keys change without any event reaching this window, so their state is polled.
  wxTimer indicatorTimer_;
  // A drag moves or sizes the window many times a second; the placement is written once it
  // stops.
  wxTimer placementTimer_;

  wxDECLARE_EVENT_TABLE();
};
