// The commands of korvex-cli, run from the command line's arguments (UTF-8).
#pragma once

#include <string>
#include <vector>

namespace korvex::cli {

// Runs the command the arguments name (the program's name excluded) and returns the
// process's exit status.
int RunCli(const std::vector<std::string>& arguments);

}  // namespace korvex::cli
