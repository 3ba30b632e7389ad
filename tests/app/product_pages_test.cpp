// Addresses of the product's web pages: one site, three page paths.
#include "app/product_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell_fakes.h"
#include "test_support.h"

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

class OpenProductPageTest : public korvex::test::KorvexTest {};

TEST_F(OpenProductPageTest, OpensQuietly) {
  korvex::test::RecordingPageOpener opener;
  EXPECT_TRUE(OpenProductPage(opener, ProductPage::kDownload));
  EXPECT_EQ(opener.addresses, std::vector<std::string>{ProductPageAddress(ProductPage::kDownload)});
  EXPECT_TRUE(frontend_.messages.empty());
}

// Without a browser the user learns which address to open by other means.
TEST_F(OpenProductPageTest, SaysWhichAddressCouldNotBeOpened) {
  korvex::test::RecordingPageOpener opener;
  opener.opens = false;
  for (const ProductPage page :
       {ProductPage::kReleaseNotes, ProductPage::kDownload, ProductPage::kUserManual}) {
    frontend_.messages.clear();
    EXPECT_FALSE(OpenProductPage(opener, page));
    ASSERT_EQ(frontend_.messages.size(), 1u);
    EXPECT_EQ(frontend_.MessageText(0), "Cannot open " + ProductPageAddress(page) +
                                            "\nNo web browser could be started: open the "
                                            "address in one yourself.");
  }
}

}  // namespace
}  // namespace korvex::shell
