// Runs one company collection headless against a directory site on this
// machine and prints its wall time: company-run-bench PORT KEYWORD WORKERS

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/harvester.h"
#include "platform/codepage.h"
#include "platform/headless/headless_driver.h"

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: company-run-bench PORT KEYWORD WORKERS\n");
    return 2;
  }
  const std::string port = argv[1];
  platform::ui::HeadlessDriver driver;
  platform::ui::Ui ui(driver, driver);
  app::Harvester harvester(ui, {"search.localhost:" + port, ".shop.localhost:" + port}, [] {});
  harvester.start();
  app::MainWindow& main = harvester.Main;
  app::RunState& state = harvester.State;
  driver.onUnexpected = [](const std::string& what) {
    std::fprintf(stderr, "unexpected %s\n", what.c_str());
    std::exit(1);
  };
  // Should the site offer categories, all of them.
  driver.onNextModal([&ui](platform::ui::Handle picker) { ui.userPress(ui.find(picker, "标签1"_gbk)); });

  ui.userType(main.编辑框_线程, argv[3]);
  ui.userType(main.编辑框_关键词, platform::utf8ToGbk(argv[2]));
  const auto start = std::chrono::steady_clock::now();
  ui.userClick(main.按钮_开始公司);
  driver.runUntil([&] { return state.Idle || state.Distributor.countDoneItems() == state.PageCount; }, 600'000);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  std::printf("%lld %d %d\n", static_cast<long long>(ms.count()), main.Companies.rowCount(),
              static_cast<int>(state.PageCount));
  std::fflush(stdout);
  std::_Exit(0);
}
