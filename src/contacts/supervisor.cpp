#include "contacts/supervisor.h"

#include "app/settings.h"
#include "platform/codepage.h"
#include "platform/threads.h"

namespace contacts {

using app::TaskTable;

int taskValidCount(const app::TaskTable& tasks, int validCount, int taskRow) {
  int earlier = 0;
  for (int row = 0; row < taskRow; ++row)
    earlier += app::truncated(app::numberOf(tasks.cellText(row, TaskTable::Valid)));
  return validCount - earlier;
}

Supervisor::Supervisor(app::RunContext context, SupervisorControls controls, results::Results& results,
                       ContactRun& contactRun)
    : context_(context), controls_(controls), results_(results), contactRun_(contactRun) {
  context.Ui.on(controls.时钟5, window::Event::Tick, [this] { superviseCompanyRun(); });
}

void Supervisor::superviseCompanyRun() {
  const app::RunState& s = context_.State;
  // Only once no worker may append or fill a row: the de-duplication and the
  // contact run that follow rebuild the grid. A one-page run is done when its
  // single worker has returned.
  if (context_.Runs.writers() > 0) return;
  if (s.SinglePageRun) {
    finish(true);
    return;
  }
  const int done = context_.Runs.countDoneItems();
  if (done == s.PageCount && s.PageCount != 0 && !context_.State.Finishing.exchange(true)) finish(false);
}

void Supervisor::finish(bool singlePage) {
  app::RunState& s = context_.State;
  window::Ui& ui = context_.Ui;
  context_.Runs.stopRun();
  const int row = s.CurrentTaskRow;
  context_.Tasks.setCell(row, TaskTable::Status, "完成"_gbk);
  ui.setPeriod(controls_.时钟5, 0);
  s.PageCount = 0;
  if (ui.checked(controls_.选择框_采集自动去重)) {
    s.RunDuplicateCount = results_.dedupeCompanies().value_or(0);
    s.DuplicateCount += s.RunDuplicateCount;
  }
  if (!s.RunAllTasks) {
    context_.Tasks.setCell(row, TaskTable::Valid, std::to_string(s.ValidCount - s.RunDuplicateCount));
    context_.Tasks.deleteRow(row);
    offerContactRun(singlePage);
  } else {
    context_.Tasks.setCell(row, TaskTable::Valid,
                           std::to_string(taskValidCount(context_.Tasks, s.ValidCount, row) - s.DuplicateCount));
    if (row + 1 >= context_.Tasks.rowCount()) {
      offerContactRun(singlePage);
    } else {
      s.CurrentTaskRow = row + 1;
      if (nextTask) nextTask();
    }
  }
  if (!singlePage) s.Finishing = false;
}

void Supervisor::offerContactRun(bool singlePage) {
  window::Ui& ui = context_.Ui;
  if (ui.checked(controls_.选择框_同时采集)) return;
  if (ui.checked(controls_.选择框_采集确认) &&
      ui.message(controls_.window, "采集公司已完成\r\n是否开始采集信息"_gbk, "完成"_gbk,
                 window::MessageKind::Question) != window::Answer::Yes) {
    return;
  }
  if (singlePage) {
    contactRun_.startContactRun();
  } else {
    platform::runOnNewThread([this] { contactRun_.startContactRun(); });
  }
}

}  // namespace contacts
