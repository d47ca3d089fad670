#include "params/ui/tax_calculator.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/numbers.h"

namespace traveno::params_ui {

TaxCalculator::TaxCalculator(engine::TaxTable table, QWidget* parent)
    : QDialog(parent),
      table_(std::move(table)),
      gross_(new QLineEdit("0", this)),
      net_(new QLineEdit("0", this)),
      tax_(new QLineEdit("0", this)) {
  setObjectName("FEAplicImpo");
  gross_->setObjectName("ESumaBruta");
  net_->setObjectName("ESumaNeta");
  tax_->setObjectName("EImpozit");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  form->addRow("Suma bruta", gross_);
  form->addRow("Suma neta", net_);
  form->addRow("Impozit", tax_);
  layout->addLayout(form);
  layout->addWidget(new QLabel(
      "Puteti introduce oricare din cele 3 elemente si veti obtine valorile celorlalte", this));
  auto* exit = new QPushButton("&Iesire", this);
  exit->setObjectName("BIesire");
  exit->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(exit);
  layout->addLayout(buttons);
  // Only what the user types reacts, never the figures filled in here.
  connect(gross_, &QLineEdit::textEdited, this, [this] { Recalculate(Typed::kGross); });
  connect(net_, &QLineEdit::textEdited, this, [this] { Recalculate(Typed::kNet); });
  connect(tax_, &QLineEdit::textEdited, this, [this] { Recalculate(Typed::kTax); });
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

void TaxCalculator::Recalculate(Typed typed) {
  QLineEdit* edit = typed == Typed::kGross ? gross_ : typed == Typed::kNet ? net_ : tax_;
  // A figure still being typed (empty, a lone sign) counts as 0.
  const long double value = ParseNumber(edit->text().toStdString(), 0);
  std::optional<engine::TaxFigures> figures;
  switch (typed) {
    case Typed::kGross:
      figures = engine::TaxFromGross(table_, value);
      break;
    case Typed::kNet:
      figures = engine::TaxFromNet(table_, value);
      break;
    case Typed::kTax:
      figures = engine::TaxFromTax(table_, value);
      break;
  }
  // A bracket the figure cannot be reversed through leaves the others as they were.
  if (!figures) return;
  const auto show = [edit](QLineEdit* target, long double figure) {
    if (target != edit) target->setText(QString::fromStdString(engine::ShortNumberText(figure)));
  };
  show(gross_, figures->gross);
  show(net_, figures->net);
  show(tax_, figures->tax);
}

}  // namespace traveno::params_ui
