#include "params/ui/transition_window.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/errors.h"
#include "params/month_cycle.h"
#include "ui/qt_prompter.h"

namespace traveno::params_ui {
namespace {

// Types everything in upper case, as the confirmation box always has.
class UpperCaseEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const QString text = event->text();
    if (!text.isEmpty() && text != text.toUpper()) {
      QKeyEvent upper(event->type(), event->key(), event->modifiers(), text.toUpper(),
                      event->isAutoRepeat(), event->count());
      QLineEdit::keyPressEvent(&upper);
      return;
    }
    QLineEdit::keyPressEvent(event);
  }
};

}  // namespace

TransitionWindow::TransitionWindow(params::Session& session, Prompter& prompter,
                                   ProgressReporter& progress, QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      progress_(progress),
      columns_(new QPlainTextEdit(this)),
      confirmation_(new UpperCaseEdit(this)),
      abandon_(new QPushButton("&Abandon", this)) {
  setObjectName("FTrecere");
  setWindowTitle("Trecerea la o noua luna de lucru");
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel("---- Trecerea la o noua luna de lucru ----", this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  heading->setAlignment(Qt::AlignCenter);
  layout->addWidget(heading);

  const std::string next = " " + MonthText(AddMonths(session_.working_month(), 1));
  std::string company;
  if (const auto row = session_.store().FindCompany(session_.company())) {
    company = " " + row->Denumire;
  }
  auto* explanation = new QLabel(this);
  explanation->setObjectName("LExplicatie");
  explanation->setText(ui::DisplayText(
      " Trecerea la luna urmatoare reprezinta crearea datelor de lucru \r\n pentru firma " +
      company + " \r\n si luna " + next +
      "\r\n Vor fi copiate datele personalului, persoane in  intretinere si \r\n parametrii de "
      "calcul. Pentru luna " + next +
      "\r\n vor fi initializate urmatoarele  coloane din salarii:"));
  layout->addWidget(explanation);

  columns_->setObjectName("MColoane");
  columns_->setReadOnly(true);
  columns_->setPlainText(
      QString::fromStdString(params::ZeroedColumnsText(session_.parameters().company)));
  columns_->installEventFilter(this);
  layout->addWidget(columns_);

  auto* confirm_row = new QGridLayout;
  confirm_row->addWidget(new QLabel(ui::DisplayText(params::kTransitionConfirmLabel), this), 0, 0);
  confirmation_->setObjectName("EConfirm");
  confirm_row->addWidget(confirmation_, 0, 1);
  layout->addLayout(confirm_row);
  abandon_->setObjectName("BAbandon");
  abandon_->setAutoDefault(false);
  layout->addWidget(abandon_, 0, Qt::AlignRight);
  connect(abandon_, &QPushButton::clicked, this, &QDialog::reject);
  connect(confirmation_, &QLineEdit::returnPressed, this, &TransitionWindow::ConfirmEntered);
}

void TransitionWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  confirmation_->setText(" ");
  abandon_->setFocus();
}

bool TransitionWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == columns_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      confirmation_->setFocus();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TransitionWindow::ConfirmEntered() {
  if (!params::IsConfirmWord(confirmation_->text().toStdString())) return;
  std::vector<std::string> notices;
  try {
    notices = params::PassToNextMonth(session_, progress_);
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
    reject();
    return;
  }
  for (const std::string& notice : notices) prompter_.Message(MessageKind::kWarning, notice);
  passed_ = true;
  accept();
}

}  // namespace traveno::params_ui
