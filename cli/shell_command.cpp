#include "cli/shell_command.h"

#include <cstdlib>
#include <filesystem>

#include "platform/platform.h"

namespace korvex::cli {

namespace {

constexpr const char* kProgramName = "korvex-cli";
#ifdef _WIN32
constexpr const wchar_t* kProgramFileName = L"korvex-cli.exe";
constexpr wchar_t kSearchPathSeparator = L';';
#else
constexpr const char* kProgramFileName = "korvex-cli";
constexpr char kSearchPathSeparator = ':';
#endif

using PathString = std::filesystem::path::string_type;

PathString SearchPath() {
#ifdef _WIN32
  const wchar_t* value = _wgetenv(L"PATH");
#else
  const char* value = std::getenv("PATH");
#endif
  return value != nullptr ? PathString(value) : PathString();
}

// The file the shell starts for the program's name: the first folder of the search path
// that holds one (the Windows command prompt looks in the current folder first). Empty
// when none does.
std::filesystem::path ProgramFoundBySearch() {
  std::error_code error;
#ifdef _WIN32
  if (std::filesystem::exists(kProgramFileName, error)) {
    return std::filesystem::current_path(error) / kProgramFileName;
  }
#endif
  const PathString searchPath = SearchPath();
  std::size_t start = 0;
  while (start <= searchPath.size()) {
    std::size_t end = searchPath.find(kSearchPathSeparator, start);
    if (end == PathString::npos) end = searchPath.size();
    // An empty entry of a POSIX search path is the current folder.
    const std::filesystem::path folder =
        end > start ? std::filesystem::path(searchPath.substr(start, end - start))
                    : std::filesystem::path(".");
    const std::filesystem::path candidate = folder / kProgramFileName;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate;
    start = end + 1;
  }
  return {};
}

bool IsPlainShellCharacter(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  // Bytes of UTF-8 letters are plain to every shell.
  if (static_cast<unsigned char>(c) >= 0x80) return true;
#ifdef _WIN32
  return c == '_' || c == '-' || c == '.' || c == '/' || c == '\\' || c == ':';
#else
  return c == '_' || c == '-' || c == '.' || c == '/' || c == ',' || c == '+' || c == '@' ||
         c == '%' || c == ':';
#endif
}

}  // namespace

std::string ShellWord(const std::string& text) {
  bool plain = !text.empty();
  for (const char c : text) plain = plain && IsPlainShellCharacter(c);
  if (plain) return text;
#ifdef _WIN32
  return '"' + text + '"';
#else
  std::string word = "'";
  for (const char c : text) {
    if (c == '\'') {
      word += "'\\''";
    } else {
      word += c;
    }
  }
  return word + "'";
#endif
}

std::string ProgramCommand() {
  const std::filesystem::path folder = platform::RunningExecutableFolder();
  if (folder.empty()) return kProgramName;
  const std::filesystem::path self = folder / kProgramFileName;
  const std::filesystem::path found = ProgramFoundBySearch();
  if (!found.empty() && platform::SameFile(found, self)) return kProgramName;
  return ShellWord(platform::PathText(self));
}

std::string ShellCommand(const std::vector<std::string>& arguments) {
  std::string command = ProgramCommand();
  for (const std::string& argument : arguments) command += ' ' + ShellWord(argument);
  return command;
}

}  // namespace korvex::cli
