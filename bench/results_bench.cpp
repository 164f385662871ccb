// De-duplication and export of a company grid of 100,000 rows, 30 % of them
// repeating an earlier company's ID, with Chinese names and addresses with
// spaces. Prints the median of several runs of each step and the peak
// resident memory; last line: the three figures at 100,000 rows.

#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "harvester/harvester.h"
#include "platform/codepage.h"
#include "platform/headless/headless_driver.h"
#include "results/csv.h"
#include "results/dedupe.h"

namespace {

constexpr int kRows = 100'000;
constexpr int kRuns = 5;

results::Rows makeRows() {
  std::mt19937 random(7);
  const std::vector<std::string> names = {"深圳市 华锦 五金制品有限公司", "东莞 恒达 精密轴承 厂",
                                          "宁波 海 天 阀门 有限公司", "温州 永 固 标准件 厂"};
  const std::vector<std::string> streets = {"广东省 深圳市 宝安区 沙井街道 新二路 18号",
                                            "浙江省　宁波市 北仑区 大港 工业城 3幢"};
  results::Rows rows;
  std::vector<std::string> ids;
  for (int r = 0; r < kRows; ++r) {
    std::string id;
    if (!ids.empty() && random() % 100 < 30) {
      id = ids[random() % ids.size()];
    } else {
      id = "co" + std::to_string(r) + "x" + std::to_string(random() % 1000);
      ids.push_back(id);
    }
    rows.push_back({std::to_string(r + 1), id, platform::utf8ToGbk(names[random() % names.size()]),
                    platform::utf8ToGbk("张 三"), "138 0000 " + std::to_string(1000 + random() % 9000),
                    "0755-2" + std::to_string(random() % 10'000'000), "0755-2000000", "sales@example.com",
                    std::to_string(100000 + random() % 900000), platform::utf8ToGbk(streets[random() % 2])});
  }
  return rows;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The median of kRuns runs of step, each after prepare.
double timed(const std::function<void()>& prepare, const std::function<void()>& step) {
  std::vector<double> ms;
  for (int i = 0; i < kRuns; ++i) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    step();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return median(ms);
}

}  // namespace

int main() {
  platform::window::HeadlessDriver driver;
  platform::window::Ui ui(driver, driver);
  harvester::Harvester harvester(ui, {"search.localhost:1", ".shop.localhost:1"}, [] {});
  harvester.start();
  driver.runUntil([&] { return harvester.Regions.loaded(); });
  app::CompanyTable& companies = harvester.Main.Companies;
  // Made anew for each run rather than kept, so that the peak memory is the
  // program's own.
  const auto refill = [&] {
    companies.clearRows();
    companies.appendRows(makeRows());
  };
  const std::string path = "/tmp/results-bench-" + std::to_string(::getpid()) + ".csv";

  int removed = 0;
  results::Rows working;
  const double search = timed(
      [&] {
        working = makeRows();
        results::makeWorkingCopy(working);
        // The allocator tidies the frees of building the copy at the next
        // large allocation; paid here, so that the figure is the search's own.
        malloc_trim(0);
      },
      [&] {
        const std::vector<bool> first = results::firstOfEachId(working);
        removed = static_cast<int>(std::count(first.begin(), first.end(), false));
      });
  working = {};
  const double dedupe = timed(refill, [&] { harvester.Results.dedupeCompanies(); });
  std::size_t bytes = 0;
  const double build = timed(refill, [&] { bytes = results::buildCsvText(companies).size(); });
  const double exported = timed([&] { driver.answerNextSave(path); }, [&] { harvester.Results.exportCsv(); });
  std::remove(path.c_str());

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%d rows, %d duplicates removed, CSV of %zu bytes; medians of %d runs\n", kRows, removed, bytes, kRuns);
  std::printf("duplicate search %.1f ms\n", search);
  std::printf("dedupeCompanies (read, search, rebuild of the grid) %.1f ms\n", dedupe);
  std::printf("buildCsvText %.1f ms\n", build);
  std::printf("exportCsv to a file %.1f ms\n", exported);
  std::printf("peak resident memory %ld MB\n", usage.ru_maxrss / 1024);
  std::printf("dedupe-search %.0f ms, dedupe %.0f ms, export %.0f ms\n", search, dedupe, exported);
  std::fflush(stdout);
  std::_Exit(0);
}
