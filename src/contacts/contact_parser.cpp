#include "contacts/contact_parser.h"

#include <utility>

#include "net/text_rules.h"
#include "platform/codepage.h"

namespace contacts {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// The first try whose value is not empty; later tries are not made.
template <typename... Tries>
std::string firstOf(Tries... tries) {
  std::string value;
  ((value.empty() ? (void)(value = tries()) : (void)0), ...);
  return value;
}

bool startsWith(const std::string& text, char c) { return !text.empty() && text.front() == c; }

}  // namespace

ContactPage readContactPage(const std::string& page) {
  auto between = [&page](const std::string& left, const std::string& right) {
    return net::removeAllSpaces(net::textBetween(page, left, right));
  };
  ContactPage c;
  c.name = net::removeText(between("<meta content=\"", "联系方式"_gbk), kCrLf);
  c.person =
      firstOf([&] { return between("<strong>", "</strong>"); }, [&] { return between("<title>", ":"); },
              [&] { return net::removeText(between(">\r\n                               <span>", "<"), "&nbsp;"); });
  c.mobile =
      firstOf([&] { return between("手机：<small>"_gbk, "</small>"); }, [&] { return between("</br>手机:"_gbk, "<"); });
  c.telephone = firstOf([&] { return between("电话：<span>"_gbk, "</span>"); },
                        [&] { return between("<p>电话："_gbk, "<"); }, [&] { return between("<span>电话:"_gbk, "<"); });
  c.fax = between("传真：<span>"_gbk, "<");
  c.email = between("邮箱：<span>"_gbk, "<");
  c.qq = between("&uin=", "&");
  c.address = net::removeText(between("地址： <span>"_gbk, "</span>"), kCrLf);
  return c;
}

std::optional<std::vector<std::string>> applyFieldRules(ContactPage c, const FieldRules& rules) {
  if (rules.swapNumbers && (startsWith(c.mobile, '0') || startsWith(c.telephone, '1') || startsWith(c.mobile, '4'))) {
    std::swap(c.mobile, c.telephone);
  }
  if (rules.strongMobile && (!startsWith(c.mobile, '1') || c.mobile.size() < 11)) c.mobile.clear();
  const std::string* const required[] = {&c.person, &c.mobile, &c.telephone, &c.fax, &c.email, &c.qq};
  for (std::size_t k = 0; k < rules.required.size(); ++k) {
    if (rules.required[k] && required[k]->empty()) return std::nullopt;
  }
  std::vector<std::string> cells;
  for (const std::string* value : {&c.person, &c.mobile, &c.telephone, &c.fax, &c.email, &c.qq, &c.address}) {
    cells.push_back(net::removeText(*value, kCrLf));
  }
  return cells;
}

FieldRules ContactParser::currentRules() const {
  const window::Ui& ui = context_.Ui;
  const FieldRuleControls& b = controls_;
  return {.swapNumbers = ui.checked(b.选择框_手机电话识别),
          .strongMobile = ui.checked(b.选择框_手机号强过滤),
          .required = {ui.checked(b.选择框_联系人), ui.checked(b.选择框_手机), ui.checked(b.选择框_电话),
                       ui.checked(b.选择框_传真), ui.checked(b.选择框_邮箱), ui.checked(b.选择框_QQ)}};
}

void ContactParser::clearCompanyRow(int rowNumber) { write(rowNumber - 1, 0, std::vector<std::string>(10), nullptr); }

void ContactParser::parseContactPage(const std::string& page, int rowNumber) { parse(page, rowNumber, nullptr); }

void ContactParser::parseContactPage(const std::string& page, int rowNumber, const std::string& companyId) {
  parse(page, rowNumber, &companyId);
}

bool ContactParser::write(int row, int firstColumn, const std::vector<std::string>& cells,
                          const std::string* companyId) {
  app::CompanyTable& companies = context_.Companies;
  if (!companyId) {
    companies.setCells(row, firstColumn, cells);
    return true;
  }
  return companies.setCellsWhere(row, app::CompanyTable::Id, *companyId, firstColumn, cells);
}

void ContactParser::parse(const std::string& page, int rowNumber, const std::string* companyId) {
  const int row = rowNumber - 1;
  const ContactPage contact = readContactPage(page);
  if (net::isBlank(context_.Companies.cellText(row, app::CompanyTable::Name))) {
    write(row, app::CompanyTable::Name, {contact.name}, companyId);
  }
  const std::optional<std::vector<std::string>> cells = applyFieldRules(contact, currentRules());
  if (!cells) {
    if (write(row, 0, std::vector<std::string>(10), companyId)) ++context_.State.FilteredCount;
    return;
  }
  if (write(row, app::CompanyTable::Person, *cells, companyId)) ++context_.State.ValidCount;
}

}  // namespace contacts
