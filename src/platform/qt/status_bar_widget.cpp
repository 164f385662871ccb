#include "platform/qt/status_bar_widget.h"

#include <algorithm>

#include "platform/qt/qt_text.h"

namespace platform::window {

void StatusBarWidget::setParts(const std::vector<int>& widths, const std::vector<std::string>& texts) {
  if (labels_.size() != widths.size()) {
    for (QLabel* label : labels_) delete label;
    labels_.clear();
    for (std::size_t i = 0; i < widths.size(); ++i) {
      auto* label = new QLabel(this);
      label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      label->show();
      labels_.push_back(label);
    }
  }
  widths_ = widths;
  for (std::size_t i = 0; i < labels_.size() && i < texts.size(); ++i) labels_[i]->setText(toQt(texts[i]));
  layOut();
}

void StatusBarWidget::layOut() {
  int fixed = 0;
  for (const int w : widths_) fixed += std::max(w, 0);
  int x = 0;
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    const int w = widths_[i] >= 0 ? widths_[i] : std::max(0, width() - fixed);
    labels_[i]->setGeometry(x, 0, w, height());
    x += w;
  }
}

}  // namespace platform::window
