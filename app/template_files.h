// The support drawing ShapesTemplate.dxf as the empty-drawing command needs it: where it
// lies, whether it can be read, and its copy to the user's chosen file.
#pragma once

#include <filesystem>
#include <system_error>

namespace korvex::shell {

class TemplateFiles {
 public:
  virtual ~TemplateFiles() = default;
  // Support/ShapesTemplate.dxf beside the program; empty when the program's folder is
  // unknown.
  virtual std::filesystem::path TemplatePath() = 0;
  virtual bool Readable(const std::filesystem::path& templatePath) = 0;
  // Copies byte for byte, replacing an existing target (the save dialog asked first).
  virtual bool Copy(const std::filesystem::path& templatePath,
                    const std::filesystem::path& targetPath, std::error_code& error) = 0;
};

// The program's support files, through the conversion library's template functions.
class SupportTemplateFiles final : public TemplateFiles {
 public:
  std::filesystem::path TemplatePath() override;
  bool Readable(const std::filesystem::path& templatePath) override;
  bool Copy(const std::filesystem::path& templatePath, const std::filesystem::path& targetPath,
            std::error_code& error) override;
};

}  // namespace korvex::shell
