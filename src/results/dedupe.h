#pragma once
// De-duplication of the company grid's rows by company ID.

#include <string>
#include <vector>

namespace results {

using Rows = std::vector<std::vector<std::string>>;

struct Deduped {
  Rows rows;
  int removed = 0;
};

// The working copy of the grid, in place: every cell of columns 1 to 9
// without its spaces (ASCII and full-width); a row whose ID is blank keeps
// nothing but its serial. Rows have ten cells.
void makeWorkingCopy(Rows& rows);

// The duplicate search on a working copy: for every row, whether it is the
// first of its ID (IDs are equal byte for byte, letter case counting; all
// blank rows share the empty ID).
std::vector<bool> firstOfEachId(const Rows& rows);

// The working copy without its duplicates, in order, numbered 1, 2, 3 … in
// column 0.
Deduped dedupeRows(Rows rows);

}  // namespace results
