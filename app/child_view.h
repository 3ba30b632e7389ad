// CChildView: the main window's client area. Empty until a conversion writes a shape file;
// then it shows that file's shapes on a sheet laid out like the template, redrawn to the
// window's size.
#pragma once

#include <wx/window.h>

#include <filesystem>

class CChildView : public wxWindow {
 public:
  explicit CChildView(wxWindow* parent);

  // Shows the sheet of the shape file just written.
  void ShowShapeFile(const std::filesystem::path& shapeFile);
  const std::filesystem::path& ShownShapeFile() const { return shapeFile_; }

 private:
  void OnPaint(wxPaintEvent& event);

  std::filesystem::path shapeFile_;

  wxDECLARE_EVENT_TABLE();
};
