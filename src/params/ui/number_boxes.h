// The number boxes of the parameter windows: a value shown with one of the
// program's masks, read back whatever the grouping blanks, the old value
// kept when the text is not a number. A box keeps the exact value it shows:
// as long as its text is the one shown, it reads back that value, not the
// rounded text, so a window writes back only what the user changed (an
// accident rate of 0,273 shown as "0,27" stays 0,273).
#pragma once

#include <QLineEdit>
#include <QString>
#include <QVariant>

#include "core/numbers.h"

namespace traveno::params_ui {

inline constexpr const char* kShownValue = "travenoShownValue";
inline constexpr const char* kShownText = "travenoShownText";

inline void ShowNumber(QLineEdit* box, double value, NumberMask mask) {
  const QString text = QString::fromStdString(FormatNumber(value, mask));
  box->setText(text);
  box->setProperty(kShownValue, value);
  box->setProperty(kShownText, text);
}

inline double ReadNumber(const QLineEdit* box, double old_value) {
  if (box->property(kShownText).isValid() && box->text() == box->property(kShownText).toString()) {
    return box->property(kShownValue).toDouble();
  }
  QString text = box->text();
  text.remove(' ');
  text.remove(QChar(0x00A0));
  return ParseNumber(text.toStdString(), old_value);
}

}  // namespace traveno::params_ui
