#include "personnel/ui/code_check_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text.h"
#include "personnel/personal_code.h"

namespace traveno::personnel_ui {

CodeCheckWindow::CodeCheckWindow(Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      prompter_(prompter),
      code_(new QLineEdit(this)),
      check_(new QPushButton("&Verificare", this)) {
  setObjectName("FVerCNP");
  setWindowTitle("Verificare Cod Numeric Personal");
  code_->setObjectName("ECNP");
  code_->setMaxLength(13);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Introduceti CNP iar in cazul unei  cifre ", this));
  layout->addWidget(new QLabel("necunoscute introduceti '?' !!!", this));
  layout->addWidget(code_);
  check_->setObjectName("BVerificare");
  check_->setDefault(true);
  auto* exit = new QPushButton("&Iesire", this);
  exit->setObjectName("BIesire");
  exit->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(check_);
  buttons->addWidget(exit);
  layout->addLayout(buttons);
  connect(check_, &QPushButton::clicked, this, &CodeCheckWindow::BVerificareClick);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

void CodeCheckWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  code_->clear();
  code_->setFocus();
}

void CodeCheckWindow::BVerificareClick() {
  const std::string typed = Trim(code_->text().toStdString());
  code_->setText(QString::fromStdString(typed));
  prompter_.Message(MessageKind::kPlain, personnel::VerifyCodeAnswer(typed));
  // The next code is typed over this one: "&Verificare" (Alt+V or Enter on
  // it) took the focus from the box.
  code_->setFocus(Qt::OtherFocusReason);
  code_->selectAll();
}

}  // namespace traveno::personnel_ui
