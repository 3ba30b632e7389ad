// The sheet's title and note.
#include "app/shown_sheet.h"

#include "app/dialog_paths.h"

namespace korvex::shell {
namespace {

std::string FileNameOf(const std::string& path) {
  return path.substr(FolderWithSeparator(path).size());
}

}  // namespace

void ShownSheet::Show(const std::string& path) {
  path_ = path;
  stale_ = false;
}

void ShownSheet::MarkStale() {
  stale_ = !path_.empty();
}

std::string ShownSheet::Title() const {
  if (path_.empty()) return "Korvex";
  return "Korvex - " + FileNameOf(path_) + (stale_ ? " (out of date)" : "");
}

std::string ShownSheet::StaleNote() const {
  if (!stale_) return {};
  return "Out of date: the last conversion failed. This is " + FileNameOf(path_) +
         " as it was written before.";
}

}  // namespace korvex::shell
