#include "catalogue.h"

#include <algorithm>
#include <array>

#include "search/region_data.h"

namespace site {
namespace {

std::uint64_t mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

std::uint64_t hashText(std::uint64_t seed, std::string_view text) {
  std::uint64_t h = 0xCBF29CE484222325ULL ^ mix(seed);
  for (const char c : text) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
  return mix(h);
}

// A small deterministic source of choices.
class Draw {
 public:
  explicit Draw(std::uint64_t state) : state_(state) {}
  std::uint64_t next() { return state_ = mix(state_); }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
  bool percent(int p) { return below(100) < p; }
  template <typename T, std::size_t N>
  const T& pick(const std::array<T, N>& items) {
    return items[static_cast<std::size_t>(below(static_cast<int>(N)))];
  }
  std::string digits(int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out.push_back(static_cast<char>('0' + below(10)));
    return out;
  }

 private:
  std::uint64_t state_;
};

constexpr std::uint64_t kPopularCompanies = 300;
constexpr std::uint64_t kFirstOrdinaryCompany = 1000;
constexpr std::uint64_t kOrdinaryCompanies = 5'000'000;
constexpr std::uint32_t kCategorySample = 300;
constexpr std::size_t kMaxCategories = 8;
constexpr std::size_t kCacheEntries = 64;

const std::array<std::string_view, 16> kSyllables = {"hua",  "jin", "xin",  "da",   "tian", "long", "feng", "sheng",
                                                     "kang", "mei", "hong", "yuan", "tai",  "ming", "heng", "bao"};
const std::array<std::string_view, 20> kBrands = {"华强", "金辉", "鑫达", "天成", "龙腾", "丰泽", "盛世",
                                                  "康宁", "美嘉", "宏远", "源通", "泰和", "明珠", "恒信",
                                                  "宝丰", "永兴", "富源", "振华", "新科", "瑞祥"};
const std::array<std::string_view, 12> kTrades = {"机械", "电子", "五金", "塑胶", "纺织", "照明",
                                                  "化工", "食品", "包装", "建材", "贸易", "科技"};
const std::array<std::string_view, 6> kSuffixes = {"有限公司", "有限责任公司", "商行", "经营部", "厂", "批发部"};
const std::array<std::string_view, 16> kSurnames = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵",
                                                    "吴", "周", "徐", "孙", "马", "朱", "胡", "郭"};
const std::array<std::string_view, 16> kGiven = {"伟", "芳", "娜", "敏", "静", "丽", "强", "磊",
                                                 "军", "洋", "勇", "艳", "杰", "娟", "涛", "明"};
const std::array<std::string_view, 6> kAreaCodes = {"010", "020", "021", "0755", "0571", "0512"};
const std::array<std::string_view, 6> kMailHosts = {"163.com",  "126.com", "qq.com",
                                                    "sina.com", "139.com", "hotmail.com"};
const std::array<std::string_view, 8> kStreets = {"人民路", "解放大道", "工业园区", "科技园",
                                                  "建设路", "中山路",   "开发区",   "商贸城"};

const std::array<Category, 24> kCategories = {
    {{"1012", "机械设备"}, {"1027", "电子元器件"}, {"1035", "五金工具"}, {"1041", "塑料橡胶"}, {"1058", "纺织皮革"},
     {"1063", "照明灯具"}, {"1079", "化工原料"},   {"1084", "食品饮料"}, {"1096", "包装印刷"}, {"1103", "建筑建材"},
     {"1117", "服装服饰"}, {"1125", "家居用品"},   {"1138", "汽车配件"}, {"1142", "仪器仪表"}, {"1156", "安防监控"},
     {"1161", "电工电气"}, {"1174", "办公文教"},   {"1189", "农业林业"}, {"1193", "医药保健"}, {"1207", "运输物流"},
     {"1212", "冶金矿产"}, {"1226", "环保设备"},   {"1231", "通信产品"}, {"1248", "礼品工艺"}}};

const std::string kFullWidthSpace = "\u3000";

std::string removeAll(std::string text, std::string_view piece) {
  for (std::size_t at; (at = text.find(piece)) != std::string::npos;) text.erase(at, piece.size());
  return text;
}

// Dirt that real listings carry: an ASCII or a full-width space somewhere.
std::string withSpaceDirt(Draw& draw, std::string_view left, std::string_view right) {
  const int roll = draw.below(100);
  if (roll < 10) return std::string(left) + " " + std::string(right);
  if (roll < 15) return std::string(left) + kFullWidthSpace + std::string(right);
  return std::string(left) + std::string(right);
}

std::string mobileNumber(Draw& draw) {
  return "1" + std::string(1, static_cast<char>('3' + draw.below(7))) + draw.digits(9);
}

std::string landline(Draw& draw) {
  const std::string_view area = draw.pick(kAreaCodes);
  return std::string(area) + "-" + draw.digits(area.size() == 3 ? 8 : 7);
}

Contact makeContact(Draw& draw, const Company& company, int contactTemplate) {
  Contact c;
  // Only the third template can say nothing of the person: the other two
  // would leave the reader a later try that finds something else.
  if (contactTemplate != 2 || !draw.percent(10)) {
    std::string given(draw.pick(kGiven));
    if (draw.percent(50)) given += draw.pick(kGiven);
    c.person = withSpaceDirt(draw, draw.pick(kSurnames), given);
  }

  const int mobileKind = draw.below(100);
  if (mobileKind < 8) {
  } else if (mobileKind < 18) {
    const std::string m = mobileNumber(draw);
    c.mobile = m.substr(0, 3) + " " + m.substr(3, 4) + " " + m.substr(7);
  } else if (mobileKind < 24) {
    c.mobile = mobileNumber(draw).substr(0, static_cast<std::size_t>(7 + draw.below(4)));
  } else if (mobileKind < 29) {
    c.mobile = landline(draw);
  } else if (mobileKind < 33) {
    c.mobile = draw.percent(50) ? "400" + draw.digits(7) : "400-" + draw.digits(3) + "-" + draw.digits(4);
  } else if (mobileKind < 36) {
    c.mobile = mobileNumber(draw) + "/" + mobileNumber(draw);
  } else {
    c.mobile = mobileNumber(draw);
  }

  const int telephoneKind = draw.below(100);
  if (telephoneKind < 10) {
  } else if (telephoneKind < 18) {
    c.telephone = mobileNumber(draw);
  } else if (telephoneKind < 25) {
    const std::string t = landline(draw);
    c.telephone = t.substr(0, t.size() - 4) + " " + t.substr(t.size() - 4);
  } else {
    c.telephone = landline(draw);
  }

  if (draw.percent(70)) c.fax = landline(draw);
  if (draw.percent(75)) {
    std::string user(draw.pick(kSyllables));
    user += draw.pick(kSyllables);
    c.email = user + draw.digits(draw.below(4)) + "@" + std::string(draw.pick(kMailHosts));
  }
  if (draw.percent(70)) c.qq = std::to_string(1 + draw.below(9)) + draw.digits(4 + draw.below(6));
  if (draw.percent(95)) {
    const std::string street = std::string(draw.pick(kStreets)) + std::to_string(1 + draw.below(300)) + "号";
    const std::string place = company.provinceName + company.cityName;
    const int roll = draw.below(100);
    if (roll < 15) {
      c.address = place + "\r\n" + street;
    } else if (roll < 25) {
      c.address = place + " " + street;
    } else if (roll < 30) {
      c.address = place + kFullWidthSpace + street;
    } else {
      c.address = place + street;
    }
  }
  return c;
}

bool htmlSafe(std::string_view text) { return text.find_first_of("<>&\"") == std::string_view::npos; }

bool isDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "" and "0" mean any; "1" to max a value; anything else matches nothing.
bool matchesLevel(const std::string& wanted, int value, int max) {
  if (wanted.empty() || wanted == "0") return true;
  if (!isDigits(wanted) || wanted.size() > 2) return false;
  const int level = std::stoi(wanted);
  return level >= 1 && level <= max && level == value;
}

bool matchesProvince(const std::string& wanted, const std::string& code) {
  if (wanted.empty()) return true;
  for (std::size_t from = 0;;) {
    const std::size_t end = wanted.find('_', from);
    if (wanted.substr(from, end - from) == code) return true;
    if (end == std::string::npos) return false;
    from = end + 1;
  }
}

bool matches(const Company& c, const Criteria& criteria) {
  return matchesProvince(criteria.province, c.provinceCode) && (criteria.city.empty() || criteria.city == c.cityCode) &&
         (criteria.busmode.empty() || criteria.busmode == std::to_string(c.busmode)) &&
         (criteria.isV.empty() || (criteria.isV == "1" && c.verified)) && matchesLevel(criteria.employ, c.employ, 9) &&
         matchesLevel(criteria.annulsale, c.annulsale, 8) && (criteria.cateid.empty() || criteria.cateid == c.cateid);
}

bool narrowsNothing(const Criteria& c) {
  auto any = [](const std::string& v) { return v.empty() || v == "0"; };
  return c.province.empty() && c.city.empty() && c.busmode.empty() && c.isV.empty() && any(c.employ) &&
         any(c.annulsale) && c.cateid.empty();
}

}  // namespace

Catalogue::Catalogue(std::uint64_t seed, std::map<std::string, int> pinnedCounts, std::set<std::string> withoutToken)
    : seed_(seed), pinned_(std::move(pinnedCounts)), withoutToken_(std::move(withoutToken)) {}

std::optional<std::string> Catalogue::tokenOf(const std::string& keyword) const {
  if (withoutSpaces(keyword).empty() || withoutToken_.contains(keyword)) return std::nullopt;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string token;
  for (const char c : keyword) {
    const auto byte = static_cast<unsigned char>(c);
    token.push_back(kHex[byte >> 4]);
    token.push_back(kHex[byte & 0x0F]);
  }
  return token;
}

std::optional<std::string> Catalogue::keywordOfToken(std::string_view token) {
  if (token.empty() || token.size() % 2 != 0 || token.size() > 2048) return std::nullopt;
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  std::string keyword;
  for (std::size_t i = 0; i < token.size(); i += 2) {
    const int hi = nibble(token[i]);
    const int lo = nibble(token[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    keyword.push_back(static_cast<char>(hi * 16 + lo));
  }
  return keyword;
}

int Catalogue::listingCount(const std::string& keyword) const {
  if (const auto pin = pinned_.find(keyword); pin != pinned_.end()) return pin->second;
  Draw draw(hashText(seed_, "count:" + keyword));
  const int roll = draw.below(100);
  if (roll < 8) return 0;
  if (roll < 50) return 1 + draw.below(400);
  if (roll < 85) return 400 + draw.below(4600);
  return 5000 + draw.below(25000);
}

std::uint64_t Catalogue::companyOfListing(const std::string& keyword, std::uint64_t keywordHash,
                                          std::uint32_t i) const {
  Draw draw(keywordHash ^ mix(i));
  // Now and then a company stands again further down the list.
  if (i >= kPerPage && draw.percent(2)) {
    const std::uint32_t back = 1 + static_cast<std::uint32_t>(draw.below(200));
    return companyOfListing(keyword, keywordHash, i > back ? i - back : 0);
  }
  // A few companies are listed under many keywords.
  if (draw.percent(4)) return 1 + draw.next() % kPopularCompanies;
  return kFirstOrdinaryCompany + draw.next() % kOrdinaryCompanies;
}

Company Catalogue::company(std::uint64_t number) const {
  Draw draw(mix(seed_ ^ mix(number * 7919)));
  Company c;
  c.number = number;
  std::string prefix(draw.pick(kSyllables));
  prefix += draw.pick(kSyllables);
  if (draw.percent(10)) prefix += "-";
  c.id = prefix + std::to_string(number);

  const auto& regions = search::regionEntries();
  // Municipalities (entries 6 to 9) or a province with one of its cities.
  const bool municipality = draw.percent(15);
  const search::RegionEntry& region =
      regions[static_cast<std::size_t>(municipality ? 5 + draw.below(4) : 9 + draw.below(30))];
  c.provinceCode = region.code;
  c.provinceName = region.name;
  if (!region.cities.empty() && draw.percent(95)) {
    const search::City& city =
        region.cities[static_cast<std::size_t>(draw.below(static_cast<int>(region.cities.size())))];
    c.cityCode = city.code;
    c.cityName = city.name;
  }
  static constexpr std::array<int, 4> kModes = {1, 3, 5, 4};
  c.busmode = draw.pick(kModes);
  c.verified = draw.percent(60);
  c.employ = 1 + draw.below(9);
  c.annulsale = 1 + draw.below(8);
  const Category& category = draw.pick(kCategories);
  c.cateid = category.id;
  c.industry = draw.pick(kTrades);

  const std::string place = c.cityName.empty() ? c.provinceName : c.cityName;
  c.name = withSpaceDirt(draw, place, draw.pick(kBrands)) + c.industry + std::string(draw.pick(kSuffixes));
  c.contactTemplate = draw.below(3);
  c.contact = makeContact(draw, c, c.contactTemplate);
  return c;
}

std::string Catalogue::listingHtml(const Company& company, const std::string& keyword) const {
  std::string name = company.name;
  Draw draw(hashText(seed_ ^ company.number, keyword));
  if (htmlSafe(keyword) && draw.percent(80)) {
    // The keyword goes in after the place and brand, before the trade.
    const std::size_t at = name.rfind(company.industry);
    name.insert(at == std::string::npos ? 0 : at, keyword);
  }
  if (keyword.empty() || !htmlSafe(keyword)) return name;
  std::string html;
  std::size_t from = 0;
  for (std::size_t at; (at = name.find(keyword, from)) != std::string::npos; from = at + keyword.size()) {
    html += name.substr(from, at - from) + "<em>" + keyword + "</em>";
  }
  return html + name.substr(from);
}

std::vector<Category> Catalogue::categories(const std::string& keyword) const {
  std::vector<Category> found;
  Draw draw(hashText(seed_, "categories:" + keyword));
  if (draw.percent(25)) return found;
  const std::uint64_t keywordHash = hashText(seed_, keyword);
  const auto count = static_cast<std::uint32_t>(std::min(listingCount(keyword), static_cast<int>(kCategorySample)));
  for (std::uint32_t i = 0; i < count && found.size() < kMaxCategories; ++i) {
    const std::string cateid = company(companyOfListing(keyword, keywordHash, i)).cateid;
    const bool known = std::any_of(found.begin(), found.end(), [&](const Category& c) { return c.id == cateid; });
    if (known) continue;
    for (const Category& category : kCategories) {
      if (category.id == cateid) found.push_back(category);
    }
  }
  return found;
}

std::shared_ptr<const Catalogue::Matches> Catalogue::matches(const std::string& keyword,
                                                             const Criteria& criteria) const {
  const std::string key = keyword + '\n' + criteria.province + '\n' + criteria.city + '\n' + criteria.busmode + '\n' +
                          criteria.isV + '\n' + criteria.employ + '\n' + criteria.annulsale + '\n' + criteria.cateid;
  {
    const std::lock_guard lock(cacheMutex_);
    if (const auto hit = cache_.find(key); hit != cache_.end()) return hit->second;
  }
  auto result = std::make_shared<Matches>();
  const int count = listingCount(keyword);
  if (narrowsNothing(criteria)) {
    result->everyListing = true;
    result->count = count;
  } else {
    const std::uint64_t keywordHash = hashText(seed_, keyword);
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(count); ++i) {
      if (site::matches(company(companyOfListing(keyword, keywordHash, i)), criteria)) result->listings.push_back(i);
    }
    result->count = static_cast<int>(result->listings.size());
  }
  const std::lock_guard lock(cacheMutex_);
  if (cache_.size() >= kCacheEntries) cache_.erase(cache_.begin());
  cache_.emplace(key, result);
  return result;
}

int Catalogue::resultCount(const std::string& keyword, const Criteria& criteria) const {
  return matches(keyword, criteria)->count;
}

std::vector<Listing> Catalogue::page(const std::string& keyword, const Criteria& criteria, int page) const {
  const std::shared_ptr<const Matches> found = matches(keyword, criteria);
  const long first = static_cast<long>(std::max(page, 1) - 1) * kPerPage;
  std::vector<Listing> listings;
  const std::uint64_t keywordHash = hashText(seed_, keyword);
  for (long k = first; k < first + kPerPage && k < found->count; ++k) {
    const auto i = found->everyListing ? static_cast<std::uint32_t>(k) : found->listings[static_cast<std::size_t>(k)];
    Company c = company(companyOfListing(keyword, keywordHash, i));
    std::string html = listingHtml(c, keyword);
    listings.push_back({std::move(c), std::move(html)});
  }
  return listings;
}

std::optional<Company> Catalogue::companyById(std::string_view id) const {
  std::size_t digits = id.size();
  while (digits > 0 && id[digits - 1] >= '0' && id[digits - 1] <= '9') --digits;
  const std::string_view number = id.substr(digits);
  if (number.empty() || number.size() > 9 || number.front() == '0') return std::nullopt;
  const std::uint64_t n = std::stoull(std::string(number));
  const bool listed =
      n <= kPopularCompanies || (n >= kFirstOrdinaryCompany && n < kFirstOrdinaryCompany + kOrdinaryCompanies);
  if (!listed) return std::nullopt;
  Company c = company(n);
  if (c.id != id) return std::nullopt;
  return c;
}

std::string withoutSpaces(std::string_view text) {
  return removeAll(removeAll(std::string(text), " "), kFullWidthSpace);
}

Contact extracted(const Contact& written) {
  auto clean = [](const std::string& value) { return removeAll(withoutSpaces(value), "\r\n"); };
  return {removeAll(clean(written.person), "&nbsp;"),
          clean(written.mobile),
          clean(written.telephone),
          clean(written.fax),
          clean(written.email),
          clean(written.qq),
          clean(written.address)};
}

std::string shownName(const std::string& listingHtml) {
  return withoutSpaces(removeAll(removeAll(listingHtml, "<em>"), "</em>"));
}

}  // namespace site
