#include "ui/focus_style.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>

namespace traveno::ui {
namespace {

constexpr int kRingWidth = 2;

// A frame one pixel wide just inside `rect`.
void DrawFrame(QPainter* painter, const QRect& rect, const QColor& color) {
  painter->setPen(QPen(color, 1));
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(rect.adjusted(0, 0, -1, -1));
}

bool ShowsKeyboardFocus(const QStyleOption* option) {
  return (option->state & QStyle::State_HasFocus) != 0 &&
         (option->state & QStyle::State_KeyboardFocusChange) != 0;
}

}  // namespace

void FocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
  if (element != PE_FrameFocusRect) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  // A push button's ring is drawn on its edge with the button.
  if (qobject_cast<const QPushButton*>(widget) != nullptr) return;
  if ((option->state & State_KeyboardFocusChange) == 0 || !option->rect.isValid()) return;
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  DrawFrame(painter, option->rect, option->palette.color(QPalette::Active, QPalette::Text));
  DrawFrame(painter, option->rect.adjusted(1, 1, -1, -1),
            option->palette.color(QPalette::Active, QPalette::Base));
  painter->restore();
}

void FocusStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const {
  QProxyStyle::drawControl(element, option, painter, widget);
  if (element != CE_PushButtonBevel || !ShowsKeyboardFocus(option)) return;
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  const QColor ring = option->palette.color(QPalette::Active, QPalette::Highlight);
  for (int i = 0; i < kRingWidth; ++i) {
    DrawFrame(painter, option->rect.adjusted(i, i, -i, -i), ring);
  }
  painter->restore();
}

void InstallFocusStyle(QApplication& application) {
  if (qobject_cast<FocusStyle*>(QApplication::style()) != nullptr) return;
  QStyle* base = QStyleFactory::create(QApplication::style()->name());
  application.setStyle(base != nullptr ? new FocusStyle(base) : new FocusStyle);
}

}  // namespace traveno::ui
