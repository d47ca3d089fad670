#include "personnel/ui/index_window.h"

#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "personnel/pay_grid.h"
#include "personnel/ui/window_helpers.h"
#include "ui/window_base.h"

namespace traveno::personnel_ui {

IndexWindow::IndexWindow(Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      prompter_(prompter),
      percent_(new QLineEdit("0", this)),
      sign_(new QLineEdit("+", this)),
      unit_(new QLineEdit("1", this)),
      confirm_(new QPushButton("&Confirmare", this)) {
  setObjectName("fIndexare");
  setWindowTitle("Indexare salarii incadrare");
  auto* layout = new QVBoxLayout(this);
  const char* const kExplanation[] = {
      "Indexarea se aplica  salariului de Incadrare al tuturor angajatilor",
      "din pagina activa a grilei (permanenti sau cu contract partial),",
      "din toate departamentele.",
      "Pentru o crestere de 10 % introduceti 10, nu 110.",
      "Salariul indexat se rotunjeste in plus (+) sau in minus (-)",
      "la valoarea ceruta: de exemplu, cu \"+\" si 100,",
      "un salariu de 521723 indexat devine 521800."};
  for (const char* line : kExplanation) layout->addWidget(new QLabel(line, this));
  percent_->setObjectName("EProcent");
  percent_->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}([.,][0-9]{0,2})?"), percent_));
  sign_->setObjectName("ESemn");
  sign_->setMaxLength(1);
  // Only "+", "-" and Backspace are taken while typing.
  sign_->setValidator(new QRegularExpressionValidator(QRegularExpression("[+-]?"), sign_));
  unit_->setObjectName("ERotunjire");
  unit_->setValidator(new QIntValidator(0, 1000000000, unit_));
  ui::SizeToChars(percent_, 6);
  ui::SizeToChars(sign_, 2);
  ui::SizeToChars(unit_, 10);
  auto* form = new QFormLayout;
  form->addRow("Procentul cu care se Indexeaza:", percent_);
  form->addRow("Rotunjirea se face in + sau - :", sign_);
  form->addRow("Rotunjirea se face la ", unit_);
  layout->addLayout(form);
  layout->addLayout(ConfirmAbandonRow(this, confirm_));
  confirm_->setDefault(true);
  connect(confirm_, &QPushButton::clicked, this, &IndexWindow::BConfirmareClick);
}

void IndexWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  percent_->setFocus();
  percent_->selectAll();
}

double IndexWindow::percent() const { return TypedNumber(percent_).value_or(0); }

char IndexWindow::sign() const {
  const QString text = sign_->text();
  return text.size() == 1 ? text[0].toLatin1() : ' ';
}

int IndexWindow::unit() const { return unit_->text().trimmed().toInt(); }

void IndexWindow::BConfirmareClick() {
  if (const auto refusal = personnel::IndexationRefusal(percent(), sign(), unit())) {
    prompter_.Message(MessageKind::kError, *refusal);
    return;
  }
  accept();
}

}  // namespace traveno::personnel_ui
