#include "search/region_table.h"

#include <gtest/gtest.h>

#include "headless_harvester.h"

namespace {

using platform::gbkToUtf8;
using platform::utf8ToGbk;

TEST(AreaTable, HasItsExactSize) {
  const std::string& table = search::AreaTable();
  EXPECT_EQ(table.size(), 19'591U);
  std::size_t characters = 0;
  for (std::size_t i = 0; i < table.size(); i += static_cast<unsigned char>(table[i]) >= 0x80 ? 2 : 1) ++characters;
  EXPECT_EQ(characters, 18'089U);
  EXPECT_TRUE(table.starts_with("window._getAreaJsonpData('<span id=\"changeTextArea\">"));
  EXPECT_TRUE(table.ends_with("</ul></li></div>');"));
}

class RegionTableTest : public ::testing::Test {
 protected:
  std::vector<std::string> cityBox() {
    std::vector<std::string> shown;
    for (const std::string& entry : system.ui.state(system.main().组合框2).entries) shown.push_back(gbkToUtf8(entry));
    return shown;
  }
  int provinceIndex(const char* name) {
    const auto entries = system.ui.state(system.main().组合框1).entries;
    return static_cast<int>(std::find(entries.begin(), entries.end(), utf8ToGbk(name)) - entries.begin());
  }
  void pickProvince(const char* name) { system.ui.userSelect(system.main().组合框1, provinceIndex(name)); }
  void pickCity(int k) { system.ui.userSelect(system.main().组合框2, k); }
  std::string province() { return system.state().ProvinceCode.get(); }
  std::string city() { return system.state().CityCode.get(); }

  testing_support::HeadlessHarvester& system = testing_support::lasting<testing_support::HeadlessHarvester>();
};

TEST_F(RegionTableTest, StartUpFillsTheBoxesAndLists) {
  const auto provinces = system.ui.state(system.main().组合框1).entries;
  ASSERT_EQ(provinces.size(), 40U);
  EXPECT_EQ(gbkToUtf8(provinces.front()), "所有地区");
  EXPECT_EQ(gbkToUtf8(provinces.back()), "黑龙江省");
  EXPECT_EQ(cityBox(), std::vector<std::string>{"所有地区"});
  EXPECT_EQ(province(), "");
  EXPECT_EQ(city(), "");
  EXPECT_EQ(system.harvester.Regions.ProvinceCodes.size(), 39U);
  EXPECT_EQ(system.harvester.Regions.CityCodes.size(), 378U);
  EXPECT_EQ(system.harvester.Regions.CityNames.size(), 378U);
}

TEST_F(RegionTableTest, PicksGiveTheirCodes) {
  pickProvince("江浙沪");
  EXPECT_EQ(province(), "19_26_2");
  EXPECT_EQ(cityBox(), std::vector<std::string>{"江浙沪"});

  pickProvince("上海");
  EXPECT_EQ(province(), "2") << "found at its own entry, not inside a group code ending in 2";
  EXPECT_EQ(cityBox(), std::vector<std::string>{"上海"});
  pickProvince("北京");
  EXPECT_EQ(province(), "1");

  pickProvince("云南省");
  EXPECT_EQ(province(), "25");
  const std::vector<std::string> yunnan = cityBox();
  ASSERT_EQ(yunnan.size(), 13U);
  EXPECT_EQ(std::vector<std::string>(yunnan.begin(), yunnan.begin() + 3),
            (std::vector<std::string>{"云南省", "临沧市", "丽江市"}));
  pickCity(6);
  EXPECT_EQ(gbkToUtf8(system.ui.text(system.main().组合框2)), "昆明市");
  EXPECT_EQ(city(), "527");
  pickCity(0);
  EXPECT_EQ(city(), "");

  pickProvince("香港特别行政区");
  EXPECT_EQ(cityBox(), (std::vector<std::string>{"香港特别行政区", "香港"}));
  pickCity(1);
  EXPECT_EQ(city(), "5");

  pickProvince("黑龙江省");
  EXPECT_EQ(city(), "") << "a new province empties the city";
  const std::vector<std::string> heilongjiang = cityBox();
  ASSERT_EQ(heilongjiang.size(), 13U);
  EXPECT_EQ(heilongjiang[1], "七台河市");
  EXPECT_EQ(heilongjiang.back(), "齐齐哈尔市");
  pickCity(5);
  EXPECT_EQ(city(), "159");

  pickProvince("所有地区");
  EXPECT_EQ(province(), "");
  EXPECT_EQ(city(), "");
}

}  // namespace
