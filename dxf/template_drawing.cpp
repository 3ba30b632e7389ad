#include "dxf/template_drawing.h"

#include <cstdio>

#include "platform/pending_file.h"
#include "platform/platform.h"

namespace korvex {

std::filesystem::path TemplateDrawingPath() {
  const std::filesystem::path folder = platform::ExecutableFolder();
  if (folder.empty()) return {};
  return folder / "Support" / "ShapesTemplate.dxf";
}

bool TemplateDrawingReadable(const std::filesystem::path& templatePath) {
  if (templatePath.empty()) return false;
  std::string reason;
  std::FILE* file = platform::OpenInputFile(templatePath, reason);
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

bool CopyTemplateDrawing(const std::filesystem::path& templatePath,
                         const std::filesystem::path& targetPath, bool replaceExisting,
                         std::error_code& error) {
  return platform::CopyFileByPath(templatePath, targetPath, replaceExisting, error);
}

}  // namespace korvex
