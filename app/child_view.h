// CChildView: the main window's client area. Empty until a conversion writes a shape file;
// then it shows that file's shapes on a sheet laid out like the template, with what the
// conversion left out dashed where it lies, redrawn to the window's size.
#pragma once

#include <wx/window.h>

#include <filesystem>
#include <memory>

#include "sheet/left_out_table.h"

class CChildView : public wxWindow {
 public:
  explicit CChildView(wxWindow* parent);

  // Shows the sheet of the shape file just written, with what its conversion left out
  // dashed where it lies (nullptr: nothing).
  void ShowShapeFile(const std::filesystem::path& shapeFile,
                     std::shared_ptr<const korvex::LeftOutTable> leftOut = nullptr);
  const std::filesystem::path& ShownShapeFile() const { return shapeFile_; }
  // Marks out one entry of what was left out; -1 marks none.
  void Highlight(int entry);

 private:
  void OnPaint(wxPaintEvent& event);

  std::filesystem::path shapeFile_;
  std::shared_ptr<const korvex::LeftOutTable> leftOut_;
  int highlight_ = -1;

  wxDECLARE_EVENT_TABLE();
};
