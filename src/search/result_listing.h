#pragma once
// Reads the joined text of a result page: the company blocks, each with the
// company's ID and name, after the user's filter words.

#include <string>
#include <vector>

namespace search {

struct Listing {
  std::string id;
  std::string name;
};

struct ResultListing {
  std::vector<Listing> listings;  // kept, with an ID, in page order
  int processed = 0;              // blocks read
  int filtered = 0;               // blocks without a name or with a filter word in it
  int valid = 0;                  // blocks kept, an ID or not
};

// shopDomainName: the domain that links a listing's name; filterWords: words
// separated by "-", blank ones filtering nothing.
ResultListing readResultListing(const std::string& text, const std::string& shopDomainName,
                                const std::string& filterWords);

}  // namespace search
