#pragma once
// The whole system behind the main window, put together: what the program
// runs inside the Qt shell and what tests run on the headless driver. What
// follows a finished stage of a run is wired here.

#include <functional>

#include "app/context.h"
#include "app/main_window.h"
#include "app/run_control.h"
#include "app/run_state.h"
#include "contacts/contact_parser.h"
#include "contacts/contact_run.h"
#include "contacts/supervisor.h"
#include "net/site.h"
#include "results/results.h"
#include "search/company_search.h"
#include "search/keyword_probe.h"
#include "search/region_table.h"
#include "tasks/task_queue.h"

namespace harvester {

namespace window = platform::window;

class Harvester {
 public:
  // endProcess runs when the main window goes; by default the process ends.
  Harvester(window::Ui& ui, net::Site site, std::function<void()> endProcess = {});
  Harvester(const Harvester&) = delete;
  Harvester& operator=(const Harvester&) = delete;

  // Runs the main window's creation sequence. Interface thread.
  void start();

  const net::Site Site;
  app::RunState State;
  app::MainWindow Main;
  app::RunControl Runs;
  search::RegionTable Regions;
  search::KeywordProbe Probe;
  results::Results Results;
  contacts::ContactParser Contacts;
  contacts::ContactRun ContactRun;
  contacts::Supervisor Supervisor;
  search::CompanySearch Search;
  tasks::TaskQueue Queue;

 private:
  app::RunContext context();
};

}  // namespace harvester
