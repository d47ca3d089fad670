#include "app/settings_windows.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "params/settings_change.h"
#include "core/errors.h"
#include "ui/window_base.h"

namespace traveno::app {

using params::ApplySettingsChange;
using params::SettingsChange;
using params::kNewPasswordsDiffer;
using params::kOldPasswordWrong;

namespace {

QLineEdit* MaskedEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setEchoMode(QLineEdit::Password);
  edit->setMaxLength(255);
  // Room for a long password; longer ones scroll.
  ui::SizeToChars(edit, 24);
  return edit;
}

}  // namespace

ProgramSettingsWindow::ProgramSettingsWindow(std::filesystem::path data_folder,
                                             ProgramSettings& settings, Prompter& prompter,
                                             QWidget* parent)
    : QDialog(parent),
      data_folder_(std::move(data_folder)),
      settings_(settings),
      prompter_(prompter),
      old_(MaskedEdit("EParolaVeche", this)),
      new_(MaskedEdit("EParolaNoua", this)),
      confirm_(MaskedEdit("EConfirmare", this)),
      exit_(new QCheckBox("Confirmare la iesirea din program", this)),
      confirm_button_(new QPushButton("&Confirmare", this)) {
  setObjectName("FConfigurareProgram");
  setWindowTitle("Configurare Program");
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel("Modificare parola", this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);
  auto* form = new QFormLayout;
  form->addRow("Parola veche :", old_);
  form->addRow("Parola noua:", new_);
  form->addRow("Confirmare Parola Noua:", confirm_);
  layout->addLayout(form);
  exit_->setObjectName("CBConfExit");
  exit_->installEventFilter(this);
  layout->addWidget(exit_);
  auto* buttons = new QHBoxLayout;
  confirm_button_->setObjectName("BConfirmare");
  auto* abandon = new QPushButton("&Abandon", this);
  abandon->setObjectName("BAbandon");
  confirm_button_->setAutoDefault(false);
  abandon->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(confirm_button_);
  buttons->addWidget(abandon);
  layout->addLayout(buttons);
  connect(confirm_button_, &QPushButton::clicked, this, &ProgramSettingsWindow::BConfirmareClick);
  connect(abandon, &QPushButton::clicked, this, &QDialog::reject);
}

void ProgramSettingsWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  old_->clear();
  new_->clear();
  confirm_->clear();
  exit_->setChecked(ExitConfirmationChecked(settings_));
  old_->setFocus();
}

bool ProgramSettingsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == exit_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      confirm_button_->setFocus();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ProgramSettingsWindow::BConfirmareClick() {
  const SettingsChange change{old_->text().toStdString(), new_->text().toStdString(),
                              confirm_->text().toStdString(), exit_->isChecked()};
  std::optional<std::string> refusal;
  try {
    refusal = ApplySettingsChange(data_folder_, settings_, change);
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
    return;
  }
  if (refusal) prompter_.Message(MessageKind::kPlain, *refusal);
  accept();
}

PasswordWindow::PasswordWindow(const StartPassword& password, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      password_(password),
      edit_(MaskedEdit("EParola", this)) {
  setObjectName("FParola");
  setWindowTitle("Parola");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 18);
  layout->setSpacing(10);
  layout->addWidget(new QLabel("Va rog sa introduceti parola:", this));
  layout->addWidget(edit_, 0, Qt::AlignHCenter);
  auto* button = new QPushButton("&Confirmare", this);
  button->setObjectName("BConfirmare");
  button->setDefault(true);
  layout->addWidget(button, 0, Qt::AlignHCenter);
  connect(button, &QPushButton::clicked, this, &QDialog::accept);
}

bool PasswordWindow::Accepted() const { return password_.Verify(edit_->text().toStdString()); }

bool PasswordWindow::Ask(const StartPassword& password, QWidget* parent) {
  PasswordWindow window(password, parent);
  window.exec();
  return window.Accepted();
}

}  // namespace traveno::app
