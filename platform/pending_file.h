// A file that appears whole or not at all: written beside its target under a temporary name
// of its own and renamed into place only when complete, so that a failed, stopped or
// interrupted write never leaves a partial file nor touches an existing one.
//
// The temporary name is short and new for every run (".korvex-PID-N.tmp" in the target's
// folder), created exclusively, so that concurrent runs never share one, a run never fails
// because of another's leftovers, and any target name the system allows works. The file is
// removed on every path: by the owner on a failure, and by the platform layer when the
// process is interrupted (SIGINT, SIGTERM, SIGHUP; Ctrl-C or a closed console on Windows).
// Only a kill that no process can catch leaves one behind.
#pragma once

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace korvex::platform {

// Creates a new temporary file beside the target (binary mode); nullptr, with the reason in
// error, when it cannot.
std::FILE* OpenPendingFile(const std::filesystem::path& target, std::filesystem::path& pending,
                           std::error_code& error);

// Flushes and closes the file and renames it to the target. An existing target is replaced
// only when replaceExisting; otherwise such a target is left as it was and the reason is
// file_exists. On any failure the pending file is removed and false returned, with the
// reason in error.
bool CommitPendingFile(std::FILE* file, const std::filesystem::path& pending,
                       const std::filesystem::path& target, std::error_code& error,
                       bool replaceExisting = true);

// Closes (when open) and removes the pending file.
void DiscardPendingFile(std::FILE* file, const std::filesystem::path& pending);

// Copies a file byte for byte through a pending file: the copy appears whole or not at all.
// An existing target is replaced only when replaceExisting.
bool CopyFileByPath(const std::filesystem::path& from, const std::filesystem::path& to,
                    bool replaceExisting, std::error_code& error);

}  // namespace korvex::platform
