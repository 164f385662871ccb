#pragma once
// The whole system on the headless driver: the test thread is the interface
// thread, and a dialog nobody expected fails the test.

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "harvester/harvester.h"
#include "platform/codepage.h"
#include "platform/headless/headless_driver.h"

namespace testing_support {

class HeadlessHarvester {
 public:
  explicit HeadlessHarvester(net::Site site = {"search.localhost:1", ".shop.localhost:1"})
      : harvester(ui, std::move(site), [this] { ended = true; }) {
    driver.onUnexpected = [](const std::string& what) { ADD_FAILURE() << "unexpected " << what; };
    harvester.start();
    // The region load runs on a thread of its own.
    driver.runUntil([this] { return harvester.Regions.loaded(); });
  }
  app::MainWindow& main() { return harvester.Main; }
  app::RunState& state() { return harvester.State; }

  platform::window::HeadlessDriver driver;
  platform::window::Ui ui{driver, driver};
  bool ended = false;
  harvester::Harvester harvester;
};

// A T that lives as long as the process, as the system does in the program:
// threads it starts are never joined and may outlast the test that made it.
template <typename T, typename... Args>
T& lasting(Args&&... args) {
  static auto* all = new std::vector<std::unique_ptr<T>>;
  return *all->emplace_back(std::make_unique<T>(std::forward<Args>(args)...));
}

}  // namespace testing_support
