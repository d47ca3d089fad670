#include "ui/global_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace traveno::ui {

GlobalKeys::GlobalKeys(std::function<void()> on_help, std::function<void()> on_calculator,
                       QObject* parent)
    : QObject(parent), on_help_(std::move(on_help)), on_calculator_(std::move(on_calculator)) {}

void GlobalKeys::Install() { qApp->installEventFilter(this); }

bool GlobalKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  // A key the focused widget does not take travels up to its parents; act
  // once, where it first arrives.
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr) return false;
  QWidget* first = QApplication::focusWidget();
  if (first == nullptr) first = QApplication::activeWindow();
  if (first != nullptr && widget != first) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->isAutoRepeat() || key->modifiers() != Qt::NoModifier) return false;
  if (key->key() == Qt::Key_F1 && on_help_) {
    on_help_();
  } else if (key->key() == Qt::Key_F6 && on_calculator_) {
    on_calculator_();
  }
  return false;
}

}  // namespace traveno::ui
