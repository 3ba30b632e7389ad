// The settings store on the desktop: wxConfig, which is the registry on Windows
// (HKEY_CURRENT_USER\Software\Tarnwell\Korvex) and a configuration file elsewhere.
#pragma once

#include "app/settings_store.h"

class wxConfigBase;

class ConfigSettingsStore final : public korvex::shell::SettingsStore {
 public:
  explicit ConfigSettingsStore(wxConfigBase& config) : config_(config) {}

  std::string ReadText(const std::string& entry, const std::string& defaultValue) override;
  void WriteText(const std::string& entry, const std::string& value) override;

 private:
  wxConfigBase& config_;
};
