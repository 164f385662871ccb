#include "search/region_table.h"

#include "app/main_window.h"
#include "net/text_rules.h"
#include "platform/codepage.h"
#include "platform/threads.h"
#include "search/region_data.h"

namespace search {
namespace {

std::string buildAreaTable() {
  const auto& entries = regionEntries();
  auto entry = [](const RegionEntry& e) { return "<li o-pid=\"" + e.code + "\"><a href=\"#\">" + e.name + "</a>"; };
  std::string text =
      "window._getAreaJsonpData('<span id=\"changeTextArea\">所有区域</span><div style=\"display: "
      "none;\"class=\"allAreaShowB\"><div class=\"allAreaSelectN\"><a class=\"current\"href=\"#\"id=\"allArea\">"
      "所有区域</a><div class=\"allAreaSelectN\"id=\"specialArea\"><ul class=\"specialArea\">";
  for (std::size_t i = 0; i < 5; ++i) text += entry(entries[i]) + "</li>";
  text += "</ul><ul class=\"specialArea\">";
  for (std::size_t i = 5; i < 9; ++i) text += entry(entries[i]) + "</li>";
  text += "</ul></div><ul class=\"allAreaSelectDetail clearfix\"id=\"allAreaSelectDetailD\">";
  for (std::size_t i = 9; i < entries.size(); ++i) {
    text += entry(entries[i]) + "<ul class=\"areaOptions\">";
    for (const City& city : entries[i].cities) {
      text += "<li o-cid=\"" + city.code + "\"><a href=\"#\">" + city.name + "</a></li>";
    }
    text += "</ul></li>";
  }
  text += "</div>');";
  return platform::utf8ToGbk(text);
}

// The pieces after the first of AreaTable cut at separator.
std::vector<std::string> piecesAfterFirst(const std::string& separator) {
  std::vector<std::string> pieces = net::splitText(AreaTable(), separator);
  if (!pieces.empty()) pieces.erase(pieces.begin());
  return pieces;
}

}  // namespace

const std::string& AreaTable() {
  static const std::string table = buildAreaTable();
  return table;
}

RegionTable::RegionTable(app::MainWindow& main) : main_(main) {
  main.Ui.on(main.组合框1, platform::ui::Event::Selected, [this] { provincePicked(); });
  main.Ui.on(main.组合框2, platform::ui::Event::Selected, [this] { cityPicked(); });
}

void RegionTable::load() {
  for (const std::string& piece : piecesAfterFirst("-pi")) {
    const std::string code = net::textBetween(piece, "d=\"", "\"");
    if (!code.empty() && code.size() < 15) ProvinceCodes.push_back(code);
  }
  for (const std::string& piece : piecesAfterFirst("-ci")) {
    const std::string code = net::textBetween(piece, "d=\"", "\"");
    if (!code.empty() && code.size() < 9) CityCodes.push_back(code);
    const std::string name = net::textBetween(piece, "#\">", "</a>");
    if (!name.empty()) CityNames.push_back(name);
  }
  platform::ui::Ui& ui = main_.Ui;
  ui.addEntry(main_.组合框1, "所有地区"_gbk);
  ui.select(main_.组合框1, 0);
  for (const std::string& piece : piecesAfterFirst("-pi")) {
    const std::string name = net::textBetween(piece, "#\">", "</a>");
    if (!name.empty()) ui.addEntry(main_.组合框1, name);
  }
  provincePicked();
  loaded_ = true;
}

void RegionTable::startLoad() {
  platform::runOnNewThread([this] { load(); });
}

void RegionTable::provincePicked() {
  platform::ui::Ui& ui = main_.Ui;
  app::RunState& state = main_.State;
  ui.clearEntries(main_.组合框2);
  const int k = ui.selected(main_.组合框1);
  const std::string shown = ui.text(main_.组合框1);
  if (k <= 0 || k > static_cast<int>(ProvinceCodes.size())) {
    state.CityCode.set("");
    state.ProvinceCode.set("");
    ui.addEntry(main_.组合框2, shown);
  } else {
    const std::string code = ProvinceCodes[static_cast<std::size_t>(k - 1)];
    state.ProvinceCode.set(code);
    state.CityCode.set("");
    const std::string& table = AreaTable();
    const std::string marker = "pid=\"" + code + "\"";
    const std::size_t from = table.find(marker) + marker.size();
    const std::size_t to = table.find("o-pid", from);
    const std::string block = table.substr(from, to == std::string::npos ? std::string::npos : to - from);
    ui.addEntry(main_.组合框2, shown);
    std::vector<std::string> pieces = net::splitText(block, "-ci");
    for (std::size_t i = 1; i < pieces.size(); ++i) {
      const std::string name = net::textBetween(pieces[i], "<a href=\"#\">", "</a>");
      if (!name.empty()) ui.addEntry(main_.组合框2, name);
    }
  }
  ui.select(main_.组合框2, 0);
}

void RegionTable::cityPicked() {
  platform::ui::Ui& ui = main_.Ui;
  std::string code;
  if (ui.selected(main_.组合框2) > 0) {
    const std::string shown = ui.text(main_.组合框2);
    for (std::size_t i = 0; i < CityNames.size() && i < CityCodes.size(); ++i) {
      if (CityNames[i] == shown) code = CityCodes[i];
    }
  }
  main_.State.CityCode.set(code);
}

}  // namespace search
