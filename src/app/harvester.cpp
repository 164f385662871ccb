#include "app/harvester.h"

namespace app {

Harvester::Harvester(ui::Ui& ui, net::Site site, std::function<void()> endProcess)
    : Main(ui, State, std::move(site),
           {.startRegionLoad = [this](MainWindow&) { Regions.startLoad(); }, .endProcess = std::move(endProcess)}),
      Regions(Main),
      Search(Main) {}

void Harvester::start() { Main.create(); }

}  // namespace app
