#pragma once
// The values that the interface thread and every worker share. Counters are
// atomic; texts are replaced whole under their own lock.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "app/shared_text.h"

namespace app {

struct RunState {
  std::atomic<bool> Idle{false};
  std::atomic<bool> RunAllTasks{false};
  std::atomic<bool> SinglePageRun{false};
  // Held while the end of a contact run or of a multi-page company run is
  // under way, so that it runs once; taken by exchange(true).
  std::atomic<bool> Finishing{false};

  SharedText KeywordSlug;
  SharedText KeywordEncoded;
  SharedText FilterWords;
  SharedText ProvinceCode;
  SharedText CityCode;
  SharedText BusinessModeCode;
  SharedText VerifiedCode;
  SharedText StaffSizeCode;
  SharedText TurnoverCode;
  SharedText CategoryId;
  SharedText IndustryBlock;

  std::atomic<std::int32_t> RequestTimeout{0};
  std::atomic<std::int32_t> ProcessedCount{0};
  std::atomic<std::int32_t> FilteredCount{0};
  std::atomic<std::int32_t> ResultCount{0};
  std::atomic<std::int32_t> PageCount{0};
  std::atomic<std::int32_t> ValidCount{0};
  std::atomic<std::int32_t> DuplicateCount{0};
  std::atomic<std::int32_t> CurrentTaskRow{0};
  std::atomic<std::int32_t> RunDuplicateCount{0};
  // Milliseconds on the interface loop's clock; 64 bits, so it never wraps.
  std::atomic<std::int64_t> RunStartMs{0};

  // The category ids of the last picker, entry k of it being item k-1 here.
  // Interface thread only.
  std::vector<std::string> CategoryIds;

  // Lives as long as the process: workers may still hold it while the main
  // window closes.
  std::mutex SharedLock;
};

}  // namespace app
