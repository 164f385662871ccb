#pragma once
// The region table: the site's region selector as one fixed text, the lists
// derived from it, and the province and city boxes of the main window.

#include <atomic>
#include <string>
#include <vector>

#include "app/run_state.h"
#include "platform/window/ui.h"

namespace search {

namespace window = platform::window;

// The site's region selector markup in GBK, built once.
const std::string& AreaTable();

class RegionTable {
 public:
  // Connects the province and city boxes of the main window.
  RegionTable(window::Ui& ui, app::RunState& state, window::Handle 组合框1, window::Handle 组合框2);

  // Fills the lists and the province box, then performs the province pick.
  // Any thread; the program runs it on a thread of its own at start-up.
  void load();
  void startLoad();
  // Whether load() has run to its end.
  bool loaded() const { return loaded_; }
  // The picks, as the boxes' selection events run them.
  void provincePicked();
  void cityPicked();

  // Filled by load() before the province box gets its entries; never changed after.
  std::vector<std::string> ProvinceCodes;
  std::vector<std::string> CityCodes;
  std::vector<std::string> CityNames;

 private:
  window::Ui& ui_;
  app::RunState& state_;
  const window::Handle 组合框1_, 组合框2_;
  std::atomic<bool> loaded_{false};
};

}  // namespace search
