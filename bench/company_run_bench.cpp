// A company collection headless against a directory site on this machine.
//   company-run-bench PORT KEYWORD WORKERS               runs it; prints "MS ROWS PAGES"
//   company-run-bench --print-addresses PORT KEYWORD PAGES
//       prints, as a curl config, the addresses such a run fetches, built by
//       the program: the probe and the first result page (one after the
//       other, as the run needs them), then both forms of PAGES pages

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "harvester/harvester.h"
#include "net/site.h"
#include "net/text_rules.h"
#include "platform/codepage.h"
#include "platform/headless/headless_driver.h"

namespace {

void printAddresses(harvester::Harvester& harvester, const std::string& keyword, int pages) {
  const net::SearchCriteria criteria{.KeywordSlug = harvester.Probe.probeKeyword(keyword),
                                     .KeywordEncoded = net::urlEncode(keyword, true, true)};
  std::vector<std::string> addresses = {net::probeAddress(harvester.Site, keyword),
                                        net::slugAddress(harvester.Site, criteria)};
  for (int page = 1; page <= pages; ++page) {
    addresses.push_back(net::slugAddress(harvester.Site, criteria, page));
    addresses.push_back(net::queryAddress(harvester.Site, criteria, page));
  }
  for (const std::string& address : addresses) std::printf("url = \"%s\"\noutput = \"/dev/null\"\n", address.c_str());
}

void run(harvester::Harvester& harvester, platform::window::HeadlessDriver& driver, const std::string& keyword,
         const char* workers) {
  platform::window::Ui& ui = harvester.Main.Ui;
  app::MainWindow& main = harvester.Main;
  ui.userType(main.编辑框_线程, workers);
  ui.userType(main.编辑框_关键词, keyword);
  const auto start = std::chrono::steady_clock::now();
  ui.userClick(main.按钮_开始公司);
  driver.runUntil([&] { return harvester.State.Idle || harvester.Runs.countDoneItems() == harvester.State.PageCount; },
                  600'000);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  std::printf("%lld %d %d\n", static_cast<long long>(ms.count()), main.Companies.rowCount(),
              static_cast<int>(harvester.State.PageCount));
}

}  // namespace

int main(int argc, char* argv[]) {
  const bool addresses = argc == 5 && std::strcmp(argv[1], "--print-addresses") == 0;
  if (argc != 4 && !addresses) {
    std::fprintf(stderr,
                 "usage: company-run-bench PORT KEYWORD WORKERS\n"
                 "       company-run-bench --print-addresses PORT KEYWORD PAGES\n");
    return 2;
  }
  char** args = addresses ? argv + 1 : argv;
  const std::string port = args[1];
  const std::string keyword = platform::utf8ToGbk(args[2]);
  platform::window::HeadlessDriver driver;
  platform::window::Ui ui(driver, driver);
  harvester::Harvester harvester(ui, {"search.localhost:" + port, ".shop.localhost:" + port}, [] {});
  harvester.start();
  driver.onUnexpected = [](const std::string& what) {
    std::fprintf(stderr, "unexpected %s\n", what.c_str());
    std::exit(1);
  };
  // Should the site offer categories, all of them.
  driver.onNextModal([&ui](platform::window::Handle picker) { ui.userPress(ui.find(picker, "标签1"_gbk)); });
  if (addresses) {
    printAddresses(harvester, keyword, std::atoi(args[3]));
  } else {
    run(harvester, driver, keyword, args[3]);
  }
  std::fflush(stdout);
  std::_Exit(0);
}
