// The buttons of the company grid and the export, through the main window.

#include "results/results.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "csv_reader.h"
#include "headless_harvester.h"
#include "results/csv.h"

namespace {

using platform::gbkToUtf8;
using platform::utf8ToGbk;
using testing_support::HeadlessHarvester;
namespace window = platform::window;

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

void writeFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class ResultsTest : public ::testing::Test {
 protected:
  ResultsTest() {
    companies().clearRows();
    system.driver.messages.clear();
    system.driver.saveDialogs.clear();
    folder = ::testing::TempDir() + "results_" + std::to_string(reinterpret_cast<std::uintptr_t>(this));
    ::mkdir(folder.c_str(), 0755);
    system.driver.desktop = folder;
  }
  app::CompanyTable& companies() { return system.main().Companies; }
  // Rows of (ID, name, person, address) in UTF-8.
  void fill(const std::vector<std::vector<std::string>>& rows) {
    for (const auto& r : rows) {
      std::vector<std::string> cells(9);
      for (std::size_t c = 0; c < r.size(); ++c) cells[c == 3 ? 8 : c] = utf8ToGbk(r[c]);
      companies().appendNumberedRow(cells);
    }
  }
  std::vector<std::vector<std::string>> shownRows() {
    std::vector<std::vector<std::string>> rows;
    for (const auto& row : companies().rows()) {
      std::vector<std::string> utf8;
      for (const std::string& cell : row) utf8.push_back(gbkToUtf8(cell));
      rows.push_back(utf8);
    }
    return rows;
  }
  std::string status(int part) { return gbkToUtf8(system.ui.partText(system.main().状态条1, part)); }
  void click(window::Handle button) { system.ui.userClick(button); }

  HeadlessHarvester& system = testing_support::lasting<HeadlessHarvester>();
  std::string folder;
};

TEST_F(ResultsTest, DedupeButtonShowsTheCountsAndClearingKeepsThem) {
  for (const int id : {0, 1, 2, 3, 4, 5, 6, 0, 1, 2}) fill({{"id" + std::to_string(id), "公司 " + std::to_string(id)}});
  std::set<std::string> distinct;
  for (const auto& row : companies().rows()) distinct.insert(row[1]);
  ASSERT_EQ(distinct.size(), 7U);
  click(system.main().按钮_去除重复);
  EXPECT_EQ(status(9), "去重复:3");
  EXPECT_EQ(status(7), "有效7条");
  EXPECT_EQ(system.state().DuplicateCount, 0) << "back to 0 once shown";
  ASSERT_EQ(companies().rowCount(), 7);
  for (int r = 0; r < 7; ++r) {
    EXPECT_EQ(companies().cellText(r, 0), std::to_string(r + 1));
    EXPECT_EQ(gbkToUtf8(companies().cellText(r, 2)).find(' '), std::string::npos);
  }

  fill({{"x", "名", "张三", "地址"}});
  click(system.main().按钮_清空信息);
  const auto cleared = shownRows().back();
  EXPECT_EQ(cleared[1], "x");
  EXPECT_EQ(cleared[2], "名");
  EXPECT_EQ(std::vector<std::string>(cleared.begin() + 3, cleared.end()), std::vector<std::string>(7));

  click(system.main().按钮_清空公司);
  EXPECT_EQ(companies().rowCount(), 0);
  EXPECT_EQ(status(7), "有效7条") << "the counters keep their values";
}

TEST_F(ResultsTest, DefaultNameFromTheDateAndToken) {
  std::tm march{};
  march.tm_year = 115;
  march.tm_mon = 2;
  march.tm_mday = 9;
  EXPECT_EQ(gbkToUtf8(results::defaultExportName(march, "abc")), "2015年03月09日-abc.csv");
  std::tm christmas = march;
  christmas.tm_mon = 11;
  christmas.tm_mday = 25;
  EXPECT_EQ(gbkToUtf8(results::defaultExportName(christmas, "abc")), "2015年12月25日-abc.csv");
  EXPECT_EQ(gbkToUtf8(results::defaultExportName(christmas, "")), "2015年12月25日-.csv");
}

TEST_F(ResultsTest, ExportOffersTheDialogAndWritesWhatACsvReaderReadsBack) {
  click(system.main().按钮_导出);
  EXPECT_TRUE(system.driver.saveDialogs.empty()) << "an empty grid offers nothing";

  fill({{"a1", "华锦,贸易", "张\"三\"", "深圳\r\n南山"}, {"b2", "", "", ""}, {"c3", "乙公司", "李四", "北京"}});
  companies().appendRow();  // an all-empty row
  system.harvester.Results.today = [] {
    std::tm date{};
    date.tm_year = 115;
    date.tm_mon = 2;
    date.tm_mday = 9;
    return date;
  };
  system.state().KeywordSlug.set("abc");
  const std::string path = folder + "/导出.csv";
  system.driver.answerNextSave(std::nullopt);
  click(system.main().按钮_导出);
  ASSERT_EQ(system.driver.saveDialogs.size(), 1U);
  const window::SaveDialog expected{.title = utf8ToGbk("保存采集"),
                                    .filter = utf8ToGbk("文本文件（*.csv）|*.csv|"),
                                    .fileName = utf8ToGbk("2015年03月09日-abc.csv"),
                                    .folder = folder,
                                    .defaultExtension = "",
                                    .confirmOverwrite = true,
                                    .folderMustExist = true};
  EXPECT_EQ(system.driver.saveDialogs[0], expected);
  struct stat info {};
  EXPECT_NE(::stat(path.c_str(), &info), 0) << "cancel writes nothing";

  system.driver.answerNextSave(path);
  click(system.main().按钮_导出);
  EXPECT_TRUE(system.driver.messages.empty()) << "a sound export is silent";
  const std::string bytes = readFile(path);
  EXPECT_EQ(bytes, results::buildCsvText(companies()));
  EXPECT_TRUE(bytes.ends_with("\r\n"));
  EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF"));
  const auto records = testing_support::readCsvFile(path);
  ASSERT_EQ(records.size(), 5U);
  EXPECT_EQ(records[0],
            (std::vector<std::string>{"序", "ID", "公司名", "联系人", "手机", "电话", "传真", "邮箱", "QQ", "地址"}));
  const auto rows = shownRows();
  for (std::size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(records[r + 1], rows[r]) << "row " << r;
}

TEST_F(ResultsTest, FailedExportSaysSoAndLeavesTheOldFile) {
  fill({{"a1", "甲"}});
  const std::string old = folder + "/old.csv";
  writeFile(old, "old content");
  const std::string directory = folder + "/a-folder";
  ::mkdir(directory.c_str(), 0755);
  for (const std::string& target : {std::string("/proc/harvester-export.csv"), directory}) {
    system.driver.messages.clear();
    system.driver.answerNextSave(target);
    click(system.main().按钮_导出);
    ASSERT_EQ(system.driver.messages.size(), 1U) << target;
    const std::string text = gbkToUtf8(system.driver.messages[0].text);
    EXPECT_TRUE(text.starts_with("导出失败")) << text;
    EXPECT_NE(text.find(target), std::string::npos) << text;
    EXPECT_EQ(gbkToUtf8(system.driver.messages[0].title), "导出");
  }
  struct stat info {};
  EXPECT_TRUE(::stat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
  EXPECT_EQ(readFile(old), "old content");
  system.driver.answerNextSave(old);
  click(system.main().按钮_导出);
  EXPECT_EQ(readFile(old), results::buildCsvText(companies()));
}

TEST(CsvField, QuotesOnlyWhatNeedsIt) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"plain", "plain"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {"lf\n", "\"lf\n\""},
      {utf8ToGbk("华锦"), utf8ToGbk("华锦")},
  };
  for (const auto& [cell, field] : cases) EXPECT_EQ(results::csvField(cell), field) << cell;
}

}  // namespace
