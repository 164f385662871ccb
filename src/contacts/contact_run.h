#pragma once
// The contact collection run: every company of the grid whose contact cells
// are still empty has its contact page fetched and read into its row.

#include <memory>
#include <string>
#include <vector>

#include "app/context.h"
#include "contacts/contact_parser.h"
#include "results/results.h"

namespace contacts {

struct ContactRunControls {
  window::Handle 按钮_开始信息 = 0;
  window::Handle 选择框_采集自动去重 = 0, 选择框_导出提示 = 0;
  window::Handle 时钟5 = 0;  // the company-run supervisor, switched off here
};

class ContactRun {
 public:
  // Connects 按钮_开始信息.
  ContactRun(app::RunContext context, ContactRunControls controls, ContactParser& parser, results::Results& results);

  // De-duplicates when asked, sweeps the blank rows, captures every row's ID
  // and hands the rows to the workers. Nothing happens on an empty grid, or
  // while a worker of an earlier run may still write the grid (the status bar
  // says so). Any thread.
  void startContactRun();
  // Row rowNumber (1-based) of the run whose IDs are ids: fetched and read
  // unless it has a contact person already; the last row handled ends the run.
  // Worker thread.
  void contactWorkItem(const std::vector<std::string>& ids, int rowNumber);

 private:
  void complete();

  app::RunContext context_;
  const ContactRunControls controls_;
  ContactParser& parser_;
  results::Results& results_;
};

}  // namespace contacts
