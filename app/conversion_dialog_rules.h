// What the conversion dialog does, without its window: the input and output paths, typed
// or chosen with the two Browse buttons, Generate and Exit Program, and where the keyboard
// focus goes after each of them. The dialog window forwards its boxes and buttons here and
// shows InputPath() and OutputPath() in its two path boxes.
#pragma once

#include <string>

#include "app/conversion_preview.h"
#include "app/drawing_converter.h"
#include "app/file_chooser.h"
#include "app/settings_store.h"

namespace korvex::shell {

// The controls of the dialog that take the keyboard focus.
enum class DialogControl {
  kInputBox,
  kBrowseInput,
  kOutputBox,
  kBrowseOutput,
  kGenerate,
  kExitToMainMenu,
  kExitProgram,
};

// Tab order: each box before its own Browse button, then the buttons that act on both.
inline constexpr DialogControl kConversionDialogTabOrder[] = {
    DialogControl::kInputBox,     DialogControl::kBrowseInput, DialogControl::kOutputBox,
    DialogControl::kBrowseOutput, DialogControl::kGenerate,    DialogControl::kExitToMainMenu,
    DialogControl::kExitProgram,
};

class ConversionDialogRules {
 public:
  // homeFolder stands for "~" in a typed path; empty: "~" is taken as it is.
  ConversionDialogRules(LastFileSetting& lastFile, FileChooser& chooser,
                        DrawingConverter& converter, std::string homeFolder = {});

  // Where a written file is shown while the dialog stays open; none by default.
  void SetPreview(ConversionPreview* preview) { preview_ = preview; }

  // Each opening starts fresh: the input from the last-file setting, no output, the focus
  // in the input box.
  void Open();

  // The text of a path box as the user types or pastes it. It becomes the path when the
  // focus leaves the box (CommitInput) or Generate runs.
  void TypeInput(const std::string& text);
  void TypeOutput(const std::string& text);
  // Takes the typed input (see TypedPath: a name alone lies in the last file's folder). A
  // new input is remembered at once as the last file and clears the output chosen for the
  // one before, as a browsed one does; an output typed since stays. True when the paths
  // changed, so that the boxes show them anew.
  bool CommitInput();

  // Lets the user choose the working drawing. A new input is remembered at once as the
  // last file and clears the output; a cancel or the same file again changes nothing.
  void BrowseInput();
  // Lets the user choose the .shp file, proposing one beside the input. Refused without
  // an input. A cancel keeps the earlier output, so the box always shows what Generate
  // writes to.
  void BrowseOutput();
  // Converts the input into the output and tells the outcome in one message, with the
  // conversion's reasons under a failure; the dialog stays open. A typed output ends in .shp
  // or .shx as a chosen one does, lies beside the input when it names no folder, and replaces
  // an existing file only after the user agrees, as the save dialog asks.
  void Generate();
  // Ends the program at once with status 0; the setting was already written.
  [[noreturn]] void ExitProgram();

  const std::string& InputPath() const { return inputPath_; }
  const std::string& OutputPath() const { return outputPath_; }
  // What each box shows: the text typed there until it is taken as the path, then the path.
  const std::string& InputText() const { return inputTyped_ ? typedInput_ : inputPath_; }
  const std::string& OutputText() const { return outputTyped_ ? typedOutput_ : outputPath_; }
  // Folder of the input, where the save dialog starts.
  const std::string& OutputFolder() const { return outputFolder_; }
  // Where the focus belongs after the last action: on to the next box or to Generate once
  // a Browse has filled its box, back to the box a refusal was about, else where it was.
  DialogControl Focus() const { return focus_; }

 private:
  // Takes the typed output as Generate does: beside the input when it names no folder,
  // ending in .shp or .shx as a chosen one does.
  void CommitOutput();
  // Whether the file may be written: it does not exist, or the user agreed to replace it
  // (in the save dialog or in this dialog's question).
  bool MayReplace(const std::string& path);

  LastFileSetting& lastFile_;
  FileChooser& chooser_;
  DrawingConverter& converter_;
  std::string homeFolder_;
  ConversionPreview* preview_ = nullptr;
  std::string inputPath_;
  std::string outputPath_;
  std::string outputFolder_;
  // Typed texts not yet taken as paths; a box's text is taken only when the user changed it.
  std::string typedInput_;
  std::string typedOutput_;
  bool inputTyped_ = false;
  bool outputTyped_ = false;
  // The output the user last agreed may be replaced (the save dialog asks before it returns).
  std::string replaceAgreed_;
  DialogControl focus_ = DialogControl::kInputBox;
};

}  // namespace korvex::shell
