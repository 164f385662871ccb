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

#include "bench_system.h"
#include "net/site.h"
#include "net/text_rules.h"

namespace {

void printAddresses(bench::BenchSystem& system, const std::string& keywordUtf8, int pages) {
  const harvester::Harvester& h = system.harvester;
  const std::string keyword = platform::utf8ToGbk(keywordUtf8);
  const net::SearchCriteria criteria{.KeywordSlug = system.harvester.Probe.probeKeyword(keyword),
                                     .KeywordEncoded = net::urlEncode(keyword, true, true)};
  std::vector<std::string> addresses = {net::probeAddress(h.Site, keyword), net::slugAddress(h.Site, criteria)};
  for (int page = 1; page <= pages; ++page) {
    addresses.push_back(net::slugAddress(h.Site, criteria, page));
    addresses.push_back(net::queryAddress(h.Site, criteria, page));
  }
  for (const std::string& address : addresses) std::printf("url = \"%s\"\noutput = \"/dev/null\"\n", address.c_str());
}

void run(bench::BenchSystem& system) {
  const auto start = std::chrono::steady_clock::now();
  system.ui.userClick(system.main().按钮_开始公司);
  system.driver.runUntil(
      [&] { return system.state().Idle || system.harvester.Runs.countDoneItems() == system.state().PageCount; },
      600'000);
  std::printf("%lld %d %d\n", bench::millisSince(start), system.main().Companies.rowCount(),
              static_cast<int>(system.state().PageCount));
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
  bench::BenchSystem system(args[1]);
  if (addresses) {
    system.prepare(args[2], "15");
    printAddresses(system, args[2], std::atoi(args[3]));
  } else {
    system.prepare(args[2], args[3]);
    run(system);
  }
  std::fflush(stdout);
  std::_Exit(0);
}
