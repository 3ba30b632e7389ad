// CChildView: the main window's client area. Empty until a shape file is shown (one a
// conversion wrote, or one the user opened); then it shows that file's shapes on a sheet
// laid out like the template, with what the conversion left out dashed where it lies,
// redrawn to the window's size. The mouse wheel zooms about the pointer and dragging pans;
// + and - zoom, the arrow keys pan and 0 (or Home) shows the whole sheet again.
#pragma once

#include <wx/window.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/sheet_viewport.h"
#include "sheet/left_out_table.h"

class CChildView : public wxWindow {
 public:
  // Labels are never drawn smaller than this, in pixels: the sheet's own label height
  // would be about 3 pixels on a sheet of 450.
  static constexpr double kMinLabelPixels = 9;

  explicit CChildView(wxWindow* parent);

  // Shows the sheet of a shape file, with what its conversion left out dashed where it
  // lies (nullptr: nothing). Given a reason, the file is read at once: false, with the
  // reason naming the file, when it can't be, and the view keeps what it showed; without
  // one, a file that can't be read says why where its sheet would be. Another file starts
  // with the whole sheet; the same file again keeps the zoom.
  bool ShowShapeFile(const std::filesystem::path& shapeFile,
                     std::shared_ptr<const korvex::LeftOutTable> leftOut = nullptr,
                     std::string* reason = nullptr);
  const std::filesystem::path& ShownShapeFile() const { return shapeFile_; }
  // Marks out one entry of what was left out; -1 marks none.
  void Highlight(int entry);
  // Fades the sheet and writes the note across it; an empty note shows it as it is.
  void SetStaleNote(const std::string& note);
  const std::string& StaleNote() const { return staleNote_; }
  const korvex::shell::SheetViewport& Viewport() const { return viewport_; }
  // How many times the sheet was drawn: a new file, a zoom or a pan draws it again.
  int SheetsDrawn() const { return sheetsDrawn_; }

 private:
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnMouseWheel(wxMouseEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void EndDrag();

  std::filesystem::path shapeFile_;
  std::shared_ptr<const korvex::LeftOutTable> leftOut_;
  int highlight_ = -1;
  std::string staleNote_;
  korvex::shell::SheetViewport viewport_;
  // Wheel rotation short of one notch (touchpads send it in small parts).
  int wheelRemainder_ = 0;
  bool dragging_ = false;
  wxPoint dragFrom_;
  int sheetsDrawn_ = 0;

  wxDECLARE_EVENT_TABLE();
};
