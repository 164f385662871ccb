#pragma once
// The whole system behind the main window, put together: what the program
// runs inside the Qt shell and what tests run on the headless driver.

#include <functional>

#include "app/main_window.h"
#include "app/run_state.h"
#include "net/site.h"
#include "search/company_search.h"
#include "search/region_table.h"

namespace app {

class Harvester {
 public:
  // endProcess runs when the main window goes; by default the process ends.
  Harvester(ui::Ui& ui, net::Site site, std::function<void()> endProcess = {});
  Harvester(const Harvester&) = delete;
  Harvester& operator=(const Harvester&) = delete;

  // Runs the main window's creation sequence. Interface thread.
  void start();

  RunState State;
  MainWindow Main;
  search::RegionTable Regions;
  search::CompanySearch Search;
};

}  // namespace app
