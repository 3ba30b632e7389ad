#include "platform/pending_file.h"

#include <string>

#include "platform/platform.h"

namespace korvex::platform {

std::FILE* OpenPendingFile(const std::filesystem::path& target, std::filesystem::path& pending) {
  std::error_code error;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = target;
    candidate += ".korvex-" + std::to_string(attempt) + ".tmp";
    if (std::filesystem::exists(candidate, error)) continue;  // another run's, or left over
    std::FILE* file = OpenFile(candidate, "wb");
    if (file != nullptr) pending = candidate;
    return file;
  }
  return nullptr;
}

bool CommitPendingFile(std::FILE* file, const std::filesystem::path& pending,
                       const std::filesystem::path& target) {
  const bool written = std::fflush(file) == 0 && !std::ferror(file);
  const bool closed = std::fclose(file) == 0;
  std::error_code error;
  if (written && closed) std::filesystem::rename(pending, target, error);
  if (written && closed && !error) return true;
  DiscardPendingFile(nullptr, pending);
  return false;
}

void DiscardPendingFile(std::FILE* file, const std::filesystem::path& pending) {
  if (file != nullptr) std::fclose(file);
  std::error_code error;
  if (!pending.empty()) std::filesystem::remove(pending, error);
}

}  // namespace korvex::platform
