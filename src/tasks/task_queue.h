#pragma once
// The task queue: the rows of the task grid, run alone or one after another.

#include "app/context.h"
#include "search/company_search.h"

namespace tasks {

namespace window = platform::window;

struct TaskControls {
  window::Handle window = 0;  // owns the question
  window::Handle 按钮_加入任务 = 0, 按钮_开始全部任务 = 0, 按钮_开始单条任务 = 0, 按钮_清空任务 = 0;
  window::Handle 选择框_采集清空 = 0;
};

class TaskQueue {
 public:
  // Connects the queue's buttons and the task grid's double- and right-click.
  TaskQueue(app::RunContext context, TaskControls controls, search::CompanySearch& search);

  // Runs task row CurrentTaskRow. Any thread.
  void startCurrentTask();
  // A task of a queue run found nothing: the next row follows at once, on
  // this thread, when there is one.
  void afterEmptyTask(int row);
  // The supervisor finished a task of a queue run and advanced CurrentTaskRow:
  // that row starts on a thread of its own.
  void startNextTask();

 private:
  void startSelectedTask();
  void deleteSelectedTask();

  app::RunContext context_;
  const TaskControls controls_;
  search::CompanySearch& search_;
};

}  // namespace tasks
