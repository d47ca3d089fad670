// The month-year editor and the date editor, in the program's "dd.mm.yyyy"
// convention whatever the machine's locale.
#pragma once

#include <QDate>
#include <QDateEdit>

#include "core/date.h"

namespace traveno::ui {

QDate ToQDate(Date date);
Date FromQDate(QDate date);

// Edits a month: shows "MM.yyyy" and holds the first day of the month.
class MonthYearEdit : public QDateEdit {
  Q_OBJECT

 public:
  explicit MonthYearEdit(QWidget* parent = nullptr);

  void SetMonth(Date month);
  // The first day of the month shown.
  Date Month() const;
};

// Edits a date "dd.mm.yyyy" with a calendar that drops down.
class DateEdit : public QDateEdit {
  Q_OBJECT

 public:
  explicit DateEdit(QWidget* parent = nullptr);

  void SetValue(Date date);
  Date Value() const;

 protected:
  // F4 and Alt+Down (or Alt+Up) drop the calendar down, as for a list.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void DropCalendarDown();
};

}  // namespace traveno::ui
