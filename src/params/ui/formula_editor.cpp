#include "params/ui/formula_editor.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/errors.h"
#include "core/text.h"
#include "engine/formula_check.h"
#include "params/parameter_edits.h"
#include "params/ui/number_boxes.h"
#include "ui/qt_prompter.h"
#include "ui/window_base.h"

namespace traveno::params_ui {
namespace {

constexpr int kMaxLength = 60;

}  // namespace

FormulaEditor::FormulaEditor(params::Session& session, int bonus, Prompter& prompter,
                             QWidget* parent)
    : QDialog(parent),
      session_(session),
      bonus_(bonus),
      prompter_(prompter),
      memo_(new QPlainTextEdit(this)),
      fields_(new QListWidget(this)),
      counter_(new QLabel(this)),
      check_(new QPushButton("&Verificare formula", this)),
      confirm_(new QPushButton("&Confirmare", this)) {
  const bool for_bonus = bonus_ >= 0;
  setObjectName(for_bonus ? "FFormulaSpor" : "FFormulaCO");
  setWindowTitle(for_bonus ? "Editare formula calcul" : "Editare formula concediu de odihna");
  const engine::CompanyParameters& values = session_.parameters().company;
  auto* layout = new QVBoxLayout(this);
  if (for_bonus) {
    auto* heading = new QLabel("Editare formula calcul Spor", this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);
  }
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  auto* memo_label = new QLabel("&Formula :", this);
  memo_label->setBuddy(memo_);
  memo_->setObjectName("MFormula");
  memo_->setTabChangesFocus(true);
  memo_->installEventFilter(this);
  left->addWidget(memo_label);
  left->addWidget(memo_);
  counter_->setObjectName("LCaractere");
  left->addWidget(counter_);
  left->addWidget(new QLabel("Numar maxim de caractere: 60", this));
  if (for_bonus) {
    with_percent_ = new QCheckBox("Cu procent", this);
    with_percent_->setObjectName("CCuProcent");
    with_percent_->setChecked(values.spor[bonus_].ProcF == 1);
    left->addWidget(with_percent_);
  } else {
    months_ = new QLineEdit(this);
    months_->setObjectName("ELuniCO");
    ShowNumber(months_, values.LuniCO, NumberMask::kInteger);
    auto* form = new QFormLayout;
    form->addRow("Numar de luni anterioare pentru care se realizeaza calculul:", months_);
    left->addLayout(form);
  }
  columns->addLayout(left, 1);
  auto* right = new QVBoxLayout;
  auto* list_label = new QLabel("Ca&mpuri acceptate :", this);
  list_label->setBuddy(fields_);
  fields_->setObjectName("LBCampuri");
  const auto kind = for_bonus ? engine::FormulaKind::kBonus : engine::FormulaKind::kHolidayPay;
  for (const engine::FormulaField& field : engine::AcceptedFormulaFields(kind, bonus_ + 1)) {
    auto* item = new QListWidgetItem(QString::fromStdString(field.display), fields_);
    item->setData(Qt::UserRole, QString::fromStdString(field.name));
  }
  fields_->installEventFilter(this);
  right->addWidget(list_label);
  right->addWidget(fields_);
  columns->addLayout(right);
  layout->addLayout(columns);

  auto* buttons = new QHBoxLayout;
  check_->setObjectName("BVerificare");
  confirm_->setObjectName("BConfirmare");
  confirm_->setEnabled(!session_.month_closed());
  auto* abandon = new QPushButton("&Abandon", this);
  abandon->setObjectName("BAbandon");
  for (QPushButton* b : {check_, confirm_, abandon}) b->setAutoDefault(false);
  buttons->addWidget(check_);
  buttons->addStretch();
  buttons->addWidget(confirm_);
  buttons->addWidget(abandon);
  layout->addLayout(buttons);
  // Tab as the window is read: the formula and its option, the fields, the buttons.
  ui::PutLastInTabOrder({fields_, check_, confirm_, abandon});

  memo_->setPlainText(
      QString::fromStdString(for_bonus ? values.spor[bonus_].Form : values.CO_Form));
  TextChanged();
  connect(memo_, &QPlainTextEdit::textChanged, this, &FormulaEditor::TextChanged);
  connect(fields_, &QListWidget::itemDoubleClicked, this, &FormulaEditor::AppendField);
  connect(check_, &QPushButton::clicked, this, &FormulaEditor::BVerificareClick);
  connect(confirm_, &QPushButton::clicked, this, &FormulaEditor::BConfirmareClick);
  connect(abandon, &QPushButton::clicked, this, &QDialog::reject);
  memo_->setFocus();
}

void FormulaEditor::TextChanged() {
  QString text = memo_->toPlainText();
  if (text.size() > kMaxLength) {
    // The memo takes no more than the formula may hold.
    QSignalBlocker block(memo_);
    text.truncate(kMaxLength);
    memo_->setPlainText(text);
    memo_->moveCursor(QTextCursor::End);
  }
  const std::string shown = UpperTrim(text.toStdString());
  counter_->setText(QString("Caractere: %1").arg(QString::fromStdString(shown).size()));
}

void FormulaEditor::AppendField() {
  QListWidgetItem* item = fields_->currentItem();
  if (item == nullptr) return;
  memo_->moveCursor(QTextCursor::End);
  memo_->insertPlainText("\"" + item->data(Qt::UserRole).toString() + "\"");
}

bool FormulaEditor::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (watched == fields_) {
        AppendField();
        return true;
      }
      if (watched == memo_) {
        focusNextChild();
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool FormulaEditor::Check() {
  const bool for_bonus = bonus_ >= 0;
  const auto kind = for_bonus ? engine::FormulaKind::kBonus : engine::FormulaKind::kHolidayPay;
  const auto fields = engine::AcceptedFormulaFields(kind, bonus_ + 1);
  const double months = for_bonus ? 0 : ReadNumber(months_, session_.parameters().company.LuniCO);
  const auto fault =
      engine::ValideazaFormula(memo_->toPlainText().toStdString(), fields, kind, months);
  if (fault) {
    prompter_.Message(MessageKind::kError, *fault);
    if (!for_bonus && *fault == "Numarul de luni nu este corect !") {
      months_->setFocus();
    } else {
      memo_->setFocus();
    }
    return false;
  }
  return true;
}

void FormulaEditor::BVerificareClick() {
  if (!Check()) return;
  prompter_.Message(MessageKind::kInformation, std::string(engine::kFormulaCorrect) + " \n\r" +
                                                   memo_->toPlainText().toStdString());
  confirm_->setFocus();
}

void FormulaEditor::BConfirmareClick() {
  if (!Check()) return;
  const std::string formula = Trim(memo_->toPlainText().toStdString());
  try {
    const bool done =
        bonus_ >= 0 ? params::ConfirmBonusFormula(session_, bonus_, formula,
                                                  with_percent_->isChecked(), prompter_)
                    : params::ConfirmHolidayPayFormula(
                          session_, formula,
                          ReadNumber(months_, session_.parameters().company.LuniCO), prompter_);
    if (!done) return;
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
    return;
  }
  confirmed_ = true;
  accept();
}

}  // namespace traveno::params_ui
