#pragma once
// The text of an exported CSV file: GBK as the grid holds it, "," between
// fields, CR LF after every line.

#include <string>
#include <string_view>
#include <vector>

namespace results {

// A cell holding a comma, a double quote, CR or LF is put in double quotes
// with inner quotes doubled; any other cell stands exactly as it reads. None
// of those bytes can be the second byte of a GBK character.
std::string csvField(std::string_view cell);

// The header line of titles, then a line per row; empty when there are no
// titles or no rows.
std::string csvText(const std::vector<std::string>& titles, const std::vector<std::vector<std::string>>& rows);

}  // namespace results
