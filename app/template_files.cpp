// The program's support drawing, found beside the executable through the platform layer.
#include "app/template_files.h"

#include "dxf/template_drawing.h"

namespace korvex::shell {

std::filesystem::path SupportTemplateFiles::TemplatePath() {
  return TemplateDrawingPath();
}

bool SupportTemplateFiles::Readable(const std::filesystem::path& templatePath) {
  return TemplateDrawingReadable(templatePath);
}

bool SupportTemplateFiles::Copy(const std::filesystem::path& templatePath,
                                const std::filesystem::path& targetPath, std::error_code& error) {
  return CopyTemplateDrawing(templatePath, targetPath, /*replaceExisting=*/true, error);
}

}  // namespace korvex::shell
