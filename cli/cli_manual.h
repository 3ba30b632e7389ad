// The manual page of korvex-cli (man korvex-cli), made from the texts --help prints, so
// that the two never disagree: a change to the usage text changes the page at the next
// build.
#pragma once

#include <string>
#include <string_view>

#include "cli/cli_options.h"

namespace korvex::cli {

// The page in man(7) markup: NAME from the summary, SYNOPSIS from the usage text's first
// paragraph, COMMANDS from its second (a command's name at the left margin, its text
// indented; an indented "--option: text" a paragraph of its own), a section for each
// further paragraph ("Exit status: ..." becomes EXIT STATUS), then the support files and
// the companion program. The texts are those of --help unless others are given.
std::string ManualPageText(std::string_view summary = kSummaryText,
                           std::string_view usage = kUsageText);

}  // namespace korvex::cli
