// Whole harvests end to end: company run, supervisor, contact run, export,
// and the task queue, against the stand-in site.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <set>

#include "csv_reader.h"
#include "site_run.h"

namespace {

using e2e::gbkToUtf8;
using e2e::utf8ToGbk;
using testing_support::Records;

// Cells 1 to 9 of a row (ID to address), keyed by ID.
using ById = std::map<std::string, std::vector<std::string>>;

class HarvestTest : public e2e::SiteRunTest {
 protected:
  void SetUp() override {
    path = ::testing::TempDir() + "harvest_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".csv";
  }

  // The site's ground truth from its own --dump, every ID once.
  ById dump(const std::string& keyword, int listings, const std::string& criteria = "") {
    const Records records =
        testing_support::readCsvWithPython(std::string(DIRECTORY_SITE) + " --dump " + keyword + " --results " +
                                               keyword + "=" + std::to_string(listings) + criteria,
                                           "utf-8");
    ById rows;
    for (std::size_t r = 1; r < records.size(); ++r) {
      rows.emplace(records[r][1], std::vector<std::string>(records[r].begin() + 1, records[r].end()));
    }
    return rows;
  }
  // The exported file as a CSV reader reads it: its header, serials 1 … n
  // and the rows by ID.
  ById exported() {
    const Records records = testing_support::readCsvFile(path);
    EXPECT_FALSE(records.empty());
    if (records.empty()) return {};
    EXPECT_EQ(records[0],
              (std::vector<std::string>{"序", "ID", "公司名", "联系人", "手机", "电话", "传真", "邮箱", "QQ", "地址"}));
    ById rows;
    for (std::size_t r = 1; r < records.size(); ++r) {
      EXPECT_EQ(records[r][0], std::to_string(r));
      EXPECT_TRUE(
          rows.emplace(records[r][1], std::vector<std::string>(records[r].begin() + 1, records[r].end())).second)
          << "ID " << records[r][1] << " exported twice";
    }
    return rows;
  }
  bool fileExists() {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
  }
  // Answers the end of the contact run: export, into path.
  void exportAtTheEnd() {
    driver().answerNext(platform::window::Answer::Yes);
    driver().answerNextSave(path);
  }
  void uncheck(platform::window::Handle box) {
    if (ui().checked(box)) ui().userClick(box);
  }
  void check(platform::window::Handle box) {
    if (!ui().checked(box)) ui().userClick(box);
  }
  int shopRequests() {
    int n = 0;
    for (const std::string& line : logLines()) n += line.find(".shop.localhost") != std::string::npos ? 1 : 0;
    return n;
  }
  int rowsWithPerson() {
    int n = 0;
    for (const auto& row : main().Companies.rows()) n += row[app::CompanyTable::Person].empty() ? 0 : 1;
    return n;
  }

  std::string path;
};

TEST_F(HarvestTest, WholeHarvestExportsTheSitesGroundTruth) {
  start({.pinnedCounts = {{"轴承", 2000}}});
  uncheck(main().选择框_手机电话识别);
  uncheck(main().选择框_手机号强过滤);
  exportAtTheEnd();
  press("轴承");
  ASSERT_TRUE(runTicking([this] { return fileExists() && state().Idle; }));
  EXPECT_EQ(main().Tasks.rowCount(), 0) << "a finished single search leaves no task row";
  EXPECT_EQ(exported(), dump("轴承", 2000));
  EXPECT_EQ(status(5), "第" + std::to_string(main().Companies.rowCount()) + "条");
}

TEST_F(HarvestTest, RequiredFieldsAndTheStrongMobileFilter) {
  start({.pinnedCounts = {{"五金", 1200}}});
  uncheck(main().选择框_手机电话识别);
  check(main().选择框_手机号强过滤);
  check(main().选择框_联系人);
  check(main().选择框_手机);
  exportAtTheEnd();
  press("五金");
  ASSERT_TRUE(runTicking([this] { return fileExists() && state().Idle; }));
  ById expected;
  for (auto [id, cells] : dump("五金", 1200)) {
    std::string& mobile = cells[3];
    if (mobile.empty() || mobile[0] != '1' || mobile.size() < 11) mobile.clear();
    if (!cells[2].empty() && !mobile.empty()) expected.emplace(id, cells);
  }
  ASSERT_LT(expected.size(), 1200U) << "the rules dropped some rows";
  EXPECT_EQ(exported(), expected) << "blanked rows are swept before the export";
}

TEST_F(HarvestTest, QueueOfThreeTasksThenOneFromTheSelection) {
  // One keyword, as the keyword box gives every task's second address; three
  // business models.
  start({.pinnedCounts = {{"阀门", 1500}}});
  check(main().选择框_采集确认);
  const std::string modes[] = {"1", "3", "5"};
  for (const int entry : {1, 2, 3}) {
    typeKeyword("阀门");
    ui().userSelect(main().组合框3, entry);
    ui().userClick(main().按钮_加入任务);
  }
  ASSERT_EQ(main().Tasks.rowCount(), 3);
  driver().answerNext(platform::window::Answer::No);  // the contact run, offered once
  ui().userClick(main().按钮_开始全部任务);
  ASSERT_TRUE(runTicking([this] { return task(2, app::TaskTable::Status) == "完成" && state().Idle; }));
  // Each task's count is what it added to the grid: the new distinct companies.
  std::set<std::string> seen;
  int before = 0;
  for (int row = 0; row < 3; ++row) {
    for (const auto& [id, cells] : dump("阀门", 1500, " --busmode " + modes[row])) seen.insert(id);
    EXPECT_EQ(task(row, app::TaskTable::Status), "完成") << row;
    EXPECT_EQ(task(row, app::TaskTable::Valid), std::to_string(static_cast<int>(seen.size()) - before)) << row;
    before = static_cast<int>(seen.size());
  }
  EXPECT_EQ(main().Companies.rowCount(), static_cast<int>(seen.size()));
  int questions = 0;
  for (const auto& m : driver().messages)
    questions += gbkToUtf8(m.text) == "采集公司已完成\r\n是否开始采集信息" ? 1 : 0;
  EXPECT_EQ(questions, 1);

  // The queue is still the one run: the selected task and those after it run.
  auto firstPages = [this](const std::string& mode) {
    int n = 0;
    for (const std::string& line : logLines())
      n += line.find("&busmode=" + mode + "&") != std::string::npos && line.find(".html?") != std::string::npos &&
                   line.find("&page=") == std::string::npos
               ? 1
               : 0;
    return n;
  };
  driver().answerNext(platform::window::Answer::No);
  ui().userSelectRow(main().Tasks.handle(), 1);
  ui().userClick(main().按钮_开始单条任务);
  ASSERT_TRUE(runTicking([&] { return firstPages("5") == 2 && state().Idle && state().PageCount == 0; }));
  EXPECT_EQ(firstPages("1"), 1);
  EXPECT_EQ(firstPages("3"), 2);
  EXPECT_EQ(main().Tasks.rowCount(), 3) << "a queue run keeps its rows";
}

TEST_F(HarvestTest, StopInAContactRunThenASecondRunFetchesOnlyTheEmptyRows) {
  start({.pinnedCounts = {{"阀门", 600}}, .latencyMs = 15});
  check(main().选择框_采集确认);
  uncheck(main().选择框_导出提示);
  driver().answerNext(platform::window::Answer::No);
  press("阀门");
  ASSERT_TRUE(runTicking([this] { return state().Idle && state().PageCount == 0; }));
  const int rows = main().Companies.rowCount();
  ui().userType(main().编辑框_线程, "4");
  ui().userClick(main().按钮_开始信息);
  ASSERT_TRUE(runTicking([this] { return state().ProcessedCount > 60; }));
  ui().userClick(main().按钮_停止);
  ASSERT_TRUE(runTicking([this] { return system->harvester.Runs.writers() == 0; }));
  EXPECT_LT(state().ProcessedCount, rows);
  const int fetchedBefore = shopRequests();
  int empty = 0;
  for (const auto& row : main().Companies.rows()) empty += row[app::CompanyTable::Person].empty() ? 1 : 0;

  ui().userClick(main().按钮_开始信息);
  ASSERT_TRUE(runTicking([this] { return state().Idle.load(); }));
  EXPECT_EQ(state().ProcessedCount, rows) << "the skipped rows count, so the run completed";
  EXPECT_EQ(shopRequests() - fetchedBefore, empty) << "only the rows still empty are fetched";
}

TEST_F(HarvestTest, OnePageRunFinishesOnceItsWorkerReturned) {
  start({.pinnedCounts = {{"四十", 30}}, .latencyMs = 50});
  driver().answerNext(platform::window::Answer::No);  // no export
  press("四十");
  ASSERT_TRUE(runTicking([this] { return state().ProcessedCount == 30 && state().Idle; }));
  const ById truth = dump("四十", 30);
  EXPECT_EQ(main().Companies.rowCount(), static_cast<int>(truth.size()));
  const auto withPerson =
      std::count_if(truth.begin(), truth.end(), [](const auto& row) { return !row.second[2].empty(); });
  EXPECT_EQ(rowsWithPerson(), withPerson);

  // A run over rows that all have a contact person completes at once.
  for (int r = 0; r < main().Companies.rowCount(); ++r) {
    if (main().Companies.cellText(r, app::CompanyTable::Person).empty())
      main().Companies.setCell(r, app::CompanyTable::Person, "x");
  }
  const int fetched = shopRequests();
  driver().answerNext(platform::window::Answer::No);
  const std::size_t asked = driver().messages.size();
  ui().userClick(main().按钮_开始信息);
  ASSERT_TRUE(runTicking([this, asked] { return driver().messages.size() > asked && state().Idle; }));
  EXPECT_EQ(gbkToUtf8(driver().messages.back().text), "采集信息已完成\r\n是否导出");
  EXPECT_EQ(shopRequests(), fetched);
}

TEST_F(HarvestTest, FaultsAndStallsEndByThemselvesAndNoRowHoldsAnotherCompany) {
  // Search pages get a limit no slow build reaches; stalls outlast it, and a
  // stalled contact page still answers within the contact fetch's own limit.
  start({.pinnedCounts = {{"轴承", 600}}, .failRate = 0.05, .stallRate = 0.01, .stallMs = 12'000}, 10);
  uncheck(main().选择框_手机电话识别);
  uncheck(main().选择框_手机号强过滤);
  exportAtTheEnd();
  press("轴承");
  ASSERT_TRUE(runTicking([this] { return fileExists() && state().Idle; }, 180'000));
  const ById truth = dump("轴承", 600);
  int filled = 0;
  for (const auto& [id, cells] : exported()) {
    ASSERT_TRUE(truth.contains(id)) << id;
    const bool empty = std::all_of(cells.begin() + 2, cells.end(), [](const std::string& c) { return c.empty(); });
    if (empty) continue;
    ++filled;
    for (std::size_t c = 0; c < cells.size(); ++c)
      EXPECT_EQ(cells[c], truth.at(id)[c]) << "row of " << id << ", cell " << c;
  }
  EXPECT_GT(filled, 400);
}

}  // namespace
