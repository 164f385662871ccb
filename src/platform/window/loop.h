#pragma once
// What the window layer needs from whoever runs it: an interface-thread loop
// and a renderer. The Qt shell implements both for the program; the headless
// driver implements both for tests.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/event_pump.h"

namespace platform::window {

using Handle = int;  // 0 is no control
using Millis = std::int64_t;

enum class Answer { Ok, Yes, No };
enum class MessageKind { Notice, Question };  // OK without icon; Yes/No with the question icon

struct Size {
  int width = 0, height = 0;
};

// A file-save dialog. Texts are GBK; paths are the file system's own bytes.
struct SaveDialog {
  std::string title;
  std::string filter;            // "Name|pattern|" pairs
  std::string fileName;          // proposed name
  std::string folder;            // initial folder
  std::string defaultExtension;  // empty: a name is used as typed
  bool confirmOverwrite = true;  // ask before an existing file is replaced
  bool folderMustExist = true;
  bool operator==(const SaveDialog&) const = default;
};

class Loop {
 public:
  virtual ~Loop() = default;
  // Any thread: runs call on the interface thread, soon or at `due`.
  virtual void post(std::function<void()> call) = 0;
  virtual void postAt(Millis due, std::function<void()> call) = 0;
  // Milliseconds on the loop's monotonic clock.
  virtual Millis now() const = 0;
  // Interface thread only: processes events until done() or the deadline.
  virtual void processEventsUntil(const std::function<bool()>& done, SteadyTime deadline) = 0;
  // Interface thread only: processes the events that are pending now.
  virtual void processPendingEvents() = 0;
  virtual bool isInterfaceThread() const = 0;
};

class Renderer {
 public:
  virtual ~Renderer() = default;
  // Any thread: the state of a control or window changed.
  virtual void changed(Handle handle) = 0;
  // The rest run on the interface thread.
  virtual Answer message(Handle owner, const std::string& text, const std::string& title, MessageKind kind) = 0;
  // The chosen path, or nothing when the dialog was cancelled.
  virtual std::optional<std::string> saveFile(Handle owner, const SaveDialog& dialog) = 0;
  // Shows window as a modal dialog; returns once closed() is true.
  virtual void runModal(Handle window, const std::function<bool()>& closed) = 0;
  virtual void beginSystemMove(Handle window) = 0;
  virtual void openUrl(const std::string& url) = 0;
  virtual Size screenSize() const = 0;
  // The user's desktop folder, or the home folder when there is none.
  virtual std::string desktopFolder() const = 0;
};

}  // namespace platform::window
