#include "platform/qt/qt_shell.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <chrono>

#include "platform/qt/grid_model.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/status_bar_widget.h"

namespace platform::window {

namespace {

constexpr int kGridRefreshMs = 100;

}  // namespace

QtShell::QtShell() {
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(12);
  QApplication::setFont(font);
  gridTimer_ = new QTimer(this);
  gridTimer_->setInterval(kGridRefreshMs);
  connect(gridTimer_, &QTimer::timeout, this, [this] { refreshGrids(); });
  gridTimer_->start();
}

QtShell::~QtShell() {
  // The window layer may be gone already: widgets closing now report nothing.
  ui_ = nullptr;
  for (auto& [handle, widget] : widgets_) {
    if (widget && widget->isWindow()) delete widget.data();
  }
}

void QtShell::attach(Ui& ui) { ui_ = &ui; }

void QtShell::post(std::function<void()> call) {
  QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void QtShell::postAt(Millis due, std::function<void()> call) {
  post([this, due, call = std::move(call)] {
    QTimer::singleShot(static_cast<int>(std::max<Millis>(0, due - now())), this, call);
  });
}

Millis QtShell::now() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void QtShell::processEventsUntil(const std::function<bool()>& done, SteadyTime deadline) {
  // A short timer wakes the wait so that done() and the deadline are seen.
  QTimer wake;
  wake.start(5);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

bool QtShell::isInterfaceThread() const { return QThread::currentThread() == thread(); }

void QtShell::changed(Handle handle) {
  {
    const std::lock_guard lock(dirtyMutex_);
    // Grids on screen are brought up to date by the refresh timer, in batches.
    if (shownGrids_.contains(handle)) return;
    dirty_.insert(handle);
    if (syncPosted_) return;
    syncPosted_ = true;
  }
  post([this] { sync(); });
}

void QtShell::sync() {
  std::set<Handle> dirty;
  {
    const std::lock_guard lock(dirtyMutex_);
    dirty.swap(dirty_);
    syncPosted_ = false;
  }
  syncing_ = true;
  for (const Handle handle : dirty) syncControl(handle);
  syncing_ = false;
}

void QtShell::syncControl(Handle handle) {
  if (!ui_->exists(handle)) {
    forget(handle);
    return;
  }
  const ControlState state = ui_->state(handle);
  if (state.kind == Kind::Timer) return;
  QWidget* widget = this->widget(handle);
  if (!widget) {
    // The holder first: a control may be seen before its window.
    if (state.parent && !this->widget(state.parent)) syncControl(state.parent);
    widget = create(handle, state);
    if (!widget) return;
  }
  apply(handle, widget, state);
}

void QtShell::forget(Handle handle) {
  QWidget* dying = widget(handle);
  // The widget goes with everything it holds.
  for (auto it = widgets_.begin(); it != widgets_.end();) {
    QWidget* w = it->second.data();
    if (it->first != handle && w && (!dying || !dying->isAncestorOf(w))) {
      ++it;
      continue;
    }
    handles_.erase(w);
    grids_.erase(it->first);
    raisedAt_.erase(it->first);
    {
      const std::lock_guard lock(dirtyMutex_);
      shownGrids_.erase(it->first);
    }
    it = widgets_.erase(it);
  }
  if (dying) dying->deleteLater();
}

QWidget* QtShell::widget(Handle handle) const {
  const auto found = widgets_.find(handle);
  return found == widgets_.end() ? nullptr : found->second.data();
}

QWidget* QtShell::create(Handle handle, const ControlState& state) {
  QWidget* parent = state.kind == Kind::Window ? widget(state.owner) : widget(state.parent);
  if (state.kind != Kind::Window && !parent) return nullptr;
  QWidget* widget = nullptr;
  switch (state.kind) {
    case Kind::Window:
      widget = new QWidget(parent, Qt::Window | Qt::FramelessWindowHint);
      break;
    case Kind::Label:
    case Kind::PictureBox: {
      auto* label = new QLabel(parent);
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      widget = label;
      break;
    }
    case Kind::Button: {
      auto* button = new QPushButton(parent);
      connect(button, &QPushButton::clicked, this, [this, handle] { ui_->userClick(handle); });
      widget = button;
      break;
    }
    case Kind::EditBox: {
      auto* edit = new QLineEdit(parent);
      connect(edit, &QLineEdit::textEdited, this,
              [this, handle](const QString& text) { ui_->userType(handle, fromQt(text)); });
      widget = edit;
      break;
    }
    case Kind::CheckBox: {
      auto* box = new QCheckBox(parent);
      connect(box, &QCheckBox::clicked, this, [this, handle] { ui_->userClick(handle); });
      widget = box;
      break;
    }
    case Kind::ComboBox: {
      auto* combo = new QComboBox(parent);
      connect(combo, &QComboBox::activated, this, [this, handle](int index) { ui_->userSelect(handle, index); });
      widget = combo;
      break;
    }
    case Kind::GroupBox:
      widget = new QGroupBox(parent);
      break;
    case Kind::Grid: {
      auto* view = new QTableView(parent);
      auto* model = new GridModel(*ui_, handle, view);
      view->setModel(model);
      view->setSelectionBehavior(QAbstractItemView::SelectRows);
      view->setSelectionMode(QAbstractItemView::SingleSelection);
      view->setEditTriggers(QAbstractItemView::NoEditTriggers);
      view->verticalHeader()->setVisible(false);
      view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
      view->verticalHeader()->setDefaultSectionSize(18);
      view->setContextMenuPolicy(Qt::CustomContextMenu);
      connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
              [this, handle](const QModelIndex& current) { ui_->userSelectRow(handle, current.row()); });
      connect(view, &QTableView::doubleClicked, this, [this, handle](const QModelIndex& index) {
        ui_->userSelectRow(handle, index.row());
        ui_->userDoubleClick(handle);
      });
      connect(view, &QWidget::customContextMenuRequested, this, [this, handle, view](const QPoint& at) {
        ui_->userSelectRow(handle, view->indexAt(at).row());
        ui_->userRightClick(handle);
      });
      grids_[handle] = model;
      {
        const std::lock_guard lock(dirtyMutex_);
        shownGrids_.insert(handle);
      }
      widget = view;
      break;
    }
    case Kind::StatusBar:
      widget = new StatusBarWidget(parent);
      break;
    case Kind::Timer:
      return nullptr;
  }
  widget->installEventFilter(this);
  widgets_[handle] = widget;
  handles_[widget] = handle;
  return widget;
}

void QtShell::apply(Handle handle, QWidget* widget, const ControlState& state) {
  const QRect geometry(state.rect.x, state.rect.y, state.rect.width, state.rect.height);
  if (state.kind == Kind::Window) {
    widget->setWindowTitle(toQt(state.text));
    if (widget->geometry() != geometry) widget->setGeometry(geometry);
  } else if (widget->geometry() != geometry) {
    widget->setGeometry(geometry);
  }
  widget->setEnabled(state.enabled);
  switch (state.kind) {
    case Kind::Label:
    case Kind::PictureBox: {
      // Labels place their captions with blanks half a character wide, as the
      // layout was drawn; an en space is exactly that wide in any font.
      QString text = toQt(state.text);
      text.replace(QLatin1Char(' '), QChar(0x2002));
      static_cast<QLabel*>(widget)->setText(text);
      break;
    }
    case Kind::Button:
      static_cast<QPushButton*>(widget)->setText(toQt(state.text));
      break;
    case Kind::EditBox: {
      auto* edit = static_cast<QLineEdit*>(widget);
      const QString text = toQt(state.text);
      if (edit->text() != text) edit->setText(text);
      break;
    }
    case Kind::CheckBox: {
      auto* box = static_cast<QCheckBox*>(widget);
      box->setText(toQt(state.text));
      box->setChecked(state.checked);
      break;
    }
    case Kind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(widget);
      const QSignalBlocker block(combo);
      QStringList entries;
      for (const std::string& entry : state.entries) entries << toQt(entry);
      QStringList shown;
      for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
      if (shown != entries) {
        combo->clear();
        combo->addItems(entries);
      }
      combo->setCurrentIndex(state.selected);
      break;
    }
    case Kind::GroupBox:
      static_cast<QGroupBox*>(widget)->setTitle(toQt(state.text));
      break;
    case Kind::Grid:
      break;
    case Kind::StatusBar:
      static_cast<StatusBarWidget*>(widget)->setParts(state.partWidths, state.partTexts);
      break;
    case Kind::Window:
    case Kind::Timer:
      break;
  }
  // Stacking follows the window layer's z-order among siblings.
  if (raisedAt_[handle] != state.zOrder) {
    raisedAt_[handle] = state.zOrder;
    if (state.kind != Kind::Window) widget->raise();
  }
  // Modality is set before a window is first shown; it cannot change later.
  if (state.kind == Kind::Window && modalWindows_.contains(handle) && !widget->isVisible()) {
    widget->setWindowModality(Qt::ApplicationModal);
  }
  widget->setVisible(state.visible);
}

void QtShell::refreshGrids() {
  for (auto& [handle, model] : grids_) {
    if (!model->refresh()) continue;
    auto* view = static_cast<QTableView*>(widget(handle));
    const ControlState state = ui_->state(handle);
    for (std::size_t c = 0; c < state.columns.size(); ++c) {
      const int width = state.columns[c].width;
      view->setColumnHidden(static_cast<int>(c), width == 0);
      if (width > 0) view->setColumnWidth(static_cast<int>(c), width);
    }
  }
}

bool QtShell::eventFilter(QObject* watched, QEvent* event) {
  const auto found = handles_.find(watched);
  if (!ui_ || found == handles_.end() || syncing_) return QObject::eventFilter(watched, event);
  const Handle handle = found->second;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const Kind kind = ui_->kind(handle);
        if (kind == Kind::Label || kind == Kind::PictureBox) ui_->userPress(handle);
      }
      break;
    case QEvent::FocusOut:
      if (ui_->kind(handle) == Kind::EditBox) ui_->userFocusLost(handle);
      break;
    case QEvent::Move:
      if (ui_->kind(handle) == Kind::Window) {
        auto* window = static_cast<QWidget*>(watched);
        const Rect r = ui_->rect(handle);
        if (r.x != window->x() || r.y != window->y()) ui_->userMoved(handle, window->x(), window->y());
      }
      break;
    case QEvent::KeyPress:
      // Escape closes a modal window without its accept, as a dialog would.
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        const Handle window = ui_->state(handle).window;
        if (modalWindows_.contains(window)) {
          ui_->destroy(window);
          return true;
        }
      }
      break;
    case QEvent::Close:
      // Closing through the window system destroys the window, as its own
      // close button would.
      event->ignore();
      ui_->destroy(handle);
      return true;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

Answer QtShell::message(Handle owner, const std::string& text, const std::string& title, MessageKind kind) {
  QMessageBox box(widget(owner));
  box.setWindowTitle(toQt(title));
  box.setText(toQt(text));
  if (kind == MessageKind::Question) {
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
  }
  box.setIcon(QMessageBox::NoIcon);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return Answer::Ok;
}

std::optional<std::string> QtShell::saveFile(Handle owner, const SaveDialog& d) {
  // "Name|*.csv|" pairs become Qt's "Name (*.csv)", shown by their names alone.
  QStringList filters;
  const QStringList parts = toQt(d.filter).split(QLatin1Char('|'), Qt::SkipEmptyParts);
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
  QFileDialog dialog(widget(owner), toQt(d.title));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !d.confirmOverwrite);
  dialog.setNameFilters(filters);
  dialog.setDirectory(QString::fromStdString(d.folder));
  dialog.selectFile(toQt(d.fileName));
  dialog.setDefaultSuffix(toQt(d.defaultExtension));
  while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    const QString path = dialog.selectedFiles().constFirst();
    const QDir folder = QFileInfo(path).absoluteDir();
    if (!d.folderMustExist || folder.exists()) return path.toStdString();
    QMessageBox::warning(&dialog, dialog.windowTitle(), folder.path());
  }
  return std::nullopt;
}

std::string QtShell::desktopFolder() const {
  const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  return (QDir(desktop).exists() ? desktop : QDir::homePath()).toStdString();
}

void QtShell::processPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtShell::runModal(Handle window, const std::function<bool()>& closed) {
  modalWindows_.insert(window);
  sync();
  QEventLoop loop;
  QTimer check;
  connect(&check, &QTimer::timeout, &loop, [&] {
    if (closed()) loop.quit();
  });
  check.start(20);
  loop.exec();
  modalWindows_.erase(window);
}

void QtShell::beginSystemMove(Handle window) {
  if (QWidget* w = widget(window); w && w->windowHandle()) w->windowHandle()->startSystemMove();
}

void QtShell::openUrl(const std::string& url) { QDesktopServices::openUrl(QUrl(toQt(url))); }

Size QtShell::screenSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? Size{screen->size().width(), screen->size().height()} : Size{1366, 768};
}

}  // namespace platform::window
