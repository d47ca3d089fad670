#include "ui/date_editors.h"

#include <QCalendarWidget>
#include <QLocale>

namespace traveno::ui {

QDate ToQDate(Date date) { return QDate(date.year(), date.month(), date.day()); }

Date FromQDate(QDate date) { return Date::FromYmd(date.year(), date.month(), date.day()); }

MonthYearEdit::MonthYearEdit(QWidget* parent) : QDateEdit(parent) {
  setLocale(QLocale::c());
  setDisplayFormat("MM.yyyy");
  setMinimumDate(QDate(1900, 1, 1));
  setMaximumDate(QDate(9999, 12, 1));
  setCurrentSection(QDateTimeEdit::MonthSection);
}

void MonthYearEdit::SetMonth(Date month) { setDate(QDate(month.year(), month.month(), 1)); }

Date MonthYearEdit::Month() const { return Date::FromYmd(date().year(), date().month(), 1); }

DateEdit::DateEdit(QWidget* parent) : QDateEdit(parent) {
  setLocale(QLocale::c());
  setDisplayFormat("dd.MM.yyyy");
  setCalendarPopup(true);
  // The calendar that drops down names the months in Romanian and the days
  // by their letters, whatever the machine's locale.
  auto* calendar = new QCalendarWidget(this);
  calendar->setLocale(QLocale(QLocale::Romanian, QLocale::Romania));
  calendar->setFirstDayOfWeek(Qt::Monday);
  calendar->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
  calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  setCalendarWidget(calendar);
  setMinimumDate(QDate(1899, 12, 30));
}

void DateEdit::SetValue(Date date) { setDate(ToQDate(date)); }

Date DateEdit::Value() const { return FromQDate(date()); }

}  // namespace traveno::ui
