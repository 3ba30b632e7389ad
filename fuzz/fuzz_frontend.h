// The front end of the fuzz targets: silent, answers No to every question, and turns the
// end of a stopped run into an exception that the fuzz entry point catches, so that one
// process can go on with the next input.
//
// That is sound because every table of the conversion path is static and reset at the
// start of each run, the platform layer removes a half-written output before it calls the
// front end's EndProcess, and the drawing file left open by a stopped run is closed when the
// next run opens its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace korvex::fuzzing {

class QuietFrontend final : public platform::Frontend {
 public:
  int ShowMessage(std::string_view, unsigned flags) override {
    ++messageCount;
    return flags == platform::kMessageYesNoWarning ? platform::kAnswerNo : platform::kAnswerOk;
  }

  int messageCount = 0;
};

// A scratch folder for the target's files, made once per process in the temporary folder
// (TMPDIR) and removed at its end. libFuzzer ends a timed run with _exit, past atexit, so
// scripts/fuzz points TMPDIR into a folder of its own that it removes.
inline const std::filesystem::path& FuzzScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvex-fuzz-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    if (made == nullptr) std::abort();
    std::atexit([] {
      std::error_code error;
      std::filesystem::remove_all(FuzzScratchFolder(), error);
    });
    return std::filesystem::path(made);
  }();
  return folder;
}

// Ends the process the way libFuzzer records as a crash, for a broken guarantee.
#define KORVEX_FUZZ_CHECK(condition)    \
  do {                                  \
    if (!(condition)) __builtin_trap(); \
  } while (false)

// The input written as a file for the program to read; a file that cannot be written is a
// broken guarantee of the scratch folder, not of the program.
inline void WriteAll(const std::filesystem::path& path, const std::uint8_t* data,
                     std::size_t size) {
  std::FILE* file = platform::OpenFile(path, "wb");
  KORVEX_FUZZ_CHECK(file != nullptr);
  KORVEX_FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, file) == size);
  KORVEX_FUZZ_CHECK(std::fclose(file) == 0);
}

// The files in the folder: what a run left there.
inline std::size_t FilesIn(const std::filesystem::path& folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

}  // namespace korvex::fuzzing
