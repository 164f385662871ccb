// The Qt shell on Qt's offscreen platform: the real main window, and a grid
// filling from many threads while the interface stays responsive.

#include "platform/qt/qt_shell.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <atomic>
#include <thread>

#include "app/main_window.h"

namespace {

namespace ui = platform::ui;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr qint64 kStallBudgetMs = 400;  // sanitized builds run several times slower
#else
constexpr qint64 kStallBudgetMs = 100;
#endif

class QtShellTest : public ::testing::Test {
 protected:
  QtShellTest() {
    shell.attach(this->ui);
    main.create();
    settle();
  }
  void settle(int ms = 150) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }

  ui::QtShell shell;
  ui::Ui ui{shell, shell};
  app::RunState state;
  app::MainWindow main{ui, state, {"search.localhost:1", ".shop.localhost:1"}, {.endProcess = [] {}}};
};

TEST_F(QtShellTest, MainWindowStandsAtItsPixelGeometry) {
  QWidget* window = shell.widget(main.window);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(window->size(), QSize(1033, 520));
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("瀚岭商谷供应商采集-霁川坛-蓬丘客"));

  auto* start = qobject_cast<QPushButton*>(shell.widget(main.按钮_开始公司));
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(start->geometry(), QRect(688, 41, 68, 22));
  EXPECT_EQ(start->text(), QString::fromUtf8("采集公司①"));
  auto* threads = qobject_cast<QLineEdit*>(shell.widget(main.编辑框_线程));
  ASSERT_NE(threads, nullptr);
  EXPECT_EQ(threads->parentWidget(), shell.widget(main.分组框1));
  EXPECT_EQ(threads->geometry(), QRect(43, 18, 39, 20));
  EXPECT_EQ(threads->text(), QStringLiteral("15"));
  EXPECT_TRUE(qobject_cast<QCheckBox*>(shell.widget(main.选择框_采集清空))->isChecked());
  EXPECT_FALSE(shell.widget(main.标签3)->isVisible()) << "the cover hides once the window is at rest";

  // Input goes back into the window layer.
  threads->setText(QStringLiteral("0"));
  emit threads->textEdited(QStringLiteral("0"));
  EXPECT_EQ(ui.text(main.编辑框_线程), "1");
  settle(50);
  EXPECT_EQ(threads->text(), QStringLiteral("1"));
}

TEST_F(QtShellTest, EscapeClosesAModalWindowAndItsWidgetsGo) {
  const ui::Handle picker = ui.createWindow("picker", {100, 100, 144, 66}, "picker", main.window);
  const ui::Handle title = ui.add(ui::Kind::Label, picker, "title", {1, 1, 142, 20}, "title");
  QPointer<QWidget> shown;
  QTimer::singleShot(100, [&] {
    shown = shell.widget(picker);
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_TRUE(shown->isModal());
    EXPECT_EQ(shown->parentWidget(), shell.widget(main.window)) << "owned by the main window";
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(shown, &escape);
  });
  ui.runModal(picker);
  EXPECT_FALSE(ui.exists(picker));
  settle(50);
  EXPECT_TRUE(shown.isNull());
  EXPECT_EQ(shell.widget(title), nullptr);
}

TEST_F(QtShellTest, GridFillingFromFiftyThreadsNeverStallsTheInterface) {
  constexpr int kThreads = 50;
  constexpr int kRowsEach = 2'000;
  std::atomic<int> finished{0};
  for (int t = 0; t < kThreads; ++t) {
    std::thread([&, t] {
      for (int i = 0; i < kRowsEach; ++i) {
        main.Companies.appendNumberedRow({"id" + std::to_string(t), "company " + std::to_string(i)});
        if (i % 20 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      ++finished;
    }).detach();
  }
  // A tick every 5 ms on the interface thread: the longest gap is the worst stall.
  QElapsedTimer clock;
  clock.start();
  qint64 last = 0, worst = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    worst = std::max(worst, clock.elapsed() - last);
    last = clock.elapsed();
  });
  ticker.start(5);
  auto* view = qobject_cast<QTableView*>(shell.widget(main.Companies.handle()));
  ASSERT_NE(view, nullptr);
  while (finished < kThreads || view->model()->rowCount() < kThreads * kRowsEach) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_LT(clock.elapsed(), 60'000);
  }
  std::printf("appended %d rows from %d threads in %lld ms; longest interface stall %lld ms\n", kThreads * kRowsEach,
              kThreads, static_cast<long long>(clock.elapsed()), static_cast<long long>(worst));
  EXPECT_LT(worst, kStallBudgetMs);
  EXPECT_EQ(view->model()->data(view->model()->index(99'999, 0)).toString(), QStringLiteral("100000"));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
