#pragma once
// The headless system against a stand-in site of its own, for end-to-end runs.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue.h"
#include "headless_harvester.h"
#include "server.h"

namespace e2e {

using platform::gbkToUtf8;
using platform::utf8ToGbk;
using testing_support::HeadlessHarvester;

class SiteRunTest : public ::testing::Test {
 protected:
  void start(site::SiteOptions options, int timeoutSeconds = 10) {
    log = ::testing::TempDir() + "site_run_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".log";
    std::remove(log.c_str());
    options.logPath = log;
    site = &testing_support::lasting<site::DirectorySite>(std::move(options));
    ASSERT_GT(site->start(0), 0);
    const std::string port = std::to_string(site->port());
    system =
        &testing_support::lasting<HeadlessHarvester>(net::Site{"search.localhost:" + port, ".shop.localhost:" + port});
    system->ui.userType(main().编辑框_超时, std::to_string(timeoutSeconds));
  }
  app::MainWindow& main() { return system->main(); }
  app::RunState& state() { return system->state(); }
  platform::window::Ui& ui() { return system->ui; }
  platform::window::HeadlessDriver& driver() { return system->driver; }

  // Types the keyword and presses "采集公司①" (or another start button),
  // accepting "所有" when the site offers categories.
  void press(const std::string& keywordUtf8, bool pickCategory = false) {
    typeKeyword(keywordUtf8, pickCategory);
    ui().userClick(main().按钮_开始公司);
  }
  void typeKeyword(const std::string& keywordUtf8, bool pickCategory = false) {
    if (!pickCategory && !site->catalogue().categories(keywordUtf8).empty()) {
      driver().onNextModal(
          [this](platform::window::Handle picker) { ui().userPress(ui().find(picker, utf8ToGbk("标签1"))); });
    }
    ui().userType(main().编辑框_关键词, utf8ToGbk(keywordUtf8));
  }
  // Lets the clock run, 100 ms a step, so that the timers tick, until
  // condition holds or the real time runs out.
  bool runTicking(const std::function<bool()>& condition, int realTimeoutMs = 60'000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(realTimeoutMs);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      driver().advance(100);
      driver().runUntil(condition, 5);
    }
    return true;
  }

  std::vector<std::string> logLines() {
    std::ifstream in(log, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::string status(int part) { return gbkToUtf8(ui().partText(main().状态条1, part)); }
  std::string task(int row, int column) { return gbkToUtf8(main().Tasks.cellText(row, column)); }

  std::string log;
  site::DirectorySite* site = nullptr;
  HeadlessHarvester* system = nullptr;
};

}  // namespace e2e
