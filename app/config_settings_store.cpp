// ConfigSettingsStore: entries such as "Options/Last file" are a group and a value.
#include "app/config_settings_store.h"

#include <wx/config.h>

std::string ConfigSettingsStore::ReadText(const std::string& entry,
                                          const std::string& defaultValue) {
  wxString value;
  config_.Read(wxString::FromUTF8(entry), &value, wxString::FromUTF8(defaultValue));
  return std::string(value.utf8_str());
}

void ConfigSettingsStore::WriteText(const std::string& entry, const std::string& value) {
  config_.Write(wxString::FromUTF8(entry), wxString::FromUTF8(value));
  // "Exit Program" ends the process without shutdown, so the value must be stored now.
  config_.Flush();
}
