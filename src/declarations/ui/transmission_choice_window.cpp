#include "declarations/ui/transmission_choice_window.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/window_base.h"

namespace traveno::declarations_ui {

TransmissionChoiceWindow::TransmissionChoiceWindow(QWidget* parent)
    : QDialog(parent),
      dbf_(new QRadioButton("Transmitere sub forma de fisier DBF", this)),
      txt_(new QRadioButton("Transmitere sub forma de fisier TXT  ", this)),
      confirm_(new QPushButton("&Confirmare", this)) {
  setObjectName("FTransmEl");
  setWindowTitle("Transmitere electronica");
  dbf_->setObjectName("RBDbf");
  txt_->setObjectName("RBTxt");
  auto* group = new QButtonGroup(this);
  group->addButton(dbf_);
  group->addButton(txt_);
  dbf_->setChecked(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(dbf_);
  layout->addWidget(txt_);
  auto* buttons = new QHBoxLayout;
  confirm_->setObjectName("BConfirmare");
  auto* abandon = new QPushButton("&Abandon", this);
  abandon->setObjectName("BAbandon");
  buttons->addStretch();
  buttons->addWidget(confirm_);
  buttons->addWidget(abandon);
  layout->addLayout(buttons);
  ui::EnterMovesTo(dbf_, confirm_);
  ui::EnterMovesTo(txt_, confirm_);
  connect(confirm_, &QPushButton::clicked, this, &QDialog::accept);
  connect(abandon, &QPushButton::clicked, this, &QDialog::reject);
  dbf_->setFocus();
}

declarations::FileForm TransmissionChoiceWindow::form() const {
  return txt_->isChecked() ? declarations::FileForm::kTxt : declarations::FileForm::kDbf;
}

}  // namespace traveno::declarations_ui
