#include "results/csv.h"

namespace results {
namespace {

// A line of `count` fields; a row shorter than that ends in empty fields.
void appendLine(std::string& text, const std::vector<std::string>& fields, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) text += ',';
    if (i >= fields.size()) continue;
    const std::string& cell = fields[i];
    if (cell.find_first_of(",\"\r\n") == std::string::npos) {
      text += cell;
    } else {
      text += csvField(cell);
    }
  }
  text += "\r\n";
}

}  // namespace

std::string csvField(std::string_view cell) {
  if (cell.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(cell);
  std::string quoted = "\"";
  for (const char c : cell) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string csvText(const std::vector<std::string>& titles, const std::vector<std::vector<std::string>>& rows) {
  if (titles.empty() || rows.empty()) return {};
  std::string text;
  appendLine(text, titles, titles.size());
  for (const std::vector<std::string>& row : rows) appendLine(text, row, titles.size());
  return text;
}

}  // namespace results
