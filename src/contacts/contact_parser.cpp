#include "contacts/contact_parser.h"

#include <algorithm>
#include <initializer_list>

#include "app/main_window.h"
#include "net/text_rules.h"
#include "platform/codepage.h"

namespace contacts {
namespace {

// The first try whose value is not empty; later tries are not made.
template <typename... Tries>
std::string firstOf(Tries... tries) {
  std::string value;
  ((value.empty() ? (void)(value = tries()) : (void)0), ...);
  return value;
}

bool startsWith(const std::string& text, char c) { return !text.empty() && text.front() == c; }

}  // namespace

std::string contactPageAddress(const net::Site& site, const std::string& companyId) {
  const bool safe = !companyId.empty() && std::all_of(companyId.begin(), companyId.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
  });
  if (!safe) return {};
  return "http://" + companyId + site.shopDomain + "/contact.html";
}

void clearCompanyRow(app::MainWindow& main, int rowNumber) {
  main.Companies.setCells(rowNumber - 1, 0, std::vector<std::string>(10));
}

void parseContactPage(app::MainWindow& main, const std::string& page, int rowNumber) {
  platform::ui::Ui& ui = main.Ui;
  const int row = rowNumber - 1;
  auto between = [&page](const std::string& left, const std::string& right) {
    return net::removeAllSpaces(net::textBetween(page, left, right));
  };
  const std::string crlf = "\r\n";

  if (net::isBlank(main.Companies.cellText(row, app::CompanyTable::Name))) {
    main.Companies.setCell(row, app::CompanyTable::Name,
                           net::removeText(between("<meta content=\"", "联系方式"_gbk), crlf));
  }
  const std::string person =
      firstOf([&] { return between("<strong>", "</strong>"); }, [&] { return between("<title>", ":"); },
              [&] { return net::removeText(between(">\r\n                               <span>", "<"), "&nbsp;"); });
  std::string mobile =
      firstOf([&] { return between("手机：<small>"_gbk, "</small>"); }, [&] { return between("</br>手机:"_gbk, "<"); });
  std::string telephone =
      firstOf([&] { return between("电话：<span>"_gbk, "</span>"); }, [&] { return between("<p>电话："_gbk, "<"); },
              [&] { return between("<span>电话:"_gbk, "<"); });
  const std::string fax = between("传真：<span>"_gbk, "<");
  const std::string email = between("邮箱：<span>"_gbk, "<");
  const std::string qq = between("&uin=", "&");
  const std::string address = net::removeText(between("地址： <span>"_gbk, "</span>"), crlf);

  if (ui.checked(main.选择框_手机电话识别) &&
      (startsWith(mobile, '0') || startsWith(telephone, '1') || startsWith(mobile, '4'))) {
    std::swap(mobile, telephone);
  }
  if (!startsWith(mobile, '1') && ui.checked(main.选择框_手机号强过滤)) mobile.clear();
  if (mobile.size() < 11 && ui.checked(main.选择框_手机号强过滤)) mobile.clear();

  const std::pair<platform::ui::Handle, const std::string*> required[] = {
      {main.选择框_联系人, &person}, {main.选择框_手机, &mobile}, {main.选择框_电话, &telephone},
      {main.选择框_传真, &fax},      {main.选择框_邮箱, &email},  {main.选择框_QQ, &qq}};
  for (const auto& [box, value] : required) {
    if (ui.checked(box) && value->empty()) {
      clearCompanyRow(main, rowNumber);
      ++main.State.FilteredCount;
      return;
    }
  }
  std::vector<std::string> cells;
  for (const std::string* value :
       std::initializer_list<const std::string*>{&person, &mobile, &telephone, &fax, &email, &qq, &address}) {
    cells.push_back(net::removeText(*value, crlf));
  }
  main.Companies.setCells(row, app::CompanyTable::Person, cells);
  ++main.State.ValidCount;
}

}  // namespace contacts
