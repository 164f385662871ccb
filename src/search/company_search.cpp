#include "search/company_search.h"

#include <cmath>

#include "app/main_window.h"
#include "contacts/contact_parser.h"
#include "net/fetcher.h"
#include "net/text_rules.h"
#include "platform/codepage.h"
#include "platform/threads.h"
#include "search/keyword_probe.h"

namespace search {
namespace {

using app::TaskTable;
using platform::ui::Event;

constexpr int kCompaniesPerPage = 40;
constexpr double kTolerance = 0.0000001;

}  // namespace

int pagesFor(int resultCount) {
  if (resultCount <= kCompaniesPerPage) return 1;
  const double quotient = static_cast<double>(resultCount) / kCompaniesPerPage;
  const double whole = std::round(quotient);
  return static_cast<int>(std::abs(quotient - whole) < kTolerance ? whole : std::ceil(quotient));
}

CompanySearch::CompanySearch(app::MainWindow& main) : main_(main) {
  platform::ui::Ui& ui = main.Ui;
  ui.on(main.按钮_开始公司, Event::Click, [this] {
    const int row = addSearchTask();
    if (row < 0) return;
    if (main_.Ui.checked(main_.选择框_采集清空)) main_.Companies.clearRows();
    main_.State.RunAllTasks = false;
    main_.Ui.setPartText(main_.状态条1, 9, "正在开始"_gbk);
    startTaskRun(row);
  });
  ui.on(main.按钮_停止, Event::Click, [this] { stopRun(); });
}

std::string CompanySearch::criteria() const {
  const app::RunState& s = main_.State;
  return "province=" + s.ProvinceCode.get() + "&city=" + s.CityCode.get() + "&busmode=" + s.BusinessModeCode.get() +
         "&is_v=" + s.VerifiedCode.get() + "&employ=" + s.StaffSizeCode.get() + "&annulsale=" + s.TurnoverCode.get() +
         "&cateid=" + s.CategoryId.get();
}

std::string CompanySearch::slugAddress() const {
  return "http://" + main_.Site.searchHost + "/s-" + main_.State.KeywordSlug.get() + ".html?" + criteria();
}

std::string CompanySearch::slugAddress(int page) const { return slugAddress() + "&page=" + std::to_string(page); }

std::string CompanySearch::queryAddress(int page) const {
  const std::string keyword = main_.State.KeywordEncoded.get();
  return "http://" + main_.Site.searchHost + "/search-s?page=" + std::to_string(page) + "&wd=" + keyword + "&" +
         criteria() + "&goldkwd=" + keyword;
}

int CompanySearch::addSearchTask() {
  app::MainWindow& m = main_;
  app::RunState& s = m.State;
  platform::ui::Ui& ui = m.Ui;
  if (!s.Idle) return -1;
  const std::string keyword = ui.text(m.编辑框_关键词);
  if (net::isBlank(keyword)) return -1;
  ui.setPartText(m.状态条1, 9, "连接中.."_gbk);
  s.KeywordSlug.set(probeKeyword(m, keyword));
  if (net::isBlank(s.KeywordSlug.get())) {
    ui.setPartText(m.状态条1, 9, "连接失败"_gbk);
    ui.message(m.window, "连接失败"_gbk, "连接"_gbk, platform::ui::MessageKind::Notice);
    return -1;
  }
  s.FilterWords.set(ui.text(m.编辑框_过滤));
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
  std::vector<std::string> cells = {summary, keyword + "-" + ui.text(m.组合框2), "", ""};
  cells.insert(cells.end(), std::begin(codes), std::end(codes));
  cells.push_back(s.FilterWords.get());
  cells.push_back(s.CategoryId.get());
  return m.Tasks.appendNumberedRow(cells);
}

void CompanySearch::startTaskRun(int row) {
  app::MainWindow& m = main_;
  app::RunState& s = m.State;
  platform::ui::Ui& ui = m.Ui;
  if (!s.Idle.exchange(false)) return;
  m.disableStartControls(true);
  s.CurrentTaskRow = row;
  m.Tasks.setCell(row, TaskTable::Status, "进行"_gbk);
  s.RunStartMs = ui.now();
  ui.setPeriod(m.时钟1, 100);
  s.RunDuplicateCount = 0;
  s.ProcessedCount = 0;
  s.KeywordSlug.set(m.Tasks.cellText(row, TaskTable::Slug));
  s.ProvinceCode.set(m.Tasks.cellText(row, TaskTable::Province));
  s.CityCode.set(m.Tasks.cellText(row, TaskTable::City));
  s.BusinessModeCode.set(m.Tasks.cellText(row, TaskTable::BusinessMode));
  s.VerifiedCode.set(m.Tasks.cellText(row, TaskTable::Verified));
  s.StaffSizeCode.set(m.Tasks.cellText(row, TaskTable::StaffSize));
  s.TurnoverCode.set(m.Tasks.cellText(row, TaskTable::Turnover));
  s.FilterWords.set(m.Tasks.cellText(row, TaskTable::Filter));
  s.CategoryId.set(m.Tasks.cellText(row, TaskTable::Category));

  const std::string firstPage =
      net::pageText(net::fetchPage(slugAddress(), {.verb = "GET", .timeoutSeconds = s.RequestTimeout}));
  // The stop button stays live while the first page loads.
  if (s.Idle) return;
  // A count beyond 32 bits saturates; a negative one reads as no result.
  s.ResultCount =
      std::max(0, app::truncated(app::numberOf(net::textBetween(firstPage, "共找到<span>"_gbk, "</span>条"_gbk))));
  s.KeywordEncoded.set(net::urlEncode(ui.text(m.编辑框_关键词), true, true));
  s.PageCount = pagesFor(s.ResultCount);
  m.refreshStatus();

  if (s.ResultCount == 0) {
    stopRun();
    m.Tasks.setCell(row, TaskTable::Status, "0条"_gbk);
    if (!s.RunAllTasks) {
      ui.message(m.window, "没有采集结果"_gbk, "结果"_gbk, platform::ui::MessageKind::Notice);
      m.Tasks.deleteRow(row);
      m.refreshStatus();
    } else if (row + 1 < m.Tasks.rowCount()) {
      startTaskRun(row + 1);
    }
    return;
  }
  int workers = m.workerCount();
  ui.setPeriod(m.时钟5, 100);
  if (s.PageCount < workers) workers = s.PageCount;
  if (s.PageCount == 1) {
    s.SinglePageRun = true;
    platform::runOnNewThread([this] { pageWorkItem(0); });
  } else {
    s.SinglePageRun = false;
    s.Distributor.distributeWork([this](int page) { pageWorkItem(page); }, s.PageCount, workers);
  }
}

void CompanySearch::stopRun() {
  app::MainWindow& m = main_;
  const int row = m.State.CurrentTaskRow;
  if (m.Tasks.cellText(row, TaskTable::Status) != "完成"_gbk) m.Tasks.setCell(row, TaskTable::Status, "停止"_gbk);
  m.State.Idle = true;
  m.State.Distributor.requestStop();
  m.Ui.setPeriod(m.时钟1, 0);
  m.disableStartControls(false);
  // Refreshed once Idle is set, so that the status bar shows the stop.
  platform::runOnNewThread([&m] { m.refreshStatus(); });
}

void CompanySearch::pageWorkItem(int page) {
  const int timeout = main_.State.RequestTimeout;
  const std::string first =
      net::pageText(net::fetchPage(slugAddress(page), {.verb = "GET", .timeoutSeconds = timeout}));
  const std::string second =
      net::pageText(net::fetchPage(queryAddress(page), {.verb = "GET", .timeoutSeconds = timeout}));
  const std::string joined = net::textBetween(first, "执照已审核"_gbk, "我是供应商"_gbk) + second;
  if (main_.State.Idle) stopRun();
  parseResultPage(joined);
}

void CompanySearch::parseResultPage(const std::string& text) {
  app::MainWindow& m = main_;
  app::RunState& s = m.State;
  const std::string domain = m.Site.shopDomain.starts_with(".") ? m.Site.shopDomain.substr(1) : m.Site.shopDomain;
  const std::string nameStart = domain + "\" target=\"_blank\">";
  const std::vector<std::string> words = net::splitText(s.FilterWords.get(), "-");
  for (const std::string& block : net::splitText(text, "商铺成长等级"_gbk)) {
    ++s.ProcessedCount;
    std::string name = net::textBetween(block, nameStart, "</a>");
    name = net::removeAllSpaces(net::removeText(net::removeText(name, "<em>"), "</em>"));
    for (const std::string& word : words) {
      if (net::isBlank(word)) continue;
      if (net::findText(name, word) > 0) {
        name.clear();
        break;
      }
    }
    if (name.empty()) {
      ++s.FilteredCount;
    } else {
      ++s.ValidCount;
      const std::string id = net::textBetween(block, "0\" href=\"http://", ".");
      if (!id.empty()) {
        const int row = m.Companies.appendNumberedRow({id, name});
        if (m.Ui.checked(m.选择框_同时采集)) {
          const std::string address = contacts::contactPageAddress(m.Site, id);
          const std::string page = address.empty() ? std::string() : net::pageText(net::fetchPage(address));
          contacts::parseContactPage(m, page, row + 1);
        }
      }
    }
    m.refreshStatus();
  }
}

}  // namespace search
