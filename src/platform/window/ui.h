#pragma once
// The window layer: a model of windows and controls with their events. Every
// operation is safe from any thread; handlers, timers and dialogs run on the
// interface thread. Texts are GBK.

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/window/loop.h"

namespace platform::window {

enum class Kind { Window, Label, PictureBox, Button, EditBox, CheckBox, ComboBox, GroupBox, Grid, StatusBar, Timer };

enum class Event {
  Click,        // button or check box clicked (a check box has toggled already)
  TextChanged,  // edit box changed by the user
  FocusLost,    // edit box
  Selected,     // drop-down list entry picked by the user
  LeftPress,    // left button pressed on a label or picture box
  DoubleClick,  // grid
  RightClick,   // grid
  Moved,        // window moved by the user or the window system
  WillDestroy,  // window about to be destroyed
  Tick,         // timer
};

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

struct Column {
  std::string title;
  int width = 0;  // 0 hides the column
};

// A copy of one control's state, as renderers and tests read it.
struct ControlState {
  Kind kind = Kind::Label;
  Handle parent = 0;  // the window, or the group box holding it
  Handle window = 0;
  std::string name;
  Rect rect;  // relative to the parent; a window's is on the screen
  std::string text;
  bool enabled = true;
  bool visible = true;
  bool checked = false;
  int zOrder = 0;  // larger stands in front
  std::vector<std::string> entries;
  int selected = -1;
  Handle owner = 0;  // windows: the owning window
  std::vector<Column> columns;
  std::vector<int> partWidths;  // status bar; -1 takes the rest
  std::vector<std::string> partTexts;
  int period = 0;                      // timer
  std::uint64_t version = 0;           // grids: grows with every change of rows or cells
  std::uint64_t structureVersion = 0;  // grids: grows when rows go or move, not when they are appended
};

class Ui {
 public:
  Ui(Loop& loop, Renderer& renderer);
  Ui(const Ui&) = delete;
  Ui& operator=(const Ui&) = delete;
  ~Ui();

  Loop& loop() { return loop_; }
  Millis now() const { return loop_.now(); }

  // Windows and controls.
  Handle createWindow(const std::string& name, const Rect& rect, const std::string& caption, Handle owner = 0);
  Handle add(Kind kind, Handle parent, const std::string& name, const Rect& rect, const std::string& text = {});
  // Runs the window's WillDestroy handlers, then removes it with its controls.
  void destroy(Handle window);
  bool exists(Handle handle) const;
  Handle find(Handle window, const std::string& name) const;
  std::vector<Handle> controls(Handle window) const;
  ControlState state(Handle handle) const;
  Kind kind(Handle handle) const;

  Rect rect(Handle handle) const;
  void setRect(Handle handle, const Rect& rect);
  void move(Handle handle, int x, int y);
  bool visible(Handle handle) const;
  void setVisible(Handle handle, bool visible);
  void raise(Handle handle);  // brings a control in front of its siblings
  std::string text(Handle handle) const;
  void setText(Handle handle, const std::string& text);
  // Enabled in effect: a control inside a disabled group box is disabled.
  bool enabled(Handle handle) const;
  void setEnabled(Handle handle, bool enabled);
  bool checked(Handle handle) const;
  void setChecked(Handle handle, bool checked);
  Size screenSize() const { return renderer_.screenSize(); }

  // Drop-down lists. select() raises no event; the text is the selected entry.
  void addEntry(Handle combo, const std::string& entry);
  void clearEntries(Handle combo);
  int entryCount(Handle combo) const;
  int selected(Handle combo) const;
  void select(Handle combo, int index);

  // Grids. Each call is atomic; reading outside the grid gives empty text.
  void setColumns(Handle grid, const std::vector<Column>& columns);
  int columnCount(Handle grid) const;
  std::string columnTitle(Handle grid, int column) const;
  int appendRow(Handle grid);
  // Appends a row and fills it from the row count after the append, in one step.
  int appendRowWith(Handle grid, const std::function<std::vector<std::string>(int rowCount)>& cells);
  int rowCount(Handle grid) const;
  void setCell(Handle grid, int row, int column, const std::string& text);
  // Writes texts into the row's columns from firstColumn on, in one step.
  void setCells(Handle grid, int row, int firstColumn, const std::vector<std::string>& texts);
  std::string cell(Handle grid, int row, int column) const;
  std::vector<std::string> row(Handle grid, int row) const;
  // Every row, in one step.
  std::vector<std::vector<std::string>> rows(Handle grid) const;
  // Appends rows as they are given, in one step.
  void appendRows(Handle grid, std::vector<std::vector<std::string>> rows);
  // Writes texts into the row from firstColumn on, in one step, only while its
  // guardColumn reads guardText; returns whether it wrote.
  bool setCellsWhere(Handle grid, int row, int guardColumn, const std::string& guardText, int firstColumn,
                     const std::vector<std::string>& texts);
  void deleteRow(Handle grid, int row);
  void clearRows(Handle grid);
  // Runs change under the grid's lock: a change of several cells in one step.
  void editRows(Handle grid, const std::function<void(std::vector<std::vector<std::string>>& rows)>& change);
  int selectedRow(Handle grid) const;
  void selectRow(Handle grid, int row);

  // Status bars.
  void setParts(Handle bar, const std::vector<int>& widths);
  void setPartText(Handle bar, int part, const std::string& text);
  std::string partText(Handle bar, int part) const;

  // Timers: a period of 0 stops one; setting a period restarts it.
  void setPeriod(Handle timer, int periodMs);
  int period(Handle timer) const;

  // Events. Handlers run on the interface thread.
  void on(Handle handle, Event event, std::function<void()> handler);

  // User input, on the interface thread (the renderer or a test driver). Input
  // to a disabled or hidden control is ignored, as on screen.
  void userClick(Handle handle);
  void userType(Handle edit, const std::string& text);
  void userFocusLost(Handle edit);
  void userSelect(Handle combo, int index);
  void userPress(Handle handle);
  void userSelectRow(Handle grid, int row);
  void userDoubleClick(Handle grid);
  void userRightClick(Handle grid);
  void userMoved(Handle window, int x, int y);

  // Dialogs. From a worker thread they are carried to the interface thread and
  // block the caller until answered.
  Answer message(Handle owner, const std::string& text, const std::string& title, MessageKind kind);
  std::optional<std::string> saveFile(Handle owner, const SaveDialog& dialog);
  std::string desktopFolder() const { return renderer_.desktopFolder(); }
  // On the interface thread: processes the events pending now. Elsewhere nothing.
  void processPendingEvents();
  // Interface thread: shows window modally until it is destroyed or hidden.
  void runModal(Handle window);
  void beginSystemMove(Handle window);
  void openUrl(const std::string& url);

  // Runs call on the interface thread: at once there, else posted and, with
  // wait, blocking until it has run.
  void onInterfaceThread(std::function<void()> call, bool wait);

 private:
  struct Control;

  Control* get(Handle handle);
  const Control* get(Handle handle) const;
  void fire(Handle handle, Event event);
  void notify(Handle handle);
  // Runs change(control) under the lock; the renderer hears of it when change
  // returns true. Nothing happens for a handle that does not exist.
  template <typename Change>
  void update(Handle handle, Change change);
  void scheduleTick(Handle timer, std::uint64_t generation, int periodMs);
  bool userCanReach(Handle handle) const;

  Loop& loop_;
  Renderer& renderer_;
  mutable std::recursive_mutex mutex_;
  std::map<Handle, std::unique_ptr<Control>> controls_;
  std::map<std::pair<Handle, Event>, std::vector<std::function<void()>>> handlers_;
  Handle nextHandle_ = 1;
  int nextZ_ = 1;
};

}  // namespace platform::window
