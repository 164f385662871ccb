#pragma once
// Reads a company's contact page into its row of the company grid, under the
// user's field rules.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/context.h"

namespace contacts {

namespace window = platform::window;

// What a contact page yields, each field from the first of its tries that
// found something, spaces removed. name is the company name the page states.
struct ContactPage {
  std::string name, person, mobile, telephone, fax, email, qq, address;
};
ContactPage readContactPage(const std::string& page);

// The field rules of the settings group.
struct FieldRules {
  bool swapNumbers = false;   // 号码识别交换
  bool strongMobile = false;  // 手机强过滤
  // Required: person, mobile, telephone, fax, e-mail, QQ.
  std::array<bool, 6> required{};
};
// Cells 3 to 9 of the row (person … address) after the rules, or nothing when
// a required field is empty and the row is to be blanked.
std::optional<std::vector<std::string>> applyFieldRules(ContactPage page, const FieldRules& rules);

// The check boxes the rules are read from.
struct FieldRuleControls {
  window::Handle 选择框_手机电话识别 = 0, 选择框_手机号强过滤 = 0;
  window::Handle 选择框_联系人 = 0, 选择框_手机 = 0, 选择框_电话 = 0, 选择框_传真 = 0, 选择框_邮箱 = 0, 选择框_QQ = 0;
};

class ContactParser {
 public:
  ContactParser(app::RunContext context, FieldRuleControls controls) : context_(context), controls_(controls) {}

  // The rules as the check boxes read now. Any thread.
  FieldRules currentRules() const;

  // Fills row rowNumber (1-based) of the company grid from page (GBK), or
  // blanks it when a required field is empty. Counts it valid or filtered. Any
  // thread.
  void parseContactPage(const std::string& page, int rowNumber);
  // The same for the company companyId: only while the row's ID cell reads
  // exactly that, so that a row that moved meanwhile never gets another
  // company's contacts; nothing is written or counted otherwise.
  void parseContactPage(const std::string& page, int rowNumber, const std::string& companyId);
  // Empties all ten cells of the row; the row itself stays.
  void clearCompanyRow(int rowNumber);

 private:
  void parse(const std::string& page, int rowNumber, const std::string* companyId);
  // Writes cells from firstColumn on, when given only while the row holds companyId.
  bool write(int row, int firstColumn, const std::vector<std::string>& cells, const std::string* companyId);

  app::RunContext context_;
  const FieldRuleControls controls_;
};

}  // namespace contacts
