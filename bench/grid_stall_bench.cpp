// Fills the company grid of the real main window (Qt, offscreen unless
// QT_QPA_PLATFORM says otherwise) with 100,000 rows from 50 threads and
// prints the longest stall of the interface thread.

#include <QApplication>

#include <cstdio>

#include "app/main_window.h"
#include "grid_filling.h"
#include "platform/qt/qt_shell.h"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  platform::window::QtShell shell;
  platform::window::Ui ui(shell, shell);
  shell.attach(ui);
  app::RunState state;
  app::MainWindow main(ui, state, {.endProcess = [] {}});
  main.create();
  const testing_support::GridFilling filled = testing_support::fillGridFromThreads(shell, main.Companies, 50, 2'000);
  std::printf("%d rows from 50 threads shown in %lld ms\n", filled.rowsShown, static_cast<long long>(filled.elapsedMs));
  std::printf("longest stall %lld ms\n", static_cast<long long>(filled.longestStallMs));
  std::fflush(stdout);
  std::_Exit(filled.rowsShown == 100'000 ? 0 : 1);
}
