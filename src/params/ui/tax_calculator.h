// The tax calculator of the bracket windows ("A&plic"): type any one of the
// gross, the net and the tax, and the other two follow from the bracket
// table of the working month (or year). The arithmetic is the engine's.
#pragma once

#include <QDialog>

#include "engine/tax_table.h"

class QLineEdit;

namespace traveno::params_ui {

class TaxCalculator : public QDialog {
  Q_OBJECT

 public:
  // `table` is the monthly or the annual table, as the opener chose.
  explicit TaxCalculator(engine::TaxTable table, QWidget* parent = nullptr);

  QLineEdit* gross() const { return gross_; }
  QLineEdit* net() const { return net_; }
  QLineEdit* tax() const { return tax_; }

 private:
  enum class Typed { kGross, kNet, kTax };
  void Recalculate(Typed typed);

  engine::TaxTable table_;
  QLineEdit* gross_;
  QLineEdit* net_;
  QLineEdit* tax_;
};

}  // namespace traveno::params_ui
