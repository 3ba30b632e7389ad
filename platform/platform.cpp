// The platform layer's dispatch to the installed front end, and the operating-system
// calls that do not depend on the front end.
#include "platform/platform.h"

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <string>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

Frontend& InstalledFrontend() {
  return *installedFrontend;
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

namespace {

constexpr const char* kFolderReason = "It is a folder, not a file.";
constexpr const char* kDeviceReason = "It is a device or a pipe, not a file.";

}  // namespace

std::FILE* OpenInputFile(const std::filesystem::path& path, std::string& reason) {
#ifdef _WIN32
  std::error_code error;
  const std::filesystem::file_type type = std::filesystem::status(path, error).type();
  if (type == std::filesystem::file_type::directory) {
    reason = kFolderReason;
    return nullptr;
  }
  if (type != std::filesystem::file_type::regular &&
      type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::none) {
    reason = kDeviceReason;
    return nullptr;
  }
  std::FILE* file = OpenFile(path, "rb");
  if (file == nullptr) reason = std::generic_category().message(errno);
  return file;
#else
  // Opened without blocking, so that a pipe with no writer cannot hold the run; the type is
  // then asked of what was opened, not of a name that may change meanwhile.
  const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    reason = std::generic_category().message(errno);
    return nullptr;
  }
  struct stat about = {};
  const bool statted = fstat(descriptor, &about) == 0;
  if (!statted || !S_ISREG(about.st_mode)) {
    reason = !statted                 ? std::generic_category().message(errno)
             : S_ISDIR(about.st_mode) ? kFolderReason
                                      : kDeviceReason;
    close(descriptor);
    return nullptr;
  }
  const int flags = fcntl(descriptor, F_GETFL);
  if (flags >= 0) fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* file = fdopen(descriptor, "rb");
  if (file == nullptr) {
    reason = std::generic_category().message(errno);
    close(descriptor);
  }
  return file;
#endif
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path PathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace korvex::platform
