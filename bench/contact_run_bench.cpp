// Contact runs headless against a directory site on this machine.
//   contact-run-bench PORT KEYWORD WORKERS ADDRESSES
//       a company run fills the grid; then the contact run over it is timed.
//       Prints "MS ROWS" and writes the contact addresses of the rows, as a
//       curl config, to ADDRESSES.
//   contact-run-bench --harvest PORT KEYWORD WORKERS CSV
//       a whole harvest, probe to export into CSV, timed; prints "MS ROWS
//       PEAK-MB".

#include <sys/resource.h>

#include <cstring>
#include <fstream>

#include "bench_system.h"
#include "net/site.h"

namespace {

void contactRun(bench::BenchSystem& system, const std::string& keyword, const std::string& workers,
                const std::string& addresses) {
  app::MainWindow& main = system.main();
  system.prepare(keyword, workers);
  // The company run ends without a contact run: asked, and answered No.
  system.setChecked(main.选择框_采集确认, true);
  system.setChecked(main.选择框_导出提示, false);
  system.driver.answerNext(platform::window::Answer::No);
  system.ui.userClick(main.按钮_开始公司);
  system.runTicking([&] { return system.state().Idle && system.state().PageCount == 0; });

  const auto start = std::chrono::steady_clock::now();
  system.ui.userClick(main.按钮_开始信息);
  system.runTicking([&] { return system.state().Idle.load(); });
  std::printf("%lld %d\n", bench::millisSince(start), main.Companies.rowCount());

  std::ofstream out(addresses);
  for (const auto& row : main.Companies.rows()) {
    out << "url = \"" << net::contactPageAddress(system.harvester.Site, row[app::CompanyTable::Id])
        << "\"\noutput = \"/dev/null\"\n";
  }
}

void harvest(bench::BenchSystem& system, const std::string& keyword, const std::string& workers,
             const std::string& csv) {
  system.prepare(keyword, workers);
  system.driver.answerNext(platform::window::Answer::Yes);
  system.driver.answerNextSave(csv);
  const auto start = std::chrono::steady_clock::now();
  system.ui.userClick(system.main().按钮_开始公司);
  system.runTicking([&] { return system.driver.saveDialogs.size() == 1 && system.state().Idle; });
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%lld %d %ld\n", bench::millisSince(start), system.main().Companies.rowCount(), usage.ru_maxrss / 1024);
}

}  // namespace

int main(int argc, char* argv[]) {
  const bool whole = argc == 6 && std::strcmp(argv[1], "--harvest") == 0;
  if (argc != 5 && !whole) {
    std::fprintf(stderr,
                 "usage: contact-run-bench PORT KEYWORD WORKERS ADDRESSES\n"
                 "       contact-run-bench --harvest PORT KEYWORD WORKERS CSV\n");
    return 2;
  }
  char** args = whole ? argv + 1 : argv;
  bench::BenchSystem system(args[1]);
  if (whole) {
    harvest(system, args[2], args[3], args[4]);
  } else {
    contactRun(system, args[2], args[3], args[4]);
  }
  std::fflush(stdout);
  std::_Exit(0);
}
