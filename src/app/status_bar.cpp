#include "app/status_bar.h"

#include "platform/codepage.h"

namespace app {
namespace {

constexpr int kMessagePart = 9;
constexpr int kElapsedPart = 10;

}  // namespace

StatusBar::StatusBar(window::Ui& ui, const RunState& state, const TaskTable& tasks, window::Handle bar,
                     window::Handle keywordBox)
    : ui_(ui), state_(state), tasks_(tasks), bar_(bar), keywordBox_(keywordBox) {
  ui.setParts(bar, {100, 150, 70, 90, 80, 80, 90, 80, 100, -1, 213});
  const char* const initial[] = {" 关键字:", "过滤字:", "地址:",       "共0页",   "共0条", "第0条",
                                 "过滤0条",  "有效0条", "状态:未开始", "去重复:", ""};
  for (int part = 0; part < 11; ++part) ui.setPartText(bar, part, platform::utf8ToGbk(initial[part]));
}

void StatusBar::refreshStatus() {
  const RunState& s = state_;
  const std::string parts[] = {
      " 关键字:"_gbk + ui_.text(keywordBox_),
      "过滤字:"_gbk + s.FilterWords.get(),
      "地址:"_gbk + tasks_.cellText(s.CurrentTaskRow, TaskTable::TaskName),
      "共"_gbk + std::to_string(s.PageCount) + "页"_gbk,
      "共"_gbk + std::to_string(s.ResultCount) + "条"_gbk,
      "第"_gbk + std::to_string(s.ProcessedCount) + "条"_gbk,
      "过滤"_gbk + std::to_string(s.FilteredCount) + "条"_gbk,
      "有效"_gbk + std::to_string(s.ValidCount) + "条"_gbk,
      s.Idle ? "状态:未开始"_gbk : "状态:已开始"_gbk,
      "去重复:"_gbk + std::to_string(s.DuplicateCount),
  };
  for (int part = 0; part < 10; ++part) ui_.setPartText(bar_, part, parts[part]);
}

void StatusBar::showMessage(const std::string& text) { ui_.setPartText(bar_, kMessagePart, text); }

void StatusBar::showElapsed(std::int64_t seconds) {
  ui_.setPartText(bar_, kElapsedPart, std::to_string(seconds) + "秒"_gbk);
}

}  // namespace app
