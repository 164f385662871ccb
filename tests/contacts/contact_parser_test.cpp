#include "contacts/contact_parser.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "headless_harvester.h"
#include "pages.h"

namespace {

using platform::gbkToUtf8;
using platform::utf8ToGbk;

const std::string kSpaces31(31, ' ');

struct Settings {
  bool swap = false;
  bool strong = false;
  std::vector<const char*> required;  // names of the required-field boxes
};

struct Case {
  const char* what;
  std::string page;  // UTF-8
  Settings settings;
  std::vector<std::string> row;  // cells 2 to 9 after the parse, UTF-8; empty: the row is blanked
  const char* nameBefore = "原名";
};

class ContactParserTest : public ::testing::Test {
 protected:
  void setUpRow(const Case& c) {
    app::MainWindow& main = system.main();
    main.Companies.clearRows();
    main.Companies.appendNumberedRow({"id1", utf8ToGbk(c.nameBefore)});
    system.ui.setChecked(main.选择框_手机电话识别, c.settings.swap);
    system.ui.setChecked(main.选择框_手机号强过滤, c.settings.strong);
    for (const char* box : {"选择框_联系人", "选择框_手机", "选择框_电话", "选择框_传真", "选择框_邮箱", "选择框_QQ"}) {
      const bool required = std::find_if(c.settings.required.begin(), c.settings.required.end(), [&](const char* r) {
                              return std::string(r) == box;
                            }) != c.settings.required.end();
      system.ui.setChecked(system.ui.find(main.window, utf8ToGbk(box)), required);
    }
  }
  std::vector<std::string> rowCells(int from) {
    std::vector<std::string> cells;
    for (int c = from; c < 10; ++c) cells.push_back(gbkToUtf8(system.main().Companies.cellText(0, c)));
    return cells;
  }

  testing_support::HeadlessHarvester& system = testing_support::lasting<testing_support::HeadlessHarvester>();
};

TEST_F(ContactParserTest, FieldsTriesAndRules) {
  const std::string allFirstTries =
      "<meta content=\"页面公司联系方式\"><title>标题人:x</title><STRONG>张 三</STRONG><strong>第二</strong>"
      "<li>手机：<small> 130 0000 0001 </small></li><li>电话：<span>0755-1234　5678</span></li>"
      "<li>传真：<span>0755-8765</span></li><li>邮箱：<span>a@b.com</span></li>"
      "<a href=\"http://wpa.qq.com/msgrd?v=3&uin=12345&site=qq\">"
      "<li>地址： <span>广东省 深圳市\r\n南山区　科技园</span></li>";
  const std::string laterTries =
      "<html><TITLE>李四:某公司联系方式</TITLE><p>手机:<small>1</small></p><p>x</br>手机:139 1234 5678<br>"
      "<p>电话：010-1111</p><span>电话:021-2222</span>";
  const std::string thirdTries = ">\r\n" + std::string(30, ' ') + "<span>错人</span>>\r\n" + kSpaces31 +
                                 "<span>王 五&nbsp;</span><span>电话:021-2222</span>";
  auto page = [](const std::string& mobile, const std::string& telephone) {
    return "<strong>赵六</strong>手机：<small>" + mobile + "</small>电话：<span>" + telephone + "</span>";
  };
  const Settings swap{.swap = true};
  const Settings strong{.strong = true};
  const Settings both{.swap = true, .strong = true};
  const Case cases[] = {
      {"first tries",
       allFirstTries,
       {},
       {"原名", "张三", "13000000001", "0755-12345678", "0755-8765", "a@b.com", "12345", "广东省深圳市南山区科技园"}},
      {"second tries, ASCII colon is no full-width colon",
       laterTries,
       {},
       {"原名", "李四", "13912345678", "010-1111", "", "", "", ""}},
      {"third tries", thirdTries, {}, {"原名", "王五", "", "021-2222", "", "", "", ""}},
      {"blank name cell takes the page's",
       allFirstTries,
       {},
       {"页面公司", "张三", "13000000001", "0755-12345678", "0755-8765", "a@b.com", "12345",
        "广东省深圳市南山区科技园"},
       " 　"},
      {"empty page, nothing required", "", {}, {"", "", "", "", "", "", "", ""}, ""},
      {"empty page, a field required", "", {.required = {"选择框_QQ"}}, {}},
      {"person and mobile required, no mobile", page("", "010-1"), {.required = {"选择框_联系人", "选择框_手机"}}, {}},
      {"fax not required, missing",
       page("13000000001", ""),
       {.required = {"选择框_手机"}},
       {"原名", "赵六", "13000000001", "", "", "", "", ""}},
      {"swap: mobile starts with 0",
       page("0100-0000000", "13000000001"),
       swap,
       {"原名", "赵六", "13000000001", "0100-0000000", "", "", "", ""}},
      {"swap: mobile starts with 4", page("4000000000", ""), swap, {"原名", "赵六", "", "4000000000", "", "", "", ""}},
      {"swap: telephone starts with 1",
       page("", "13000000001"),
       swap,
       {"原名", "赵六", "13000000001", "", "", "", "", ""}},
      {"swap: nothing to swap",
       page("13000000001", "01000000000"),
       swap,
       {"原名", "赵六", "13000000001", "01000000000", "", "", "", ""}},
      {"swap: two mobiles",
       page("13000000001", "13000000002"),
       swap,
       {"原名", "赵六", "13000000002", "13000000001", "", "", "", ""}},
      {"swap off",
       page("0100-0000000", "13000000001"),
       {},
       {"原名", "赵六", "0100-0000000", "13000000001", "", "", "", ""}},
      {"strong: 10 bytes", page("1300000000", ""), strong, {"原名", "赵六", "", "", "", "", "", ""}},
      {"strong: 11 bytes", page("13000000001", ""), strong, {"原名", "赵六", "13000000001", "", "", "", "", ""}},
      {"strong: starts with 0", page("013000000001", ""), strong, {"原名", "赵六", "", "", "", "", "", ""}},
      {"strong: two numbers",
       page("13000000001/13000000002", ""),
       strong,
       {"原名", "赵六", "13000000001/13000000002", "", "", "", "", ""}},
      {"swap then strong",
       page("0100-0000000", "13000000001"),
       both,
       {"原名", "赵六", "13000000001", "0100-0000000", "", "", "", ""}},
      {"strong empties, then mobile required", page("1300", ""), {.strong = true, .required = {"选择框_手机"}}, {}},
  };
  for (const Case& c : cases) {
    setUpRow(c);
    const int valid = system.state().ValidCount;
    const int filtered = system.state().FilteredCount;
    system.harvester.Contacts.parseContactPage(utf8ToGbk(c.page), 1);
    if (c.row.empty()) {
      EXPECT_EQ(rowCells(0), std::vector<std::string>(10)) << c.what;
      EXPECT_EQ(system.state().FilteredCount, filtered + 1) << c.what;
      EXPECT_EQ(system.state().ValidCount, valid) << c.what;
    } else {
      EXPECT_EQ(rowCells(2), c.row) << c.what;
      EXPECT_EQ(rowCells(0)[0], "1") << c.what;
      EXPECT_EQ(system.state().ValidCount, valid + 1) << c.what;
      EXPECT_EQ(system.state().FilteredCount, filtered) << c.what;
    }
  }
}

TEST_F(ContactParserTest, RowOutsideTheGridStillCounts) {
  const int valid = system.state().ValidCount;
  system.harvester.Contacts.parseContactPage(utf8ToGbk("<strong>x</strong>"), 5);
  EXPECT_EQ(system.state().ValidCount, valid + 1);
  EXPECT_EQ(system.main().Companies.rowCount(), 0);
}

TEST_F(ContactParserTest, ReadsEveryTemplateOfTheStandInSite) {
  const site::Catalogue catalogue(3, {{"五金", 120}}, {});
  system.ui.setChecked(system.main().选择框_手机电话识别, false);
  system.ui.setChecked(system.main().选择框_手机号强过滤, false);
  for (int n = 1; n <= 3; ++n) {
    for (const site::Listing& listing : catalogue.page("五金", {}, n)) {
      system.main().Companies.clearRows();
      system.main().Companies.appendNumberedRow({listing.company.id, ""});
      system.harvester.Contacts.parseContactPage(utf8ToGbk(site::contactPage(listing.company, "search.localhost:1")),
                                                 1);
      const site::Contact truth = site::extracted(listing.company.contact);
      EXPECT_EQ(rowCells(2),
                (std::vector<std::string>{site::withoutSpaces(listing.company.name), truth.person, truth.mobile,
                                          truth.telephone, truth.fax, truth.email, truth.qq, truth.address}))
          << listing.company.id << " template " << listing.company.contactTemplate;
    }
  }
}

}  // namespace
