// The common Open and Save file dialogs as the shell's rules see them: a request with the
// title, filter, default extension and starting point, and the chosen path or nothing.
// The desktop program answers with the platform's dialogs, the tests with a script.
#pragma once

#include <optional>
#include <string>

namespace korvex::shell {

enum class FileDialogKind {
  kOpen,  // the chosen file must exist
  kSave,  // an existing file is replaced only after the user agrees
};

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::kOpen;
  std::string title;
  std::string filterDescription;       // e.g. "Shapes DXF files (*.dxf)"
  std::string filterPattern;           // e.g. "*.dxf"
  std::string defaultExtension;        // without the dot; added to a typed name that has none
  std::string startFolder;             // empty: the platform chooses
  std::string fileName;                // pre-filled name, possibly a full path; may be empty
  std::string otherFilterDescription;  // a second filter the user may pick; may be empty
  std::string otherFilterPattern;

  bool operator==(const FileDialogRequest&) const = default;
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The full path the user confirmed (UTF-8), or nothing when the dialog was cancelled.
  virtual std::optional<std::string> Choose(const FileDialogRequest& request) = 0;
};

}  // namespace korvex::shell
