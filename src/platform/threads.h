#pragma once
// Threads that nobody joins: the system starts them and lets them end alone.

#include <functional>

namespace platform {

// Starts body on a new, detached thread; false when no thread could start.
bool startThread(std::function<void()> body);

// Runs body on a new thread, or here when no thread can start.
void runOnNewThread(std::function<void()> body);

}  // namespace platform
