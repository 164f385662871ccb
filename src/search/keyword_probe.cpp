#include "search/keyword_probe.h"

#include "app/main_window.h"
#include "net/fetcher.h"
#include "net/text_rules.h"
#include "platform/codepage.h"

namespace search {
namespace {

using platform::ui::Event;
using platform::ui::Kind;

// The category picker: built over the probe's industry block, destroyed by
// its accept or when closed otherwise.
void runPicker(app::MainWindow& main) {
  platform::ui::Ui& ui = main.Ui;
  const platform::ui::Rect owner = ui.rect(main.window);
  const platform::ui::Handle picker = ui.createWindow(
      "主营行业选择"_gbk, {owner.x + (owner.width - 144) / 2, owner.y + (owner.height - 66) / 2, 144, 66},
      "主营行业选择"_gbk, main.window);
  ui.add(Kind::Label, picker, "标签3"_gbk, {1, 21, 142, 44});  // background, behind the rest
  const auto 标签5 = ui.add(Kind::Label, picker, "标签5"_gbk, {1, 1, 142, 20}, "主营行业选择"_gbk);
  const auto 标签2 = ui.add(Kind::Label, picker, "标签2"_gbk, {1, 22, 142, 17}, "共识别到主营0请选择"_gbk);
  const auto 组合框1 = ui.add(Kind::ComboBox, picker, "组合框1"_gbk, {7, 39, 104, 20});
  const auto 标签1 = ui.add(Kind::Label, picker, "标签1"_gbk, {113, 39, 24, 20}, "√"_gbk);

  // Picker creation.
  std::vector<std::string> pieces = net::splitText(main.State.IndustryBlock.get(), "cateid");
  ui.clearEntries(组合框1);
  ui.addEntry(组合框1, "所有"_gbk);
  if (!pieces.empty()) pieces.erase(pieces.begin());
  ui.setText(标签2, "共识别到主营"_gbk + std::to_string(pieces.size()) + ",请选择"_gbk);
  std::vector<std::string> categoryIds;
  for (const std::string& piece : pieces) {
    categoryIds.push_back(net::textBetween(piece, "=", "\""));
    ui.addEntry(组合框1, net::textBetween(piece, "external nofollow\">", "<"));
  }
  main.State.CategoryIds = categoryIds;
  ui.select(组合框1, 0);

  ui.on(标签1, Event::LeftPress, [&main, picker, 组合框1, categoryIds] {
    const int k = main.Ui.selected(组合框1);
    const bool category = k >= 1 && k <= static_cast<int>(categoryIds.size());
    main.State.CategoryId.set(category ? categoryIds[static_cast<std::size_t>(k - 1)] : "");
    main.Ui.destroy(picker);
  });
  ui.on(标签5, Event::LeftPress, [&ui, picker] { ui.beginSystemMove(picker); });
  ui.runModal(picker);
  ui.destroy(picker);
}

std::string probeAddress(const app::MainWindow& main, const std::string& keywordText) {
  return "http://" + main.Site.searchHost + "/search?wd=" + net::urlEncode(keywordText, true, true);
}

}  // namespace

std::string probeKeyword(app::MainWindow& main, const std::string& keywordText) {
  main.disableStartControls(true);
  const std::string page =
      net::pageText(net::fetchPage(probeAddress(main, keywordText), {.timeoutSeconds = main.State.RequestTimeout}));
  const std::string slug = net::textBetween(page, "s-", ".");
  main.State.IndustryBlock.set(net::textBetween(page, "主营行业"_gbk, "经营模式"_gbk));
  main.State.CategoryId.set("");
  if (net::findText(main.State.IndustryBlock.get(), "cateid") > 0) runPicker(main);
  main.disableStartControls(false);
  return slug;
}

}  // namespace search
