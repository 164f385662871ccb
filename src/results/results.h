#pragma once
// What the user does with the collected companies: de-duplicate them, clear
// the grid or its contact cells, export it to a CSV file.

#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "app/context.h"

namespace results {

namespace window = platform::window;

struct ResultsControls {
  window::Handle window = 0;  // owns the save dialog and the messages
  window::Handle 按钮_去除重复 = 0, 按钮_清空公司 = 0, 按钮_清空信息 = 0, 按钮_导出 = 0;
};

// "2015年03月09日-abc.csv": the local date and the keyword's token (GBK).
std::string defaultExportName(const std::tm& date, const std::string& keywordSlug);

// The CSV text of a grid: its column titles, then its rows.
std::string buildCsvText(const app::GridTable& grid);

class Results {
 public:
  // Connects the four buttons.
  Results(app::RunContext context, ResultsControls controls);

  // Removes every company row whose ID stands in an earlier row and rebuilds
  // the grid, keeping the window responsive meanwhile. Returns the number of
  // rows removed, or nothing when a run may still write the grid (then
  // nothing changes). Any thread.
  std::optional<int> dedupeCompanies();
  // The same for a caller that has the grid alone already
  // (app::RunControl::withGridsAlone).
  int dedupeCompaniesAlone();
  // The handler of 按钮_去除重复: the removed count after "去重复:", the rows
  // left after "有效".
  void dedupeButton();
  // Deletes every row whose ID is blank, and numbers the rest 1, 2, 3 …, in
  // one step. Any thread.
  void sweepBlankRows();
  // Deletes every row; the counters stay.
  void clearAllCompanies();
  // Empties columns 3 to 9 of every row, so a contact run fetches them again.
  void clearContactCells();
  // Offers the dated name on the desktop and writes the grid there. A write
  // that fails leaves any old file as it was and says so. Any thread: the
  // dialogs are carried to the interface thread.
  void exportCsv();

  // Today's local date; tests put a fixed one.
  std::function<std::tm()> today;

 private:
  // Runs change alone with the grid, or says why it cannot.
  bool aloneWithGrid(const std::function<void()>& change);

  app::RunContext context_;
  const ResultsControls controls_;
};

}  // namespace results
