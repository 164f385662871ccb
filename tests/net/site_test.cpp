#include "net/site.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace {

const net::Site kSite{"search.localhost:1", ".shop.localhost:1"};

TEST(SiteAddresses, EveryFormFromTheValuesHandedIn) {
  const net::SearchCriteria empty;
  const net::SearchCriteria full{.KeywordSlug = "e8bdb4",
                                 .ProvinceCode = "10",
                                 .CityCode = "1001",
                                 .BusinessModeCode = "3",
                                 .VerifiedCode = "1",
                                 .StaffSizeCode = "0",
                                 .TurnoverCode = "8",
                                 .FilterWords = "-",
                                 .CategoryId = "77",
                                 .KeywordEncoded = "%E8%BD%B4"};
  const std::string fullQuery = "province=10&city=1001&busmode=3&is_v=1&employ=0&annulsale=8&cateid=77";
  const std::string emptyQuery = "province=&city=&busmode=&is_v=&employ=&annulsale=&cateid=";
  const std::pair<std::string, std::string> cases[] = {
      {net::slugAddress(kSite, full), "http://search.localhost:1/s-e8bdb4.html?" + fullQuery},
      {net::slugAddress(kSite, full, 7), "http://search.localhost:1/s-e8bdb4.html?" + fullQuery + "&page=7"},
      {net::slugAddress(kSite, empty, 0), "http://search.localhost:1/s-.html?" + emptyQuery + "&page=0"},
      {net::queryAddress(kSite, full, 3),
       "http://search.localhost:1/search-s?page=3&wd=%E8%BD%B4&" + fullQuery + "&goldkwd=%E8%BD%B4"},
      {net::queryAddress(kSite, empty, 1), "http://search.localhost:1/search-s?page=1&wd=&" + emptyQuery + "&goldkwd="},
      {net::probeAddress(kSite, platform::utf8ToGbk("轴承 a")),
       "http://search.localhost:1/search?wd=%E8%BD%B4%E6%89%BF%20a"},
      {net::serverProbeAddress(kSite), "http://search.localhost:1/search?wd=" + platform::utf8ToGbk("公司")},
      {net::shopDomainName(kSite), "shop.localhost:1"},
  };
  for (const auto& [built, expected] : cases) EXPECT_EQ(built, expected);
}

TEST(SiteAddresses, ContactAddressStaysOnTheShopDomain) {
  EXPECT_EQ(net::contactPageAddress(kSite, "huajin-12_3"), "http://huajin-12_3.shop.localhost:1/contact.html");
  for (const char* id : {"", "evil.com/x?", "a b", "x@y", "a:80", "../x", "a\\b"}) {
    EXPECT_EQ(net::contactPageAddress(kSite, id), "") << id;
  }
}

}  // namespace
