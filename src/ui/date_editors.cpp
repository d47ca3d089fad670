#include "ui/date_editors.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

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

void DateEdit::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods =
      event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  const bool f4 = event->key() == Qt::Key_F4 && mods == Qt::NoModifier;
  const bool alt_arrow =
      (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) && mods == Qt::AltModifier;
  if ((f4 || alt_arrow) && !isReadOnly()) {
    DropCalendarDown();
    event->accept();
    return;
  }
  QDateEdit::keyPressEvent(event);
}

void DateEdit::DropCalendarDown() {
  // The editor drops its calendar down only from a press on its arrow: press
  // there, where the style draws it.
  QStyleOptionComboBox option;
  option.initFrom(this);
  option.editable = true;
  option.subControls = QStyle::SC_All;
  const QRect arrow =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
  const QPointF at = arrow.center();
  QMouseEvent press(QEvent::MouseButtonPress, at, mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  mousePressEvent(&press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  mouseReleaseEvent(&release);
}

}  // namespace traveno::ui
