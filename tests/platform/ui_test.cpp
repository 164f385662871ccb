// The window layer on the headless driver.

#include "platform/ui/ui.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/headless/headless_driver.h"

namespace {

namespace ui = platform::ui;

class UiTest : public ::testing::Test {
 protected:
  UiTest() {
    driver.onUnexpected = [this](const std::string& what) { unexpected.push_back(what); };
    ui.setVisible(window, true);
  }

  ui::HeadlessDriver driver;
  ui::Ui ui{driver, driver};
  ui::Handle window = ui.createWindow("w", {0, 0, 300, 200}, "caption");
  std::vector<std::string> unexpected;
};

TEST_F(UiTest, DialogsFromAWorkerWaitForTheInterfaceThread) {
  driver.answerNext(ui::Answer::Yes);
  driver.answerNextSave(std::string("/tmp/out.csv"));
  std::atomic<bool> done{false};
  ui::Answer answer = ui::Answer::No;
  std::optional<std::string> path;
  std::thread worker([&] {
    answer = ui.message(window, "continue?", "title", ui::MessageKind::Question);
    path = ui.saveFile(window, "save", "csv|*.csv|", "/tmp/x.csv");
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(done) << "the worker waits until the interface thread has answered";
  ASSERT_TRUE(driver.runUntil([&] { return done.load(); }));
  worker.join();
  EXPECT_EQ(answer, ui::Answer::Yes);
  EXPECT_EQ(path, "/tmp/out.csv");
  EXPECT_EQ(driver.messages.at(0).kind, ui::MessageKind::Question);

  EXPECT_EQ(ui.message(window, "again?", "title", ui::MessageKind::Question), ui::Answer::No);
  EXPECT_EQ(unexpected, std::vector<std::string>{"question: again?"});
}

TEST_F(UiTest, TimersTickOnTheClockAndStop) {
  const ui::Handle timer = ui.add(ui::Kind::Timer, window, "t", {});
  int ticks = 0;
  ui.on(timer, ui::Event::Tick, [&] { ++ticks; });
  ui.setPeriod(timer, 100);
  driver.advance(1'050);
  EXPECT_EQ(ticks, 10);
  ui.setPeriod(timer, 1'000);  // restarts from now
  driver.advance(999);
  EXPECT_EQ(ticks, 10);
  driver.advance(1);
  EXPECT_EQ(ticks, 11);
  ui.setPeriod(timer, 0);
  driver.advance(10'000);
  EXPECT_EQ(ticks, 11);
}

TEST_F(UiTest, DisabledGroupBoxDisablesWhatItHoldsAndInputIsIgnored) {
  const ui::Handle group = ui.add(ui::Kind::GroupBox, window, "g", {10, 10, 100, 100});
  const ui::Handle box = ui.add(ui::Kind::CheckBox, group, "c", {1, 1, 50, 16});
  const ui::Handle edit = ui.add(ui::Kind::EditBox, window, "e", {1, 1, 50, 16});
  int clicks = 0;
  ui.on(box, ui::Event::Click, [&] { ++clicks; });
  ui.setEnabled(group, false);
  EXPECT_FALSE(ui.enabled(box));
  ui.userClick(box);
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(ui.checked(box));
  ui.setEnabled(group, true);
  ui.userClick(box);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(ui.checked(box));

  ui.setVisible(edit, false);
  ui.userType(edit, "typed");
  EXPECT_EQ(ui.text(edit), "");
}

TEST_F(UiTest, GridsAnswerOutsideTheirRowsWithEmptyText) {
  const ui::Handle grid = ui.add(ui::Kind::Grid, window, "grid", {0, 0, 100, 100});
  ui.setColumns(grid, {{"a", 10}, {"b", 0}});
  EXPECT_EQ(ui.cell(grid, 0, 0), "");
  EXPECT_EQ(ui.selectedRow(grid), -1);
  const int row = ui.appendRow(grid);
  ui.setCells(grid, row, 0, {"x", "y", "beyond"});
  EXPECT_EQ(ui.row(grid, 0), (std::vector<std::string>{"x", "y"}));
  ui.setCell(grid, 5, 0, "nowhere");
  ui.deleteRow(grid, 7);
  EXPECT_EQ(ui.rowCount(grid), 1);
  ui.userSelectRow(grid, 0);
  ui.deleteRow(grid, 0);
  EXPECT_EQ(ui.selectedRow(grid), -1);
  EXPECT_EQ(ui.columnTitle(grid, 2), "");
}

}  // namespace
