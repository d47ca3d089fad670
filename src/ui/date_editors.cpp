#include "ui/date_editors.h"

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
  setMinimumDate(QDate(1899, 12, 30));
}

void DateEdit::SetValue(Date date) { setDate(ToQDate(date)); }

Date DateEdit::Value() const { return FromQDate(date()); }

}  // namespace traveno::ui
