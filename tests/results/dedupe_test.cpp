// De-duplication: the edge cases as a table, and the linear search against a
// direct transcription of the quadratic one on random grids.

#include "results/dedupe.h"

#include <gtest/gtest.h>

#include <random>

#include "net/text_rules.h"
#include "platform/codepage.h"

namespace {

using platform::utf8ToGbk;
using results::Rows;

// Rows of ten cells from (ID, name, address) in UTF-8; serials as they come.
Rows grid(const std::vector<std::vector<std::string>>& rows) {
  Rows out;
  for (const auto& r : rows) {
    std::vector<std::string> cells(10);
    cells[0] = std::to_string(out.size() + 1);
    for (std::size_t c = 0; c < r.size(); ++c) cells[c == 2 ? 9 : c + 1] = utf8ToGbk(r[c]);
    out.push_back(cells);
  }
  return out;
}

// The search as first written: every remaining ID against every later one,
// deleting from the back; working copy without spaces, blank IDs emptied.
results::Deduped quadratic(const Rows& rows) {
  std::vector<std::vector<std::string>> lists(rows.size(), std::vector<std::string>(10));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (net::isBlank(rows[i][1])) continue;
    for (std::size_t c = 1; c < 10; ++c) lists[i][c] = net::removeAllSpaces(rows[i][c]);
  }
  int removed = 0;
  for (std::size_t j = 1; j <= lists.size(); ++j) {
    for (std::size_t k = lists.size(); k >= j + 1; --k) {
      if (lists[k - 1][1] == lists[j - 1][1]) {
        lists.erase(lists.begin() + static_cast<std::ptrdiff_t>(k - 1));
        ++removed;
      }
    }
  }
  for (std::size_t r = 0; r < lists.size(); ++r) lists[r][0] = std::to_string(r + 1);
  return {lists, removed};
}

TEST(DedupeRows, EdgeCases) {
  struct Case {
    const char* what;
    Rows rows;
    Rows expected;
    int removed;
  };
  const Case cases[] = {
      {"A, B, A, C, B keeps the first, second and fourth",
       grid({{"A", "一"}, {"B", "二"}, {"A", "三"}, {"C", "四"}, {"B", "五"}}),
       grid({{"A", "一"}, {"B", "二"}, {"C", "四"}}), 2},
      {"letter case counts", grid({{"abc", "x"}, {"ABC", "y"}}), grid({{"abc", "x"}, {"ABC", "y"}}), 0},
      {"spaces around an ID", grid({{"abc", "x"}, {" abc　", "y"}}), grid({{"abc", "x"}}), 1},
      {"names and addresses lose their spaces", grid({{"a", "华 锦　公司", "深圳 南山"}}),
       grid({{"a", "华锦公司", "深圳南山"}}), 0},
      {"two blank IDs: one serial-only row at the first's place",
       grid({{"a", "x"}, {" ", "空一", "址"}, {"b", "y"}, {"", "空二"}}), grid({{"a", "x"}, {""}, {"b", "y"}}), 1},
      {"empty grid", {}, {}, 0},
  };
  for (const Case& c : cases) {
    const results::Deduped deduped = results::dedupeRows(c.rows);
    EXPECT_EQ(deduped.rows, c.expected) << c.what;
    EXPECT_EQ(deduped.removed, c.removed) << c.what;
  }
}

TEST(DedupeRows, SameAsTheQuadraticSearchOnRandomGrids) {
  std::mt19937 random(20150309);
  const std::vector<std::string> ids = {"", " ", "a", "A", "a ", "b", "　b", "c1", "d-2", "e_3"};
  const std::vector<std::string> cells = {"", "x y", "华 锦", "1", "　"};
  for (int round = 0; round < 3000; ++round) {
    Rows rows(random() % 40);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      rows[r].resize(10);
      rows[r][0] = std::to_string(r + 1);
      rows[r][1] = utf8ToGbk(ids[random() % ids.size()]);
      for (std::size_t c = 2; c < 10; ++c) rows[r][c] = utf8ToGbk(cells[random() % cells.size()]);
    }
    const results::Deduped linear = results::dedupeRows(rows);
    const results::Deduped oracle = quadratic(rows);
    ASSERT_EQ(linear.rows, oracle.rows) << "round " << round;
    ASSERT_EQ(linear.removed, oracle.removed) << "round " << round;
  }
}

}  // namespace
