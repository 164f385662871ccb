#include "platform/threads.h"

#include <memory>
#include <system_error>
#include <thread>

namespace platform {

bool startThread(std::function<void()> body) {
  try {
    std::thread(std::move(body)).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void runOnNewThread(std::function<void()> body) {
  // A failed start consumes what it was given; shared, body stays here for that case.
  auto shared = std::make_shared<std::function<void()>>(std::move(body));
  if (!startThread([shared] { (*shared)(); })) (*shared)();
}

}  // namespace platform
