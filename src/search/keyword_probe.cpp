#include "search/keyword_probe.h"

#include "net/fetcher.h"
#include "net/text_rules.h"
#include "platform/codepage.h"

namespace search {

using platform::window::Event;
using platform::window::Kind;

ProbePage readProbePage(const std::string& page) {
  return {net::textBetween(page, "s-", "."), net::textBetween(page, "主营行业"_gbk, "经营模式"_gbk)};
}

std::vector<Category> readCategories(const std::string& industryBlock) {
  std::vector<std::string> pieces = net::splitText(industryBlock, "cateid");
  if (!pieces.empty()) pieces.erase(pieces.begin());
  std::vector<Category> categories;
  for (const std::string& piece : pieces) {
    categories.push_back({net::textBetween(piece, "=", "\""), net::textBetween(piece, "external nofollow\">", "<")});
  }
  return categories;
}

std::string KeywordProbe::probeKeyword(const std::string& keywordText) {
  app::RunState& state = context_.State;
  context_.Runs.disableStartControls(true);
  const std::string page = net::pageText(
      net::fetchPage(net::probeAddress(context_.Site, keywordText), {.timeoutSeconds = state.RequestTimeout}));
  const ProbePage probe = readProbePage(page);
  state.IndustryBlock.set(probe.industryBlock);
  state.CategoryId.set("");
  if (net::findText(probe.industryBlock, "cateid") > 0) runPicker();
  context_.Runs.disableStartControls(false);
  return probe.slug;
}

// The category picker: built over the probe's industry block, destroyed by
// its accept or when closed otherwise.
void KeywordProbe::runPicker() {
  window::Ui& ui = context_.Ui;
  app::RunState& state = context_.State;
  const window::Rect owner = ui.rect(owner_);
  const window::Handle picker = ui.createWindow(
      "主营行业选择"_gbk, {owner.x + (owner.width - 144) / 2, owner.y + (owner.height - 66) / 2, 144, 66},
      "主营行业选择"_gbk, owner_);
  ui.add(Kind::Label, picker, "标签3"_gbk, {1, 21, 142, 44});  // background, behind the rest
  const auto 标签5 = ui.add(Kind::Label, picker, "标签5"_gbk, {1, 1, 142, 20}, "主营行业选择"_gbk);
  const auto 标签2 = ui.add(Kind::Label, picker, "标签2"_gbk, {1, 22, 142, 17}, "共识别到主营0请选择"_gbk);
  const auto 组合框1 = ui.add(Kind::ComboBox, picker, "组合框1"_gbk, {7, 39, 104, 20});
  const auto 标签1 = ui.add(Kind::Label, picker, "标签1"_gbk, {113, 39, 24, 20}, "√"_gbk);

  // Picker creation.
  const std::vector<Category> categories = readCategories(state.IndustryBlock.get());
  ui.clearEntries(组合框1);
  ui.addEntry(组合框1, "所有"_gbk);
  ui.setText(标签2, "共识别到主营"_gbk + std::to_string(categories.size()) + ",请选择"_gbk);
  std::vector<std::string> categoryIds;
  for (const Category& category : categories) {
    categoryIds.push_back(category.id);
    ui.addEntry(组合框1, category.name);
  }
  state.CategoryIds = categoryIds;
  ui.select(组合框1, 0);

  ui.on(标签1, Event::LeftPress, [&ui, &state, picker, 组合框1, categoryIds] {
    const int k = ui.selected(组合框1);
    const bool category = k >= 1 && k <= static_cast<int>(categoryIds.size());
    state.CategoryId.set(category ? categoryIds[static_cast<std::size_t>(k - 1)] : "");
    ui.destroy(picker);
  });
  ui.on(标签5, Event::LeftPress, [&ui, picker] { ui.beginSystemMove(picker); });
  ui.runModal(picker);
  ui.destroy(picker);
}

}  // namespace search
