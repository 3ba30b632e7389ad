// A file that appears whole or not at all: written beside its target under a temporary name
// and renamed into place only when complete, so that a failed or stopped write never leaves
// a partial file nor touches an existing one.
#pragma once

#include <cstdio>
#include <filesystem>

namespace korvex::platform {

// Creates a new temporary file beside the target (binary mode); nullptr when it cannot.
std::FILE* OpenPendingFile(const std::filesystem::path& target, std::filesystem::path& pending);

// Flushes and closes the file and renames it over the target; on any failure the pending
// file is removed and false returned.
bool CommitPendingFile(std::FILE* file, const std::filesystem::path& pending,
                       const std::filesystem::path& target);

// Closes (when open) and removes the pending file.
void DiscardPendingFile(std::FILE* file, const std::filesystem::path& pending);

}  // namespace korvex::platform
