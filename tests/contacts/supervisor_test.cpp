#include "contacts/supervisor.h"

#include <gtest/gtest.h>

#include "headless_harvester.h"

namespace {

TEST(TaskValidCount, TakesOffTheCountsOfTheEarlierTasks) {
  auto& system = testing_support::lasting<testing_support::HeadlessHarvester>();
  app::TaskTable& tasks = system.main().Tasks;
  for (const char* count : {"40", "", "abc", "7.9", "12"}) tasks.appendNumberedRow({"", "", "", count});
  const std::tuple<int, int, int> cases[] = {
      {100, 0, 100}, {100, 1, 60}, {100, 3, 60}, {100, 4, 53}, {100, 5, 41}, {10, 5, -49},
  };
  for (const auto& [valid, row, expected] : cases) {
    EXPECT_EQ(contacts::taskValidCount(tasks, valid, row), expected) << valid << " at row " << row;
  }
}

}  // namespace
