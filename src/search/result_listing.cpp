#include "search/result_listing.h"

#include "net/text_rules.h"
#include "platform/codepage.h"

namespace search {

ResultListing readResultListing(const std::string& text, const std::string& shopDomainName,
                                const std::string& filterWords) {
  const std::string nameStart = shopDomainName + "\" target=\"_blank\">";
  const std::vector<std::string> words = net::splitText(filterWords, "-");
  ResultListing result;
  for (const std::string& block : net::splitText(text, "商铺成长等级"_gbk)) {
    ++result.processed;
    std::string name = net::textBetween(block, nameStart, "</a>");
    name = net::removeAllSpaces(net::removeText(net::removeText(name, "<em>"), "</em>"));
    for (const std::string& word : words) {
      if (!net::isBlank(word) && net::findText(name, word) > 0) {
        name.clear();
        break;
      }
    }
    if (name.empty()) {
      ++result.filtered;
      continue;
    }
    ++result.valid;
    std::string id = net::textBetween(block, "0\" href=\"http://", ".");
    if (!id.empty()) result.listings.push_back({std::move(id), std::move(name)});
  }
  return result;
}

}  // namespace search
