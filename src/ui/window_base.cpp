#include "ui/window_base.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QShortcutEvent>
#include <QStyle>
#include <QTextEdit>
#include <QToolButton>
#include <QVariant>
#include <algorithm>

#include "ui/focus_style.h"
#include "ui/romanian_texts.h"

namespace traveno::ui {
namespace {

constexpr const char* kHelpTopicProperty = "travenoHelpTopic";

bool IsEnter(const QKeyEvent* key) {
  const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
  return mods == Qt::NoModifier && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
}

// An Alt letter that no button or label answers reaches the focused box as
// text on this window system: it must not type the letter into the box.
bool IsUnansweredAltLetter(const QKeyEvent* key, const QWidget* widget) {
  const Qt::KeyboardModifiers mods = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
  if (mods != Qt::AltModifier || key->text().isEmpty() || !key->text().front().isPrint()) {
    return false;
  }
  return qobject_cast<const QLineEdit*>(widget) != nullptr ||
         qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
         qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
         qobject_cast<const QTextEdit*>(widget) != nullptr;
}

bool CanTakeFocus(const QWidget* widget) {
  return widget != nullptr && widget->isVisible() && widget->isEnabled() &&
         (widget->focusPolicy() & Qt::TabFocus) != 0;
}

// Windows the behaviour places: dialogs and main windows, not menus, tool
// tips, the splash or the windows of other toolkits.
bool IsPlacedWindow(const QWidget* widget) {
  if (widget == nullptr || !widget->isWindow()) return false;
  const Qt::WindowType type = widget->windowType();
  return type == Qt::Window || type == Qt::Dialog;
}

// The window keeps its place when it was placed, is maximised, or its size
// cannot change.
void PlaceWindow(QWidget* window) {
  if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return;
  QScreen* screen = window->screen() ? window->screen() : QApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect available = screen->availableGeometry();
  // A caption is read whole: the title bar needs the text and its buttons.
  const int caption_width = CaptionWidth(*window);
  if (window->width() < caption_width && window->minimumWidth() < window->maximumWidth()) {
    window->resize(std::min(caption_width, available.width()), window->height());
  }
  if (window->testAttribute(Qt::WA_Moved)) return;
  QRect frame(QPoint(), window->size());
  frame.moveCenter(available.center());
  window->move(frame.topLeft());
  // Not a position chosen by the window: the next showing places it again.
  window->setAttribute(Qt::WA_Moved, false);
}

// Moves the focus on when Enter is pressed in the widget it watches.
class EnterFilter : public QObject {
 public:
  EnterFilter(QWidget* from, QWidget* to) : QObject(from), to_(to) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !IsEnter(static_cast<QKeyEvent*>(event))) {
      return false;
    }
    auto* from = static_cast<QWidget*>(watched);
    if (to_ != nullptr && CanTakeFocus(to_)) {
      to_->setFocus(Qt::TabFocusReason);
    } else {
      QWidget* next = from->nextInFocusChain();
      while (next != nullptr && next != from &&
             (!CanTakeFocus(next) || next->window() != from->window())) {
        next = next->nextInFocusChain();
      }
      if (next != nullptr && next != from) next->setFocus(Qt::TabFocusReason);
    }
    return true;
  }

 private:
  QPointer<QWidget> to_;
};

// The control a shortcut belongs to: the widget of a QShortcut, the first
// widget (not a menu) an action is added to. Null for a shortcut of the whole
// application, which Qt itself keeps from a covered window.
QWidget* ShortcutOwner(QObject* shortcut) {
  if (auto* key = qobject_cast<QShortcut*>(shortcut)) {
    if (key->context() == Qt::ApplicationShortcut) return nullptr;
    return qobject_cast<QWidget*>(key->parent());
  }
  if (auto* action = qobject_cast<QAction*>(shortcut)) {
    if (action->shortcutContext() == Qt::ApplicationShortcut) return nullptr;
    for (QObject* object : action->associatedObjects()) {
      auto* widget = qobject_cast<QWidget*>(object);
      if (widget != nullptr && qobject_cast<QMenu*>(widget) == nullptr) return widget;
    }
  }
  return nullptr;
}

}  // namespace

WindowBehaviour::WindowBehaviour(QObject* parent) : QObject(parent) {}

WindowBehaviour::~WindowBehaviour() {
  if (installed_ && qApp != nullptr) qApp->removeEventFilter(this);
}

void WindowBehaviour::Install() {
  if (installed_) return;
  qApp->installEventFilter(this);
  installed_ = true;
}

bool WindowBehaviour::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Shortcut && !watched->isWidgetType()) {
    // Qt matches a control's shortcut while it has the application's focus,
    // which stays with it until a new modal window above it is activated.
    QWidget* owner = ShortcutOwner(watched);
    if (owner != nullptr && CoveredByModalWindow(owner)) {
      SendKeyToWindowInHand(static_cast<QShortcutEvent*>(event)->key());
      return true;
    }
    return false;
  }
  if (event->type() == QEvent::ShortcutOverride && watched == key_target_) {
    // The key handed on is typed into the control, not matched again.
    event->accept();
    return true;
  }
  if (!watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (IsUnansweredAltLetter(key, widget)) return true;
      if (!IsEnter(key)) break;
      // Enter on a focused button presses it, as Space does.
      if (auto* button = qobject_cast<QAbstractButton*>(widget);
          button != nullptr && (qobject_cast<QPushButton*>(button) != nullptr ||
                                qobject_cast<QToolButton*>(button) != nullptr)) {
        if (button->hasFocus() && button->isEnabled() && !key->isAutoRepeat()) {
          button->click();
          return true;
        }
      }
      break;
    }
    case QEvent::Shortcut:
      // A button pressed by its Alt letter takes the focus too, so that the
      // keyboard comes back to it when the window it opens closes.
      if (auto* button = qobject_cast<QAbstractButton*>(widget);
          button != nullptr && button->isEnabled() && button->focusPolicy() != Qt::NoFocus &&
          !static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
        button->setFocus(Qt::ShortcutFocusReason);
      }
      break;
    case QEvent::FocusIn: {
      // The focus frame shows without a Tab first.
      if (QWidget* window = widget->window()) window->setAttribute(Qt::WA_KeyboardFocusChange);
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (auto* edit = qobject_cast<QLineEdit*>(widget);
          edit != nullptr && !edit->isReadOnly() && reason != Qt::MouseFocusReason &&
          reason != Qt::PopupFocusReason &&
          qobject_cast<QAbstractSpinBox*>(edit->parentWidget()) == nullptr) {
        edit->selectAll();
      }
      break;
    }
    case QEvent::Show:
      if (widget->isWindow() && !event->spontaneous()) WindowShown(widget);
      break;
    case QEvent::Hide:
      if (widget->isWindow() && !event->spontaneous()) WindowHidden(widget);
      break;
    case QEvent::Destroy:
      openers_.erase(widget);
      break;
    default:
      break;
  }
  return false;
}

void WindowBehaviour::SendKeyToWindowInHand(const QKeySequence& sequence) {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || sequence.isEmpty() || key_target_ != nullptr) return;
  QWidget* target = modal->focusWidget() != nullptr ? modal->focusWidget() : modal;
  const QKeyCombination combination = sequence[0];
  const int key = combination.key();
  const QString text =
      key == Qt::Key_Return || key == Qt::Key_Enter ? QStringLiteral("\r") : QString();
  QKeyEvent press(QEvent::KeyPress, key, combination.keyboardModifiers(), text);
  QKeyEvent release(QEvent::KeyRelease, key, combination.keyboardModifiers(), text);
  key_target_ = target;
  QCoreApplication::sendEvent(target, &press);
  if (key_target_ != nullptr) QCoreApplication::sendEvent(key_target_, &release);
  key_target_ = nullptr;
}

void WindowBehaviour::WindowShown(QWidget* window) {
  if (!IsPlacedWindow(window)) return;
  window->setAttribute(Qt::WA_KeyboardFocusChange);
  PlaceWindow(window);
  if (window->windowModality() != Qt::NonModal) {
    QWidget* opener = QApplication::focusWidget();
    if (opener == nullptr && window->parentWidget() != nullptr) {
      opener = window->parentWidget()->window()->focusWidget();
    }
    if (opener == nullptr && window->parentWidget() != nullptr) {
      opener = window->parentWidget()->window();
    }
    if (opener != nullptr && opener->window() != window) openers_[window] = opener;
  }
}

void WindowBehaviour::WindowHidden(QWidget* window) {
  const auto it = openers_.find(window);
  if (it == openers_.end()) return;
  QPointer<QWidget> opener = it->second;
  openers_.erase(it);
  if (opener == nullptr) return;
  QWidget* opener_window = opener->window();
  if (opener_window == nullptr || !opener_window->isVisible()) return;
  // Another modal window still open above the opener keeps the keyboard.
  if (QWidget* modal = QApplication::activeModalWidget();
      modal != nullptr && modal != window && modal != opener_window) {
    return;
  }
  QWidget* target = CanTakeFocus(opener) ? opener.data() : FirstFocusable(opener_window);
  opener_window->activateWindow();
  if (target != nullptr && target != opener_window) target->setFocus(Qt::ActiveWindowFocusReason);
}

int CaptionWidth(const QWidget& window) {
  QFont caption_font = window.font();
  caption_font.setBold(true);
  return QFontMetrics(caption_font).horizontalAdvance(window.windowTitle()) + 160;
}

void InstallWindowBehaviour(QApplication& application) {
  InstallRomanianTexts(application);
  InstallFocusStyle(application);
  auto* behaviour = new WindowBehaviour(&application);
  behaviour->Install();
}

void SetHelpTopic(QWidget* window, const QString& topic) {
  window->setProperty(kHelpTopicProperty, topic);
}

QString HelpTopicOf(const QWidget* widget) {
  for (const QWidget* w = widget ? widget->window() : nullptr; w != nullptr;
       w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
    const QVariant topic = w->property(kHelpTopicProperty);
    if (topic.isValid() && !topic.toString().isEmpty()) return topic.toString();
    if (!w->objectName().isEmpty() && !w->inherits("QMessageBox")) {
      return w->objectName();
    }
  }
  return {};
}

QString CurrentHelpTopic() {
  QWidget* window = QApplication::activeModalWidget();
  if (window == nullptr) window = QApplication::activeWindow();
  return HelpTopicOf(window);
}

void SetTabOrder(std::initializer_list<QWidget*> widgets) {
  QWidget* previous = nullptr;
  for (QWidget* widget : widgets) {
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

void PutLastInTabOrder(std::initializer_list<QWidget*> widgets) {
  for (QWidget* widget : widgets) {
    QWidget* window = widget->window();
    QWidget* last = window->previousInFocusChain();
    if (last != widget && last != window) QWidget::setTabOrder(last, widget);
  }
}

void EnterMovesTo(QWidget* from, QWidget* to) {
  from->installEventFilter(new EnterFilter(from, to));
}

void SizeToChars(QLineEdit* box, int chars) {
  const QFontMetrics metrics(box->font());
  // Upper-case letters are the widest the program's boxes hold.
  const int text = metrics.horizontalAdvance(QString(chars, QChar('W'))) * 3 / 4;
  const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box) * 2 + 12;
  box->setMinimumWidth(std::min(text + frame, 520));
  box->setMaximumWidth(std::max(box->minimumWidth(), text + frame));
}

void OpenMaximised(QWidget* window) {
  window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void DisableWithHint(QAbstractButton* button, const QString& hint) {
  button->setEnabled(false);
  button->setStatusTip(hint);
  button->setToolTip(hint);
}

void BindRecordKeys(QWidget* grid, QObject* receiver, const std::function<void()>& add,
                    const std::function<void()>& modify, const std::function<void()>& remove) {
  const std::pair<QKeySequence, const std::function<void()>*> keys[] = {
      {QKeySequence(Qt::Key_Insert), &add},
      {QKeySequence(Qt::Key_Return), &modify},
      {QKeySequence(Qt::Key_Enter), &modify},
      {QKeySequence(Qt::Key_Delete), &remove}};
  for (const auto& [key, action] : keys) {
    auto* shortcut = new QShortcut(key, grid, nullptr, nullptr, Qt::WidgetShortcut);
    QObject::connect(shortcut, &QShortcut::activated, receiver, *action);
  }
}

bool CoveredByModalWindow(const QWidget* widget) {
  const QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || widget == nullptr) return false;
  // A window opened from the modal one (its child) is not covered by it.
  for (const QWidget* w = widget->window(); w != nullptr; w = w->parentWidget()) {
    if (w == modal) return false;
  }
  return true;
}

void FitHeightToContents(QWidget* window) {
  // A window not shown yet takes its size from its controls when it shows.
  if (!window->isVisible() || window->isMaximized() || window->isFullScreen()) return;
  if (window->layout() != nullptr) window->layout()->activate();
  window->resize(window->width(), std::max(window->sizeHint().height(), window->minimumHeight()));
}

QWidget* FirstFocusable(QWidget* window) {
  if (window == nullptr) return nullptr;
  QWidget* start = window;
  for (QWidget* w = start->nextInFocusChain(); w != nullptr && w != start;
       w = w->nextInFocusChain()) {
    if (w->window() == window && CanTakeFocus(w)) return w;
  }
  return nullptr;
}

}  // namespace traveno::ui
