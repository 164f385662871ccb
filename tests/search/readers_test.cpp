// The readers of the search pages, without any window.

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "search/keyword_probe.h"
#include "search/result_listing.h"

namespace {

using platform::utf8ToGbk;

std::string block(const std::string& id, const std::string& nameHtml) {
  return "<a class=\"l0\" href=\"http://" + id + ".shop.localhost:1\" target=\"_blank\">" + nameHtml +
         "</a>商铺成长等级";
}

TEST(ReadResultListing, BlocksNamesFiltersAndCounts) {
  struct Case {
    const char* what;
    std::string text;  // UTF-8
    std::string filter;
    std::vector<std::pair<std::string, std::string>> listings;  // UTF-8
    int processed, filtered, valid;
  };
  const std::string nameless = "<a href=\"http://x9.shop.localhost:1\">无名</a>商铺成长等级";
  const std::string idless =
      "<a class=\"l0\" href=\"https://y.shop.localhost:1\" target=\"_blank\">无号公司</a>商铺成长等级";
  const Case cases[] = {
      {"empty text", "", "-", {}, 0, 0, 0},
      {"two blocks and the tail",
       block("a1", "甲 <em>公司</em>") + block("b2", "乙公司") + "尾",
       "-",
       {{"a1", "甲公司"}, {"b2", "乙公司"}},
       3,
       1,
       2},
      {"filter words, blank ones filter nothing",
       block("a1", "甲贸易") + block("b2", "乙公司"),
       "贸易- -",
       {{"b2", "乙公司"}},
       2,
       1,
       1},
      {"a block without the name marker is filtered", nameless, "-", {}, 1, 1, 0},
      {"a name without an ID counts but adds no row", idless, "-", {}, 1, 0, 1},
  };
  for (const Case& c : cases) {
    const search::ResultListing read =
        search::readResultListing(utf8ToGbk(c.text), "shop.localhost:1", utf8ToGbk(c.filter));
    std::vector<std::pair<std::string, std::string>> listings;
    for (const search::Listing& l : read.listings) listings.emplace_back(l.id, platform::gbkToUtf8(l.name));
    EXPECT_EQ(listings, c.listings) << c.what;
    EXPECT_EQ(read.processed, c.processed) << c.what;
    EXPECT_EQ(read.filtered, c.filtered) << c.what;
    EXPECT_EQ(read.valid, c.valid) << c.what;
  }
}

TEST(ReadProbePage, TokenAndCategories) {
  const std::string page = utf8ToGbk(
      "<a href=\"/s-e8bdb4.html\">主营行业<a cateid=12\" rel=\"external nofollow\">轴承</a>"
      "<a cateid=34\" rel=\"external nofollow\">滚珠</a>经营模式");
  const search::ProbePage probe = search::readProbePage(page);
  EXPECT_EQ(probe.slug, "e8bdb4");
  const std::vector<search::Category> categories = search::readCategories(probe.industryBlock);
  ASSERT_EQ(categories.size(), 2U);
  EXPECT_EQ(categories[0].id, "12");
  EXPECT_EQ(platform::gbkToUtf8(categories[1].name), "滚珠");
  EXPECT_TRUE(search::readCategories("").empty());
  EXPECT_EQ(search::readProbePage("").slug, "");
}

}  // namespace
