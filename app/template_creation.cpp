// Creation of an empty working drawing as a byte-for-byte copy of ShapesTemplate.dxf.
#include "app/template_creation.h"

#include <string>

#include "app/dialog_paths.h"
#include "platform/platform.h"

namespace korvex::shell {
namespace {

constexpr const char* kTemplateMissingMessage =
    "ShapesTemplate.dxf support file not found\n"
    "Try reinstalling Korvex";

}  // namespace

TemplateCreation::TemplateCreation(FileChooser& chooser, TemplateFiles& files)
    : chooser_(chooser), files_(files) {}

bool TemplateCreation::CreateEmptyShapesFile() {
  const std::filesystem::path templatePath = files_.TemplatePath();
  if (templatePath.empty() || !files_.Readable(templatePath)) {
    platform::ShowMessage(kTemplateMissingMessage, platform::kMessageInformation);
    return false;
  }

  FileDialogRequest request;
  request.kind = FileDialogKind::kSave;
  request.title = "Create Shapes DXF file";
  request.filterDescription = "AutoCAD DXF files (*.dxf)";
  request.filterPattern = "*.dxf";
  request.defaultExtension = "dxf";
  const auto chosen = chooser_.Choose(request);
  if (!chosen) return false;

  const std::string target = WithDefaultExtension(*chosen, request.defaultExtension);
  std::error_code error;
  if (!files_.Copy(templatePath, platform::PathFromUtf8(target), error)) {
    // Silence would leave the user looking for a file that isn't there.
    platform::ShowMessage("Empty Shapes DXF Not Created in\n" + target + "\n" + error.message(),
                          platform::kMessageOk);
    return false;
  }
  platform::ShowMessage("Empty Shapes DXF Created in\n" + target +
                            "\nProceed to add your shapes to this file using AutoCAD"
                            "\nWhen finished, run Korvex to create your shape (SHP) file",
                        platform::kMessageOk);
  return true;
}

}  // namespace korvex::shell
