#pragma once
// The company and task grids: fixed columns and the row operations every run
// uses. Each operation is atomic and safe from any thread.

#include <functional>
#include <string>
#include <vector>

#include "platform/window/ui.h"

namespace app {

namespace window = platform::window;

class GridTable {
 public:
  GridTable(window::Ui& ui, window::Handle grid) : ui_(ui), grid_(grid) {}

  window::Handle handle() const { return grid_; }
  int appendRow() { return ui_.appendRow(grid_); }
  // Appends a row whose column 0 is its serial (the row count after the
  // append) and whose further columns are `cells`, in one atomic step.
  int appendNumberedRow(const std::vector<std::string>& cells);
  int rowCount() const { return ui_.rowCount(grid_); }
  void setCell(int row, int column, const std::string& text) { ui_.setCell(grid_, row, column, text); }
  void setCells(int row, int firstColumn, const std::vector<std::string>& texts) {
    ui_.setCells(grid_, row, firstColumn, texts);
  }
  std::string cellText(int row, int column) const { return ui_.cell(grid_, row, column); }
  std::vector<std::vector<std::string>> rows() const { return ui_.rows(grid_); }
  void appendRows(std::vector<std::vector<std::string>> rows) { ui_.appendRows(grid_, std::move(rows)); }
  // Writes texts into the row from firstColumn on only while guardColumn reads
  // guardText, in one step; returns whether it wrote.
  bool setCellsWhere(int row, int guardColumn, const std::string& guardText, int firstColumn,
                     const std::vector<std::string>& texts) {
    return ui_.setCellsWhere(grid_, row, guardColumn, guardText, firstColumn, texts);
  }
  void deleteRow(int row) { ui_.deleteRow(grid_, row); }
  void clearRows() { ui_.clearRows(grid_); }
  int selectedRow() const { return ui_.selectedRow(grid_); }
  int columnCount() const { return ui_.columnCount(grid_); }
  std::string columnTitle(int column) const { return ui_.columnTitle(grid_, column); }
  // Runs change over all rows in one step.
  void editRows(const std::function<void(std::vector<std::vector<std::string>>& rows)>& change) {
    ui_.editRows(grid_, change);
  }
  // Writes 1, 2, … into column 0 of the rows in order.
  void renumberRows();

 protected:
  window::Ui& ui_;
  window::Handle grid_;
};

class CompanyTable : public GridTable {
 public:
  enum Column { Serial, Id, Name, Person, Mobile, Telephone, Fax, Email, Qq, Address };
  CompanyTable(window::Ui& ui, window::Handle grid);
  static std::vector<window::Column> columns();
};

class TaskTable : public GridTable {
 public:
  enum Column {
    Serial,
    Summary,
    TaskName,
    Status,
    Valid,
    Slug,
    Province,
    City,
    BusinessMode,
    Verified,
    StaffSize,
    Turnover,
    Filter,
    Category
  };
  TaskTable(window::Ui& ui, window::Handle grid);
  static std::vector<window::Column> columns();
};

}  // namespace app
