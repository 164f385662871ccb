// Company runs end to end: the headless system against the stand-in site.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "site_run.h"

namespace {

using e2e::gbkToUtf8;
using e2e::utf8ToGbk;

struct Row {
  std::string id, name;  // name in UTF-8
  auto operator<=>(const Row&) const = default;
};

class CompanyRunTest : public e2e::SiteRunTest {
 protected:
  // Types the keyword and presses "采集公司①"; waits until every page is handled.
  void collect(const std::string& keywordUtf8, bool pickCategory = false) {
    press(keywordUtf8, pickCategory);
    waitForPages();
  }
  // Until the run has no result, or every page is parsed: the one page of a
  // one-page run ends with the block after its last listing.
  void waitForPages() {
    ASSERT_TRUE(system->driver.runUntil(
        [this] {
          if (state().Idle) return true;
          if (state().SinglePageRun) return state().ProcessedCount == state().ResultCount + 1;
          return system->harvester.Runs.countDoneItems() == state().PageCount;
        },
        60'000));
  }

  std::multiset<Row> harvest() {
    std::multiset<Row> rows;
    for (int r = 0; r < main().Companies.rowCount(); ++r) {
      rows.insert({main().Companies.cellText(r, 1), gbkToUtf8(main().Companies.cellText(r, 2))});
    }
    return rows;
  }
  std::multiset<Row> truth(const std::string& keyword, const site::Criteria& criteria = {}) {
    std::multiset<Row> rows;
    const int pages = (site->catalogue().resultCount(keyword, criteria) + 39) / 40;
    for (int n = 1; n <= pages; ++n) {
      for (const site::Listing& l : site->catalogue().page(keyword, criteria, n)) {
        rows.insert({l.company.id, site::shownName(l.html)});
      }
    }
    return rows;
  }
};

TEST_F(CompanyRunTest, HarvestEqualsTheSitesGroundTruth) {
  start({.pinnedCounts = {{"轴承", 1234}}});
  collect("轴承");
  const std::multiset<Row> expected = truth("轴承");
  EXPECT_EQ(harvest(), expected);
  const int pages = (1234 + 39) / 40;
  EXPECT_EQ(state().PageCount, pages);
  EXPECT_EQ(state().ResultCount, 1234);
  EXPECT_EQ(state().ValidCount, 1234);
  // Every page ends with one block after its last listing.
  EXPECT_EQ(state().ProcessedCount, 1234 + pages);
  EXPECT_EQ(state().FilteredCount, pages);
  for (int r = 0; r < main().Companies.rowCount(); ++r)
    ASSERT_EQ(main().Companies.cellText(r, 0), std::to_string(r + 1));
  EXPECT_EQ(gbkToUtf8(main().Tasks.cellText(0, app::TaskTable::Status)), "进行");
  EXPECT_EQ(status(3), "共" + std::to_string(pages) + "页");
  EXPECT_EQ(status(7), "有效1234条");
  EXPECT_FALSE(system->ui.enabled(main().按钮_开始公司));

  system->ui.userClick(main().按钮_停止);
  EXPECT_TRUE(state().Idle);
  EXPECT_EQ(gbkToUtf8(main().Tasks.cellText(0, app::TaskTable::Status)), "停止");
  EXPECT_TRUE(system->ui.enabled(main().按钮_开始公司));
  EXPECT_TRUE(system->driver.runUntil([this] { return status(8) == "状态:未开始"; }));
}

TEST_F(CompanyRunTest, CriteriaAndCategoryTravelInBothAddressForms) {
  start({.pinnedCounts = {{"阀门", 3000}}});
  std::string keyword;
  // A keyword whose probe offers categories: pick the first one.
  system->driver.onNextModal([this](platform::window::Handle picker) {
    system->ui.userSelect(system->ui.find(picker, utf8ToGbk("组合框1")), 1);
    system->ui.userPress(system->ui.find(picker, utf8ToGbk("标签1")));
  });
  const std::vector<site::Category> categories = site->catalogue().categories("阀门");
  ASSERT_FALSE(categories.empty());
  system->ui.userSelect(main().组合框1, 19);  // 广东省
  system->ui.userSelect(main().组合框3, 2);   // 贸易型
  system->ui.userClick(main().选择框_执照审核);
  collect("阀门", true);
  const site::Criteria criteria{.province = "10", .busmode = "3", .isV = "1", .cateid = categories[0].id};
  EXPECT_EQ(harvest(), truth("阀门", criteria));
  const std::string query = "province=10&city=&busmode=3&is_v=1&employ=&annulsale=&cateid=" + categories[0].id;
  const std::string wd = "%E9%98%80%E9%97%A8";
  int form1 = 0, form2 = 0;
  for (const std::string& line : logLines()) {
    if (line.find("/s-") != std::string::npos && line.find("&page=") != std::string::npos) {
      ++form1;
      EXPECT_NE(line.find(".html?" + query + "&page="), std::string::npos) << line;
    }
    if (line.find("/search-s?") != std::string::npos) {
      ++form2;
      EXPECT_NE(line.find("&wd=" + wd + "&" + query + "&goldkwd=" + wd + "\t"), std::string::npos) << line;
    }
  }
  EXPECT_EQ(form1, state().PageCount);
  EXPECT_EQ(form2, state().PageCount);
  EXPECT_EQ(gbkToUtf8(main().Tasks.cellText(0, app::TaskTable::Summary)),
            gbkToUtf8(state().KeywordSlug.get()) + "|10||3|1|||");
  EXPECT_EQ(gbkToUtf8(main().Tasks.cellText(0, app::TaskTable::TaskName)), "阀门-广东省");
}

TEST_F(CompanyRunTest, FilterWordsDropNames) {
  start({.pinnedCounts = {{"五金", 400}}});
  system->ui.userType(main().编辑框_过滤, utf8ToGbk("贸易-批发部- -"));
  collect("五金");
  std::multiset<Row> expected;
  for (const Row& row : truth("五金")) {
    if (row.name.find("贸易") == std::string::npos && row.name.find("批发部") == std::string::npos)
      expected.insert(row);
  }
  ASSERT_LT(expected.size(), 400U);
  EXPECT_EQ(harvest(), expected);
  EXPECT_EQ(state().FilteredCount, 10 + 400 - static_cast<int>(expected.size()));
  EXPECT_EQ(state().ValidCount, static_cast<int>(expected.size()));
}

TEST_F(CompanyRunTest, NoResultsAndFailedProbe) {
  start({.pinnedCounts = {{"先有", 80}, {"无结果", 0}}, .withoutToken = {"无此词"}});
  collect("先有");
  system->ui.userClick(main().按钮_停止);
  collect("无结果");
  ASSERT_EQ(system->driver.messages.size(), 1U);
  EXPECT_EQ(gbkToUtf8(system->driver.messages[0].text), "没有采集结果");
  EXPECT_EQ(gbkToUtf8(system->driver.messages[0].title), "结果");
  EXPECT_EQ(main().Tasks.rowCount(), 1) << "the empty task's row is deleted";
  EXPECT_EQ(main().Tasks.cellText(0, 0), "1");
  EXPECT_TRUE(state().Idle);

  system->ui.userType(main().编辑框_关键词, utf8ToGbk("无此词"));
  system->ui.userClick(main().按钮_开始公司);
  ASSERT_EQ(system->driver.messages.size(), 2U);
  EXPECT_EQ(gbkToUtf8(system->driver.messages[1].text), "连接失败");
  EXPECT_EQ(gbkToUtf8(system->driver.messages[1].title), "连接");
  EXPECT_EQ(status(9), "连接失败");
  EXPECT_EQ(main().Tasks.rowCount(), 1);
  EXPECT_TRUE(state().Idle);
}

TEST_F(CompanyRunTest, FortyListingsAreOnePageZeroAndFortyOneAreTwo) {
  start({.pinnedCounts = {{"四十", 40}, {"四十一", 41}}});
  collect("四十");
  EXPECT_TRUE(state().SinglePageRun);
  EXPECT_EQ(state().PageCount, 1);
  EXPECT_EQ(harvest(), truth("四十"));
  for (const std::string& line : logLines()) {
    if (line.find("&page=") != std::string::npos) {
      EXPECT_NE(line.find("&page=0\t"), std::string::npos) << line;
    }
    if (line.find("/search-s?") != std::string::npos) {
      EXPECT_NE(line.find("/search-s?page=0&"), std::string::npos) << line;
    }
  }
  system->ui.userClick(main().按钮_停止);
  collect("四十一");
  EXPECT_FALSE(state().SinglePageRun);
  EXPECT_EQ(state().PageCount, 2);
  EXPECT_EQ(harvest(), truth("四十一")) << "the company grid was emptied at the start";
}

TEST_F(CompanyRunTest, StopInTheMiddleThenStartAgainAtOnce) {
  start({.pinnedCounts = {{"轴承", 4000}, {"阀门", 200}}, .latencyMs = 30});
  system->ui.userType(main().编辑框_线程, "5");
  press("轴承");
  ASSERT_TRUE(system->driver.runUntil([this] { return main().Companies.rowCount() > 100; }));
  system->ui.userClick(main().按钮_停止);
  EXPECT_EQ(gbkToUtf8(main().Tasks.cellText(0, app::TaskTable::Status)), "停止");
  const int atStop = main().Companies.rowCount();
  // The pages in flight still add their rows.
  system->driver.runUntil([] { return false; }, 300);
  EXPECT_GE(main().Companies.rowCount(), atStop);
  EXPECT_LT(main().Companies.rowCount(), 4000);
  const std::multiset<Row> all = truth("轴承");
  for (const Row& row : harvest()) EXPECT_TRUE(all.contains(row)) << row.id;

  system->ui.userClick(main().选择框_采集清空);  // keep the rows of both runs
  collect("阀门");
  system->driver.runUntil([] { return false; }, 300);
  const std::multiset<Row> second = truth("阀门");
  std::size_t fromSecond = 0;
  for (const Row& row : harvest()) fromSecond += second.contains(row) ? 1 : 0;
  EXPECT_GE(fromSecond, 200U);
  EXPECT_EQ(system->harvester.Runs.countDoneItems(), 5);
}

TEST_F(CompanyRunTest, ContactsCollectedAtTheSameTime) {
  start({.pinnedCounts = {{"五金", 120}}});
  system->ui.userClick(main().选择框_同时采集);
  system->ui.userClick(main().选择框_手机电话识别);
  system->ui.userClick(main().选择框_手机号强过滤);
  collect("五金");
  ASSERT_EQ(main().Companies.rowCount(), 120);
  std::map<std::string, site::Contact> expected;
  for (int n = 1; n <= 3; ++n) {
    for (const site::Listing& l : site->catalogue().page("五金", {}, n)) {
      expected[l.company.id] = site::extracted(l.company.contact);
    }
  }
  for (int r = 0; r < 120; ++r) {
    const site::Contact& c = expected.at(main().Companies.cellText(r, 1));
    const std::vector<std::string> cells = {c.person, c.mobile, c.telephone, c.fax, c.email, c.qq, c.address};
    for (int k = 0; k < 7; ++k)
      EXPECT_EQ(gbkToUtf8(main().Companies.cellText(r, 3 + k)), cells[static_cast<std::size_t>(k)]);
  }
  EXPECT_EQ(state().ValidCount, 240) << "each company and each contact row";
}

TEST_F(CompanyRunTest, FailuresAndStallsEndWithoutHangAndLoseOnlyTheirPages) {
  // Sound answers get a limit no slow build reaches; stalls outlast it.
  start({.pinnedCounts = {{"轴承", 2000}}, .failRate = 0.05, .stallRate = 0.01, .stallMs = 40'000}, 20);
  collect("轴承");
  // Pages whose answers failed or stalled, from the site's log.
  std::set<int> failed;
  for (const std::string& line : logLines()) {
    if (line.ends_with("\t-")) continue;
    const std::size_t at = line.find("page=");
    if (at != std::string::npos) failed.insert(std::atoi(line.c_str() + at + 5));
  }
  std::multiset<Row> ofSoundPages;
  const std::multiset<Row> all = truth("轴承");
  for (int n = 1; n <= 50; ++n) {
    if (failed.contains(n)) continue;
    for (const site::Listing& l : site->catalogue().page("轴承", {}, n))
      ofSoundPages.insert({l.company.id, site::shownName(l.html)});
  }
  const std::multiset<Row> harvested = harvest();
  for (const Row& row : ofSoundPages) EXPECT_TRUE(harvested.contains(row)) << row.id;
  for (const Row& row : harvested) EXPECT_TRUE(all.contains(row)) << row.id;
  EXPECT_FALSE(failed.empty()) << "the site injected no fault";
}

TEST_F(CompanyRunTest, GridButtonsWaitForTheRunsWritersAndNoRowIsLost) {
  start({.pinnedCounts = {{"轴承", 2000}}, .latencyMs = 20});
  system->ui.userType(main().编辑框_线程, "5");
  press("轴承");
  ASSERT_TRUE(system->driver.runUntil([this] { return main().Companies.rowCount() > 100; }));
  for (const platform::window::Handle button : {main().按钮_去除重复, main().按钮_清空公司, main().按钮_清空信息}) {
    system->ui.setPartText(main().状态条1, 9, "");
    system->ui.userClick(button);
    EXPECT_EQ(status(9), "请等待采集结束");
  }
  waitForPages();
  EXPECT_EQ(harvest(), truth("轴承")) << "every row the run appended is there";

  system->ui.userClick(main().按钮_停止);
  ASSERT_TRUE(system->driver.runUntil([this] { return system->harvester.Runs.writers() == 0; }));
  system->ui.userClick(main().按钮_去除重复);
  EXPECT_EQ(status(9), "去重复:" + std::to_string(2000 - main().Companies.rowCount()));
  for (int r = 0; r < main().Companies.rowCount(); ++r)
    ASSERT_EQ(main().Companies.cellText(r, 0), std::to_string(r + 1));
}

}  // namespace
