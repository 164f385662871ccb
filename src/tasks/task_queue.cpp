#include "tasks/task_queue.h"

#include "platform/codepage.h"
#include "platform/threads.h"

namespace tasks {

TaskQueue::TaskQueue(app::RunContext context, TaskControls controls, search::CompanySearch& search)
    : context_(context), controls_(controls), search_(search) {
  window::Ui& ui = context.Ui;
  app::RunState& s = context.State;
  ui.on(controls.按钮_加入任务, window::Event::Click, [this] {
    if (search_.addSearchTask() != -1) context_.Status.showMessage("");
  });
  ui.on(controls.按钮_开始全部任务, window::Event::Click, [this, &s] {
    s.RunAllTasks = true;
    s.ProcessedCount = 0;
    s.ResultCount = 0;
    s.PageCount = 0;
    s.ValidCount = 0;
    s.DuplicateCount = 0;
    if (context_.Ui.checked(controls_.选择框_采集清空)) context_.Companies.clearRows();
    search_.startTaskRun(0);
  });
  ui.on(controls.按钮_开始单条任务, window::Event::Click, [this] { startSelectedTask(); });
  ui.on(context.Tasks.handle(), window::Event::DoubleClick, [this] { startSelectedTask(); });
  ui.on(context.Tasks.handle(), window::Event::RightClick, [this] { deleteSelectedTask(); });
  ui.on(controls.按钮_清空任务, window::Event::Click, [this] { context_.Tasks.clearRows(); });
}

void TaskQueue::startSelectedTask() {
  const int row = context_.Tasks.selectedRow();
  if (row != -1) search_.startTaskRun(row);
}

void TaskQueue::deleteSelectedTask() {
  if (context_.Tasks.selectedRow() == -1) return;
  if (context_.Ui.message(controls_.window, "是否确认删除该项任务？"_gbk, "告警:"_gbk, window::MessageKind::Question) !=
      window::Answer::Yes) {
    return;
  }
  // The selection may have changed while the question was open.
  const int row = context_.Tasks.selectedRow();
  if (row == -1) return;
  context_.Tasks.deleteRow(row);
  context_.Tasks.renumberRows();
}

void TaskQueue::startCurrentTask() { search_.startTaskRun(context_.State.CurrentTaskRow); }

void TaskQueue::afterEmptyTask(int row) {
  if (row + 1 < context_.Tasks.rowCount()) search_.startTaskRun(row + 1);
}

void TaskQueue::startNextTask() {
  platform::runOnNewThread([this] { startCurrentTask(); });
}

}  // namespace tasks
