// The platform layer's dispatch to the installed front end, and the operating-system
// calls that do not depend on the front end.
#include "platform/platform.h"

#include <cstdlib>
#include <iostream>
#include <string>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace korvex::platform {
namespace {

class StderrFrontend final : public Frontend {
 public:
  int ShowMessage(std::string_view text, unsigned flags) override {
    std::cerr << kMessageCaption << ": " << text << '\n';
    return flags == kMessageYesNoWarning ? kAnswerNo : kAnswerOk;
  }
};

StderrFrontend defaultFrontend;
Frontend* installedFrontend = &defaultFrontend;

}  // namespace

std::filesystem::path Frontend::ExecutableFolder() {
  return RunningExecutableFolder();
}

void Frontend::EndProcess(int status) {
  std::exit(status);
}

void InstallFrontend(Frontend& frontend) {
  installedFrontend = &frontend;
}

int ShowMessage(std::string_view text, unsigned flags) {
  return installedFrontend->ShowMessage(text, flags);
}

std::filesystem::path ExecutableFolder() {
  return installedFrontend->ExecutableFolder();
}

std::filesystem::path RunningExecutableFolder() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (length < 1 || length >= MAX_PATH) return {};
  return std::filesystem::path(std::wstring(buffer, length)).parent_path();
#else
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return self.parent_path();
#endif
}

void EndProcess(int status) {
  installedFrontend->EndProcess(status);
  std::exit(status);  // a front end that failed to end the process
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
  wchar_t wideMode[8] = {};
  for (int i = 0; i < 7 && mode[i] != '\0'; ++i) wideMode[i] = static_cast<wchar_t>(mode[i]);
  return _wfopen(path.c_str(), wideMode);
#else
  return std::fopen(path.c_str(), mode);
#endif
}

bool CopyFileByPath(const std::filesystem::path& from, const std::filesystem::path& to,
                    bool replaceExisting, std::error_code& error) {
#ifdef _WIN32
  if (CopyFileW(from.c_str(), to.c_str(), replaceExisting ? FALSE : TRUE) != 0) {
    error.clear();
    return true;
  }
  error.assign(static_cast<int>(GetLastError()), std::system_category());
  return false;
#else
  const auto options = replaceExisting ? std::filesystem::copy_options::overwrite_existing
                                       : std::filesystem::copy_options::none;
  return std::filesystem::copy_file(from, to, options, error);
#endif
}

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path PathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace korvex::platform
