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

// Opens an address with the system's default handler (browser or PDF viewer).
class PageOpener {
 public:
  virtual ~PageOpener() = default;
  // False when no program could be started for it.
  virtual bool Open(const std::string& address) = 0;
};

// Opens the page; when nothing could be started for it, says which address that was, so
// that the user can open it by other means.
bool OpenProductPage(PageOpener& opener, ProductPage page);

}  // namespace korvex::shell
