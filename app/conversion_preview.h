// Where the conversion dialog shows what a conversion wrote, while it stays open: the main
// window's sheet. The dialog tells it of every outcome, so that the sheet never passes for
// the drawing's shapes after a conversion that failed.
#pragma once

#include <string>

namespace korvex::shell {

class ConversionPreview {
 public:
  virtual ~ConversionPreview() = default;
  // The conversion wrote outputPath: show it now.
  virtual void ShowWritten(const std::string& outputPath) = 0;
  // The conversion wrote nothing: what is shown no longer stands for the drawing.
  virtual void ShowFailed() = 0;
};

}  // namespace korvex::shell
