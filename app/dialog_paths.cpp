// Path texts of the shell's dialogs: folders, proposed names and required extensions.
#include "app/dialog_paths.h"

#include <cctype>

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

constexpr const char* kBlanks = " \t\r\n";

// "/home", "\\server\share" and "C:\work" name where they start; "shapes.dxf" and
// "drawings/shapes.dxf" lie in some folder given elsewhere.
bool StartsFromARoot(const std::string& path) {
  if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
  return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
         (path[2] == '\\' || path[2] == '/');
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A file manager copies a file as "file:///home/ann/my%20shapes.dxf".
std::string PathOfFileAddress(const std::string& address) {
  std::string path;
  for (std::size_t i = 0; i < address.size(); ++i) {
    const int high = i + 2 < address.size() ? HexDigit(address[i + 1]) : -1;
    const int low = high >= 0 ? HexDigit(address[i + 2]) : -1;
    if (address[i] == '%' && low >= 0) {
      path += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      path += address[i];
    }
  }
  // "file:///C:/work" names C:/work.
  if (path.size() >= 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
  return path;
}

}  // namespace

std::string FolderWithSeparator(const std::string& path) {
  return path.substr(0, FileNameStart(path));
}

std::string DefaultOutputName(const std::string& inputPath, const char* extension) {
  // The path without its extension: a dot in a folder's name is no extension.
  const std::size_t dot = inputPath.find_last_of('.');
  if (dot == std::string::npos || dot < FileNameStart(inputPath)) return inputPath + extension;
  return inputPath.substr(0, dot) + extension;
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

std::string ReplaceQuestion(const std::string& path) {
  return path + " already exists.\nDo you want to replace it?";
}

std::string TypedPath(const std::string& typed, const std::string& baseFolder,
                      const std::string& homeFolder) {
  const std::size_t first = typed.find_first_not_of(kBlanks);
  if (first == std::string::npos) return {};
  std::string path = typed.substr(first, typed.find_last_not_of(kBlanks) - first + 1);
  for (const char quote : {'"', '\''}) {
    if (path.size() >= 2 && path.front() == quote && path.back() == quote) {
      path = path.substr(1, path.size() - 2);
    }
  }
  constexpr std::string_view kFileScheme = "file://";
  if (path.rfind(kFileScheme, 0) == 0) {
    std::string address = path.substr(kFileScheme.size());
    if (address.rfind("localhost/", 0) == 0) address.erase(0, 9);
    return PathOfFileAddress(address);
  }
  if (!homeFolder.empty() && (path == "~" || path.rfind("~/", 0) == 0)) {
    const bool separated = homeFolder.back() == '/' || homeFolder.back() == '\\';
    return path.size() == 1 ? homeFolder
                            : homeFolder + (separated ? path.substr(2) : path.substr(1));
  }
  if (StartsFromARoot(path)) return path;
  return baseFolder + path;
}

}  // namespace korvex::shell
