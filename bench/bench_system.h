#pragma once
// The whole system on the headless driver against a directory site on this
// machine, for the benchmarks.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "harvester/harvester.h"
#include "platform/codepage.h"
#include "platform/headless/headless_driver.h"

namespace bench {

struct BenchSystem {
  explicit BenchSystem(const std::string& port)
      : harvester(ui, {"search.localhost:" + port, ".shop.localhost:" + port}, [] {}) {
    harvester.start();
    driver.onUnexpected = [](const std::string& what) {
      std::fprintf(stderr, "unexpected %s\n", what.c_str());
      std::exit(1);
    };
    driver.runUntil([this] { return harvester.Regions.loaded(); });
  }
  app::MainWindow& main() { return harvester.Main; }
  app::RunState& state() { return harvester.State; }

  // Types the keyword and the worker count; should the site offer
  // categories, all of them.
  void prepare(const std::string& keywordUtf8, const std::string& workers) {
    driver.onNextModal([this](platform::window::Handle picker) { ui.userPress(ui.find(picker, "标签1"_gbk)); });
    ui.userType(main().编辑框_线程, workers);
    ui.userType(main().编辑框_关键词, platform::utf8ToGbk(keywordUtf8));
  }
  void setChecked(platform::window::Handle box, bool checked) {
    if (ui.checked(box) != checked) ui.userClick(box);
  }
  // The clock runs, so that the timers tick, until condition holds.
  void runTicking(const std::function<bool()>& condition) {
    while (!condition()) {
      driver.advance(100);
      driver.runUntil(condition, 2);
    }
  }

  platform::window::HeadlessDriver driver;
  platform::window::Ui ui{driver, driver};
  harvester::Harvester harvester;
};

inline long long millisSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace bench
