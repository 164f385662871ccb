// Program entry: the Qt shell renders the window layer; everything else is
// the toolkit-neutral core.

#include <QApplication>

#include "harvester/harvester.h"
#include "platform/qt/qt_shell.h"
#include "platform/window/ui.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  platform::window::QtShell shell;
  platform::window::Ui ui(shell, shell);
  shell.attach(ui);

  harvester::Harvester harvester(ui, {HARVESTER_SEARCH_HOST, HARVESTER_SHOP_DOMAIN});
  harvester.start();
  return QApplication::exec();
}
