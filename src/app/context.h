#pragma once
// What the subsystems of a run share. Each subsystem also gets the handles of
// its own controls, and nothing else of the main window.

#include "app/run_control.h"
#include "app/run_state.h"
#include "app/status_bar.h"
#include "app/tables.h"
#include "net/site.h"
#include "platform/window/ui.h"

namespace app {

struct RunContext {
  window::Ui& Ui;
  RunState& State;
  RunControl& Runs;
  StatusBar& Status;
  CompanyTable& Companies;
  TaskTable& Tasks;
  const net::Site& Site;
};

}  // namespace app
