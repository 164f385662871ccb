#pragma once
// Renders the window layer with Qt 6 Widgets and feeds user input back into
// it. Runs on the Qt main thread, which is the interface thread. It holds no
// behaviour of its own.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "platform/window/loop.h"
#include "platform/window/ui.h"

class QTimer;

namespace platform::window {

class GridModel;

class QtShell final : public QObject, public Loop, public Renderer {
 public:
  // Needs a QApplication; sets the program font (12-pixel CJK).
  QtShell();
  ~QtShell() override;
  // The window layer this shell renders; call once, before any window exists.
  void attach(Ui& ui);

  // Loop
  void post(std::function<void()> call) override;
  void postAt(Millis due, std::function<void()> call) override;
  Millis now() const override;
  void processEventsUntil(const std::function<bool()>& done, SteadyTime deadline) override;
  void processPendingEvents() override;
  bool isInterfaceThread() const override;

  // Renderer
  void changed(Handle handle) override;
  Answer message(Handle owner, const std::string& text, const std::string& title, MessageKind kind) override;
  std::optional<std::string> saveFile(Handle owner, const SaveDialog& dialog) override;
  void runModal(Handle window, const std::function<bool()>& closed) override;
  void beginSystemMove(Handle window) override;
  void openUrl(const std::string& url) override;
  Size screenSize() const override;
  std::string desktopFolder() const override;

  // The widget showing a control, for tests and screenshots.
  QWidget* widget(Handle handle) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void sync();
  void syncControl(Handle handle);
  // Drops a removed control's widget and everything inside it.
  void forget(Handle handle);
  QWidget* create(Handle handle, const ControlState& state);
  void apply(Handle handle, QWidget* widget, const ControlState& state);
  void refreshGrids();

  Ui* ui_ = nullptr;
  std::map<Handle, QPointer<QWidget>> widgets_;
  std::map<Handle, GridModel*> grids_;
  std::map<QObject*, Handle> handles_;
  std::map<Handle, int> raisedAt_;
  std::set<Handle> modalWindows_;  // the z-order each widget was last raised for
  QTimer* gridTimer_ = nullptr;
  bool syncing_ = false;

  std::mutex dirtyMutex_;
  std::set<Handle> dirty_;
  std::set<Handle> shownGrids_;
  bool syncPosted_ = false;
};

}  // namespace platform::window
