// Addresses of the product's web pages: one site, three page paths.
#include "app/product_pages.h"

#include <gtest/gtest.h>

#include <string>

namespace korvex::shell {
namespace {

TEST(ProductPagesTest, PagesLieUnderTheSite) {
  const std::string site = kProductSite;
  EXPECT_EQ(ProductPageAddress(ProductPage::kReleaseNotes), site + "/shp_release_notes.html");
  EXPECT_EQ(ProductPageAddress(ProductPage::kDownload), site + "/shp_download.html");
  EXPECT_EQ(ProductPageAddress(ProductPage::kUserManual), site + "/shp_help.pdf");
  EXPECT_EQ(site.rfind("https://", 0), 0u);
  EXPECT_NE(site.back(), '/') << "the page paths bring their own slash";
}

}  // namespace
}  // namespace korvex::shell
