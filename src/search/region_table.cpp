#include "search/region_table.h"

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
  // Never destroyed: threads nobody joins may still read it at the end.
  static const std::string* const table = new std::string(buildAreaTable());
  return *table;
}

RegionTable::RegionTable(window::Ui& ui, app::RunState& state, window::Handle 组合框1, window::Handle 组合框2)
    : ui_(ui), state_(state), 组合框1_(组合框1), 组合框2_(组合框2) {
  ui.on(组合框1, window::Event::Selected, [this] { provincePicked(); });
  ui.on(组合框2, window::Event::Selected, [this] { cityPicked(); });
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
  window::Ui& ui = ui_;
  ui.addEntry(组合框1_, "所有地区"_gbk);
  ui.select(组合框1_, 0);
  for (const std::string& piece : piecesAfterFirst("-pi")) {
    const std::string name = net::textBetween(piece, "#\">", "</a>");
    if (!name.empty()) ui.addEntry(组合框1_, name);
  }
  provincePicked();
  loaded_ = true;
}

void RegionTable::startLoad() {
  platform::runOnNewThread([this] { load(); });
}

void RegionTable::provincePicked() {
  window::Ui& ui = ui_;
  app::RunState& state = state_;
  ui.clearEntries(组合框2_);
  const int k = ui.selected(组合框1_);
  const std::string shown = ui.text(组合框1_);
  if (k <= 0 || k > static_cast<int>(ProvinceCodes.size())) {
    state.CityCode.set("");
    state.ProvinceCode.set("");
    ui.addEntry(组合框2_, shown);
  } else {
    const std::string code = ProvinceCodes[static_cast<std::size_t>(k - 1)];
    state.ProvinceCode.set(code);
    state.CityCode.set("");
    const std::string& table = AreaTable();
    const std::string marker = "pid=\"" + code + "\"";
    const std::size_t from = table.find(marker) + marker.size();
    const std::size_t to = table.find("o-pid", from);
    const std::string block = table.substr(from, to == std::string::npos ? std::string::npos : to - from);
    ui.addEntry(组合框2_, shown);
    std::vector<std::string> pieces = net::splitText(block, "-ci");
    for (std::size_t i = 1; i < pieces.size(); ++i) {
      const std::string name = net::textBetween(pieces[i], "<a href=\"#\">", "</a>");
      if (!name.empty()) ui.addEntry(组合框2_, name);
    }
  }
  ui.select(组合框2_, 0);
}

void RegionTable::cityPicked() {
  window::Ui& ui = ui_;
  std::string code;
  if (ui.selected(组合框2_) > 0) {
    const std::string shown = ui.text(组合框2_);
    for (std::size_t i = 0; i < CityNames.size() && i < CityCodes.size(); ++i) {
      if (CityNames[i] == shown) code = CityCodes[i];
    }
  }
  state_.CityCode.set(code);
}

}  // namespace search
