// The indexation window ("Indexare salarii incadrare"): the percent, the
// rounding sign and unit of the indexation of base salaries. "&Confirmare"
// refuses what the indexation service refuses and keeps the window open.
#pragma once

#include <QDialog>

#include "core/prompter.h"

class QLineEdit;
class QPushButton;

namespace traveno::personnel_ui {

class IndexWindow : public QDialog {
  Q_OBJECT

 public:
  explicit IndexWindow(Prompter& prompter, QWidget* parent = nullptr);

  QLineEdit* percent_box() const { return percent_; }
  QLineEdit* sign_box() const { return sign_; }
  QLineEdit* unit_box() const { return unit_; }
  QPushButton* confirm_button() const { return confirm_; }

  double percent() const;
  char sign() const;
  int unit() const;

  void BConfirmareClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Prompter& prompter_;
  QLineEdit* percent_;
  QLineEdit* sign_;
  QLineEdit* unit_;
  QPushButton* confirm_;
};

}  // namespace traveno::personnel_ui
