#include "search/company_search.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>

#include "headless_harvester.h"
#include "local_servers.h"

namespace {

using platform::gbkToUtf8;
using platform::utf8ToGbk;

TEST(PagesFor, FortyCompaniesAPage) {
  const std::pair<int, int> cases[] = {
      {1, 1}, {40, 1}, {41, 2}, {80, 2}, {81, 3}, {10'000, 250}, {INT_MAX, 53'687'092}};
  for (const auto& [count, pages] : cases) EXPECT_EQ(search::pagesFor(count), pages) << count;
}

// A site whose first result page says what the test wants, and that can act
// when that page is asked for.
class FirstPageTest : public ::testing::Test {
 protected:
  FirstPageTest()
      : server([this](httplib::Server& s) {
          s.Get("/search", [](const httplib::Request&, httplib::Response& r) {
            r.set_content("<a href=\"/s-tok.html\">x</a>", "text/html; charset=utf-8");
          });
          s.Get("/s-tok.html", [this](const httplib::Request& q, httplib::Response& r) {
            if (q.has_param("page")) ++pageRequests;
            if (onFirstPage) onFirstPage();
            r.set_content("共找到<span>" + count + "</span>条", "text/html; charset=utf-8");
          });
        }),
        system(testing_support::lasting<testing_support::HeadlessHarvester>(
            net::Site{"127.0.0.1:" + std::to_string(server.port()), ".shop.localhost:1"})) {}

  void press() {
    system.ui.userType(system.main().编辑框_关键词, "kw");
    system.ui.userClick(system.main().按钮_开始公司);
  }

  std::string count = "0";
  std::function<void()> onFirstPage;
  std::atomic<int> pageRequests{0};
  testing_support::HttpServer server;
  testing_support::HeadlessHarvester& system;
};

TEST_F(FirstPageTest, NegativeCountIsNoResult) {
  count = "-5";
  press();
  EXPECT_EQ(system.state().ResultCount, 0);
  ASSERT_EQ(system.driver.messages.size(), 1U);
  EXPECT_EQ(gbkToUtf8(system.driver.messages[0].text), "没有采集结果");
  EXPECT_EQ(system.main().Tasks.rowCount(), 0);
  EXPECT_TRUE(system.state().Idle);
}

TEST_F(FirstPageTest, StopWhileTheFirstPageLoadsEndsTheRun) {
  count = "400";
  onFirstPage = [this] {
    // The stop button is pressed while the interface waits for this page.
    system.driver.post([this] { system.ui.userClick(system.main().按钮_停止); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  };
  press();
  EXPECT_TRUE(system.state().Idle);
  EXPECT_EQ(gbkToUtf8(system.main().Tasks.cellText(0, app::TaskTable::Status)), "停止");
  system.driver.runUntil([] { return false; }, 300);
  EXPECT_EQ(pageRequests, 0) << "no page worker started after the stop";
  EXPECT_TRUE(system.ui.enabled(system.main().按钮_开始公司));
}

}  // namespace
