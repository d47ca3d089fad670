#include "personnel/ui/date_box.h"

#include "ui/window_base.h"

namespace traveno::personnel_ui {

DateBox::DateBox(QWidget* parent) : QLineEdit(parent) {
  setInputMask("99.99.9999;_");
  ui::SizeToChars(this, 10);
}

void DateBox::SetDate(Date date) {
  setText(date.IsEmpty() ? QString() : QString::fromStdString(date.ToText()));
}

bool DateBox::IsBlank() const {
  for (const QChar c : text()) {
    if (c.isDigit()) return false;
  }
  return true;
}

std::optional<Date> DateBox::TypedDate() const {
  if (IsBlank()) return EmptyDate();
  return Date::ParseText(text().trimmed().toStdString());
}

}  // namespace traveno::personnel_ui
