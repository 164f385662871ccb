#include "app/work_distributor.h"

#include "platform/threads.h"

namespace app {
namespace {

struct WorkLayout {
  int WorkerCount = 0;
  int ItemsPerWorker = 0;
  int remainder = 0;  // items of the remainder worker; 0 when there is none
};

// The blocks for itemCount items over threadCount threads asked for.
WorkLayout layoutWork(int itemCount, int threadCount) {
  WorkLayout layout;
  const int n = itemCount;
  int t = std::min(threadCount, n);
  if (n <= 0 || t <= 0) return layout;
  layout.WorkerCount = t;
  int r = n % t;
  if (r != 0) {
    // r is not 0, so t is 2 or more here.
    layout.WorkerCount = t - 1;
    r = n % layout.WorkerCount;
  }
  layout.ItemsPerWorker = n / layout.WorkerCount;
  layout.remainder = r;
  return layout;
}

}  // namespace

WorkDistributor::WorkDistributor(ThreadStarter startThread) : startThread_(std::move(startThread)) {
  if (!startThread_) startThread_ = platform::startThread;
}

std::shared_ptr<WorkDistributor::Distribution> WorkDistributor::current() const {
  const std::lock_guard lock(mutex_);
  return current_;
}

void WorkDistributor::distributeWork(ItemRoutine routine, int itemCount, int threadCount) {
  auto distribution = std::make_shared<Distribution>(std::max(itemCount, 0));
  distribution->routine = std::move(routine);
  {
    const std::lock_guard lock(mutex_);
    current_ = distribution;
  }
  const WorkLayout layout = layoutWork(itemCount, threadCount);
  const int regular = layout.WorkerCount * layout.ItemsPerWorker;
  if (layout.remainder != 0) startWorker(distribution, regular + 1, regular + layout.remainder);
  for (int k = 1; k <= layout.WorkerCount; ++k) {
    startWorker(distribution, (k - 1) * layout.ItemsPerWorker + 1, k * layout.ItemsPerWorker);
  }
}

void WorkDistributor::startWorker(const std::shared_ptr<Distribution>& distribution, int first, int last) {
  // A worker that cannot start leaves its block undone, as a stop would.
  startThread_([distribution, first, last] {
    for (int i = first; i <= last; ++i) {
      if (distribution->StopRequested) continue;
      distribution->routine(i);
      distribution->DoneFlags[static_cast<std::size_t>(i - 1)] = 1;
    }
  });
}

int WorkDistributor::countDoneItems() const {
  const std::shared_ptr<Distribution> distribution = current();
  if (!distribution) return 0;
  int done = 0;
  for (const auto& flag : distribution->DoneFlags) done += flag != 0 ? 1 : 0;
  return done;
}

void WorkDistributor::requestStop() {
  if (const std::shared_ptr<Distribution> distribution = current()) distribution->StopRequested = true;
}

bool WorkDistributor::StopRequested() const {
  const std::shared_ptr<Distribution> distribution = current();
  return distribution && distribution->StopRequested;
}

}  // namespace app
