// korvex-cli: the conversion and the empty drawing for scripts and batch work.
#include <string>
#include <vector>

#include "cli/cli_run.h"

int main(int argc, char** argv) {
  return korvex::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc));
}
