#include "app/main_window.h"
#include "app/settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <thread>

#include "platform/codepage.h"
#include "platform/headless/headless_driver.h"

namespace {

namespace window = platform::window;
using platform::utf8ToGbk;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    driver.onUnexpected = [](const std::string& what) { ADD_FAILURE() << "unexpected " << what; };
    main.create();
  }
  std::string part(int k) { return platform::gbkToUtf8(ui.partText(main.状态条1, k)); }

  window::HeadlessDriver driver;
  window::Ui ui{driver, driver};
  app::RunState state;
  bool ended = false;
  app::MainWindow main{ui, state, {.endProcess = [this] { ended = true; }}};
};

TEST_F(MainWindowTest, OpensIdleWithEveryControlInPlace) {
  EXPECT_TRUE(state.Idle);
  EXPECT_TRUE(ui.visible(main.window));
  EXPECT_EQ(ui.rect(main.window), (window::Rect{(1366 - 1033) / 2, 50, 1033, 520}));
  EXPECT_EQ(ui.text(main.window), utf8ToGbk("瀚岭商谷供应商采集-霁川坛-蓬丘客"));
  EXPECT_EQ(ui.controls(main.window).size(), 58U);  // every control of the layout, timers included
  struct Place {
    window::Handle control;
    window::Rect rect;
    const char* text;
  };
  const Place places[] = {
      {main.按钮_开始公司, {688, 41, 68, 22}, "采集公司①"},
      {main.编辑框_过滤, {499, 43, 80, 20}, "-"},
      {main.编辑框_线程, {43, 18, 39, 20}, "15"},
      {main.选择框_采集自动去重, {11, 378, 95, 16}, "公司去重(ID)"},
      {main.分组框1, {911, 70, 115, 400}, "其它采集设置"},
      {main.组合框3, {392, 42, 74, 20}, "所有模式"},
  };
  for (const Place& p : places) {
    EXPECT_EQ(ui.rect(p.control), p.rect) << p.text;
    EXPECT_EQ(ui.text(p.control), utf8ToGbk(p.text));
  }
  EXPECT_EQ(ui.state(main.编辑框_线程).parent, main.分组框1);
  const window::Handle checkedAtStart[] = {main.选择框_采集自动去重, main.选择框_采集清空, main.选择框_导出提示,
                                           main.选择框_手机电话识别, main.选择框_手机号强过滤};
  for (const window::Handle box : ui.controls(main.window)) {
    if (ui.kind(box) != window::Kind::CheckBox) continue;
    EXPECT_EQ(ui.checked(box),
              std::find(std::begin(checkedAtStart), std::end(checkedAtStart), box) != std::end(checkedAtStart))
        << platform::gbkToUtf8(ui.state(box).name);
  }
  EXPECT_EQ(ui.state(main.状态条1).partWidths, (std::vector<int>{100, 150, 70, 90, 80, 80, 90, 80, 100, -1, 213}));
  EXPECT_EQ(part(0), " 关键字:");
  EXPECT_EQ(part(8), "状态:未开始");
  EXPECT_EQ(main.Companies.columnTitle(2), utf8ToGbk("公司名"));
  EXPECT_EQ(main.Tasks.columnCount(), 14);
  EXPECT_EQ(ui.period(main.时钟4), 1000);
  EXPECT_EQ(ui.period(main.时钟1), 0);
}

TEST_F(MainWindowTest, ThreadBoxStaysWithinOneToFifty) {
  const std::pair<const char*, const char*> cases[] = {{"0", "1"},    {"", "1"},    {"abc", "1"},  {"51", "50"},
                                                       {"100", "50"}, {"15", "15"}, {"2.5", "2.5"}};
  for (const auto& [typed, shown] : cases) {
    ui.userType(main.编辑框_线程, typed);
    EXPECT_EQ(ui.text(main.编辑框_线程), shown) << typed;
  }
  const app::RunControl runs(ui, state, main.Tasks, main.Status, main.runControls());
  EXPECT_EQ(runs.workerCount(), 2);
}

TEST(NumberOf, ReadsTheLeadingDecimalNumber) {
  const std::pair<const char*, double> cases[] = {{"15", 15},    {"2.5", 2.5}, {" 7.9", 7.9}, {"-3", -3},
                                                  {"12abc", 12}, {"abc", 0},   {"", 0},       {".", 0}};
  for (const auto& [text, number] : cases) EXPECT_DOUBLE_EQ(app::numberOf(text), number) << text;
  // Counts beyond 32 bits saturate instead of wrapping.
  EXPECT_EQ(app::truncated(app::numberOf("99999999999")), INT32_MAX);
  EXPECT_EQ(app::truncated(-7.9), -7);
}

TEST_F(MainWindowTest, TimeoutFilterAndCheckBox) {
  EXPECT_EQ(state.RequestTimeout, 10);
  ui.userType(main.编辑框_超时, "");
  EXPECT_EQ(state.RequestTimeout, 0);
  ui.userType(main.编辑框_超时, "7.9");
  EXPECT_EQ(state.RequestTimeout, 7);
  ui.userType(main.编辑框_超时, "-3");
  EXPECT_EQ(state.RequestTimeout, -3);

  ui.userType(main.编辑框_过滤, "");
  EXPECT_EQ(ui.text(main.编辑框_过滤), "-");
  ui.userType(main.编辑框_过滤, utf8ToGbk(" 　"));
  EXPECT_EQ(ui.text(main.编辑框_过滤), "-");
  ui.userType(main.编辑框_过滤, utf8ToGbk(" 贸易 - 批发　"));
  ui.userFocusLost(main.编辑框_过滤);
  EXPECT_EQ(ui.text(main.编辑框_过滤), utf8ToGbk("贸易-批发"));

  ui.userClick(main.选择框_执照审核);
  EXPECT_EQ(state.VerifiedCode.get(), "1");
  ui.userClick(main.选择框_执照审核);
  EXPECT_EQ(state.VerifiedCode.get(), "");
}

TEST_F(MainWindowTest, CriteriaBoxesGiveTheirCodes) {
  EXPECT_EQ(ui.selected(main.组合框4), 0);
  const std::pair<int, const char*> modes[] = {{3, "5"}, {4, "4"}, {0, ""}, {1, "1"}, {2, "3"}};
  for (const auto& [entry, code] : modes) {
    ui.userSelect(main.组合框3, entry);
    EXPECT_EQ(state.BusinessModeCode.get(), code) << entry;
  }
  ui.userSelect(main.组合框5, 8);
  EXPECT_EQ(ui.text(main.组合框5), utf8ToGbk("1亿以上"));
  EXPECT_EQ(state.TurnoverCode.get(), "8");
  EXPECT_EQ(state.StaffSizeCode.get(), "") << "untouched";
  ui.userSelect(main.组合框4, 0);
  EXPECT_EQ(state.StaffSizeCode.get(), "0");
}

TEST_F(MainWindowTest, RefreshStatusAndElapsedClock) {
  ui.userType(main.编辑框_关键词, utf8ToGbk("阀门"));
  state.FilterWords.set(utf8ToGbk("贸易-批发"));
  main.Tasks.appendNumberedRow({"", utf8ToGbk("阀门-所有地区")});
  state.CurrentTaskRow = 0;
  state.PageCount = 3;
  state.ResultCount = 101;
  state.ProcessedCount = 7;
  state.FilteredCount = 2;
  state.ValidCount = 5;
  state.DuplicateCount = 1;
  state.Idle = false;
  std::thread([this] { main.Status.refreshStatus(); }).join();
  const char* const expected[] = {
      " 关键字:阀门", "过滤字:贸易-批发", "地址:阀门-所有地区", "共3页",   "共101条", "第7条",
      "过滤2条",      "有效5条",          "状态:已开始",        "去重复:1"};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(part(k), expected[k]);

  state.RunStartMs = ui.now();
  ui.setPeriod(main.时钟1, 100);
  driver.advance(65'400);
  EXPECT_EQ(part(10), "65秒");
  ui.setPeriod(main.时钟1, 0);
  driver.advance(5'000);
  EXPECT_EQ(part(10), "65秒");
}

TEST_F(MainWindowTest, NumberedAppendsFromManyThreadsKeepSerialsInStep) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 50; ++t) {
    threads.emplace_back([this, t] {
      for (int i = 0; i < 200; ++i) main.Companies.appendNumberedRow({std::to_string(t), "name"});
    });
  }
  for (std::thread& thread : threads) thread.join();
  ASSERT_EQ(main.Companies.rowCount(), 10'000);
  for (int row = 0; row < 10'000; ++row) ASSERT_EQ(main.Companies.cellText(row, 0), std::to_string(row + 1));
  EXPECT_EQ(main.Companies.cellText(10'000, 0), "");
  EXPECT_EQ(main.Companies.cellText(0, 10), "");
  main.Companies.deleteRow(0);
  main.Companies.renumberRows();
  EXPECT_EQ(main.Companies.cellText(9'998, 0), "9999");
}

TEST_F(MainWindowTest, DestroyingTheMainWindowEndsTheProcess) {
  ui.destroy(main.window);
  EXPECT_TRUE(ended);
}

}  // namespace
