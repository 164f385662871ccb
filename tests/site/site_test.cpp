// The stand-in site read back through the program's own fetcher and text
// rules: every marker where its readers look for it, and nothing else.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "catalogue.h"
#include "net/fetcher.h"
#include "net/text_rules.h"
#include "platform/codepage.h"
#include "server.h"

namespace {

using net::splitText;
using net::textBetween;
using platform::gbkToUtf8;
using platform::utf8ToGbk;

class SiteTest : public ::testing::Test {
 protected:
  void startSite(site::SiteOptions options) {
    site_ = std::make_unique<site::DirectorySite>(std::move(options));
    ASSERT_GT(site_->start(0), 0);
  }
  std::string searchHost() const { return "search.localhost:" + std::to_string(site_->port()); }
  std::string shopDomain() const { return ".shop.localhost:" + std::to_string(site_->port()); }
  std::string fetch(const std::string& address, int timeout = 10) {
    return net::pageText(net::fetchPage(address, {.timeoutSeconds = timeout}));
  }
  std::string probe(const std::string& keywordUtf8) {
    return fetch("http://" + searchHost() + "/search?wd=" + net::urlEncode(utf8ToGbk(keywordUtf8), true, true));
  }
  static std::string query(const site::Criteria& c) {
    return "province=" + c.province + "&city=" + c.city + "&busmode=" + c.busmode + "&is_v=" + c.isV +
           "&employ=" + c.employ + "&annulsale=" + c.annulsale + "&cateid=" + c.cateid;
  }
  std::string slugAddress(const std::string& slug, const site::Criteria& c) {
    return "http://" + searchHost() + "/s-" + slug + ".html?" + query(c);
  }
  // The page as a result-page worker joins it.
  std::string joinedPage(const std::string& slug, const std::string& keywordUtf8, const site::Criteria& c, int n) {
    const std::string first = fetch(slugAddress(slug, c) + "&page=" + std::to_string(n));
    const std::string encoded = net::urlEncode(utf8ToGbk(keywordUtf8), true, true);
    const std::string second = fetch("http://" + searchHost() + "/search-s?page=" + std::to_string(n) +
                                     "&wd=" + encoded + "&" + query(c) + "&goldkwd=" + encoded);
    return textBetween(first, "执照已审核"_gbk, "我是供应商"_gbk) + second;
  }
  int resultCount(const std::string& slug, const site::Criteria& c) {
    const std::string count = textBetween(fetch(slugAddress(slug, c)), "共找到<span>"_gbk, "</span>条"_gbk);
    return count.empty() ? -1 : std::stoi(count);
  }

  std::unique_ptr<site::DirectorySite> site_;
};

struct Row {
  std::string id, name;
  bool operator==(const Row&) const = default;
};

TEST_F(SiteTest, WalkOfEveryPageEqualsTheCatalogue) {
  startSite({.seed = 7, .pinnedCounts = {{"LED灯", 41}, {"阀门", 40}, {"无结果", 0}, {"轴承", 10'050}}});
  const std::string nameStart = shopDomain().substr(1) + "\" target=\"_blank\">";
  struct Search {
    std::string keyword;
    site::Criteria criteria;
  };
  const Search searches[] = {
      {"LED灯", {}},           {"阀门", {}}, {"无结果", {}}, {"轴承", {}}, {"轴承", {.province = "10", .busmode = "1"}},
      {"a b", {.employ = "3"}}};
  for (const Search& search : searches) {
    const std::string slug = textBetween(probe(search.keyword), "s-", ".");
    ASSERT_FALSE(slug.empty()) << search.keyword;
    const int count = resultCount(slug, search.criteria);
    ASSERT_EQ(count, site_->catalogue().resultCount(search.keyword, search.criteria)) << search.keyword;
    const int pages = (count + 39) / 40;

    std::vector<Row> walked;
    int blocks = 0;
    for (int n = 1; n <= std::max(pages, 1); ++n) {
      for (const std::string& block :
           splitText(joinedPage(slug, search.keyword, search.criteria, n), "商铺成长等级"_gbk)) {
        ++blocks;
        std::string name = textBetween(block, nameStart, "</a>");
        if (name.empty()) continue;
        for (const char* em : {"<em>", "</em>"}) {
          for (std::size_t at; (at = name.find(em)) != std::string::npos;) name.erase(at, std::strlen(em));
        }
        walked.push_back({textBetween(block, "0#引号 href=#引号http://"_gbk, "."), net::removeAllSpaces(name)});
      }
    }
    std::vector<Row> expected;
    for (int n = 1; n <= pages; ++n) {
      for (const site::Listing& l : site_->catalogue().page(search.keyword, search.criteria, n)) {
        expected.push_back({l.company.id, utf8ToGbk(site::shownName(l.html))});
      }
    }
    EXPECT_EQ(walked, expected) << search.keyword;
    // One block per listing, and one more per page for what follows the last.
    EXPECT_EQ(blocks, count + std::max(pages, 1)) << search.keyword;
  }
}

TEST_F(SiteTest, FirstPageAndPageZeroAreTheSame) {
  startSite({.pinnedCounts = {{"阀门", 100}}});
  const std::string slug = textBetween(probe("阀门"), "s-", ".");
  EXPECT_EQ(joinedPage(slug, "阀门", {}, 0), joinedPage(slug, "阀门", {}, 1));
  EXPECT_EQ(fetch(slugAddress(slug, {})), fetch(slugAddress(slug, {}) + "&page=0"));
}

// Reads a contact page with the markers and tries of the contact reader.
site::Contact readContact(const std::string& page) {
  auto between = [&](const char* left, const char* right) {
    return net::removeAllSpaces(textBetween(page, utf8ToGbk(left), utf8ToGbk(right)));
  };
  auto firstOf = [](std::initializer_list<std::string> tries) {
    for (const std::string& value : tries) {
      if (!value.empty()) return value;
    }
    return std::string();
  };
  auto removeAll = [](std::string text, std::string_view piece) {
    for (std::size_t at; (at = text.find(piece)) != std::string::npos;) text.erase(at, piece.size());
    return text;
  };
  site::Contact c;
  c.person = firstOf({between("<strong>", "</strong>"), between("<title>", ":"),
                      removeAll(between(">\r\n                               <span>", "<"), "&nbsp;")});
  c.mobile = firstOf({between("手机：<small>", "</small>"), between("</br>手机:", "<")});
  c.telephone = firstOf({between("电话：<span>", "</span>"), between("<p>电话：", "<"), between("<span>电话:", "<")});
  c.fax = between("传真：<span>", "<");
  c.email = between("邮箱：<span>", "<");
  c.qq = between("&uin=", "&");
  c.address = removeAll(between("地址： <span>", "</span>"), "\r\n");
  for (std::string* v : {&c.person, &c.mobile, &c.telephone, &c.fax, &c.email, &c.qq, &c.address}) {
    *v = gbkToUtf8(*v);
  }
  return c;
}

TEST_F(SiteTest, ContactPagesCarryTheirValuesInEveryTemplate) {
  startSite({.pinnedCounts = {{"五金", 400}}});
  std::set<int> templates;
  std::map<std::string, int> dirt;
  for (const site::Listing& l : site_->catalogue().page("五金", {}, 1)) {
    const site::Company& company = l.company;
    const std::string page = fetch("http://" + company.id + shopDomain() + "/contact.html");
    const site::Contact read = readContact(page);
    const site::Contact truth = site::extracted(company.contact);
    EXPECT_EQ(read.person, truth.person) << company.id;
    EXPECT_EQ(read.mobile, truth.mobile) << company.id;
    EXPECT_EQ(read.telephone, truth.telephone) << company.id;
    EXPECT_EQ(read.fax, truth.fax) << company.id;
    EXPECT_EQ(read.email, truth.email) << company.id;
    EXPECT_EQ(read.qq, truth.qq) << company.id;
    EXPECT_EQ(read.address, truth.address) << company.id;
    EXPECT_EQ(textBetween(page, "<meta content=#引号"_gbk, "联系方式"_gbk), utf8ToGbk(company.name));
    templates.insert(company.contactTemplate);
  }
  EXPECT_EQ(templates, (std::set<int>{0, 1, 2}));
}

TEST_F(SiteTest, CatalogueCarriesRealDirt) {
  const site::Catalogue catalogue(1, {{"机械", 2000}}, {});
  int spacedNames = 0, lineBreaks = 0, mobileAsTelephone = 0, shortMobiles = 0, fourHundred = 0, noPerson = 0,
      duplicates = 0;
  std::set<std::string> ids;
  for (int n = 1; n <= 50; ++n) {
    for (const site::Listing& l : catalogue.page("机械", {}, n)) {
      const site::Contact& c = l.company.contact;
      spacedNames += l.html.find(' ') != std::string::npos || l.html.find("\u3000") != std::string::npos;
      lineBreaks += c.address.find("\r\n") != std::string::npos;
      mobileAsTelephone += c.telephone.size() == 11 && c.telephone[0] == '1';
      const std::string mobile = site::withoutSpaces(c.mobile);
      shortMobiles += !mobile.empty() && mobile[0] == '1' && mobile.size() < 11;
      fourHundred += mobile.starts_with("400");
      noPerson += c.person.empty();
      duplicates += !ids.insert(l.company.id).second;
    }
  }
  for (const int found :
       {spacedNames, lineBreaks, mobileAsTelephone, shortMobiles, fourHundred, noPerson, duplicates}) {
    EXPECT_GT(found, 5);
  }
}

TEST_F(SiteTest, EachCriterionNarrows) {
  startSite({.pinnedCounts = {{"轴承", 6000}}});
  const std::string slug = textBetween(probe("轴承"), "s-", ".");
  const int all = resultCount(slug, {});
  ASSERT_EQ(all, 6000);
  const std::vector<site::Category> categories = site_->catalogue().categories("轴承");
  const site::Criteria narrowing[] = {{.province = "19_26_2"},
                                      {.province = "10", .city = "69"},
                                      {.busmode = "3"},
                                      {.isV = "1"},
                                      {.employ = "9"},
                                      {.annulsale = "8"},
                                      {.cateid = categories.empty() ? "1012" : categories[0].id}};
  for (const site::Criteria& c : narrowing) {
    const int count = resultCount(slug, c);
    EXPECT_GT(count, 0) << query(c);
    EXPECT_LT(count, all) << query(c);
  }
  EXPECT_LT(resultCount(slug, {.busmode = "3", .isV = "1"}), resultCount(slug, {.busmode = "3"}));
  EXPECT_EQ(resultCount(slug, {.employ = "0", .annulsale = "0"}), all);
  EXPECT_EQ(resultCount(slug, {.employ = "abc"}), 0);
}

TEST_F(SiteTest, ProbePageTokenAndCategories) {
  startSite({.withoutToken = {"无此词"}});
  // A keyword whose probe page offers categories.
  std::string keyword;
  for (int i = 0; keyword.empty() && i < 50; ++i) {
    const std::string candidate = "词" + std::to_string(i);
    if (!site_->catalogue().categories(candidate).empty()) keyword = candidate;
  }
  ASSERT_FALSE(keyword.empty());
  const std::string page = probe(keyword);
  EXPECT_EQ(net::findText(page, "s-", 1, true), net::findText(page, "/s-") + 1) << "the token's s- must come first";
  const std::string block = textBetween(page, "主营行业"_gbk, "经营模式"_gbk);
  const std::vector<std::string> pieces = splitText(block, "cateid");
  const std::vector<site::Category> categories = site_->catalogue().categories(keyword);
  ASSERT_EQ(pieces.size(), categories.size() + 1);
  for (std::size_t k = 0; k < categories.size(); ++k) {
    EXPECT_EQ(textBetween(pieces[k + 1], "=", "#引号"_gbk), categories[k].id);
    EXPECT_EQ(gbkToUtf8(textBetween(pieces[k + 1], "external nofollow#引号>"_gbk, "<")), categories[k].name);
  }
  EXPECT_EQ(textBetween(probe("无此词"), "s-", "."), "");
}

TEST_F(SiteTest, BusySwitchCookiesAndLog) {
  const std::string log = ::testing::TempDir() + "site_test.log";
  std::remove(log.c_str());
  startSite({.logPath = log});
  // The status strip's probe: the word sent as its raw GBK bytes.
  const std::string strip = "http://" + searchHost() + "/search?wd=" + "公司"_gbk;
  EXPECT_EQ(net::findText(fetch(strip), "系统繁忙"_gbk), -1);
  EXPECT_NE(textBetween(fetch(strip), "s-", "."), "");
  fetch("http://" + searchHost() + "/__control?busy=1");
  EXPECT_GT(net::findText(fetch(strip), "系统繁忙"_gbk), 0);
  fetch("http://" + searchHost() + "/__control?busy=0");
  EXPECT_EQ(net::findText(fetch(strip), "系统繁忙"_gbk), -1);

  std::ifstream in(log, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 6U);
  EXPECT_EQ(lines[0], searchHost() + "\t/search?wd=" + "公司"_gbk + "\t\t-");
  EXPECT_TRUE(lines[1].find("\tsid=1\t") != std::string::npos) << lines[1];
}

TEST_F(SiteTest, FaultsAndBadRequests) {
  startSite({});
  const std::string whole = fetch("http://" + searchHost() + "/search?wd=abc");
  startSite({.failRate = 1.0});
  std::set<std::string> failures;
  for (int i = 0; i < 40; ++i) {
    const std::string page = fetch("http://" + searchHost() + "/search?wd=abc");
    EXPECT_NE(page, whole);
    failures.insert(page.empty()                            ? "empty"
                    : page.find("500") != std::string::npos ? "500"
                    : whole.starts_with(page)               ? "truncated"
                                                            : "garbage");
  }
  EXPECT_EQ(failures, (std::set<std::string>{"empty", "500", "truncated", "garbage"}));

  startSite({.stallRate = 1.0, .stallMs = 60'000});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(fetch("http://" + searchHost() + "/search?wd=abc", 1), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30)) << "the stall holds the answer";

  startSite({});
  EXPECT_EQ(fetch("http://" + searchHost() + "/nowhere"), "<html><body>404 Not Found</body></html>\n");
  EXPECT_EQ(fetch("http://nobody1" + shopDomain() + "/contact.html"), "<html><body>404 Not Found</body></html>\n");
  const std::string bad[] = {"/search?wd=%FF%FE%00", "/search-s?page=-1&province=%%%&employ=99999999999",
                             "/s-zz.html?page=abc", "/search?wd=" + std::string(100 * 1024, 'a'),
                             "/s-" + std::string(5000, '0') + ".html"};
  for (const std::string& target : bad) fetch("http://" + searchHost() + target);
  EXPECT_NE(textBetween(probe("still here"), "s-", "."), "");
}

TEST(SiteProgram, ListensAndDumps) {
  FILE* out = popen(DIRECTORY_SITE " --dump 阀门 --results 阀门=41 --is-v 1", "r");
  ASSERT_NE(out, nullptr);
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, out)) > 0;) text.append(buffer, n);
  EXPECT_EQ(pclose(out), 0);
  const site::Catalogue catalogue(1, {{"阀门", 41}}, {});
  const int verified = catalogue.resultCount("阀门", {.isV = "1"});
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), verified + 1);
  EXPECT_TRUE(text.starts_with("page,id,name,person,mobile,telephone,fax,email,qq,address\n1,"));
}

}  // namespace
