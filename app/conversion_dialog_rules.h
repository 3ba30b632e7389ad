// What the conversion dialog does, without its window: the input and output paths, the
// two Browse buttons, Generate and Exit Program. The dialog window only forwards its
// buttons here and shows InputPath() and OutputPath() in its two read-only boxes.
#pragma once

#include <string>

#include "app/drawing_converter.h"
#include "app/file_chooser.h"
#include "app/settings_store.h"

namespace korvex::shell {

class ConversionDialogRules {
 public:
  ConversionDialogRules(LastFileSetting& lastFile, FileChooser& chooser,
                        DrawingConverter& converter);

  // Each opening starts fresh: the input from the last-file setting, no output.
  void Open();
  // Lets the user choose the working drawing. A new input is remembered at once as the
  // last file and clears the output; a cancel or the same file again changes nothing.
  void BrowseInput();
  // Lets the user choose the .shp file, proposing one beside the input. Refused without
  // an input. A cancel keeps the earlier output, so the box always shows what Generate
  // writes to.
  void BrowseOutput();
  // Converts the input into the output and tells the outcome; the dialog stays open.
  void Generate();
  // Ends the program at once with status 0; the setting was already written.
  [[noreturn]] void ExitProgram();

  const std::string& InputPath() const { return inputPath_; }
  const std::string& OutputPath() const { return outputPath_; }
  // Folder of the input, where the save dialog starts.
  const std::string& OutputFolder() const { return outputFolder_; }

 private:
  LastFileSetting& lastFile_;
  FileChooser& chooser_;
  DrawingConverter& converter_;
  std::string inputPath_;
  std::string outputPath_;
  std::string outputFolder_;
};

}  // namespace korvex::shell
