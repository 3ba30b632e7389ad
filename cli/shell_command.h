// The command line a user types to run korvex-cli again, for the advice the program gives
// ("then run korvex-cli convert ..."): advice the shell cannot follow is no advice.
#pragma once

#include <string>
#include <vector>

namespace korvex::cli {

// The program as a shell starts it: "korvex-cli" when the search path finds this very
// program first (an installed package's link, a folder added to PATH), otherwise its full
// path (a build tree, an unzipped folder run from elsewhere), quoted when it needs to be.
std::string ProgramCommand();

// ProgramCommand followed by the arguments (UTF-8), each quoted when it needs to be.
std::string ShellCommand(const std::vector<std::string>& arguments);

// The text as one word of the shell: as it is when it holds only characters no shell
// treats specially, otherwise in quotes (single quotes on POSIX shells, double quotes for
// the Windows command prompt, which names of files never hold).
std::string ShellWord(const std::string& text);

}  // namespace korvex::cli
