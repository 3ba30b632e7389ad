// korvex-cli-manual FILE: writes the manual page of korvex-cli to FILE. Run by the build;
// not installed.
#include <cstdio>
#include <string>

#include "cli/cli_manual.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: korvex-cli-manual FILE\n");
    return 2;
  }
  const std::string page = korvex::cli::ManualPageText();
  std::FILE* file = std::fopen(argv[1], "wb");
  bool written = file != nullptr && std::fwrite(page.data(), 1, page.size(), file) == page.size();
  if (file != nullptr && std::fclose(file) != 0) written = false;
  if (!written) {
    std::perror(argv[1]);
    std::remove(argv[1]);  // the build then fails instead of installing half a page
    return 1;
  }
  return 0;
}
