// The conversion dialog's rules: which dialogs it shows, how it forms and checks the
// paths, and the messages it answers with.
#include "app/conversion_dialog_rules.h"

#include "app/dialog_paths.h"
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

}  // namespace

ConversionDialogRules::ConversionDialogRules(LastFileSetting& lastFile, FileChooser& chooser,
                                             DrawingConverter& converter)
    : lastFile_(lastFile), chooser_(chooser), converter_(converter) {}

void ConversionDialogRules::Open() {
  inputPath_ = lastFile_.Value();
  outputPath_.clear();
  outputFolder_.clear();
}

void ConversionDialogRules::BrowseInput() {
  FileDialogRequest request;
  request.kind = FileDialogKind::kOpen;
  request.title = "Select DXF file to Convert to AutoCAD SHP files";
  request.filterDescription = "Shapes DXF files (*.dxf)";
  request.filterPattern = "*.dxf";
  request.defaultExtension = "dxf";
  request.startFolder = FolderWithSeparator(lastFile_.Value());
  request.fileName = lastFile_.Value();

  inputPath_ = lastFile_.Value();
  if (const auto chosen = chooser_.Choose(request)) inputPath_ = *chosen;

  // Compared exactly: a path that differs only in case is another choice.
  if (inputPath_ != lastFile_.Value()) {
    lastFile_.Assign(inputPath_);
    outputPath_.clear();
  }
}

void ConversionDialogRules::BrowseOutput() {
  if (inputPath_.empty()) {
    platform::ShowMessage(kNoInputMessage, platform::kMessageOk);
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

  if (const auto chosen = chooser_.Choose(request)) outputPath_ = ShapeFilePath(*chosen);
}

void ConversionDialogRules::Generate() {
  // The output alone is tested: it can only be set once an input was chosen.
  if (outputPath_.empty()) {
    platform::ShowMessage(kNoOutputMessage, platform::kMessageOk);
    return;
  }
  const Outcome outcome = converter_.Convert(inputPath_, outputPath_);
  // A stop at a limit ends the program, as the conversion's message said it would.
  if (outcome == Outcome::kStopped) platform::EndProcess(platform::kExitStopped);
  platform::ShowMessage(outcome == Outcome::kDone ? kGeneratedMessage : kNotGeneratedMessage,
                        platform::kMessageOk);
}

void ConversionDialogRules::ExitProgram() {
  platform::EndProcess(0);
}

}  // namespace korvex::shell
