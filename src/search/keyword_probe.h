#pragma once
// The keyword probe: the site's token for a keyword, and its main-industry
// categories offered in a modal picker.

#include <string>
#include <vector>

#include "app/context.h"

namespace search {

namespace window = platform::window;

// What the probe page says: the keyword's token and the block of categories.
struct ProbePage {
  std::string slug;
  std::string industryBlock;
};
ProbePage readProbePage(const std::string& page);

struct Category {
  std::string id;
  std::string name;
};
// The categories of an industry block, in the order the picker lists them.
std::vector<Category> readCategories(const std::string& industryBlock);

class KeywordProbe {
 public:
  // owner: the window that owns the picker (the main window).
  KeywordProbe(app::RunContext context, window::Handle owner) : context_(context), owner_(owner) {}

  // Fetches the probe page for keywordText (GBK, as typed) and returns the
  // site's token for it, empty when there is none. Sets IndustryBlock, empties
  // CategoryId, and when the page offers categories shows the picker modally;
  // its accept sets CategoryId. The start controls are disabled meanwhile.
  // Interface thread.
  std::string probeKeyword(const std::string& keywordText);

 private:
  void runPicker();

  app::RunContext context_;
  const window::Handle owner_;
};

}  // namespace search
