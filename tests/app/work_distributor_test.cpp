#include "app/work_distributor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace {

using app::WorkDistributor;

// Records which started thread handled which items.
struct Recorder {
  std::mutex mutex;
  std::map<int, std::vector<int>> itemsByThread;  // thread start order -> items in order
  int started = 0;

  app::ThreadStarter starter() {
    return [this](std::function<void()> body) {
      int index;
      {
        const std::lock_guard lock(mutex);
        index = started++;
        itemsByThread[index];
      }
      std::thread([this, index, body = std::move(body)] {
        current() = index;
        body();
      }).detach();
      return true;
    };
  }
  app::ItemRoutine routine() {
    return [this](int item) {
      const std::lock_guard lock(mutex);
      itemsByThread[current()].push_back(item);
    };
  }
  static int& current() {
    thread_local int index = -1;
    return index;
  }
};

bool waitFor(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::vector<int> range(int first, int last) {
  std::vector<int> items;
  for (int i = first; i <= last; ++i) items.push_back(i);
  return items;
}

TEST(WorkDistributor, WorkedExamples) {
  struct Case {
    int n, t;
    std::vector<std::pair<int, int>> blocks;  // in start order: the remainder worker first
  };
  auto regular = [](int count, int size, int from = 1) {
    std::vector<std::pair<int, int>> blocks;
    for (int k = 0; k < count; ++k) blocks.emplace_back(from + k * size, from + (k + 1) * size - 1);
    return blocks;
  };
  auto with = [](std::pair<int, int> remainder, std::vector<std::pair<int, int>> blocks) {
    blocks.insert(blocks.begin(), remainder);
    return blocks;
  };
  const Case cases[] = {
      {23, 5, with({21, 23}, regular(4, 5))},
      {20, 5, regular(5, 4)},
      {100, 15, with({99, 100}, regular(14, 7))},
      {16, 15, with({15, 16}, regular(14, 1))},
      {29, 15, with({29, 29}, regular(14, 2))},
      {6, 4, regular(3, 2)},
      {5, 2, regular(1, 5)},
      {3, 15, regular(3, 1)},
      {7, 1, regular(1, 7)},
      {4, 4, regular(4, 1)},
  };
  for (const Case& c : cases) {
    Recorder recorder;
    WorkDistributor distributor(recorder.starter());
    distributor.distributeWork(recorder.routine(), c.n, c.t);
    ASSERT_TRUE(waitFor([&] { return distributor.countDoneItems() == c.n; })) << c.n << "/" << c.t;
    const std::lock_guard lock(recorder.mutex);
    ASSERT_EQ(recorder.started, static_cast<int>(c.blocks.size())) << c.n << "/" << c.t;
    for (std::size_t k = 0; k < c.blocks.size(); ++k) {
      EXPECT_EQ(recorder.itemsByThread[static_cast<int>(k)], range(c.blocks[k].first, c.blocks[k].second))
          << c.n << "/" << c.t << " thread " << k;
    }
  }
}

// Holds items until released.
struct Gate {
  std::mutex mutex;
  std::condition_variable changed;
  bool open = false;
  std::set<int> entered;
  void pass(int item) {
    std::unique_lock lock(mutex);
    entered.insert(item);
    changed.notify_all();
    changed.wait(lock, [this] { return open; });
  }
  void release() {
    const std::lock_guard lock(mutex);
    open = true;
    changed.notify_all();
  }
  bool waitEntered(std::size_t count) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(5), [&] { return entered.size() >= count; });
  }
};

TEST(WorkDistributor, StopSkipsWhatIsNotBegunAndFlagsWhatIsInProgress) {
  Gate gate;
  WorkDistributor distributor;
  distributor.distributeWork([&](int item) { gate.pass(item); }, 10, 2);
  ASSERT_TRUE(gate.waitEntered(2));
  distributor.requestStop();
  EXPECT_TRUE(distributor.StopRequested());
  gate.release();
  ASSERT_TRUE(waitFor([&] { return distributor.countDoneItems() == 2; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(distributor.countDoneItems(), 2);
  EXPECT_EQ(gate.entered, (std::set<int>{1, 6}));
}

TEST(WorkDistributor, StaleWorkerNeverTouchesTheNextDistribution) {
  Gate gate;
  std::atomic<int> oldCalls{0};
  std::mutex mutex;
  std::vector<int> newItems;
  WorkDistributor distributor;
  distributor.distributeWork(
      [&](int item) {
        ++oldCalls;
        gate.pass(item);
      },
      4, 1);
  ASSERT_TRUE(gate.waitEntered(1));
  distributor.requestStop();
  distributor.distributeWork(
      [&](int item) {
        const std::lock_guard lock(mutex);
        newItems.push_back(item);
      },
      3, 3);
  EXPECT_FALSE(distributor.StopRequested());
  ASSERT_TRUE(waitFor([&] { return distributor.countDoneItems() == 3; }));
  gate.release();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(oldCalls.load(), 1);
  EXPECT_EQ(distributor.countDoneItems(), 3);
  const std::lock_guard lock(mutex);
  std::sort(newItems.begin(), newItems.end());
  EXPECT_EQ(newItems, (std::vector<int>{1, 2, 3}));
}

}  // namespace
