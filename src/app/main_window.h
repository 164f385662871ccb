#pragma once
// The main window: every control at its place, the settings handlers that
// keep the run state, the status bar and the clocks. Runs are decided
// elsewhere: the subsystems get the handles of their own controls.

#include <functional>
#include <string>

#include "app/run_control.h"
#include "app/run_state.h"
#include "app/status_bar.h"
#include "app/tables.h"
#include "platform/window/ui.h"

namespace app {

class MainWindow;

// Steps of the window's creation that other parts of the program fill in.
struct MainWindowHooks {
  // Brings the window, placed just beyond the screen's right edge, to rest.
  // Until a slide exists: centred horizontally at top 50, the cover hidden.
  std::function<void(MainWindow&)> slideIn;
  std::function<void(MainWindow&)> startRegionLoad;
  std::function<void(MainWindow&)> openStatusStrip;
  std::function<void(MainWindow&)> statusStripTick;  // 时钟4
  // Ends the process once the main window goes; tests put something milder.
  std::function<void()> endProcess;
};

class MainWindow {
 public:
  MainWindow(window::Ui& ui, RunState& state, MainWindowHooks hooks = {});
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The creation sequence; ends with the window shown and Idle set.
  void create();
  // The controls a run switches.
  RunControls runControls() const;

  window::Ui& Ui;
  RunState& State;

  const window::Handle window;
  CompanyTable Companies;
  TaskTable Tasks;
  const window::Handle 状态条1;
  StatusBar Status;

  window::Handle 标签5, 图片框1, 标签6, 标签8, 标签7, 标签1;
  window::Handle 编辑框_关键词, 组合框1, 组合框2, 组合框3, 编辑框_过滤, 选择框_执照审核;
  window::Handle 按钮_加入任务, 按钮_开始公司, 按钮_开始信息, 按钮_停止, 按钮_清空公司, 按钮_去除重复, 按钮_导出,
      按钮_清空信息;
  window::Handle 按钮_开始单条任务, 按钮_开始全部任务, 按钮_清空任务;
  window::Handle 分组框1, 标签4, 编辑框_线程, 标签9, 编辑框_超时, 标签12, 标签14, 组合框4, 标签13, 组合框5, 标签2;
  window::Handle 选择框_联系人, 选择框_手机, 选择框_电话, 选择框_传真, 选择框_邮箱, 选择框_QQ, 选择框_地址;
  window::Handle 标签10, 选择框_导出提示, 选择框_手机号强过滤, 选择框_同时采集, 选择框_采集确认, 选择框_手机电话识别,
      选择框_采集清空, 选择框_采集自动去重;
  window::Handle 按钮_使用说明, 标签3, 时钟1, 时钟3, 时钟4, 时钟5;

 private:
  // Builds every other control in the layout's order (which is its stacking
  // order); returns the keyword box, which the status bar reads.
  window::Handle buildControls();
  void connectHandlers();

  MainWindowHooks hooks_;
};

}  // namespace app
