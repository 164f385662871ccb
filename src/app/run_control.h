#pragma once
// The one owner of a run's lifecycle: a company or contact run begins here,
// every run ends through stopRun, and every worker a run starts is counted
// here from its start until it returns, so that whatever rebuilds the grids
// can tell whether a worker may still write them.

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "app/run_state.h"
#include "app/status_bar.h"
#include "app/tables.h"
#include "app/work_distributor.h"
#include "platform/window/ui.h"

namespace app {

// The main window's controls that a run switches.
struct RunControls {
  // Disabled by a company run and by the keyword probe: the start and task
  // buttons, the criteria boxes and the settings group.
  std::vector<window::Handle> startControls;
  // Disabled by a contact run: the start and task buttons only.
  std::vector<window::Handle> contactRunButtons;
  window::Handle 时钟1 = 0;  // elapsed seconds of a run
  window::Handle 编辑框_线程 = 0;
};

class RunControl {
 public:
  RunControl(window::Ui& ui, RunState& state, TaskTable& tasks, StatusBar& status, RunControls controls);
  RunControl(const RunControl&) = delete;
  RunControl& operator=(const RunControl&) = delete;

  // Begins the company run of task row `row`: Idle 0, the start controls
  // disabled, the row "进行", RunStartMs, 时钟1 at 100 ms. Returns false and
  // changes nothing unless idle. Any thread.
  bool beginCompanyRun(int row);
  // Prepares a contact run alone with the grids (see withGridsAlone) and,
  // when prepare returns true, begins it before any other run can: the start
  // and task buttons disabled, RunStartMs, 时钟1 at 1,000 ms, Idle 0. Returns
  // whether the run began. Any thread.
  bool beginContactRun(const std::function<bool()>& prepare);
  // Ends the current run, whatever kind: the task row "停止" unless it reads
  // "完成", Idle 1, the workers skip what they have not begun, 时钟1 off, the
  // controls enabled, the status bar refreshed on a thread of its own. Waits
  // for nothing. Any thread, any number of times.
  void stopRun();

  void disableStartControls(bool disable);
  // The thread box's number, truncated.
  int workerCount() const;

  // Items 1 to itemCount of routine over at most threadCount workers.
  void distributeWork(ItemRoutine routine, int itemCount, int threadCount);
  // One worker outside the distributor (a one-page run), or here when no
  // thread can start.
  void startWorker(std::function<void()> body);
  // Done items of the current distribution.
  int countDoneItems() const { return distributor_.countDoneItems(); }
  // Workers of any run that have started and not yet returned.
  int writers() const { return writers_; }

  // Runs rebuild alone with the grids: only while idle with no worker of any
  // run left that may still write them. Until rebuild returns no run begins,
  // no worker starts and the start controls are disabled. Returns false,
  // running nothing, when the grids cannot be had alone. Any thread.
  bool withGridsAlone(const std::function<void()>& rebuild);

 private:
  bool startCounted(std::function<void()> body);
  bool takeGrids();
  void releaseGrids();

  window::Ui& ui_;
  RunState& state_;
  TaskTable& tasks_;
  StatusBar& status_;
  const RunControls controls_;
  std::mutex mutex_;  // guards gridsBusy_ against the starts it holds off
  bool gridsBusy_ = false;
  std::atomic<int> writers_{0};
  WorkDistributor distributor_;
};

}  // namespace app
