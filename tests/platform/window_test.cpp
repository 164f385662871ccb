// The window layer on the headless driver.

#include "platform/window/ui.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/headless/headless_driver.h"

namespace {

namespace window = platform::window;

class UiTest : public ::testing::Test {
 protected:
  UiTest() {
    driver.onUnexpected = [this](const std::string& what) { unexpected.push_back(what); };
    ui.setVisible(window, true);
  }

  window::HeadlessDriver driver;
  window::Ui ui{driver, driver};
  window::Handle window = ui.createWindow("w", {0, 0, 300, 200}, "caption");
  std::vector<std::string> unexpected;
};

TEST_F(UiTest, DialogsFromAWorkerWaitForTheInterfaceThread) {
  driver.answerNext(window::Answer::Yes);
  driver.answerNextSave(std::string("/tmp/out.csv"));
  std::atomic<bool> done{false};
  window::Answer answer = window::Answer::No;
  std::optional<std::string> path;
  std::thread worker([&] {
    answer = ui.message(window, "continue?", "title", window::MessageKind::Question);
    path = ui.saveFile(window, {.title = "save", .filter = "csv|*.csv|", .fileName = "x.csv", .folder = "/tmp"});
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(done) << "the worker waits until the interface thread has answered";
  ASSERT_TRUE(driver.runUntil([&] { return done.load(); }));
  worker.join();
  EXPECT_EQ(answer, window::Answer::Yes);
  EXPECT_EQ(path, "/tmp/out.csv");
  EXPECT_EQ(driver.messages.at(0).kind, window::MessageKind::Question);

  EXPECT_EQ(ui.message(window, "again?", "title", window::MessageKind::Question), window::Answer::No);
  EXPECT_EQ(unexpected, std::vector<std::string>{"question: again?"});
}

TEST_F(UiTest, TimersTickOnTheClockAndStop) {
  const window::Handle timer = ui.add(window::Kind::Timer, window, "t", {});
  int ticks = 0;
  ui.on(timer, window::Event::Tick, [&] { ++ticks; });
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
  const window::Handle group = ui.add(window::Kind::GroupBox, window, "g", {10, 10, 100, 100});
  const window::Handle box = ui.add(window::Kind::CheckBox, group, "c", {1, 1, 50, 16});
  const window::Handle edit = ui.add(window::Kind::EditBox, window, "e", {1, 1, 50, 16});
  int clicks = 0;
  ui.on(box, window::Event::Click, [&] { ++clicks; });
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
  const window::Handle grid = ui.add(window::Kind::Grid, window, "grid", {0, 0, 100, 100});
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
