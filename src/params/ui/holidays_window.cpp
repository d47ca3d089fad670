#include "params/ui/holidays_window.h"

#include <QDate>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/date.h"
#include "core/errors.h"
#include "core/system_info.h"
#include "params/holidays.h"
#include "ui/romanian_texts.h"

namespace traveno::params_ui {

HolidaysWindow::HolidaysWindow(params::Session& session, bool in_days, double typed_working_time,
                               Prompter& prompter, ProgressReporter& progress, QWidget* parent)
    : QDialog(parent),
      session_(session),
      in_days_(in_days),
      typed_working_time_(typed_working_time),
      prompter_(prompter),
      progress_(progress),
      days_(new QListWidget(this)),
      confirm_(new QPushButton("&Confirm", this)) {
  setObjectName("FSarbatori");
  setWindowTitle(QString(kApplicationTitle) + " - Definire sarbatori legale");
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel("Definire sarbatori legale", this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  heading->setAlignment(Qt::AlignCenter);
  layout->addWidget(heading);
  const Date month = session_.working_month();
  layout->addWidget(
      new QLabel(QString::fromStdString("Sarbatorile legale din luna " + MonthText(month)), this));

  days_->setObjectName("LZile");
  const std::vector<int> marked = params::ParseHolidays(session_.parameters().company.ZileLibere);
  for (int day = 1; day <= DaysInMonth(month.year(), month.month()); ++day) {
    const QDate date(month.year(), month.month(), day);
    // The program's own day names: Romanian whatever the machine's language.
    auto* line = new QListWidgetItem(date.toString("dd.MM.yyyy") + " - " + ui::WeekdayName(date),
                                     days_);
    const bool checked = std::find(marked.begin(), marked.end(), day) != marked.end();
    line->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    // A weekend line keeps its mark but cannot be changed.
    Qt::ItemFlags flags = Qt::ItemIsUserCheckable | Qt::ItemIsSelectable;
    if (params::IsMarkableDay(month, day)) flags |= Qt::ItemIsEnabled;
    line->setFlags(flags);
  }
  days_->installEventFilter(this);
  // The whole month shows at once.
  const int rows = days_->count();
  days_->setMinimumHeight(
      std::min(days_->sizeHintForRow(0) * rows + 2 * days_->frameWidth() + 4, 560));
  layout->addWidget(days_);

  auto* buttons = new QHBoxLayout;
  confirm_->setObjectName("BConfirm");
  confirm_->setEnabled(!session_.month_closed());
  auto* cancel = new QPushButton("A&nulez", this);
  cancel->setObjectName("BAnulez");
  buttons->addStretch();
  buttons->addWidget(confirm_);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(confirm_, &QPushButton::clicked, this, &HolidaysWindow::BConfirmClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  days_->setFocus();
}

bool HolidaysWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == days_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      focusNextChild();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void HolidaysWindow::BConfirmClick() {
  std::vector<int> marked;
  for (int row = 0; row < days_->count(); ++row) {
    if (days_->item(row)->checkState() == Qt::Checked) marked.push_back(row + 1);
  }
  try {
    if (!params::ConfirmHolidays(session_, marked, in_days_, typed_working_time_, prompter_,
                                 progress_)) {
      return;
    }
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
    return;
  }
  time_differs_ =
      params::WorkingTimeDiffers(session_.working_month(), marked, in_days_, typed_working_time_);
  accept();
}

}  // namespace traveno::params_ui
