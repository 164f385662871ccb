#include "results/results.h"

#include <chrono>

#include "net/text_rules.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "results/csv.h"
#include "results/dedupe.h"

namespace results {
namespace {

using Clock = std::chrono::steady_clock;

// Rows appended in one step of the rebuild, and how much work may pass
// before the window gets to process what is pending.
constexpr std::size_t kRebuildBatch = 1000;
constexpr auto kResponsiveEvery = std::chrono::milliseconds(5);

std::tm localToday() {
  const std::time_t now = std::time(nullptr);
  std::tm date{};
  localtime_r(&now, &date);
  return date;
}

}  // namespace

std::string defaultExportName(const std::tm& date, const std::string& keywordSlug) {
  auto twoDigits = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
  return std::to_string(date.tm_year + 1900) + "年"_gbk + twoDigits(date.tm_mon + 1) + "月"_gbk +
         twoDigits(date.tm_mday) + "日"_gbk + "-" + keywordSlug + ".csv";
}

std::string buildCsvText(const app::GridTable& grid) {
  std::vector<std::string> titles;
  for (int c = 0; c < grid.columnCount(); ++c) titles.push_back(grid.columnTitle(c));
  return csvText(titles, grid.rows());
}

Results::Results(app::RunContext context, ResultsControls controls)
    : today(localToday), context_(context), controls_(controls) {
  window::Ui& ui = context.Ui;
  ui.on(controls.按钮_去除重复, window::Event::Click, [this] { dedupeButton(); });
  ui.on(controls.按钮_清空公司, window::Event::Click, [this] { clearAllCompanies(); });
  ui.on(controls.按钮_清空信息, window::Event::Click, [this] { clearContactCells(); });
  ui.on(controls.按钮_导出, window::Event::Click, [this] { exportCsv(); });
}

bool Results::aloneWithGrid(const std::function<void()>& change) {
  if (context_.Runs.withGridsAlone(change)) return true;
  context_.Status.showMessage("请等待采集结束"_gbk);
  return false;
}

std::optional<int> Results::dedupeCompanies() {
  int removed = 0;
  if (!aloneWithGrid([this, &removed] { removed = dedupeCompaniesAlone(); })) return std::nullopt;
  return removed;
}

int Results::dedupeCompaniesAlone() {
  app::CompanyTable& companies = context_.Companies;
  Deduped deduped = dedupeRows(companies.rows());
  companies.clearRows();
  auto lastTurn = Clock::now();
  for (std::size_t from = 0; from < deduped.rows.size(); from += kRebuildBatch) {
    const auto begin = deduped.rows.begin() + static_cast<std::ptrdiff_t>(from);
    const auto end =
        deduped.rows.begin() + static_cast<std::ptrdiff_t>(std::min(from + kRebuildBatch, deduped.rows.size()));
    companies.appendRows({std::make_move_iterator(begin), std::make_move_iterator(end)});
    if (Clock::now() - lastTurn >= kResponsiveEvery) {
      context_.Ui.processPendingEvents();
      lastTurn = Clock::now();
    }
  }
  return deduped.removed;
}

void Results::sweepBlankRows() {
  context_.Companies.editRows([](Rows& rows) {
    std::erase_if(rows, [](const std::vector<std::string>& row) { return row.size() < 2 || net::isBlank(row[1]); });
    for (std::size_t r = 0; r < rows.size(); ++r) rows[r][0] = std::to_string(r + 1);
  });
}

void Results::dedupeButton() {
  app::RunState& state = context_.State;
  const std::optional<int> removed = dedupeCompanies();
  if (!removed) return;
  state.DuplicateCount = *removed;
  state.ValidCount = context_.Companies.rowCount();
  context_.Status.refreshStatus();
  state.DuplicateCount = 0;
}

void Results::clearAllCompanies() {
  aloneWithGrid([this] { context_.Companies.clearRows(); });
}

void Results::clearContactCells() {
  aloneWithGrid([this] {
    const int rows = context_.Companies.rowCount();
    for (int row = 0; row < rows; ++row) {
      context_.Companies.setCells(row, app::CompanyTable::Person, std::vector<std::string>(7));
    }
  });
}

void Results::exportCsv() {
  app::CompanyTable& companies = context_.Companies;
  window::Ui& ui = context_.Ui;
  if (companies.rowCount() == 0) return;
  const std::optional<std::string> path =
      ui.saveFile(controls_.window, {.title = "保存采集"_gbk,
                                     .filter = "文本文件（*.csv）|*.csv|"_gbk,
                                     .fileName = defaultExportName(today(), context_.State.KeywordSlug.get()),
                                     .folder = ui.desktopFolder(),
                                     .defaultExtension = "",
                                     .confirmOverwrite = true,
                                     .folderMustExist = true});
  if (!path) return;
  const std::string failure = platform::replaceFile(*path, buildCsvText(companies));
  if (failure.empty()) return;
  ui.message(controls_.window, "导出失败: "_gbk + platform::utf8ToGbk(*path) + "\r\n" + platform::utf8ToGbk(failure),
             "导出"_gbk, window::MessageKind::Notice);
}

}  // namespace results
