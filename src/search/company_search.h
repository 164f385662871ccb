#pragma once
// A company search: the task it becomes and its run over the result pages.

#include <functional>
#include <string>

#include "app/context.h"
#include "contacts/contact_parser.h"
#include "net/site.h"
#include "search/keyword_probe.h"

namespace search {

namespace window = platform::window;

struct SearchControls {
  window::Handle window = 0;  // owns the messages
  window::Handle 编辑框_关键词 = 0, 编辑框_过滤 = 0, 组合框2 = 0;
  window::Handle 选择框_同时采集 = 0, 选择框_采集清空 = 0;
  window::Handle 按钮_开始公司 = 0;
  window::Handle 时钟5 = 0;  // the supervisor, started with the page workers
};

class CompanySearch {
 public:
  // Connects 按钮_开始公司. contacts reads contact pages while listing, when
  // 选择框_同时采集 is checked.
  CompanySearch(app::RunContext context, SearchControls controls, KeywordProbe& probe,
                contacts::ContactParser& contacts);

  // Probes the keyword and adds a task row with the current criteria; the
  // row's index, or -1 when none was added. Interface thread.
  int addSearchTask();
  // Runs the company collection of task row `row` when idle. Interface thread,
  // or a thread of its own when the task queue moves on.
  void startTaskRun(int row);
  // The criteria stored in task row `row`; a missing row gives empty ones.
  net::SearchCriteria taskCriteria(int row) const;

  // One result page: both listing forms fetched, joined and parsed. Worker thread.
  void pageWorkItem(const net::SearchCriteria& criteria, int page);
  // Appends a row for every company listed in the joined text and counts the
  // blocks. Worker thread.
  void parseResultPage(const std::string& text, const std::string& filterWords);

  // Runs when a task of a queue run finds no result, with its row; the queue
  // decides what follows.
  std::function<void(int row)> emptyQueueTask;

 private:
  app::RunContext context_;
  const SearchControls controls_;
  KeywordProbe& probe_;
  contacts::ContactParser& contacts_;
};

// Result pages for a count: 40 companies a page, at least one page.
int pagesFor(int resultCount);

}  // namespace search
