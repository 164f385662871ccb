#include "platform/window/ui.h"

#include <algorithm>
#include <future>
#include <utility>

namespace platform::window {

struct Ui::Control {
  ControlState state;
  std::vector<std::vector<std::string>> rows;  // grids
  std::uint64_t timerGeneration = 0;
};

Ui::Ui(Loop& loop, Renderer& renderer) : loop_(loop), renderer_(renderer) {
  installEventPump(std::this_thread::get_id(), [&loop](const std::function<bool()>& done, SteadyTime deadline) {
    loop.processEventsUntil(done, deadline);
  });
}

Ui::~Ui() { installEventPump({}, nullptr); }

Ui::Control* Ui::get(Handle handle) {
  const auto found = controls_.find(handle);
  return found == controls_.end() ? nullptr : found->second.get();
}

const Ui::Control* Ui::get(Handle handle) const {
  const auto found = controls_.find(handle);
  return found == controls_.end() ? nullptr : found->second.get();
}

void Ui::notify(Handle handle) { renderer_.changed(handle); }

template <typename Change>
void Ui::update(Handle handle, Change change) {
  {
    const std::lock_guard lock(mutex_);
    Control* control = get(handle);
    if (!control || !change(*control)) return;
  }
  notify(handle);
}

Handle Ui::createWindow(const std::string& name, const Rect& rect, const std::string& caption, Handle owner) {
  Handle handle;
  {
    const std::lock_guard lock(mutex_);
    handle = nextHandle_++;
    auto control = std::make_unique<Control>();
    control->state.kind = Kind::Window;
    control->state.window = handle;
    control->state.name = name;
    control->state.rect = rect;
    control->state.text = caption;
    control->state.owner = owner;
    control->state.visible = false;
    control->state.zOrder = nextZ_++;
    controls_.emplace(handle, std::move(control));
  }
  notify(handle);
  return handle;
}

Handle Ui::add(Kind kind, Handle parent, const std::string& name, const Rect& rect, const std::string& text) {
  Handle handle;
  {
    const std::lock_guard lock(mutex_);
    const Control* holder = get(parent);
    if (!holder) return 0;
    handle = nextHandle_++;
    auto control = std::make_unique<Control>();
    control->state.kind = kind;
    control->state.parent = parent;
    control->state.window = holder->state.window;
    control->state.name = name;
    control->state.rect = rect;
    control->state.text = text;
    control->state.zOrder = nextZ_++;
    controls_.emplace(handle, std::move(control));
  }
  notify(handle);
  return handle;
}

void Ui::destroy(Handle window) {
  if (!exists(window)) return;
  fire(window, Event::WillDestroy);
  {
    const std::lock_guard lock(mutex_);
    std::erase_if(controls_, [window](const auto& entry) { return entry.second->state.window == window; });
    std::erase_if(handlers_, [this](const auto& entry) { return !controls_.contains(entry.first.first); });
  }
  notify(window);
}

bool Ui::exists(Handle handle) const {
  const std::lock_guard lock(mutex_);
  return get(handle) != nullptr;
}

Handle Ui::find(Handle window, const std::string& name) const {
  const std::lock_guard lock(mutex_);
  for (const auto& [handle, control] : controls_) {
    if (control->state.window == window && control->state.name == name) return handle;
  }
  return 0;
}

std::vector<Handle> Ui::controls(Handle window) const {
  const std::lock_guard lock(mutex_);
  std::vector<Handle> handles;
  for (const auto& [handle, control] : controls_) {
    if (control->state.window == window && handle != window) handles.push_back(handle);
  }
  return handles;
}

ControlState Ui::state(Handle handle) const {
  const std::lock_guard lock(mutex_);
  const Control* control = get(handle);
  return control ? control->state : ControlState{};
}

Kind Ui::kind(Handle handle) const {
  const std::lock_guard lock(mutex_);
  const Control* control = get(handle);
  return control ? control->state.kind : Kind::Label;
}

Rect Ui::rect(Handle handle) const { return state(handle).rect; }

void Ui::setRect(Handle handle, const Rect& rect) {
  update(handle, [&rect](Control& control) { return std::exchange(control.state.rect, rect) != rect; });
}

void Ui::move(Handle handle, int x, int y) {
  Rect r = rect(handle);
  r.x = x;
  r.y = y;
  setRect(handle, r);
}

bool Ui::visible(Handle handle) const { return state(handle).visible; }

void Ui::setVisible(Handle handle, bool visible) {
  update(handle, [visible](Control& control) { return std::exchange(control.state.visible, visible) != visible; });
}

void Ui::raise(Handle handle) {
  update(handle, [this](Control& control) {
    control.state.zOrder = nextZ_++;
    return true;
  });
}

std::string Ui::text(Handle handle) const {
  const std::lock_guard lock(mutex_);
  const Control* control = get(handle);
  if (!control) return {};
  if (control->state.kind == Kind::ComboBox) {
    const int s = control->state.selected;
    return s >= 0 && s < static_cast<int>(control->state.entries.size())
               ? control->state.entries[static_cast<std::size_t>(s)]
               : std::string();
  }
  return control->state.text;
}

void Ui::setText(Handle handle, const std::string& text) {
  update(handle, [&text](Control& control) {
    if (control.state.text == text) return false;
    control.state.text = text;
    return true;
  });
}

bool Ui::enabled(Handle handle) const {
  const std::lock_guard lock(mutex_);
  for (const Control* control = get(handle); control; control = get(control->state.parent)) {
    if (!control->state.enabled) return false;
  }
  return get(handle) != nullptr;
}

void Ui::setEnabled(Handle handle, bool enabled) {
  std::vector<Handle> touched;
  {
    const std::lock_guard lock(mutex_);
    Control* control = get(handle);
    if (!control || control->state.enabled == enabled) return;
    control->state.enabled = enabled;
    // What a group box holds is redrawn with it.
    touched.push_back(handle);
    for (const auto& [h, c] : controls_) {
      if (c->state.parent == handle) touched.push_back(h);
    }
  }
  for (const Handle h : touched) notify(h);
}

bool Ui::checked(Handle handle) const { return state(handle).checked; }

void Ui::setChecked(Handle handle, bool checked) {
  update(handle, [checked](Control& control) { return std::exchange(control.state.checked, checked) != checked; });
}

void Ui::addEntry(Handle combo, const std::string& entry) {
  update(combo, [&entry](Control& control) {
    control.state.entries.push_back(entry);
    return true;
  });
}

void Ui::clearEntries(Handle combo) {
  update(combo, [](Control& control) {
    control.state.entries.clear();
    control.state.selected = -1;
    return true;
  });
}

int Ui::entryCount(Handle combo) const { return static_cast<int>(state(combo).entries.size()); }

int Ui::selected(Handle combo) const { return state(combo).selected; }

void Ui::select(Handle combo, int index) {
  update(combo, [index](Control& control) {
    const bool valid = index >= 0 && index < static_cast<int>(control.state.entries.size());
    control.state.selected = valid ? index : -1;
    return true;
  });
}

void Ui::setColumns(Handle grid, const std::vector<Column>& columns) {
  update(grid, [&columns](Control& control) {
    control.state.columns = columns;
    ++control.state.version;
    return true;
  });
}

int Ui::columnCount(Handle grid) const {
  const std::lock_guard lock(mutex_);
  const Control* control = get(grid);
  return control ? static_cast<int>(control->state.columns.size()) : 0;
}

std::string Ui::columnTitle(Handle grid, int column) const {
  const std::lock_guard lock(mutex_);
  const Control* control = get(grid);
  if (!control || column < 0 || column >= static_cast<int>(control->state.columns.size())) return {};
  return control->state.columns[static_cast<std::size_t>(column)].title;
}

int Ui::appendRow(Handle grid) {
  return appendRowWith(grid, [](int) { return std::vector<std::string>(); });
}

int Ui::appendRowWith(Handle grid, const std::function<std::vector<std::string>(int rowCount)>& cells) {
  int index = -1;
  update(grid, [&](Control& control) {
    std::vector<std::string> row = cells(static_cast<int>(control.rows.size()) + 1);
    row.resize(control.state.columns.size());
    control.rows.push_back(std::move(row));
    ++control.state.version;
    index = static_cast<int>(control.rows.size()) - 1;
    return true;
  });
  return index;
}

int Ui::rowCount(Handle grid) const {
  const std::lock_guard lock(mutex_);
  const Control* control = get(grid);
  return control ? static_cast<int>(control->rows.size()) : 0;
}

void Ui::setCell(Handle grid, int row, int column, const std::string& text) { setCells(grid, row, column, {text}); }

void Ui::setCells(Handle grid, int row, int firstColumn, const std::vector<std::string>& texts) {
  update(grid, [&](Control& control) {
    if (row < 0 || row >= static_cast<int>(control.rows.size()) || firstColumn < 0) return false;
    auto& cells = control.rows[static_cast<std::size_t>(row)];
    for (std::size_t i = 0; i < texts.size() && firstColumn + i < cells.size(); ++i) {
      cells[static_cast<std::size_t>(firstColumn) + i] = texts[i];
    }
    ++control.state.version;
    return true;
  });
}

std::string Ui::cell(Handle grid, int row, int column) const {
  const std::lock_guard lock(mutex_);
  const Control* control = get(grid);
  if (!control || row < 0 || row >= static_cast<int>(control->rows.size())) return {};
  const auto& cells = control->rows[static_cast<std::size_t>(row)];
  if (column < 0 || column >= static_cast<int>(cells.size())) return {};
  return cells[static_cast<std::size_t>(column)];
}

std::vector<std::string> Ui::row(Handle grid, int row) const {
  const std::lock_guard lock(mutex_);
  const Control* control = get(grid);
  if (!control || row < 0 || row >= static_cast<int>(control->rows.size())) return {};
  return control->rows[static_cast<std::size_t>(row)];
}

std::vector<std::vector<std::string>> Ui::rows(Handle grid) const {
  const std::lock_guard lock(mutex_);
  const Control* control = get(grid);
  return control ? control->rows : std::vector<std::vector<std::string>>();
}

void Ui::appendRows(Handle grid, std::vector<std::vector<std::string>> rows) {
  update(grid, [&rows](Control& control) {
    for (auto& cells : rows) {
      cells.resize(control.state.columns.size());
      control.rows.push_back(std::move(cells));
    }
    ++control.state.version;
    return true;
  });
}

bool Ui::setCellsWhere(Handle grid, int row, int guardColumn, const std::string& guardText, int firstColumn,
                       const std::vector<std::string>& texts) {
  bool wrote = false;
  update(grid, [&](Control& control) {
    if (row < 0 || row >= static_cast<int>(control.rows.size())) return false;
    auto& cells = control.rows[static_cast<std::size_t>(row)];
    if (guardColumn < 0 || guardColumn >= static_cast<int>(cells.size()) ||
        cells[static_cast<std::size_t>(guardColumn)] != guardText) {
      return false;
    }
    for (std::size_t i = 0; i < texts.size() && firstColumn >= 0 && firstColumn + i < cells.size(); ++i) {
      cells[static_cast<std::size_t>(firstColumn) + i] = texts[i];
    }
    ++control.state.version;
    wrote = true;
    return true;
  });
  return wrote;
}

void Ui::deleteRow(Handle grid, int row) {
  update(grid, [row](Control& control) {
    if (row < 0 || row >= static_cast<int>(control.rows.size())) return false;
    control.rows.erase(control.rows.begin() + row);
    if (control.state.selected == row) control.state.selected = -1;
    if (control.state.selected > row) --control.state.selected;
    ++control.state.version;
    ++control.state.structureVersion;
    return true;
  });
}

void Ui::clearRows(Handle grid) {
  editRows(grid, [](std::vector<std::vector<std::string>>& rows) { rows.clear(); });
}

void Ui::editRows(Handle grid, const std::function<void(std::vector<std::vector<std::string>>& rows)>& change) {
  update(grid, [&change](Control& control) {
    change(control.rows);
    const std::size_t columns = control.state.columns.size();
    for (auto& cells : control.rows) cells.resize(columns);
    if (control.state.selected >= static_cast<int>(control.rows.size())) control.state.selected = -1;
    ++control.state.version;
    ++control.state.structureVersion;
    return true;
  });
}

int Ui::selectedRow(Handle grid) const { return state(grid).selected; }

void Ui::selectRow(Handle grid, int row) {
  update(grid, [row](Control& control) {
    control.state.selected = row >= 0 && row < static_cast<int>(control.rows.size()) ? row : -1;
    return true;
  });
}

void Ui::setParts(Handle bar, const std::vector<int>& widths) {
  update(bar, [&widths](Control& control) {
    control.state.partWidths = widths;
    control.state.partTexts.resize(widths.size());
    return true;
  });
}

void Ui::setPartText(Handle bar, int part, const std::string& text) {
  update(bar, [part, &text](Control& control) {
    if (part < 0 || part >= static_cast<int>(control.state.partTexts.size())) return false;
    std::string& shown = control.state.partTexts[static_cast<std::size_t>(part)];
    if (shown == text) return false;
    shown = text;
    return true;
  });
}

std::string Ui::partText(Handle bar, int part) const {
  const std::lock_guard lock(mutex_);
  const Control* control = get(bar);
  if (!control || part < 0 || part >= static_cast<int>(control->state.partTexts.size())) return {};
  return control->state.partTexts[static_cast<std::size_t>(part)];
}

void Ui::setPeriod(Handle timer, int periodMs) {
  std::uint64_t generation;
  {
    const std::lock_guard lock(mutex_);
    Control* control = get(timer);
    if (!control) return;
    control->state.period = std::max(periodMs, 0);
    generation = ++control->timerGeneration;
  }
  if (periodMs > 0) scheduleTick(timer, generation, periodMs);
}

int Ui::period(Handle timer) const { return state(timer).period; }

void Ui::scheduleTick(Handle timer, std::uint64_t generation, int periodMs) {
  loop_.postAt(loop_.now() + periodMs, [this, timer, generation, periodMs] {
    {
      const std::lock_guard lock(mutex_);
      const Control* control = get(timer);
      if (!control || control->timerGeneration != generation || control->state.period == 0) return;
    }
    // The next tick is due a period after this one, however long it runs.
    scheduleTick(timer, generation, periodMs);
    fire(timer, Event::Tick);
  });
}

void Ui::on(Handle handle, Event event, std::function<void()> handler) {
  const std::lock_guard lock(mutex_);
  handlers_[{handle, event}].push_back(std::move(handler));
}

void Ui::fire(Handle handle, Event event) {
  std::vector<std::function<void()>> handlers;
  {
    const std::lock_guard lock(mutex_);
    const auto found = handlers_.find({handle, event});
    if (found == handlers_.end()) return;
    handlers = found->second;
  }
  for (const auto& handler : handlers) handler();
}

bool Ui::userCanReach(Handle handle) const {
  const std::lock_guard lock(mutex_);
  for (const Control* control = get(handle); control; control = get(control->state.parent)) {
    if (!control->state.visible) return false;
  }
  const Control* window = get(state(handle).window);
  return get(handle) != nullptr && window && window->state.visible && enabled(handle);
}

void Ui::userClick(Handle handle) {
  if (!userCanReach(handle)) return;
  if (state(handle).kind == Kind::CheckBox) setChecked(handle, !checked(handle));
  fire(handle, Event::Click);
}

void Ui::userType(Handle edit, const std::string& text) {
  if (!userCanReach(edit)) return;
  setText(edit, text);
  fire(edit, Event::TextChanged);
}

void Ui::userFocusLost(Handle edit) {
  if (!userCanReach(edit)) return;
  fire(edit, Event::FocusLost);
}

void Ui::userSelect(Handle combo, int index) {
  if (!userCanReach(combo)) return;
  select(combo, index);
  fire(combo, Event::Selected);
}

void Ui::userPress(Handle handle) {
  if (!userCanReach(handle)) return;
  fire(handle, Event::LeftPress);
}

void Ui::userSelectRow(Handle grid, int row) {
  if (!userCanReach(grid)) return;
  selectRow(grid, row);
}

void Ui::userDoubleClick(Handle grid) {
  if (!userCanReach(grid)) return;
  fire(grid, Event::DoubleClick);
}

void Ui::userRightClick(Handle grid) {
  if (!userCanReach(grid)) return;
  fire(grid, Event::RightClick);
}

void Ui::userMoved(Handle window, int x, int y) {
  {
    const std::lock_guard lock(mutex_);
    Control* control = get(window);
    if (!control) return;
    control->state.rect.x = x;
    control->state.rect.y = y;
  }
  fire(window, Event::Moved);
}

void Ui::onInterfaceThread(std::function<void()> call, bool wait) {
  if (loop_.isInterfaceThread()) {
    call();
    return;
  }
  if (!wait) {
    loop_.post(std::move(call));
    return;
  }
  std::promise<void> done;
  std::future<void> finished = done.get_future();
  loop_.post([&call, &done] {
    call();
    done.set_value();
  });
  finished.wait();
}

Answer Ui::message(Handle owner, const std::string& text, const std::string& title, MessageKind kind) {
  Answer answer = kind == MessageKind::Question ? Answer::No : Answer::Ok;
  onInterfaceThread([&] { answer = renderer_.message(owner, text, title, kind); }, true);
  return answer;
}

std::optional<std::string> Ui::saveFile(Handle owner, const SaveDialog& dialog) {
  std::optional<std::string> path;
  onInterfaceThread([&] { path = renderer_.saveFile(owner, dialog); }, true);
  return path;
}

void Ui::processPendingEvents() {
  if (loop_.isInterfaceThread()) loop_.processPendingEvents();
}

void Ui::runModal(Handle window) {
  setVisible(window, true);
  renderer_.runModal(window, [this, window] { return !exists(window) || !visible(window); });
}

void Ui::beginSystemMove(Handle window) {
  onInterfaceThread([this, window] { renderer_.beginSystemMove(window); }, false);
}

void Ui::openUrl(const std::string& url) {
  onInterfaceThread([this, url] { renderer_.openUrl(url); }, false);
}

}  // namespace platform::window
