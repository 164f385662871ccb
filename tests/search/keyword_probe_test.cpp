#include "search/keyword_probe.h"

#include <gtest/gtest.h>

#include "headless_harvester.h"
#include "local_servers.h"

namespace {

using platform::gbkToUtf8;
using platform::utf8ToGbk;
using testing_support::HeadlessHarvester;
using testing_support::HttpServer;

// Probe pages written apart from the site, with traps around every marker.
const std::string kThreeCategories =
    "<html><body><p>token: <a href=\"/s-abc123.html\">x</a> more s-text.</p>"
    "<div>主营行业：<a href=\"/s-abc123.html?cateid=101\" rel=\"external nofollow\">机械</a>"
    "<a href=\"/x?cateid=202\" rel=\"external nofollow\">电子</a>"
    "<a href=\"/x?cateid=303\" rel=\"external nofollow\"></a></div>"
    "<div>经营模式：<a href=\"/x?cateid=999\" rel=\"external nofollow\">不算</a></div></body></html>";
const std::string kNoBlock =
    "<html><body><a href=\"/S-Token9.html\">x</a><div>经营模式：cateid=1\"</div></body></html>";
const std::string kNoToken = "<html><body>没有找到相关结果</body></html>";

class KeywordProbeTest : public ::testing::Test {
 protected:
  KeywordProbeTest()
      : server([this](httplib::Server& s) {
          s.Get("/search", [this](const httplib::Request& q, httplib::Response& r) {
            targets.push_back(q.target);
            const std::string wd = q.get_param_value("wd");
            r.set_content(wd == "none"   ? kNoBlock
                          : wd == "lost" ? kNoToken
                                         : kThreeCategories,
                          "text/html; charset=utf-8");
          });
        }),
        system(testing_support::lasting<HeadlessHarvester>(
            net::Site{"127.0.0.1:" + std::to_string(server.port()), ".shop.localhost:1"})) {}

  std::string probe(const std::string& keywordUtf8) {
    return gbkToUtf8(system.harvester.Probe.probeKeyword(utf8ToGbk(keywordUtf8)));
  }
  std::string shownOf(platform::window::Handle picker, const char* name) {
    return gbkToUtf8(system.ui.text(system.ui.find(picker, utf8ToGbk(name))));
  }
  // Picks entry k of the picker and presses its "√".
  void acceptEntry(int k) {
    system.driver.onNextModal([this, k](platform::window::Handle picker) {
      auto& ui = system.ui;
      EXPECT_FALSE(ui.enabled(system.main().按钮_开始公司)) << "start controls are disabled during the probe";
      EXPECT_EQ(ui.state(picker).owner, system.main().window);
      EXPECT_EQ(ui.rect(picker).width, 144);
      EXPECT_EQ(ui.rect(picker).height, 66);
      pickerLabel = shownOf(picker, "标签2");
      const auto combo = ui.find(picker, utf8ToGbk("组合框1"));
      entries = ui.state(combo).entries;
      ui.userSelect(combo, k);
      ui.userPress(ui.find(picker, utf8ToGbk("标签1")));
    });
  }

  std::vector<std::string> targets;
  HttpServer server;
  HeadlessHarvester& system;
  std::string pickerLabel;
  std::vector<std::string> entries;
};

TEST_F(KeywordProbeTest, PickerOffersTheBlocksCategoriesAndAcceptSetsTheChosenId) {
  acceptEntry(2);
  EXPECT_EQ(probe("LED灯"), "abc123");
  EXPECT_EQ(targets.back(), "/search?wd=LED%E7%81%AF");
  EXPECT_EQ(pickerLabel, "共识别到主营3,请选择");
  EXPECT_EQ(entries, (std::vector<std::string>{utf8ToGbk("所有"), utf8ToGbk("机械"), utf8ToGbk("电子"), ""}));
  EXPECT_EQ(system.state().CategoryId.get(), "202");
  EXPECT_TRUE(system.ui.enabled(system.main().按钮_开始公司));
  EXPECT_TRUE(system.ui.enabled(system.main().编辑框_线程)) << "the settings group is enabled again";

  // A second probe starts with CategoryId empty; accepting "所有" keeps it so.
  acceptEntry(0);
  EXPECT_EQ(probe("LED灯"), "abc123");
  EXPECT_EQ(system.state().CategoryId.get(), "");
  acceptEntry(3);
  probe("x");
  EXPECT_EQ(system.state().CategoryId.get(), "303") << "an entry without a name still has its id";
}

TEST_F(KeywordProbeTest, ClosingThePickerWithoutAcceptLeavesNoCategory) {
  acceptEntry(1);
  probe("x");
  ASSERT_EQ(system.state().CategoryId.get(), "101");
  system.driver.onNextModal([this](platform::window::Handle picker) { system.ui.destroy(picker); });
  EXPECT_EQ(probe("x"), "abc123");
  EXPECT_EQ(system.state().CategoryId.get(), "");
}

TEST_F(KeywordProbeTest, PageWithoutCategoriesOrToken) {
  acceptEntry(1);
  probe("x");
  EXPECT_EQ(probe("none"), "Token9") << "the token begins at the first s- in any letter case";
  EXPECT_EQ(system.state().IndustryBlock.get(), "");
  EXPECT_EQ(system.state().CategoryId.get(), "");
  EXPECT_EQ(probe("lost"), "");
  EXPECT_TRUE(system.driver.messages.empty());
}

}  // namespace
