// The product's web pages that the main window's menu opens: one site address, three
// page paths.
#pragma once

#include <string>

namespace korvex::shell {

// Address of the product's web site; the pages lie directly under it.
inline constexpr const char* kProductSite = "https://korvex.tarnwell.example";

enum class ProductPage {
  kReleaseNotes,  // "Latest version info"
  kDownload,      // "Download Current Version"
  kUserManual,    // "User Manual", a PDF document
};

std::string ProductPageAddress(ProductPage page);

// Opens an address with the system's default handler (browser or PDF viewer). A page
// that can't be opened gives no message.
class PageOpener {
 public:
  virtual ~PageOpener() = default;
  virtual void Open(const std::string& address) = 0;
};

}  // namespace korvex::shell
