// The number boxes of the parameter windows: a value shown with one of the
// program's masks, read back whatever the grouping blanks, the old value
// kept when the text is not a number.
#pragma once

#include <QLineEdit>
#include <QString>

#include "core/numbers.h"

namespace traveno::params_ui {

inline void ShowNumber(QLineEdit* box, double value, NumberMask mask) {
  box->setText(QString::fromStdString(FormatNumber(value, mask)));
}

inline double ReadNumber(const QLineEdit* box, double old_value) {
  QString text = box->text();
  text.remove(' ');
  text.remove(QChar(0x00A0));
  return ParseNumber(text.toStdString(), old_value);
}

}  // namespace traveno::params_ui
