#include "net/site.h"

#include <algorithm>

#include "net/text_rules.h"
#include "platform/codepage.h"

namespace net {
namespace {

std::string criteriaQuery(const SearchCriteria& c) {
  return "province=" + c.ProvinceCode + "&city=" + c.CityCode + "&busmode=" + c.BusinessModeCode +
         "&is_v=" + c.VerifiedCode + "&employ=" + c.StaffSizeCode + "&annulsale=" + c.TurnoverCode +
         "&cateid=" + c.CategoryId;
}

bool safeCompanyId(const std::string& id) {
  return !id.empty() && std::all_of(id.begin(), id.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
  });
}

}  // namespace

std::string probeAddress(const Site& site, std::string_view keywordText) {
  return "http://" + site.searchHost + "/search?wd=" + urlEncode(keywordText, true, true);
}

std::string slugAddress(const Site& site, const SearchCriteria& criteria) {
  return "http://" + site.searchHost + "/s-" + criteria.KeywordSlug + ".html?" + criteriaQuery(criteria);
}

std::string slugAddress(const Site& site, const SearchCriteria& criteria, int page) {
  return slugAddress(site, criteria) + "&page=" + std::to_string(page);
}

std::string queryAddress(const Site& site, const SearchCriteria& criteria, int page) {
  return "http://" + site.searchHost + "/search-s?page=" + std::to_string(page) + "&wd=" + criteria.KeywordEncoded +
         "&" + criteriaQuery(criteria) + "&goldkwd=" + criteria.KeywordEncoded;
}

std::string contactPageAddress(const Site& site, const std::string& companyId) {
  if (!safeCompanyId(companyId)) return {};
  return "http://" + companyId + site.shopDomain + "/contact.html";
}

std::string serverProbeAddress(const Site& site) { return "http://" + site.searchHost + "/search?wd=" + "公司"_gbk; }

std::string shopDomainName(const Site& site) {
  return site.shopDomain.starts_with(".") ? site.shopDomain.substr(1) : site.shopDomain;
}

}  // namespace net
