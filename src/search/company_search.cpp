#include "search/company_search.h"

#include <cmath>

#include "app/settings.h"
#include "net/fetcher.h"
#include "net/text_rules.h"
#include "platform/codepage.h"
#include "search/result_listing.h"

namespace search {
namespace {

using app::TaskTable;

constexpr int kCompaniesPerPage = 40;

}  // namespace

int pagesFor(int resultCount) {
  if (resultCount <= kCompaniesPerPage) return 1;
  const double quotient = static_cast<double>(resultCount) / kCompaniesPerPage;
  const double whole = std::round(quotient);
  return static_cast<int>(std::abs(quotient - whole) < app::kTolerance ? whole : std::ceil(quotient));
}

CompanySearch::CompanySearch(app::RunContext context, SearchControls controls, KeywordProbe& probe,
                             contacts::ContactParser& contacts)
    : context_(context), controls_(controls), probe_(probe), contacts_(contacts) {
  context.Ui.on(controls.按钮_开始公司, window::Event::Click, [this] {
    const int row = addSearchTask();
    if (row < 0) return;
    if (context_.Ui.checked(controls_.选择框_采集清空)) context_.Companies.clearRows();
    context_.State.RunAllTasks = false;
    context_.Status.showMessage("正在开始"_gbk);
    startTaskRun(row);
  });
}

int CompanySearch::addSearchTask() {
  app::RunState& s = context_.State;
  window::Ui& ui = context_.Ui;
  if (!s.Idle) return -1;
  const std::string keyword = ui.text(controls_.编辑框_关键词);
  if (net::isBlank(keyword)) return -1;
  context_.Status.showMessage("连接中.."_gbk);
  s.KeywordSlug.set(probe_.probeKeyword(keyword));
  if (net::isBlank(s.KeywordSlug.get())) {
    context_.Status.showMessage("连接失败"_gbk);
    ui.message(controls_.window, "连接失败"_gbk, "连接"_gbk, window::MessageKind::Notice);
    return -1;
  }
  s.FilterWords.set(ui.text(controls_.编辑框_过滤));
  s.ProcessedCount = 0;
  s.ResultCount = 0;
  s.PageCount = 0;
  s.ValidCount = 0;
  s.DuplicateCount = 0;
  const std::string codes[] = {s.KeywordSlug.get(),      s.ProvinceCode.get(), s.CityCode.get(),
                               s.BusinessModeCode.get(), s.VerifiedCode.get(), s.StaffSizeCode.get(),
                               s.TurnoverCode.get()};
  std::string summary;
  for (const std::string& code : codes) summary += code + "|";
  std::vector<std::string> cells = {summary, keyword + "-" + ui.text(controls_.组合框2), "", ""};
  cells.insert(cells.end(), std::begin(codes), std::end(codes));
  cells.push_back(s.FilterWords.get());
  cells.push_back(s.CategoryId.get());
  return context_.Tasks.appendNumberedRow(cells);
}

net::SearchCriteria CompanySearch::taskCriteria(int row) const {
  const TaskTable& t = context_.Tasks;
  return {.KeywordSlug = t.cellText(row, TaskTable::Slug),
          .ProvinceCode = t.cellText(row, TaskTable::Province),
          .CityCode = t.cellText(row, TaskTable::City),
          .BusinessModeCode = t.cellText(row, TaskTable::BusinessMode),
          .VerifiedCode = t.cellText(row, TaskTable::Verified),
          .StaffSizeCode = t.cellText(row, TaskTable::StaffSize),
          .TurnoverCode = t.cellText(row, TaskTable::Turnover),
          .FilterWords = t.cellText(row, TaskTable::Filter),
          .CategoryId = t.cellText(row, TaskTable::Category)};
}

void CompanySearch::startTaskRun(int row) {
  app::RunState& s = context_.State;
  window::Ui& ui = context_.Ui;
  if (!context_.Runs.beginCompanyRun(row)) return;
  s.RunDuplicateCount = 0;
  s.ProcessedCount = 0;
  net::SearchCriteria criteria = taskCriteria(row);
  s.KeywordSlug.set(criteria.KeywordSlug);
  s.ProvinceCode.set(criteria.ProvinceCode);
  s.CityCode.set(criteria.CityCode);
  s.BusinessModeCode.set(criteria.BusinessModeCode);
  s.VerifiedCode.set(criteria.VerifiedCode);
  s.StaffSizeCode.set(criteria.StaffSizeCode);
  s.TurnoverCode.set(criteria.TurnoverCode);
  s.FilterWords.set(criteria.FilterWords);
  s.CategoryId.set(criteria.CategoryId);

  const std::string firstPage = net::pageText(
      net::fetchPage(net::slugAddress(context_.Site, criteria), {.verb = "GET", .timeoutSeconds = s.RequestTimeout}));
  // The stop button stays live while the first page loads.
  if (s.Idle) return;
  // A count beyond 32 bits saturates; a negative one reads as no result.
  s.ResultCount =
      std::max(0, app::truncated(app::numberOf(net::textBetween(firstPage, "共找到<span>"_gbk, "</span>条"_gbk))));
  criteria.KeywordEncoded = net::urlEncode(ui.text(controls_.编辑框_关键词), true, true);
  s.KeywordEncoded.set(criteria.KeywordEncoded);
  s.PageCount = pagesFor(s.ResultCount);
  context_.Status.refreshStatus();

  if (s.ResultCount == 0) {
    context_.Runs.stopRun();
    context_.Tasks.setCell(row, TaskTable::Status, "0条"_gbk);
    if (!s.RunAllTasks) {
      ui.message(controls_.window, "没有采集结果"_gbk, "结果"_gbk, window::MessageKind::Notice);
      context_.Tasks.deleteRow(row);
      context_.Status.refreshStatus();
    } else if (emptyQueueTask) {
      emptyQueueTask(row);
    }
    return;
  }
  int workers = context_.Runs.workerCount();
  if (s.PageCount < workers) workers = s.PageCount;
  // The supervisor starts once the workers are counted, so that its first
  // tick cannot take a one-page run for finished before its worker began.
  if (s.PageCount == 1) {
    s.SinglePageRun = true;
    context_.Runs.startWorker([this, criteria] { pageWorkItem(criteria, 0); });
  } else {
    s.SinglePageRun = false;
    context_.Runs.distributeWork([this, criteria](int page) { pageWorkItem(criteria, page); }, s.PageCount, workers);
  }
  ui.setPeriod(controls_.时钟5, 100);
}

void CompanySearch::pageWorkItem(const net::SearchCriteria& criteria, int page) {
  const net::FetchOptions options{
      .verb = "GET", .timeoutSeconds = context_.State.RequestTimeout, .retries = net::kRunPageRetries};
  const std::string first = net::pageText(net::fetchPage(net::slugAddress(context_.Site, criteria, page), options));
  const std::string second = net::pageText(net::fetchPage(net::queryAddress(context_.Site, criteria, page), options));
  const std::string joined = net::textBetween(first, "执照已审核"_gbk, "我是供应商"_gbk) + second;
  if (context_.State.Idle) context_.Runs.stopRun();
  parseResultPage(joined, criteria.FilterWords);
}

void CompanySearch::parseResultPage(const std::string& text, const std::string& filterWords) {
  app::RunState& s = context_.State;
  const ResultListing read = readResultListing(text, net::shopDomainName(context_.Site), filterWords);
  for (const Listing& listing : read.listings) {
    const int row = context_.Companies.appendNumberedRow({listing.id, listing.name});
    if (context_.Ui.checked(controls_.选择框_同时采集)) {
      const std::string address = net::contactPageAddress(context_.Site, listing.id);
      const std::string page =
          address.empty() ? std::string() : net::pageText(net::fetchPage(address, {.retries = net::kRunPageRetries}));
      contacts_.parseContactPage(page, row + 1, listing.id);
      context_.Status.refreshStatus();
    }
  }
  s.ProcessedCount += read.processed;
  s.FilteredCount += read.filtered;
  s.ValidCount += read.valid;
  context_.Status.refreshStatus();
}

}  // namespace search
