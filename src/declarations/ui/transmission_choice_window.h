// "Transmitere electronica": the choice between the dBASE and the text form
// of the electronic declaration files.
#pragma once

#include <QDialog>

#include "declarations/declaration_files.h"

class QPushButton;
class QRadioButton;

namespace traveno::declarations_ui {

class TransmissionChoiceWindow : public QDialog {
  Q_OBJECT

 public:
  explicit TransmissionChoiceWindow(QWidget* parent = nullptr);

  // The form chosen ("&Confirmare" closes the window with OK).
  declarations::FileForm form() const;
  QRadioButton* dbf_choice() const { return dbf_; }
  QRadioButton* txt_choice() const { return txt_; }
  QPushButton* confirm_button() const { return confirm_; }

 private:
  QRadioButton* dbf_;
  QRadioButton* txt_;
  QPushButton* confirm_;
};

}  // namespace traveno::declarations_ui
