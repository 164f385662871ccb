#pragma once
// Spreads numbered work items over worker threads in contiguous blocks.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace app {

using ItemRoutine = std::function<void(int item)>;
// Starts body on a new thread; false when it cannot.
using ThreadStarter = std::function<bool(std::function<void()> body)>;

class WorkDistributor {
 public:
  explicit WorkDistributor(ThreadStarter startThread = {});

  // Items 1 to itemCount over at most threadCount workers; returns once every
  // worker has been started. Each worker handles its block in ascending order,
  // skipping what is left once a stop is requested, and flags each item done
  // after the routine returns. Workers keep to their own distribution: a
  // worker still busy from an earlier one never touches this one.
  void distributeWork(ItemRoutine routine, int itemCount, int threadCount);

  // Done items of the current distribution; 0 before the first.
  int countDoneItems() const;
  // Workers of the current distribution skip the items they have not begun.
  void requestStop();
  bool StopRequested() const;

 private:
  struct Distribution {
    ItemRoutine routine;
    std::vector<std::atomic<int>> DoneFlags;
    std::atomic<bool> StopRequested{false};
    explicit Distribution(int items) : DoneFlags(static_cast<std::size_t>(items)) {}
  };

  std::shared_ptr<Distribution> current() const;
  void startWorker(const std::shared_ptr<Distribution>& distribution, int first, int last);

  ThreadStarter startThread_;
  mutable std::mutex mutex_;
  std::shared_ptr<Distribution> current_;
};

}  // namespace app
