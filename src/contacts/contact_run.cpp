#include "contacts/contact_run.h"

#include "net/fetcher.h"
#include "net/text_rules.h"
#include "platform/codepage.h"

namespace contacts {

ContactRun::ContactRun(app::RunContext context, ContactRunControls controls, ContactParser& parser,
                       results::Results& results)
    : context_(context), controls_(controls), parser_(parser), results_(results) {
  context.Ui.on(controls.按钮_开始信息, window::Event::Click, [this] { startContactRun(); });
}

void ContactRun::startContactRun() {
  window::Ui& ui = context_.Ui;
  app::RunState& s = context_.State;
  app::CompanyTable& companies = context_.Companies;
  // Captured after the sweep, so that row numbers and IDs name the same
  // companies; every worker of this run reads its own copy.
  auto ids = std::make_shared<std::vector<std::string>>();
  const bool began = context_.Runs.beginContactRun([&] {
    if (ui.checked(controls_.选择框_采集自动去重)) results_.dedupeCompaniesAlone();
    if (companies.rowCount() == 0) return false;
    results_.sweepBlankRows();
    for (const std::vector<std::string>& row : companies.rows()) ids->push_back(row[app::CompanyTable::Id]);
    return true;
  });
  if (!began) {
    if (companies.rowCount() > 0) context_.Status.showMessage("请等待采集结束"_gbk);
    return;
  }
  s.ProcessedCount = 0;
  s.ValidCount = 0;
  s.FilteredCount = 0;
  s.DuplicateCount = 0;
  s.ResultCount = companies.rowCount();
  context_.Status.showMessage("正在开始"_gbk);
  int threads = context_.Runs.workerCount();
  ui.setPeriod(controls_.时钟5, 0);
  const int rows = static_cast<int>(ids->size());
  if (rows < threads) threads = rows;
  context_.Runs.distributeWork([this, ids](int row) { contactWorkItem(*ids, row); }, rows, threads);
}

void ContactRun::contactWorkItem(const std::vector<std::string>& ids, int rowNumber) {
  app::RunState& s = context_.State;
  const std::string& id = ids[static_cast<std::size_t>(rowNumber - 1)];
  // A row with a contact person already is not fetched again, but it counts,
  // so that a run over such rows still completes.
  if (context_.Companies.cellText(rowNumber - 1, app::CompanyTable::Person).empty()) {
    const std::string address = net::contactPageAddress(context_.Site, id);
    const std::string page =
        address.empty() ? std::string() : net::pageText(net::fetchPage(address, {.retries = net::kRunPageRetries}));
    parser_.parseContactPage(page, rowNumber, id);
  }
  ++s.ProcessedCount;
  context_.Status.refreshStatus();
  if (s.Idle) context_.Runs.stopRun();
  if (context_.Companies.rowCount() == s.ProcessedCount && !s.Finishing.exchange(true)) {
    complete();
    s.Finishing = false;
  }
}

void ContactRun::complete() {
  context_.Runs.stopRun();
  if (!context_.Ui.checked(controls_.选择框_导出提示)) return;
  // Swept to its end before the export reads the grid.
  results_.sweepBlankRows();
  const window::Answer answer =
      context_.Ui.message(0, "采集信息已完成\r\n是否导出"_gbk, "完成"_gbk, window::MessageKind::Question);
  if (answer == window::Answer::Yes) results_.exportCsv();
}

}  // namespace contacts
