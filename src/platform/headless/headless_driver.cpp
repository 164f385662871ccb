#include "platform/headless/headless_driver.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace platform::window {

HeadlessDriver::HeadlessDriver() : interfaceThread_(std::this_thread::get_id()) {
  onUnexpected = [](const std::string& what) {
    std::fprintf(stderr, "headless driver: unexpected %s\n", what.c_str());
    std::abort();
  };
}

void HeadlessDriver::post(std::function<void()> call) {
  {
    const std::lock_guard lock(mutex_);
    queue_.emplace(std::make_pair(now_, order_++), std::move(call));
  }
  posted_.notify_all();
}

void HeadlessDriver::postAt(Millis due, std::function<void()> call) {
  {
    const std::lock_guard lock(mutex_);
    queue_.emplace(std::make_pair(due, order_++), std::move(call));
  }
  posted_.notify_all();
}

Millis HeadlessDriver::now() const {
  const std::lock_guard lock(mutex_);
  return now_;
}

bool HeadlessDriver::isInterfaceThread() const { return std::this_thread::get_id() == interfaceThread_; }

bool HeadlessDriver::runOneDue() {
  std::function<void()> call;
  {
    const std::lock_guard lock(mutex_);
    if (queue_.empty() || queue_.begin()->first.first > now_) return false;
    call = std::move(queue_.begin()->second);
    queue_.erase(queue_.begin());
  }
  call();
  return true;
}

void HeadlessDriver::processPending() {
  while (runOneDue()) {
  }
}

void HeadlessDriver::advance(Millis ms) {
  const Millis target = now() + ms;
  for (;;) {
    processPending();
    const std::lock_guard lock(mutex_);
    if (queue_.empty() || queue_.begin()->first.first > target) {
      now_ = target;
      break;
    }
    now_ = queue_.begin()->first.first;
  }
  processPending();
}

void HeadlessDriver::processEventsUntil(const std::function<bool()>& done, SteadyTime deadline) {
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    processPending();
    std::unique_lock lock(mutex_);
    posted_.wait_for(lock, std::chrono::milliseconds(2));
  }
}

bool HeadlessDriver::runUntil(const std::function<bool()>& condition, int realTimeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(realTimeoutMs);
  processEventsUntil(condition, deadline);
  processPending();
  return condition();
}

void HeadlessDriver::unexpected(const std::string& what) { onUnexpected(what); }

Answer HeadlessDriver::message(Handle owner, const std::string& text, const std::string& title, MessageKind kind) {
  messages.push_back({owner, text, title, kind});
  if (kind == MessageKind::Notice) return Answer::Ok;
  if (answers_.empty()) {
    unexpected("question: " + text);
    return Answer::No;
  }
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<std::string> HeadlessDriver::saveFile(Handle, const SaveDialog& dialog) {
  saveDialogs.push_back(dialog);
  if (saveAnswers_.empty()) {
    unexpected("save dialog: " + dialog.title);
    return std::nullopt;
  }
  std::optional<std::string> path = saveAnswers_.front();
  saveAnswers_.pop_front();
  return path;
}

void HeadlessDriver::runModal(Handle window, const std::function<bool()>& closed) {
  if (modalActions_.empty()) {
    unexpected("modal window");
    return;
  }
  const std::function<void(Handle)> act = std::move(modalActions_.front());
  modalActions_.pop_front();
  act(window);
  processPending();
  if (!closed()) unexpected("modal window left open");
}

}  // namespace platform::window
