// The program's one setting, the last input drawing, and the store that keeps it between
// runs (the user's registry on Windows, a configuration file elsewhere).
#pragma once

#include <string>

namespace korvex::shell {

// Entry of the last input drawing: section "Options", value "Last file".
inline constexpr const char* kLastFileEntry = "Options/Last file";

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text, or defaultValue when the entry is absent (first run).
  virtual std::string ReadText(const std::string& entry, const std::string& defaultValue) = 0;
  // Writes at once, so that nothing is lost when the process ends without shutting down.
  virtual void WriteText(const std::string& entry, const std::string& value) = 0;
};

// Full path of the last working drawing chosen in the conversion dialog. Read once at
// start-up; written each time the input changes. Empty at construction.
class LastFileSetting {
 public:
  // Reads the entry, with the current (empty) value as default; the store is kept for
  // later writes.
  void Load(SettingsStore& store);
  const std::string& Value() const { return value_; }
  // Assigns the setting and writes it to the store at once (when one was loaded from).
  void Assign(const std::string& path);

 private:
  SettingsStore* store_ = nullptr;
  std::string value_;
};

}  // namespace korvex::shell
