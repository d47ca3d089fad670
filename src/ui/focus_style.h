// The keyboard focus drawn plainly over the desktop's style, which marks it
// with a faint line a user looking for it can miss: the focused button gets a
// ring two pixels wide in the selection colour on its edge, and every other
// focus frame (the current cell of a focused grid, a choice, a check box) a
// ring of a dark and a light line, seen on any background (a selected line,
// a grey read-only cell).
#pragma once

#include <QProxyStyle>

class QApplication;

namespace traveno::ui {

class FocusStyle : public QProxyStyle {
  Q_OBJECT

 public:
  // Over the desktop's style.
  FocusStyle() = default;
  // Over `base`, which the style takes.
  explicit FocusStyle(QStyle* base) : QProxyStyle(base) {}

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
};

// Puts the style on the application, over the style it has.
void InstallFocusStyle(QApplication& application);

}  // namespace traveno::ui
