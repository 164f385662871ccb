#pragma once
// Where the directory site lives and the addresses of its pages. Every
// address is built from values handed in, never from shared state, so a
// worker builds its addresses from the criteria its run captured.

#include <string>
#include <string_view>

namespace net {

// Configuration handed to the system when it is built, so tests can point it
// at a site of their own.
struct Site {
  std::string searchHost;  // host[:port] of the company search
  std::string shopDomain;  // "." domain[:port]; a shop host is ID + shopDomain
};

// The criteria of one search, as a task row stores them, and the keyword box's
// text percent-encoded when the run starts. Values go into addresses as they
// stand; an empty one leaves its key with nothing after "=".
struct SearchCriteria {
  std::string KeywordSlug;
  std::string ProvinceCode;
  std::string CityCode;
  std::string BusinessModeCode;
  std::string VerifiedCode;
  std::string StaffSizeCode;
  std::string TurnoverCode;
  std::string FilterWords;
  std::string CategoryId;
  std::string KeywordEncoded;
};

// The keyword probe: "/search?wd=" and the keyword (GBK, as typed) as
// percent-encoded UTF-8.
std::string probeAddress(const Site& site, std::string_view keywordText);

// The first result page, and result page `page` in the token form.
std::string slugAddress(const Site& site, const SearchCriteria& criteria);
std::string slugAddress(const Site& site, const SearchCriteria& criteria, int page);
// Result page `page` in the query form.
std::string queryAddress(const Site& site, const SearchCriteria& criteria, int page);

// "http://" ID ShopDomain "/contact.html", or empty when the ID holds anything
// but letters, digits, "-" and "_": such an ID could steer the address off
// the shop domain, and its page is read as an empty one.
std::string contactPageAddress(const Site& site, const std::string& companyId);

// The search engine's answer to a fixed query, as the status strip probes it:
// "/search?wd=公司" with the keyword's raw GBK bytes.
std::string serverProbeAddress(const Site& site);

// The shop domain without its leading dot, as result listings link it.
std::string shopDomainName(const Site& site);

}  // namespace net
