#pragma once

#include <QAbstractTableModel>

#include <cstdint>

#include "platform/qt/qt_text.h"
#include "platform/window/ui.h"

namespace platform::window {

// A grid as Qt sees it: a view over the window layer's rows, told of changes
// in batches so that appends from many threads never flood the interface.
class GridModel final : public QAbstractTableModel {
 public:
  GridModel(Ui& ui, Handle grid, QObject* parent) : QAbstractTableModel(parent), ui_(ui), grid_(grid) {}

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : columns_; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole) return {};
    return toQt(ui_.cell(grid_, index.row(), index.column()));
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return toQt(ui_.columnTitle(grid_, section));
  }

  // Brings the view up to the grid's current state; returns whether columns changed.
  bool refresh();

 private:
  Ui& ui_;
  Handle grid_;
  int rows_ = 0;
  int columns_ = 0;
  std::uint64_t version_ = 0;
  std::uint64_t structure_ = 0;
};

}  // namespace platform::window
