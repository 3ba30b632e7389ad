// Stand-ins for what the shell's rules reach through interfaces: a settings store in
// memory, file dialogs answered from a script, and a converter that records its calls.
#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "app/drawing_converter.h"
#include "app/file_chooser.h"
#include "app/settings_store.h"
#include "app/template_files.h"

namespace korvex::shell {

// Failure messages show a request field by field.
inline void PrintTo(const FileDialogRequest& r, std::ostream* out) {
  *out << (r.kind == FileDialogKind::kOpen ? "Open" : "Save") << " \"" << r.title << "\" \""
       << r.filterDescription << "|" << r.filterPattern << "\" ." << r.defaultExtension << " in \""
       << r.startFolder << "\" name \"" << r.fileName << "\"";
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
    return result;
  }

  Outcome result = Outcome::kDone;
  std::vector<Call> calls;
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
