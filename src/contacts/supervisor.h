#pragma once
// The company-run supervisor, on 时钟5: it notices when every result page of
// a company run has been handled and no worker of it writes any more, ends
// the run and moves on — to the queue's next task, or to the contact run.

#include <functional>

#include "app/context.h"
#include "contacts/contact_run.h"
#include "results/results.h"

namespace contacts {

struct SupervisorControls {
  window::Handle window = 0;  // owns the question
  window::Handle 时钟5 = 0;
  window::Handle 选择框_采集自动去重 = 0, 选择框_同时采集 = 0, 选择框_采集确认 = 0;
};

// The valid count of task row taskRow of a queue run: validCount less the
// counts stored in column 4 of the rows before it (a cell that is no number
// counts 0).
int taskValidCount(const app::TaskTable& tasks, int validCount, int taskRow);

class Supervisor {
 public:
  // Connects 时钟5.
  Supervisor(app::RunContext context, SupervisorControls controls, results::Results& results, ContactRun& contactRun);

  // The tick of 时钟5. Interface thread.
  void superviseCompanyRun();

  // Starts the next task of a queue run on a thread of its own; the queue
  // decides which.
  std::function<void()> nextTask;

 private:
  void finish(bool singlePage);
  void offerContactRun(bool singlePage);

  app::RunContext context_;
  const SupervisorControls controls_;
  results::Results& results_;
  ContactRun& contactRun_;
};

}  // namespace contacts
