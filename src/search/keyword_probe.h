#pragma once
// The keyword probe: the site's token for a keyword, and its main-industry
// categories offered in a modal picker.

#include <string>

namespace app {
class MainWindow;
}

namespace search {

// Fetches the probe page for keywordText (GBK, as typed) and returns the
// site's token for it, empty when there is none. Sets IndustryBlock, empties
// CategoryId, and when the page offers categories shows the picker modally;
// its accept sets CategoryId. The start controls are disabled meanwhile.
// Interface thread.
std::string probeKeyword(app::MainWindow& main, const std::string& keywordText);

}  // namespace search
