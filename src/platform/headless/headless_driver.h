#pragma once
// Runs the window layer without a display, for tests: the calling thread is
// the interface thread, time is a clock the test advances, and every question
// or save dialog must have been given its answer beforehand.

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/window/loop.h"

namespace platform::window {

class HeadlessDriver final : public Loop, public Renderer {
 public:
  struct Message {
    Handle owner;
    std::string text, title;
    MessageKind kind;
  };

  HeadlessDriver();

  // Loop
  void post(std::function<void()> call) override;
  void postAt(Millis due, std::function<void()> call) override;
  Millis now() const override;
  void processEventsUntil(const std::function<bool()>& done, SteadyTime deadline) override;
  void processPendingEvents() override { processPending(); }
  bool isInterfaceThread() const override;

  // Renderer
  void changed(Handle) override {}
  Answer message(Handle owner, const std::string& text, const std::string& title, MessageKind kind) override;
  std::optional<std::string> saveFile(Handle owner, const SaveDialog& dialog) override;
  void runModal(Handle window, const std::function<bool()>& closed) override;
  void beginSystemMove(Handle window) override { systemMoves.push_back(window); }
  void openUrl(const std::string& url) override { openedUrls.push_back(url); }
  Size screenSize() const override { return screen; }
  std::string desktopFolder() const override { return desktop; }

  // Runs the calls that are due now.
  void processPending();
  // Moves the clock forward, running every timer and call that falls due, in order.
  void advance(Millis ms);
  // Processes calls (the clock stands still) until condition holds or the real
  // time runs out; returns whether it holds.
  bool runUntil(const std::function<bool()>& condition, int realTimeoutMs = 10'000);

  // Answers for the dialogs to come, in order.
  void answerNext(Answer answer) { answers_.push_back(answer); }
  void answerNextSave(std::optional<std::string> path) { saveAnswers_.push_back(std::move(path)); }
  // What to do when the next modal window opens; it must close the window.
  void onNextModal(std::function<void(Handle window)> act) { modalActions_.push_back(std::move(act)); }
  // Called with a description of a dialog that nobody expected.
  std::function<void(const std::string&)> onUnexpected;

  std::vector<Message> messages;
  std::vector<SaveDialog> saveDialogs;
  std::vector<Handle> systemMoves;
  std::vector<std::string> openedUrls;
  Size screen{1366, 768};
  std::string desktop = "/tmp";

 private:
  bool runOneDue();
  void unexpected(const std::string& what);

  std::thread::id interfaceThread_;
  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::multimap<std::pair<Millis, std::uint64_t>, std::function<void()>> queue_;
  std::uint64_t order_ = 0;
  Millis now_ = 1'000'000;
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> saveAnswers_;
  std::deque<std::function<void(Handle)>> modalActions_;
};

}  // namespace platform::window
