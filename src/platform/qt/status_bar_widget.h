#pragma once

#include <QLabel>
#include <QWidget>

#include <string>
#include <vector>

namespace platform::window {

// A status bar of fixed-width parts laid left to right; a width of -1 takes
// what the others leave, and parts beyond the bar's right edge are cut off.
class StatusBarWidget final : public QWidget {
 public:
  explicit StatusBarWidget(QWidget* parent) : QWidget(parent) {}
  void setParts(const std::vector<int>& widths, const std::vector<std::string>& texts);

 protected:
  void resizeEvent(QResizeEvent*) override { layOut(); }

 private:
  void layOut();

  std::vector<QLabel*> labels_;
  std::vector<int> widths_;
};

}  // namespace platform::window
