#include "app/tables.h"

#include "platform/codepage.h"

namespace app {

int GridTable::appendNumberedRow(const std::vector<std::string>& cells) {
  return ui_.appendRowWith(grid_, [&cells](int rowCount) {
    std::vector<std::string> row{std::to_string(rowCount)};
    row.insert(row.end(), cells.begin(), cells.end());
    return row;
  });
}

void GridTable::renumberRows() {
  ui_.editRows(grid_, [](std::vector<std::vector<std::string>>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (!rows[i].empty()) rows[i][0] = std::to_string(i + 1);
    }
  });
}

CompanyTable::CompanyTable(window::Ui& ui, window::Handle grid) : GridTable(ui, grid) {
  ui.setColumns(grid, columns());
}

std::vector<window::Column> CompanyTable::columns() {
  return {{"序"_gbk, 55},   {"ID", 0},        {"公司名"_gbk, 200}, {"联系人"_gbk, 60}, {"手机"_gbk, 60},
          {"电话"_gbk, 60}, {"传真"_gbk, 60}, {"邮箱"_gbk, 60},    {"QQ", 60},         {"地址"_gbk, 60}};
}

TaskTable::TaskTable(window::Ui& ui, window::Handle grid) : GridTable(ui, grid) { ui.setColumns(grid, columns()); }

std::vector<window::Column> TaskTable::columns() {
  std::vector<window::Column> columns = {
      {"序"_gbk, 25}, {"任务设置"_gbk, 0}, {"任务名"_gbk, 80}, {"状态"_gbk, 40}, {"有效"_gbk, 40}};
  columns.resize(14);
  return columns;
}

}  // namespace app
