#pragma once
// Waiting on the interface thread without freezing it. The window layer
// installs a pump for its interface thread; a wait there keeps processing
// events until the awaited thing is done or its deadline passes.

#include <chrono>
#include <functional>
#include <thread>

namespace platform {

using SteadyTime = std::chrono::steady_clock::time_point;

// Processes pending events, returning once done() is true or deadline passes.
using EventPump = std::function<void(const std::function<bool()>& done, SteadyTime deadline)>;

// Makes `thread` the interface thread, served by `pump`. An empty pump
// uninstalls it.
void installEventPump(std::thread::id thread, EventPump pump);

// On the interface thread with a pump installed: processes events until done()
// or the deadline, and returns true. Anywhere else returns false at once, and
// the caller waits as it would.
bool pumpEventsUntil(const std::function<bool()>& done, SteadyTime deadline);

}  // namespace platform
