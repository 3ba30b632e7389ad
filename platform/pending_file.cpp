#include "platform/pending_file.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <random>
#include <string>

#include "platform/platform.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace korvex::platform {
namespace {

#ifdef _WIN32
using NativeChar = wchar_t;
#else
using NativeChar = char;
#endif

// The pending files of this process, for the interruption handler: it may only read plain
// memory, so each path is copied here when its file is created. A slot is taken by setting
// `used` after its path is complete, and given up once the file is renamed or removed.
constexpr int kMaxPendingFiles = 8;
constexpr std::size_t kPendingPathCapacity = 4096;
struct PendingSlot {
  std::atomic<bool> used;
  NativeChar path[kPendingPathCapacity];
};
PendingSlot pendingSlots[kMaxPendingFiles];

// Attempts at a free name before giving up: only names this process made itself can be
// taken, so a few are plenty.
constexpr unsigned kNameAttempts = 100;

void RemoveEveryPendingFile() {
  for (PendingSlot& slot : pendingSlots) {
    if (!slot.used.load()) continue;
#ifdef _WIN32
    // The file was opened to allow this: it goes when its handle closes with the process.
    DeleteFileW(slot.path);
#else
    unlink(slot.path);
#endif
  }
}

#ifdef _WIN32

// The system's reason in the words the C library uses on every system, where there are such.
std::error_code ReasonOf(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_ACCESS_DENIED:
      return std::make_error_code(std::errc::permission_denied);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return std::make_error_code(std::errc::file_exists);
    default:
      return std::error_code(static_cast<int>(code), std::system_category());
  }
}

BOOL WINAPI OnConsoleEvent(DWORD) {
  RemoveEveryPendingFile();
  return FALSE;  // the default handler ends the process
}

void WatchInterruptions() {
  static std::atomic<bool> watching{false};
  if (!watching.exchange(true)) SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

#else

void OnInterruption(int signalNumber) {
  const int savedErrno = errno;
  RemoveEveryPendingFile();
  // The process ends as the signal would have ended it, so callers see the same status.
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
  errno = savedErrno;
}

// Signals the user or the system sends to end a run. One that the process was told to
// ignore (nohup) stays ignored.
void WatchInterruptions() {
  static std::atomic<bool> watching{false};
  if (watching.exchange(true)) return;
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current = {};
    if (sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction handler = {};
    handler.sa_handler = OnInterruption;
    sigemptyset(&handler.sa_mask);
    sigaction(signalNumber, &handler, nullptr);
  }
}

#endif

void Register(const std::filesystem::path& pending) {
  const auto& native = pending.native();
  if (native.size() >= kPendingPathCapacity) return;  // no path of the system's is this long
  for (PendingSlot& slot : pendingSlots) {
    if (slot.used.load()) continue;
    std::memcpy(slot.path, native.c_str(), (native.size() + 1) * sizeof(NativeChar));
    slot.used.store(true);
    return;
  }
}

void Unregister(const std::filesystem::path& pending) {
  for (PendingSlot& slot : pendingSlots) {
    if (slot.used.load() && pending.native() == slot.path) slot.used.store(false);
  }
}

long ProcessNumber() {
#ifdef _WIN32
  return static_cast<long>(GetCurrentProcessId());
#else
  return static_cast<long>(getpid());
#endif
}

// Where this process starts numbering its names: a process that reuses the number of one
// that was killed does not walk through that one's leftovers.
unsigned FirstNameNumber() {
  static const unsigned first = [] {
    try {
      return std::random_device()() & 0xFFFFFu;
    } catch (...) {
      return 0u;
    }
  }();
  return first;
}

// Creates the file only when no file of that name exists; nullptr otherwise, with
// `exists` telling whether that was the reason.
std::FILE* CreateExclusively(const std::filesystem::path& path, bool& exists,
                             std::error_code& error) {
#ifdef _WIN32
  // Shared for deletion, so that an interruption can remove it while it is open.
  const HANDLE handle =
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    exists = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
    error = ReasonOf(code);
    return nullptr;
  }
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (descriptor < 0) {
    CloseHandle(handle);
    DeleteFileW(path.c_str());
    error = std::make_error_code(std::errc::too_many_files_open);
    return nullptr;
  }
  std::FILE* file = _fdopen(descriptor, "wb");
  if (file == nullptr) {
    _close(descriptor);
    DeleteFileW(path.c_str());
    error = std::make_error_code(std::errc::not_enough_memory);
  }
  return file;
#else
  const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    exists = errno == EEXIST;
    error.assign(errno, std::generic_category());
    return nullptr;
  }
  std::FILE* file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    error.assign(errno, std::generic_category());
    close(descriptor);
    unlink(path.c_str());
  }
  return file;
#endif
}

// Moves the pending file to the target, which must not exist: where the system can, in one
// step that fails if a file of that name appears meanwhile.
void MoveWithoutReplacing(const std::filesystem::path& pending, const std::filesystem::path& target,
                          std::error_code& error) {
#ifdef _WIN32
  if (MoveFileExW(pending.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED) != 0) return;
  error = ReasonOf(GetLastError());
#else
  if (link(pending.c_str(), target.c_str()) == 0) {
    unlink(pending.c_str());
    return;
  }
  if (errno == EEXIST) {
    error = std::make_error_code(std::errc::file_exists);
    return;
  }
  // A file system without hard links: a check, then the rename.
  if (std::filesystem::exists(target, error) || error) {
    if (!error) error = std::make_error_code(std::errc::file_exists);
    return;
  }
  std::filesystem::rename(pending, target, error);
#endif
}

}  // namespace

std::FILE* OpenPendingFile(const std::filesystem::path& target, std::filesystem::path& pending,
                           std::error_code& error) {
  WatchInterruptions();
  const std::filesystem::path folder = target.parent_path();
  const unsigned first = FirstNameNumber();
  for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = ".korvex-" + std::to_string(ProcessNumber()) + "-" +
                             std::to_string(first + attempt) + ".tmp";
    std::filesystem::path candidate = folder / name;
    bool exists = false;
    std::FILE* file = CreateExclusively(candidate, exists, error);
    if (file != nullptr) {
      Register(candidate);
      pending = std::move(candidate);
      error.clear();
      return file;
    }
    if (!exists) return nullptr;
  }
  return nullptr;
}

bool CommitPendingFile(std::FILE* file, const std::filesystem::path& pending,
                       const std::filesystem::path& target, std::error_code& error,
                       bool replaceExisting) {
  error.clear();
  const bool written = std::fflush(file) == 0 && !std::ferror(file);
  if (!written) error.assign(errno != 0 ? errno : EIO, std::generic_category());
  const bool closed = std::fclose(file) == 0;
  if (written && !closed) error.assign(errno != 0 ? errno : EIO, std::generic_category());
  if (written && closed) {
    if (replaceExisting) {
      std::filesystem::rename(pending, target, error);
    } else {
      MoveWithoutReplacing(pending, target, error);
    }
    // Given up only now: an interruption just after the rename finds no file to remove,
    // one just before it still removes the pending file.
    if (!error) {
      Unregister(pending);
      return true;
    }
  }
  DiscardPendingFile(nullptr, pending);
  return false;
}

void DiscardPendingFile(std::FILE* file, const std::filesystem::path& pending) {
  if (file != nullptr) std::fclose(file);
  std::error_code error;
  if (!pending.empty()) std::filesystem::remove(pending, error);
  Unregister(pending);
}

bool CopyFileByPath(const std::filesystem::path& from, const std::filesystem::path& to,
                    bool replaceExisting, std::error_code& error) {
  std::string reason;
  std::FILE* source = OpenInputFile(from, reason);
  if (source == nullptr) {
    error = std::make_error_code(std::errc::no_such_file_or_directory);
    return false;
  }
  if (!replaceExisting && std::filesystem::exists(to, error)) {
    std::fclose(source);
    error = std::make_error_code(std::errc::file_exists);
    return false;
  }
  std::filesystem::path pending;
  std::FILE* copy = OpenPendingFile(to, pending, error);
  if (copy == nullptr) {
    std::fclose(source);
    return false;
  }
  char block[1 << 14];
  std::size_t got;
  bool copied = true;
  while (copied && (got = std::fread(block, 1, sizeof block, source)) > 0) {
    copied = std::fwrite(block, 1, got, copy) == got;
  }
  copied = copied && !std::ferror(source);
  const int copyErrno = errno;
  std::fclose(source);
  if (!copied) {
    DiscardPendingFile(copy, pending);
    error.assign(copyErrno != 0 ? copyErrno : EIO, std::generic_category());
    return false;
  }
  return CommitPendingFile(copy, pending, to, error, replaceExisting);
}

}  // namespace korvex::platform
