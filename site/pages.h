#pragma once
// The HTML pages of the stand-in site, UTF-8, with the markers its readers
// rely on and nothing else that looks like them.

#include <string>
#include <vector>

#include "catalogue.h"

namespace site {

struct PageContext {
  std::string keyword;
  std::string token;
  std::string shopDomain;  // "shop.localhost:PORT"
};

std::string probePage(const PageContext& context, const std::vector<Category>& categories);
std::string noTokenPage(const std::string& keyword);
// Listing form 1 (the result-count page is its page 0): the count, then the
// first half of the page's listings between the useful-part markers.
std::string listingForm1(const PageContext& context, int resultCount, const std::vector<Listing>& listings);
// Listing form 2: the second half of the page's listings.
std::string listingForm2(const PageContext& context, const std::vector<Listing>& listings);
std::string contactPage(const Company& company, const std::string& searchHost);
std::string busyPage();
std::string notFoundPage();

// How many of a page's listings form 1 carries; form 2 carries the rest.
std::size_t form1Share(std::size_t listings);

}  // namespace site
