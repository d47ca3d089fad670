#include "ui/global_keys.h"

#include <QApplication>
#include <QKeyEvent>

namespace traveno::ui {

GlobalKeys::GlobalKeys(std::function<void()> on_help, std::function<void()> on_calculator,
                       QObject* parent)
    : QObject(parent), on_help_(std::move(on_help)), on_calculator_(std::move(on_calculator)) {}

void GlobalKeys::Install() { qApp->installEventFilter(this); }

bool GlobalKeys::eventFilter(QObject* watched, QEvent* event) {
  // A press reaches the window first, then the focused widget and, when that
  // does not take it, each of its parents: acting on the window's delivery
  // acts once. While the help or the calculator opens, a press waits.
  if (event->type() != QEvent::KeyPress || !watched->isWindowType() || acting_) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->isAutoRepeat() || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
    return false;
  }
  const std::function<void()>* action = key->key() == Qt::Key_F1   ? &on_help_
                                        : key->key() == Qt::Key_F6 ? &on_calculator_
                                                                   : nullptr;
  if (action == nullptr || !*action) return false;
  acting_ = true;
  try {
    (*action)();
  } catch (...) {
    acting_ = false;
    throw;
  }
  acting_ = false;
  return false;
}

}  // namespace traveno::ui
