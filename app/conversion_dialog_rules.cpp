// The conversion dialog's rules: which dialogs it shows, how it forms and checks the
// paths, the messages it answers with, and where the focus goes next.
#include "app/conversion_dialog_rules.h"

#include <filesystem>
#include <system_error>

#include "app/dialog_paths.h"
#include "app/gathered_messages.h"
#include "platform/platform.h"

namespace korvex::shell {
namespace {

constexpr const char* kNoInputMessage = "Please enter input Shapes dxf file first";
constexpr const char* kNoOutputMessage =
    "You must specify both the Input DXF file\nand the Output SHP file";
constexpr const char* kGeneratedMessage =
    "Shape File Generated!\n"
    "Compile the generated shp file in AutoCAD\n"
    "to create the shx file for your shapes.\n"
    "Then load the shx file to use your shapes!";
constexpr const char* kNotGeneratedMessage = "Shape File Not Generated";

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(platform::PathFromUtf8(path), error);
}

}  // namespace

ConversionDialogRules::ConversionDialogRules(LastFileSetting& lastFile, FileChooser& chooser,
                                             DrawingConverter& converter, std::string homeFolder)
    : lastFile_(lastFile),
      chooser_(chooser),
      converter_(converter),
      homeFolder_(std::move(homeFolder)) {}

void ConversionDialogRules::Open() {
  inputPath_ = lastFile_.Value();
  outputPath_.clear();
  outputFolder_.clear();
  inputTyped_ = false;
  outputTyped_ = false;
  replaceAgreed_.clear();
  focus_ = DialogControl::kInputBox;
}

void ConversionDialogRules::TypeInput(const std::string& text) {
  typedInput_ = text;
  inputTyped_ = true;
}

void ConversionDialogRules::TypeOutput(const std::string& text) {
  typedOutput_ = text;
  outputTyped_ = true;
}

bool ConversionDialogRules::CommitInput() {
  if (!inputTyped_) return false;
  inputTyped_ = false;
  const std::string path =
      TypedPath(typedInput_, FolderWithSeparator(lastFile_.Value()), homeFolder_);
  const bool reworded = path != typedInput_;
  if (path == inputPath_) return reworded;
  inputPath_ = path;
  // An emptied box is no choice of a drawing: nothing is remembered and the output stays.
  // An output typed and not yet taken is the user's latest word: it stays too.
  if (!inputPath_.empty() && inputPath_ != lastFile_.Value()) {
    lastFile_.Assign(inputPath_);
    outputPath_.clear();
  }
  return true;
}

void ConversionDialogRules::CommitOutput() {
  if (!outputTyped_) return;
  outputTyped_ = false;
  const std::string path = TypedPath(typedOutput_, FolderWithSeparator(inputPath_), homeFolder_);
  outputPath_ = path.empty() ? path : ShapeFilePath(path);
}

void ConversionDialogRules::BrowseInput() {
  CommitInput();
  FileDialogRequest request;
  request.kind = FileDialogKind::kOpen;
  request.title = "Select DXF file to Convert to AutoCAD SHP files";
  request.filterDescription = "Shapes DXF files (*.dxf)";
  request.filterPattern = "*.dxf";
  request.defaultExtension = "dxf";
  request.startFolder = FolderWithSeparator(lastFile_.Value());
  request.fileName = lastFile_.Value();

  inputPath_ = lastFile_.Value();
  const auto chosen = chooser_.Choose(request);
  if (chosen) inputPath_ = *chosen;
  focus_ = chosen ? DialogControl::kOutputBox : DialogControl::kBrowseInput;

  // Compared exactly: a path that differs only in case is another choice.
  if (inputPath_ != lastFile_.Value()) {
    lastFile_.Assign(inputPath_);
    outputPath_.clear();
  }
}

void ConversionDialogRules::BrowseOutput() {
  CommitInput();
  if (inputPath_.empty()) {
    platform::ShowMessage(kNoInputMessage, platform::kMessageOk);
    focus_ = DialogControl::kInputBox;
    return;
  }
  outputFolder_ = FolderWithSeparator(inputPath_);

  FileDialogRequest request;
  request.kind = FileDialogKind::kSave;
  request.title = "Save To shp";
  request.filterDescription = "Shape SHP files (*.shp)";
  request.filterPattern = "*.shp";
  // The compiled file CAD programs load, written without their compiler.
  request.otherFilterDescription = "Compiled shape SHX files (*.shx)";
  request.otherFilterPattern = "*.shx";
  request.defaultExtension = "shp";
  request.startFolder = outputFolder_;
  request.fileName = DefaultOutputName(inputPath_);

  const auto chosen = chooser_.Choose(request);
  if (!chosen) {
    focus_ = DialogControl::kBrowseOutput;
    return;
  }
  outputPath_ = ShapeFilePath(*chosen);
  outputTyped_ = false;
  // The save dialog asked before it returned an existing name; a name the program
  // lengthened is another file, which nobody was asked about.
  replaceAgreed_ = outputPath_ == *chosen ? outputPath_ : std::string();
  focus_ = DialogControl::kGenerate;
}

bool ConversionDialogRules::MayReplace(const std::string& path) {
  if (path == replaceAgreed_ || !FileExists(path)) return true;
  if (platform::ShowMessage(ReplaceQuestion(path), platform::kMessageYesNoWarning) !=
      platform::kAnswerYes) {
    return false;
  }
  replaceAgreed_ = path;
  return true;
}

void ConversionDialogRules::Generate() {
  CommitInput();
  CommitOutput();
  // The output is tested first: its message names both paths.
  if (outputPath_.empty()) {
    platform::ShowMessage(kNoOutputMessage, platform::kMessageOk);
    focus_ = inputPath_.empty() ? DialogControl::kInputBox : DialogControl::kOutputBox;
    return;
  }
  if (inputPath_.empty()) {
    platform::ShowMessage(kNoInputMessage, platform::kMessageOk);
    focus_ = DialogControl::kInputBox;
    return;
  }
  if (!MayReplace(outputPath_)) {
    focus_ = DialogControl::kOutputBox;
    return;
  }
  focus_ = DialogControl::kGenerate;

  Outcome outcome;
  std::string reasons;
  unsigned reasonFlags;
  {
    GatheredMessages gathered;
    outcome = converter_.Convert(inputPath_, outputPath_);
    reasons = gathered.Text();
    reasonFlags = gathered.Flags();
  }
  if (outcome == Outcome::kStopped) {
    // A stop at a limit ends the program, as the conversion's message said it would.
    if (!reasons.empty()) platform::ShowMessage(reasons, reasonFlags);
    platform::EndProcess(platform::kExitStopped);
  }
  if (outcome == Outcome::kDone) {
    // The file is the dialog's own now: converting again replaces it without asking.
    replaceAgreed_ = outputPath_;
    if (preview_ != nullptr) preview_->ShowWritten(outputPath_);
    const std::string written = std::string(kGeneratedMessage) + "\n\nWritten to " + outputPath_;
    platform::ShowMessage(WithReasons(written, reasons), reasonFlags);
    return;
  }
  if (preview_ != nullptr) preview_->ShowFailed();
  platform::ShowMessage(WithReasons(kNotGeneratedMessage, reasons), reasonFlags);
}

void ConversionDialogRules::ExitProgram() {
  platform::EndProcess(0);
}

}  // namespace korvex::shell
