#include "app/main_window.h"

#include <cstdlib>

#include "app/settings.h"
#include "net/text_rules.h"
#include "platform/codepage.h"

namespace app {
namespace {

using window::Kind;

// Business model entries and the code each gives.
const std::vector<std::pair<const char*, const char*>> kBusinessModes = {
    {"所有模式", ""}, {"生产型", "1"}, {"贸易型", "3"}, {"服务型", "5"}, {"其它类型", "4"}};
const std::vector<const char*> kStaffSizes = {"所有",      "5人以下",   "5-10人",    "11-50人",    "51-100人",
                                              "101-200人", "201-300人", "301-500人", "501-1000人", "1000人以上"};
const std::vector<const char*> kTurnovers = {"所有",       "10万以下",    "10-50万",  "50-100万", "100-500万",
                                             "500-1000万", "1000-5000万", "5000-1亿", "1亿以上"};

std::string gbk(const char* utf8) { return platform::utf8ToGbk(utf8); }

}  // namespace

MainWindow::MainWindow(window::Ui& ui, RunState& state, MainWindowHooks hooks)
    : Ui(ui),
      State(state),
      window(ui.createWindow("主窗口"_gbk, {50, 50, 1033, 520}, "瀚岭商谷供应商采集-霁川坛-蓬丘客"_gbk)),
      Companies(ui, ui.add(Kind::Grid, window, "超级列表框1"_gbk, {7, 68, 701, 424})),
      Tasks(ui, ui.add(Kind::Grid, window, "超级列表框2"_gbk, {712, 92, 194, 400})),
      状态条1(ui.add(Kind::StatusBar, window, "状态条1"_gbk, {0, 493, 892, 20})),
      Status(ui, state, Tasks, 状态条1, buildControls()),
      hooks_(std::move(hooks)) {
  connectHandlers();
}

window::Handle MainWindow::buildControls() {
  auto add = [this](Kind kind, window::Handle parent, const char* name, window::Rect rect, const char* text = "") {
    return Ui.add(kind, parent, gbk(name), rect, gbk(text));
  };
  const window::Handle w = window;
  标签5 = add(Kind::Label, w, "标签5", {0, 0, 1033, 34}, "瀚岭商谷供应商采集");
  图片框1 = add(Kind::PictureBox, w, "图片框1", {-1, 5, 121, 24});
  标签6 = add(Kind::Label, w, "标签6", {945, 7, 22, 20}, "－");
  标签8 = add(Kind::Label, w, "标签8", {975, 7, 22, 20}, "□");
  标签7 = add(Kind::Label, w, "标签7", {1003, 7, 22, 20}, "×");
  标签1 = add(Kind::Label, w, "标签1", {9, 41, 500, 24},
              "关键字              地址                               经营模式              过滤");
  编辑框_关键词 = add(Kind::EditBox, w, "编辑框_关键词", {50, 43, 73, 20});
  组合框1 = add(Kind::ComboBox, w, "组合框1", {157, 42, 94, 20});
  组合框2 = add(Kind::ComboBox, w, "组合框2", {254, 42, 80, 20});
  组合框3 = add(Kind::ComboBox, w, "组合框3", {392, 42, 74, 20});
  编辑框_过滤 = add(Kind::EditBox, w, "编辑框_过滤", {499, 43, 80, 20}, "-");
  选择框_执照审核 = add(Kind::CheckBox, w, "选择框_执照审核", {583, 45, 48, 16}, "执照");
  按钮_加入任务 = add(Kind::Button, w, "按钮_加入任务", {632, 41, 56, 22}, "添加任务");
  按钮_开始公司 = add(Kind::Button, w, "按钮_开始公司", {688, 41, 68, 22}, "采集公司①");
  按钮_开始信息 = add(Kind::Button, w, "按钮_开始信息", {756, 41, 68, 22}, "采集信息②");
  按钮_停止 = add(Kind::Button, w, "按钮_停止", {824, 41, 39, 22}, "停止");
  按钮_清空公司 = add(Kind::Button, w, "按钮_清空公司", {863, 41, 62, 22}, "清理全部");
  按钮_去除重复 = add(Kind::Button, w, "按钮_去除重复", {925, 41, 62, 22}, "去除重复");
  按钮_导出 = add(Kind::Button, w, "按钮_导出", {987, 41, 39, 22}, "导出");
  按钮_清空信息 = add(Kind::Button, w, "按钮_清空信息", {713, 9, 62, 22}, "清理信息");
  按钮_开始单条任务 = add(Kind::Button, w, "按钮_开始单条任务", {712, 68, 56, 22}, "开始任务");
  按钮_开始全部任务 = add(Kind::Button, w, "按钮_开始全部任务", {768, 68, 80, 22}, "开始全部任务");
  按钮_清空任务 = add(Kind::Button, w, "按钮_清空任务", {848, 68, 58, 22}, "清空任务");

  分组框1 = add(Kind::GroupBox, w, "分组框1", {911, 70, 115, 400}, "其它采集设置");
  const window::Handle g = 分组框1;
  标签4 = add(Kind::Label, g, "标签4", {10, 16, 98, 24}, "线程:        条");
  编辑框_线程 = add(Kind::EditBox, g, "编辑框_线程", {43, 18, 39, 20}, "15");
  标签9 = add(Kind::Label, g, "标签9", {10, 38, 98, 24}, "超时:        秒");
  编辑框_超时 = add(Kind::EditBox, g, "编辑框_超时", {43, 41, 39, 20}, "10");
  标签12 = add(Kind::Label, g, "标签12", {10, 64, 80, 19}, "采集其它设置:");
  标签14 = add(Kind::Label, g, "标签14", {10, 81, 42, 21}, "员工数:");
  组合框4 = add(Kind::ComboBox, g, "组合框4", {9, 100, 97, 20});
  标签13 = add(Kind::Label, g, "标签13", {10, 120, 42, 21}, "营业额:");
  组合框5 = add(Kind::ComboBox, g, "组合框5", {9, 139, 97, 20});
  标签2 = add(Kind::Label, g, "标签2", {11, 161, 90, 19}, "信息采集不可空:");
  选择框_联系人 = add(Kind::CheckBox, g, "选择框_联系人", {11, 180, 64, 15}, "联系人");
  选择框_手机 = add(Kind::CheckBox, g, "选择框_手机", {11, 198, 48, 15}, "手机");
  选择框_电话 = add(Kind::CheckBox, g, "选择框_电话", {60, 198, 44, 15}, "电话");
  选择框_传真 = add(Kind::CheckBox, g, "选择框_传真", {11, 216, 52, 15}, "传真");
  选择框_邮箱 = add(Kind::CheckBox, g, "选择框_邮箱", {60, 216, 44, 15}, "邮箱");
  选择框_QQ = add(Kind::CheckBox, g, "选择框_QQ", {11, 234, 52, 15}, "QQ号");
  选择框_地址 = add(Kind::CheckBox, g, "选择框_地址", {60, 234, 44, 15}, "地址");
  标签10 = add(Kind::Label, g, "标签10", {11, 250, 80, 19}, "其它:");
  选择框_导出提示 = add(Kind::CheckBox, g, "选择框_导出提示", {11, 270, 71, 16}, "提示导出");
  选择框_手机号强过滤 = add(Kind::CheckBox, g, "选择框_手机号强过滤", {11, 288, 80, 16}, "手机强过滤");
  选择框_同时采集 = add(Kind::CheckBox, g, "选择框_同时采集", {11, 306, 98, 16}, "同时采集(慢)");
  选择框_采集确认 = add(Kind::CheckBox, g, "选择框_采集确认", {11, 324, 93, 16}, "采集完成确认");
  选择框_手机电话识别 = add(Kind::CheckBox, g, "选择框_手机电话识别", {11, 342, 95, 16}, "号码识别交换");
  选择框_采集清空 = add(Kind::CheckBox, g, "选择框_采集清空", {11, 360, 95, 16}, "开始采集清空");
  选择框_采集自动去重 = add(Kind::CheckBox, g, "选择框_采集自动去重", {11, 378, 95, 16}, "公司去重(ID)");

  按钮_使用说明 = add(Kind::Button, w, "按钮_使用说明", {911, 470, 115, 22}, "使用说明");
  标签3 = add(Kind::Label, w, "标签3", {0, 34, 1028, 502});
  时钟1 = add(Kind::Timer, w, "时钟1", {});
  时钟3 = add(Kind::Timer, w, "时钟3", {});
  时钟4 = add(Kind::Timer, w, "时钟4", {});
  时钟5 = add(Kind::Timer, w, "时钟5", {});

  for (const auto& [entry, code] : kBusinessModes) Ui.addEntry(组合框3, gbk(entry));
  for (const char* entry : kStaffSizes) Ui.addEntry(组合框4, gbk(entry));
  for (const char* entry : kTurnovers) Ui.addEntry(组合框5, gbk(entry));
  for (const window::Handle box :
       {选择框_采集自动去重, 选择框_采集清空, 选择框_导出提示, 选择框_手机电话识别, 选择框_手机号强过滤}) {
    Ui.setChecked(box, true);
  }
  return 编辑框_关键词;
}

void MainWindow::connectHandlers() {
  using window::Event;
  Ui.on(编辑框_超时, Event::TextChanged, [this] { State.RequestTimeout = truncated(numberOf(Ui.text(编辑框_超时))); });
  Ui.on(编辑框_线程, Event::TextChanged, [this] {
    if (numberOf(Ui.text(编辑框_线程)) < 1 - kTolerance) Ui.setText(编辑框_线程, "1");
    if (numberOf(Ui.text(编辑框_线程)) > 50 + kTolerance) Ui.setText(编辑框_线程, "50");
  });
  Ui.on(选择框_执照审核, Event::Click, [this] { State.VerifiedCode.set(Ui.checked(选择框_执照审核) ? "1" : ""); });
  Ui.on(组合框3, Event::Selected, [this] {
    const int k = Ui.selected(组合框3);
    State.BusinessModeCode.set(k >= 0 && k < static_cast<int>(kBusinessModes.size())
                                   ? kBusinessModes[static_cast<std::size_t>(k)].second
                                   : "");
  });
  Ui.on(组合框4, Event::Selected, [this] { State.StaffSizeCode.set(std::to_string(Ui.selected(组合框4))); });
  Ui.on(组合框5, Event::Selected, [this] { State.TurnoverCode.set(std::to_string(Ui.selected(组合框5))); });
  Ui.on(编辑框_过滤, Event::TextChanged, [this] {
    if (net::isBlank(Ui.text(编辑框_过滤))) Ui.setText(编辑框_过滤, "-");
  });
  Ui.on(编辑框_过滤, Event::FocusLost, [this] { Ui.setText(编辑框_过滤, net::removeAllSpaces(Ui.text(编辑框_过滤))); });
  Ui.on(时钟1, Event::Tick, [this] { Status.showElapsed((Ui.now() - State.RunStartMs) / 1000); });
  // Trimming the working set is a Windows facility; here the clock only ticks.
  Ui.on(时钟3, Event::Tick, [] {});
  Ui.on(时钟4, Event::Tick, [this] {
    if (hooks_.statusStripTick) hooks_.statusStripTick(*this);
  });
  Ui.on(window, Event::WillDestroy, [this] {
    if (hooks_.endProcess) {
      hooks_.endProcess();
    } else {
      std::_Exit(0);
    }
  });
}

void MainWindow::create() {
  Ui.raise(标签3);
  const window::Size screen = Ui.screenSize();
  Ui.move(window, screen.width, Ui.rect(window).y);
  Ui.setVisible(window, true);
  if (hooks_.slideIn) {
    hooks_.slideIn(*this);
  } else {
    const window::Rect r = Ui.rect(window);
    Ui.move(window, (screen.width - r.width) / 2, 50);
    Ui.setVisible(标签3, false);
  }
  if (hooks_.startRegionLoad) hooks_.startRegionLoad(*this);
  Ui.select(组合框3, 0);
  Ui.select(组合框4, 0);
  Ui.select(组合框5, 0);
  State.RequestTimeout = truncated(numberOf(Ui.text(编辑框_超时)));
  Ui.setPeriod(时钟4, 1000);
  Ui.setPeriod(时钟3, 100);
  if (hooks_.openStatusStrip) hooks_.openStatusStrip(*this);
  State.Idle = true;
}

RunControls MainWindow::runControls() const {
  const std::vector<window::Handle> buttons = {按钮_开始信息, 按钮_开始公司, 按钮_开始全部任务,
                                               按钮_清空任务, 按钮_加入任务, 按钮_开始单条任务};
  std::vector<window::Handle> startControls = buttons;
  startControls.insert(startControls.end(), {组合框1, 组合框2, 组合框3, 组合框4, 组合框5, 选择框_执照审核, 分组框1});
  return {.startControls = startControls, .contactRunButtons = buttons, .时钟1 = 时钟1, .编辑框_线程 = 编辑框_线程};
}

}  // namespace app
