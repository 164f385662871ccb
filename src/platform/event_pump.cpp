#include "platform/event_pump.h"

#include <mutex>

namespace platform {
namespace {

struct Installed {
  std::mutex mutex;
  std::thread::id thread;
  EventPump pump;
};

Installed& installed() {
  static Installed state;
  return state;
}

}  // namespace

void installEventPump(std::thread::id thread, EventPump pump) {
  Installed& state = installed();
  const std::lock_guard lock(state.mutex);
  state.thread = pump ? thread : std::thread::id{};
  state.pump = std::move(pump);
}

bool pumpEventsUntil(const std::function<bool()>& done, SteadyTime deadline) {
  EventPump pump;
  {
    Installed& state = installed();
    const std::lock_guard lock(state.mutex);
    if (!state.pump || state.thread != std::this_thread::get_id()) return false;
    pump = state.pump;
  }
  pump(done, deadline);
  return true;
}

}  // namespace platform
