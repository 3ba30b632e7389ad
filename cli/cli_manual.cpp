#include "cli/cli_manual.h"

namespace korvex::cli {

namespace {

// The usage text's layout: a command's paragraph starts with its name at the left margin,
// its further lines are indented by this much.
constexpr std::size_t kCommandTextColumn = 10;

// Text as man(7) shows it literally: backslashes and minus signs escaped (so that options
// copied from the page work), and a line that would start with a control character
// protected.
std::string Escaped(std::string_view text) {
  std::string out;
  if (!text.empty() && (text[0] == '.' || text[0] == '\'')) out += "\\&";
  for (const char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

std::string_view WithoutLeadingBlanks(std::string_view line) {
  const std::size_t first = line.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view() : line.substr(first);
}

// The next line of the text (without its line end), or false at its end.
bool NextLine(std::string_view& text, std::string_view& line) {
  if (text.empty()) return false;
  const std::size_t end = text.find('\n');
  line = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  return true;
}

// "--preview: also draws ..." starts an option's paragraph, set in from the command's
// text, the option in bold.
bool IsOptionLine(std::string_view line, std::size_t& colon) {
  colon = line.find(':');
  return line.starts_with("--") && colon != std::string_view::npos &&
         line.substr(0, colon).find(' ') == std::string_view::npos;
}

void AddSynopsis(std::string& page, std::string_view block) {
  page += ".SH SYNOPSIS\n.nf\n";
  std::string_view line;
  while (NextLine(block, line)) {
    if (line == "Usage:") continue;  // the section's heading says it
    // The usage lines are indented by two; the page keeps the lines' own alignment.
    if (line.starts_with("  ")) line.remove_prefix(2);
    if (line.starts_with("korvex-cli ")) {
      page += "\\fBkorvex\\-cli\\fR " + Escaped(line.substr(11)) + '\n';
    } else {
      page += Escaped(line) + '\n';
    }
  }
  page += ".fi\n";
}

void AddCommands(std::string& page, std::string_view block) {
  page += ".SH COMMANDS\n";
  bool inOptions = false;
  std::string_view line;
  while (NextLine(block, line)) {
    std::size_t colon = 0;
    if (!line.empty() && line[0] != ' ') {
      if (inOptions) page += ".RE\n";
      inOptions = false;
      const std::size_t nameEnd = line.find(' ');
      page += ".TP\n.B " + Escaped(line.substr(0, nameEnd)) + '\n';
      if (nameEnd != std::string_view::npos) {
        page += Escaped(WithoutLeadingBlanks(line.substr(nameEnd))) + '\n';
      }
    } else if (line.size() > kCommandTextColumn &&
               IsOptionLine(WithoutLeadingBlanks(line), colon)) {
      const std::string_view option = WithoutLeadingBlanks(line);
      if (!inOptions) page += ".RS\n";
      inOptions = true;
      page += ".PP\n\\fB" + Escaped(option.substr(0, colon)) +
              "\\fR: " + Escaped(WithoutLeadingBlanks(option.substr(colon + 1))) + '\n';
    } else {
      page += Escaped(WithoutLeadingBlanks(line)) + '\n';
    }
  }
  if (inOptions) page += ".RE\n";
}

// Any other paragraph: "Exit status: ..." becomes the section EXIT STATUS.
void AddParagraph(std::string& page, std::string_view block) {
  const std::size_t colon = block.find(": ");
  const std::string_view heading = colon == std::string_view::npos ? "" : block.substr(0, colon);
  if (!heading.empty() && heading.find('\n') == std::string_view::npos) {
    std::string title;
    for (const char c : heading) {
      title += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    page += ".SH \"" + Escaped(title) + "\"\n";
    block.remove_prefix(colon + 2);
  } else {
    page += ".PP\n";
  }
  std::string_view line;
  while (NextLine(block, line)) page += Escaped(WithoutLeadingBlanks(line)) + '\n';
}

}  // namespace

std::string ManualPageText(std::string_view summary, std::string_view usage) {
  std::string page =
      ".\\\" The manual page of korvex-cli, made from its --help text when Korvex is built.\n"
      ".TH KORVEX\\-CLI 1 \"\" \"Korvex " KORVEX_VERSION
      "\" \"User Commands\"\n"
      // Words of a command line are never broken, nor stretched to fill the line.
      ".nh\n.ad l\n"
      ".SH NAME\n"
      "korvex\\-cli \\- ";
  std::string_view line;
  bool first = true;
  while (NextLine(summary, line)) {
    page += (first ? "" : " ") + Escaped(line);
    first = false;
  }
  page += '\n';

  // The usage text's paragraphs: the usage lines, the commands, then plain paragraphs.
  std::string_view text = usage;
  int block = 0;
  while (!text.empty()) {
    const std::size_t end = text.find("\n\n");
    const std::string_view paragraph =
        end == std::string_view::npos ? text : text.substr(0, end + 1);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 2);
    if (block == 0) {
      AddSynopsis(page, paragraph);
    } else if (block == 1) {
      AddCommands(page, paragraph);
    } else {
      AddParagraph(page, paragraph);
    }
    ++block;
  }

  page +=
      ".SH FILES\n"
      "korvex\\-cli finds its support files beside its own executable, links followed (the\n"
      "Debian package keeps them in /usr/lib/korvex):\n"
      ".TP\n.B SHPTXT.SHP\n"
      "the stroke font that the texts of a drawing are drawn with.\n"
      ".TP\n.B Support/ShapesTemplate.dxf\n"
      "the shape sheet template that \\fBtemplate\\fR copies.\n"
      ".SH \"SEE ALSO\"\n"
      ".BR korvex (1),\n"
      "the desktop program over the same conversion.\n";
  return page;
}

}  // namespace korvex::cli
