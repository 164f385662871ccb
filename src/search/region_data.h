#pragma once
// The directory site's regions: group entries, municipalities and provinces
// with their cities, as the site's own region selector lists them.

#include <string>
#include <vector>

namespace search {

struct City {
  std::string name;  // UTF-8
  std::string code;
};

struct RegionEntry {
  std::string name;  // UTF-8
  std::string code;  // a group's code joins its members' codes with "_"
  std::vector<City> cities;
};

// All 39 entries: 5 groups, 4 municipalities without cities, then 30
// provinces with 378 cities in all.
const std::vector<RegionEntry>& regionEntries();

}  // namespace search
