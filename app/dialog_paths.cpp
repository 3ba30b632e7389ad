// Path texts of the shell's dialogs: folders, proposed names and required extensions.
#include "app/dialog_paths.h"

namespace korvex::shell {
namespace {

constexpr const char* kSeparators = "\\/";

// Where the file name starts: just after the last separator.
std::size_t FileNameStart(const std::string& path) {
  const std::size_t separator = path.find_last_of(kSeparators);
  return separator == std::string::npos ? 0 : separator + 1;
}

// ASCII upper case is enough: only ASCII letters compare equal to "SHP".
std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

}  // namespace

std::string FolderWithSeparator(const std::string& path) {
  return path.substr(0, FileNameStart(path));
}

std::string DefaultOutputName(const std::string& inputPath) {
  // The path without its extension: a dot in a folder's name is no extension.
  const std::size_t dot = inputPath.find_last_of('.');
  if (dot == std::string::npos || dot < FileNameStart(inputPath)) return inputPath + ".shp";
  return inputPath.substr(0, dot) + ".shp";
}

std::string ShapeFilePath(const std::string& chosenPath) {
  std::string path = chosenPath;
  if (path.find('.') == std::string::npos) path += ".shp";
  const std::string extension = UpperAscii(path.substr(path.find_last_of('.') + 1));
  if (extension != "SHP" && extension != "SHX") path += ".shp";
  return path;
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  if (extension.empty() || path.find('.', FileNameStart(path)) != std::string::npos) return path;
  return path + "." + extension;
}

}  // namespace korvex::shell
