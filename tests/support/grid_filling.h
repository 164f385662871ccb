#pragma once
// Fills the company grid from many threads at once while the Qt interface
// thread ticks every 5 ms; the longest gap between ticks is the worst stall.
// Shared by the Qt shell's test (a freeze guard) and bench/grid-stall (the figure).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTimer>

#include <atomic>
#include <string>
#include <thread>

#include "app/tables.h"
#include "platform/qt/qt_shell.h"

namespace testing_support {

struct GridFilling {
  qint64 elapsedMs = 0;
  qint64 longestStallMs = 0;
  int rowsShown = 0;  // rows the view shows at the end
  QString lastSerial;
};

// Returns once every row is shown, or after giveUpMs.
inline GridFilling fillGridFromThreads(platform::window::QtShell& shell, app::CompanyTable& companies, int threads,
                                       int rowsEach, qint64 giveUpMs = 60'000) {
  QElapsedTimer shown;
  shown.start();
  while (!shell.widget(companies.handle()) && shown.elapsed() < giveUpMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  auto finished = std::make_shared<std::atomic<int>>(0);
  for (int t = 0; t < threads; ++t) {
    std::thread([&companies, finished, t, rowsEach] {
      for (int i = 0; i < rowsEach; ++i) {
        companies.appendNumberedRow({"id" + std::to_string(t), "company " + std::to_string(i)});
        if (i % 20 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      ++*finished;
    }).detach();
  }
  GridFilling result;
  QElapsedTimer clock;
  clock.start();
  qint64 last = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    result.longestStallMs = std::max(result.longestStallMs, clock.elapsed() - last);
    last = clock.elapsed();
  });
  ticker.start(5);
  auto* view = qobject_cast<QTableView*>(shell.widget(companies.handle()));
  if (!view) return result;
  while ((*finished < threads || view->model()->rowCount() < threads * rowsEach) && clock.elapsed() < giveUpMs) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  result.elapsedMs = clock.elapsed();
  result.rowsShown = view->model()->rowCount();
  if (result.rowsShown > 0) {
    result.lastSerial = view->model()->data(view->model()->index(result.rowsShown - 1, 0)).toString();
  }
  return result;
}

}  // namespace testing_support
