// The preview file formats, known by the file's extension. Apart from the preview itself,
// so that the command line can check a name without cairo.
#pragma once

#include <filesystem>
#include <string>

namespace korvex {

enum class PreviewFormat { kPng, kSvg, kUnknown };

// By the extension, in any case: ".png" or ".svg".
inline PreviewFormat PreviewFormatOf(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (extension == ".png") return PreviewFormat::kPng;
  if (extension == ".svg") return PreviewFormat::kSvg;
  return PreviewFormat::kUnknown;
}

}  // namespace korvex
