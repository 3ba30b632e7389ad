// Stand-ins for what the shell's rules reach through interfaces: a settings store in
// memory, file dialogs answered from a script, and a converter, a preview and a web page
// opener that record their calls.
#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "app/conversion_dialog_rules.h"
#include "app/conversion_preview.h"
#include "app/drawing_converter.h"
#include "app/file_chooser.h"
#include "app/product_pages.h"
#include "app/settings_store.h"
#include "app/template_files.h"
#include "platform/platform.h"

namespace korvex::shell {

// Failure messages show a request field by field.
inline void PrintTo(const FileDialogRequest& r, std::ostream* out) {
  *out << (r.kind == FileDialogKind::kOpen ? "Open" : "Save") << " \"" << r.title << "\" \""
       << r.filterDescription << "|" << r.filterPattern << "\" ." << r.defaultExtension << " in \""
       << r.startFolder << "\" name \"" << r.fileName << "\"";
}

inline void PrintTo(DialogControl control, std::ostream* out) {
  constexpr const char* kNames[] = {"input box",     "input Browse", "output box",
                                    "output Browse", "Generate",     "Exit to Main Menu",
                                    "Exit Program"};
  *out << kNames[static_cast<int>(control)];
}

}  // namespace korvex::shell

namespace korvex::test {

class MemorySettingsStore final : public shell::SettingsStore {
 public:
  std::string ReadText(const std::string& entry, const std::string& defaultValue) override {
    const auto found = entries.find(entry);
    return found == entries.end() ? defaultValue : found->second;
  }
  void WriteText(const std::string& entry, const std::string& value) override {
    entries[entry] = value;
    ++writes;
  }

  std::map<std::string, std::string> entries;
  int writes = 0;
};

// Answers each dialog with the next scripted answer (a path, or nothing for Cancel); once
// the script is used up, every dialog is cancelled.
class ScriptedFileChooser final : public shell::FileChooser {
 public:
  std::optional<std::string> Choose(const shell::FileDialogRequest& request) override {
    requests.push_back(request);
    if (answered < answers.size()) return answers[answered++];
    return std::nullopt;
  }

  std::vector<std::optional<std::string>> answers;
  std::size_t answered = 0;
  std::vector<shell::FileDialogRequest> requests;
};

class RecordingConverter final : public shell::DrawingConverter {
 public:
  struct Call {
    std::string input;
    std::string output;
  };
  Outcome Convert(const std::string& inputPath, const std::string& outputPath) override {
    calls.push_back({inputPath, outputPath});
    for (const auto& [text, flags] : messages) platform::ShowMessage(text, flags);
    return result;
  }

  Outcome result = Outcome::kDone;
  // Shown while converting, as the conversion library shows its own: text and flags.
  std::vector<std::pair<std::string, unsigned>> messages;
  std::vector<Call> calls;
};

// Records what the dialog told the main window's sheet, one line per call: "written PATH"
// or "failed".
class RecordingPreview final : public shell::ConversionPreview {
 public:
  void ShowWritten(const std::string& outputPath) override {
    calls.push_back("written " + outputPath);
  }
  void ShowFailed() override { calls.push_back("failed"); }

  std::vector<std::string> calls;
};

// Records the addresses it is asked to open; opens them unless told that it can't.
class RecordingPageOpener final : public shell::PageOpener {
 public:
  bool Open(const std::string& address) override {
    addresses.push_back(address);
    return opens;
  }

  std::vector<std::string> addresses;
  bool opens = true;
};

// Template files with a chosen path and readability, for the cases a real folder can't
// make; copying always fails.
class FakeTemplateFiles final : public shell::TemplateFiles {
 public:
  std::filesystem::path TemplatePath() override { return templatePath; }
  bool Readable(const std::filesystem::path&) override { return readable; }
  bool Copy(const std::filesystem::path&, const std::filesystem::path&,
            std::error_code& error) override {
    error = std::make_error_code(std::errc::permission_denied);
    return false;
  }

  std::filesystem::path templatePath = "/opt/korvex/Support/ShapesTemplate.dxf";
  bool readable = true;
};

}  // namespace korvex::test
