#pragma once
// The status bar of the main window: eleven parts, rewritten from the run
// state by refreshStatus.

#include <string>

#include "app/run_state.h"
#include "app/tables.h"
#include "platform/window/ui.h"

namespace app {

class StatusBar {
 public:
  // Lays out the parts with their initial texts.
  StatusBar(window::Ui& ui, const RunState& state, const TaskTable& tasks, window::Handle bar,
            window::Handle keywordBox);

  // Writes parts 0 to 9 from the current values. Any thread.
  void refreshStatus();
  // Part 9: the short messages of a run ("连接中..", "正在开始", …). Any thread.
  void showMessage(const std::string& text);
  // Part 10: the seconds a run has lasted.
  void showElapsed(std::int64_t seconds);

 private:
  window::Ui& ui_;
  const RunState& state_;
  const TaskTable& tasks_;
  const window::Handle bar_;
  const window::Handle keywordBox_;
};

}  // namespace app
