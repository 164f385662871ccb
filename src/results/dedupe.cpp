#include "results/dedupe.h"

#include <cstdint>
#include <functional>
#include <string_view>

#include "net/text_rules.h"

namespace results {

void makeWorkingCopy(Rows& rows) {
  for (std::vector<std::string>& row : rows) {
    row.resize(10);
    if (net::isBlank(row[1])) {
      for (std::size_t c = 1; c < row.size(); ++c) row[c].clear();
      continue;
    }
    for (std::size_t c = 1; c < row.size(); ++c) row[c] = net::removeAllSpaces(row[c]);
  }
}

std::vector<bool> firstOfEachId(const Rows& rows) {
  // Open addressing over row indices, each slot with its ID's hash so that
  // most probes never touch another row: one allocation in all.
  struct Slot {
    std::uint32_t row = UINT32_MAX;
    std::uint32_t hash = 0;
  };
  std::size_t slots = 16;
  while (slots < rows.size() * 2) slots *= 2;
  std::vector<Slot> table(slots);
  std::vector<bool> first(rows.size());
  const std::hash<std::string_view> hash;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::string& id = rows[r][1];
    const std::size_t h = hash(id);
    const auto tag = static_cast<std::uint32_t>(h >> 32);
    std::size_t at = h & (slots - 1);
    while (table[at].row != UINT32_MAX && (table[at].hash != tag || rows[table[at].row][1] != id)) {
      at = (at + 1) & (slots - 1);
    }
    first[r] = table[at].row == UINT32_MAX;
    if (first[r]) table[at] = {static_cast<std::uint32_t>(r), tag};
  }
  return first;
}

Deduped dedupeRows(Rows rows) {
  makeWorkingCopy(rows);
  const std::vector<bool> first = firstOfEachId(rows);
  std::size_t kept = 0;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (!first[r]) continue;
    if (kept != r) rows[kept] = std::move(rows[r]);
    rows[kept][0] = std::to_string(kept + 1);
    ++kept;
  }
  const int removed = static_cast<int>(rows.size() - kept);
  rows.resize(kept);
  return {std::move(rows), removed};
}

}  // namespace results
