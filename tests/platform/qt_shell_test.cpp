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
#include "grid_filling.h"

namespace {

namespace window = platform::window;

constexpr qint64 kFreezeMs = 2'000;

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

  window::QtShell shell;
  window::Ui ui{shell, shell};
  app::RunState state;
  app::MainWindow main{ui, state, {.endProcess = [] {}}};
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
  const window::Handle picker = ui.createWindow("picker", {100, 100, 144, 66}, "picker", main.window);
  const window::Handle title = ui.add(window::Kind::Label, picker, "title", {1, 1, 142, 20}, "title");
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

TEST_F(QtShellTest, GridFillingFromFiftyThreadsNeverFreezesTheInterface) {
  const testing_support::GridFilling filled = testing_support::fillGridFromThreads(shell, main.Companies, 50, 2'000);
  EXPECT_EQ(filled.rowsShown, 100'000);
  EXPECT_EQ(filled.lastSerial, QStringLiteral("100000"));
  // Only a freeze comes near this; bench/grid-stall measures the stall itself.
  EXPECT_LT(filled.longestStallMs, kFreezeMs);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
