// The manual page of korvex-cli against what the program prints for --help: the page may
// add its own sections, but every word of the help must be on it, in the same order.
#include "cli/cli_manual.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace korvex {
namespace {

// The text a reader of the page sees, roughly: requests dropped or reduced to their
// arguments, the escapes the page uses turned back into their characters.
std::string PlainTextOfPage(const std::string& page) {
  std::istringstream lines(page);
  std::string line;
  std::string text;
  while (std::getline(lines, line)) {
    if (line.starts_with(".\\\"") || line.starts_with(".TH")) continue;
    if (line.starts_with(".")) {
      const std::size_t space = line.find(' ');
      line = space == std::string::npos ? "" : line.substr(space + 1);
    }
    std::string plain;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] != '\\' || i + 1 == line.size()) {
        if (line[i] != '"') plain += line[i];
        continue;
      }
      const char escape = line[++i];
      if (escape == '-') {
        plain += '-';
      } else if (escape == 'e') {
        plain += '\\';
      } else if (escape == 'f' && i + 1 < line.size()) {
        ++i;  // a font change: \fB, \fR, \fI, \fP
      } else if (escape != '&') {
        plain += '\\';
        plain += escape;
      }
    }
    text += plain + '\n';
  }
  return text;
}

// The words of a text, compared without case and without a trailing colon: the page sets
// "Exit status:" as the heading EXIT STATUS.
std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  std::string word;
  while (in >> word) {
    if (word.size() > 1 && word.back() == ':') word.pop_back();
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    words.push_back(word);
  }
  return words;
}

// Every word of the help, in order, among the page's words; the page's own lines that man
// reads as requests are only those the page means as requests.
void ExpectPageSays(const std::string& page, const std::string& help) {
  const std::vector<std::string> helpWords = Words(help);
  const std::vector<std::string> pageWords = Words(PlainTextOfPage(page));
  std::size_t found = 0;
  for (const std::string& word : pageWords) {
    if (found < helpWords.size() && word == helpWords[found]) ++found;
  }
  if (found < helpWords.size()) {
    std::string context;
    for (std::size_t i = found; i < helpWords.size() && i < found + 8; ++i) {
      context += helpWords[i] + ' ';
    }
    ADD_FAILURE() << "the page lacks the help's words from \"" << context << "\" on\n" << page;
  }
  const char* const requests[] = {".\\\" ", ".TH ", ".nh",  ".ad l", ".SH ", ".nf", ".fi",
                                  ".TP",    ".B ",  ".BR ", ".RS",   ".RE",  ".PP"};
  std::istringstream lines(page);
  std::string line;
  while (std::getline(lines, line)) {
    bool request = false;
    for (const char* known : requests) request = request || line.starts_with(known);
    EXPECT_TRUE(request || !(line.starts_with(".") || line.starts_with("'"))) << line;
  }
}

class CliManualTest : public test::KorvexTest {};

TEST_F(CliManualTest, ThePageSaysEverythingTheHelpSaysInItsOrder) {
  const test::ProgramRun run =
      test::RunProgram(test::BinFolder() / test::kCliFileName, {"--help"}, Scratch("help"));
  ASSERT_EQ(run.status, 0);
  // The help's first words name the program and its version, which the page's title and
  // footer carry; its "Usage:" line is the page's SYNOPSIS heading.
  std::string help = run.out;
  const std::string opening = "korvex-cli " KORVEX_VERSION ": ";
  ASSERT_EQ(help.rfind(opening, 0), 0u) << help;
  help.erase(0, opening.size());
  const std::size_t usage = help.find("\nUsage:\n");
  ASSERT_NE(usage, std::string::npos) << help;
  help.erase(usage + 1, 7);
  ASSERT_GT(Words(help).size(), 100u);
  ExpectPageSays(cli::ManualPageText(), help);
}

// man reads a line that starts with a dot or an apostrophe as a request and a backslash
// as an escape: whatever the usage text holds must reach the page as text. Every minus
// sign is one a reader can type ("\-"), never a hyphen man may print as another character.
TEST_F(CliManualTest, TheHelpsTextIsNeverReadAsMarkup) {
  const std::string summary = "does things,\n.and more";
  const std::string usage =
      "Usage:\n"
      "  korvex-cli go IN.dxf [-o OUT]\n"
      ".hidden usage line\n"
      "\n"
      "go        Goes; a path like C:\\shapes\\a.dxf works.\n"
      "          .shp files are written.\n"
      "          'quoted' words stay.\n"
      "          --fast: goes fast, see --slow.\n"
      "          -o: the output.\n"
      "stop      Stops.\n"
      "\n"
      "Exit status: 0 done.\n"
      "\n"
      ".Notes: none.\n";
  const std::string page = cli::ManualPageText(summary, usage);
  std::string help = summary + "\n" + usage;
  help.erase(help.find("Usage:\n"), 7);
  ExpectPageSays(page, help);
  const std::string body = page.substr(page.find(".SH NAME"));
  for (std::size_t at = body.find('-'); at != std::string::npos; at = body.find('-', at + 1)) {
    EXPECT_EQ(body[at - 1], '\\') << body.substr(at > 20 ? at - 20 : 0, 40);
  }
}

}  // namespace
}  // namespace korvex
