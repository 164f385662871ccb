#include "platform/qt/grid_model.h"

namespace platform::window {

bool GridModel::refresh() {
  const ControlState state = ui_.state(grid_);
  if (state.version == version_) return false;
  version_ = state.version;
  const int rows = ui_.rowCount(grid_);
  const int columns = static_cast<int>(state.columns.size());
  if (columns != columns_ || state.structureVersion != structure_ || rows < rows_) {
    beginResetModel();
    rows_ = rows;
    columns_ = columns;
    structure_ = state.structureVersion;
    endResetModel();
    return true;
  }
  if (rows > rows_) {
    beginInsertRows({}, rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
  }
  if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
  return false;
}

}  // namespace platform::window
