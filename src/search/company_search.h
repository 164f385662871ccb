#pragma once
// A company search: the task it becomes, its run over the result pages, and
// the stop that ends any run.

#include <string>

namespace app {
class MainWindow;
}

namespace search {

class CompanySearch {
 public:
  // Connects 按钮_开始公司 and 按钮_停止.
  explicit CompanySearch(app::MainWindow& main);

  // Probes the keyword and adds a task row with the current criteria; the
  // row's index, or -1 when none was added. Interface thread.
  int addSearchTask();
  // Runs the company collection of task row `row` when idle. Interface thread,
  // or a thread of its own when the task queue moves on.
  void startTaskRun(int row);
  // Ends the current run, whatever kind. Any thread, any number of times.
  void stopRun();

  // Result-page addresses, from the run state as it stands.
  std::string slugAddress() const;
  std::string slugAddress(int page) const;
  std::string queryAddress(int page) const;

  // One result page: both listing forms fetched, joined and parsed. Worker thread.
  void pageWorkItem(int page);
  // Cuts the joined text into company blocks and handles each.
  void parseResultPage(const std::string& text);

 private:
  std::string criteria() const;

  app::MainWindow& main_;
};

// Result pages for a count: 40 companies a page, at least one page.
int pagesFor(int resultCount);

}  // namespace search
