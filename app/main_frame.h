// CMainFrame: the program's only top-level window, with its menu bar, the empty client
// view and the status bar. The menu commands themselves are handled by the application
// object, which wxWidgets offers every command the frame leaves alone.
#pragma once

#include <wx/frame.h>
#include <wx/timer.h>

#include <filesystem>
#include <memory>

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

class CMainFrame : public wxFrame {
 public:
  CMainFrame();

  CChildView* View() const { return view_; }
  wxListCtrl* LeftOutList() const { return leftOutList_; }
  // Shows the sheet of a written shape file and, beside it, the list of what its conversion
  // left out (hidden when nothing was), with their count in the status bar.
  void ShowConversion(const std::filesystem::path& shapeFile,
                      std::shared_ptr<const korvex::LeftOutTable> leftOut);
  // Shows each indicator's text while its lock key is on and leaves it blank while off.
  void UpdateKeyIndicators();

 private:
  void OnSetFocus(wxFocusEvent& event);
  void OnViewStatusBar(wxCommandEvent& event);
  void OnUpdateViewStatusBar(wxUpdateUIEvent& event);
  void OnIndicatorTimer(wxTimerEvent& event);
  void OnLeftOutSelected(wxListEvent& event);

  CChildView* view_ = nullptr;
  wxListCtrl* leftOutList_ = nullptr;
  // Lock keys change without any event reaching this window, so their state is polled.
  wxTimer indicatorTimer_;

  wxDECLARE_EVENT_TABLE();
};
