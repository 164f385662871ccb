#include "app/run_control.h"

#include "app/settings.h"
#include "platform/codepage.h"
#include "platform/threads.h"

namespace app {

RunControl::RunControl(window::Ui& ui, RunState& state, TaskTable& tasks, StatusBar& status, RunControls controls)
    : ui_(ui),
      state_(state),
      tasks_(tasks),
      status_(status),
      controls_(std::move(controls)),
      distributor_([this](std::function<void()> body) { return startCounted(std::move(body)); }) {}

bool RunControl::beginCompanyRun(int row) {
  {
    const std::lock_guard lock(mutex_);
    if (gridsBusy_ || !state_.Idle.exchange(false)) return false;
  }
  disableStartControls(true);
  state_.CurrentTaskRow = row;
  tasks_.setCell(row, TaskTable::Status, "进行"_gbk);
  state_.RunStartMs = ui_.now();
  ui_.setPeriod(controls_.时钟1, 100);
  return true;
}

bool RunControl::beginContactRun(const std::function<bool()>& prepare) {
  if (!takeGrids()) return false;
  const bool begin = prepare();
  disableStartControls(false);
  const std::lock_guard lock(mutex_);
  gridsBusy_ = false;
  if (!begin) return false;
  state_.RunStartMs = ui_.now();
  ui_.setPeriod(controls_.时钟1, 1000);
  for (const window::Handle button : controls_.contactRunButtons) ui_.setEnabled(button, false);
  state_.Idle = false;
  return true;
}

void RunControl::stopRun() {
  const int row = state_.CurrentTaskRow;
  if (tasks_.cellText(row, TaskTable::Status) != "完成"_gbk) tasks_.setCell(row, TaskTable::Status, "停止"_gbk);
  state_.Idle = true;
  distributor_.requestStop();
  ui_.setPeriod(controls_.时钟1, 0);
  disableStartControls(false);
  // Refreshed once Idle is set, so that the status bar shows the stop.
  platform::runOnNewThread([this] { status_.refreshStatus(); });
}

void RunControl::disableStartControls(bool disable) {
  for (const window::Handle control : controls_.startControls) ui_.setEnabled(control, !disable);
}

int RunControl::workerCount() const { return truncated(numberOf(ui_.text(controls_.编辑框_线程))); }

void RunControl::distributeWork(ItemRoutine routine, int itemCount, int threadCount) {
  distributor_.distributeWork(std::move(routine), itemCount, threadCount);
}

void RunControl::startWorker(std::function<void()> body) {
  // A failed start consumes what it was given; shared, body stays here for that case.
  auto shared = std::make_shared<std::function<void()>>(std::move(body));
  if (!startCounted([shared] { (*shared)(); })) (*shared)();
}

bool RunControl::withGridsAlone(const std::function<void()>& rebuild) {
  if (!takeGrids()) return false;
  rebuild();
  releaseGrids();
  return true;
}

bool RunControl::takeGrids() {
  {
    const std::lock_guard lock(mutex_);
    if (gridsBusy_ || !state_.Idle || writers_ > 0) return false;
    gridsBusy_ = true;
  }
  disableStartControls(true);
  return true;
}

void RunControl::releaseGrids() {
  disableStartControls(false);
  const std::lock_guard lock(mutex_);
  gridsBusy_ = false;
}

bool RunControl::startCounted(std::function<void()> body) {
  {
    const std::lock_guard lock(mutex_);
    if (gridsBusy_) return false;
    ++writers_;
  }
  if (platform::startThread([this, body = std::move(body)] {
        body();
        --writers_;
      })) {
    return true;
  }
  --writers_;
  return false;
}

}  // namespace app
