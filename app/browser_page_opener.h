// The web-page commands on the desktop: the system's default browser.
#pragma once

#include "app/product_pages.h"

class BrowserPageOpener final : public korvex::shell::PageOpener {
 public:
  bool Open(const std::string& address) override;
};
