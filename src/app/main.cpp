// Program entry: the Qt shell renders the window layer; everything else is
// the toolkit-neutral core.

#include <QApplication>

#include "app/harvester.h"
#include "platform/qt/qt_shell.h"
#include "platform/ui/ui.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  platform::ui::QtShell shell;
  platform::ui::Ui ui(shell, shell);
  shell.attach(ui);

  app::Harvester harvester(ui, {HARVESTER_SEARCH_HOST, HARVESTER_SHOP_DOMAIN});
  harvester.start();
  return QApplication::exec();
}
