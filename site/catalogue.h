#pragma once
// The stand-in site's catalogue: every keyword's listings, every company and
// its contact details, derived deterministically from a seed. All texts UTF-8.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace site {

struct Criteria {
  std::string province, city, busmode, isV, employ, annulsale, cateid;
};

// Contact values as the page writes them: spaces, CR LF and all.
struct Contact {
  std::string person, mobile, telephone, fax, email, qq, address;
};

struct Company {
  std::uint64_t number = 0;
  std::string id;
  std::string name;  // as the contact page writes it, spaces included
  std::string provinceCode, cityCode, provinceName, cityName;
  int busmode = 0;  // 1, 3, 5 or 4
  bool verified = false;
  int employ = 1;     // 1 to 9
  int annulsale = 1;  // 1 to 8
  std::string cateid;
  std::string industry;
  int contactTemplate = 0;  // 0, 1 or 2: which markers the contact page uses
  Contact contact;
};

struct Category {
  std::string id, name;
};

struct Listing {
  Company company;
  std::string html;  // the name as a listing writes it: spaces and <em> around the keyword
};

class Catalogue {
 public:
  static constexpr int kPerPage = 40;

  Catalogue(std::uint64_t seed, std::map<std::string, int> pinnedCounts, std::set<std::string> withoutToken);

  // The site's token for a keyword, and back; nullopt for a token it never gives.
  std::optional<std::string> tokenOf(const std::string& keyword) const;
  static std::optional<std::string> keywordOfToken(std::string_view token);

  std::vector<Category> categories(const std::string& keyword) const;

  // Listings of a search, page by page; page 0 is the first page, like page 1.
  int resultCount(const std::string& keyword, const Criteria& criteria) const;
  std::vector<Listing> page(const std::string& keyword, const Criteria& criteria, int page) const;

  std::optional<Company> companyById(std::string_view id) const;

 private:
  struct Matches {
    bool everyListing = false;  // no criterion narrows: listing i is match i
    int count = 0;
    std::vector<std::uint32_t> listings;
  };

  int listingCount(const std::string& keyword) const;
  std::uint64_t companyOfListing(const std::string& keyword, std::uint64_t keywordHash, std::uint32_t i) const;
  Company company(std::uint64_t number) const;
  std::string listingHtml(const Company& company, const std::string& keyword) const;
  std::shared_ptr<const Matches> matches(const std::string& keyword, const Criteria& criteria) const;

  std::uint64_t seed_;
  std::map<std::string, int> pinned_;
  std::set<std::string> withoutToken_;
  mutable std::mutex cacheMutex_;
  mutable std::map<std::string, std::shared_ptr<const Matches>> cache_;
};

// What a reader of the contact page finds for each value: spaces, CR LF and
// "&nbsp;" removed.
Contact extracted(const Contact& written);

// The name a listing shows once "<em>", "</em>" and spaces are gone.
std::string shownName(const std::string& listingHtml);

// ASCII and full-width spaces removed.
std::string withoutSpaces(std::string_view text);

}  // namespace site
