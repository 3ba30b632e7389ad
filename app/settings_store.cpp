// The last-file setting: read once at start-up, written whenever it changes.
#include "app/settings_store.h"

namespace korvex::shell {

void LastFileSetting::Load(SettingsStore& store) {
  store_ = &store;
  value_ = store.ReadText(kLastFileEntry, value_);
}

void LastFileSetting::Assign(const std::string& path) {
  value_ = path;
  if (store_ != nullptr) store_->WriteText(kLastFileEntry, value_);
}

}  // namespace korvex::shell
