#include "declarations/ui/transmit_windows.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/clock.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "declarations/fiscal_lists.h"
#include "declarations/ui/window_parts.h"
#include "declarations/year_source.h"
#include "declarations/yearly_persons.h"
#include "params/session.h"
#include "ui/file_dialogs.h"
#include "ui/window_base.h"

namespace traveno::declarations_ui {
namespace {

namespace decl = declarations;

constexpr const char* kCaption = "Transmitere electronica";
constexpr const char* kFilter = "Fisierele(*.txt,*.dbf) (*.txt *.dbf)";

QString DefaultSavePath(QWidget* parent, const QString& folder, const QString& proposed) {
  return AskDeclarationPath(parent, kCaption, folder, proposed);
}

std::optional<decl::FilingForm> DefaultFormChoice(QWidget* parent) {
  TransmitFormWindow window(parent);
  if (window.exec() != QDialog::Accepted) return std::nullopt;
  return window.form();
}

// Closes the window when the confirmation ends, also on a failure.
class CloseWhenDone {
 public:
  explicit CloseWhenDone(QDialog& dialog) : dialog_(dialog) {}
  ~CloseWhenDone() { dialog_.accept(); }

 private:
  QDialog& dialog_;
};

}  // namespace

QString AskDeclarationPath(QWidget* parent, const QString& caption, const QString& folder,
                           const QString& proposed) {
  // A text file is written under its fixed name whatever is typed, so the
  // dialog asks nothing about replacing the typed one.
  return ui::AskSaveFileName(parent, caption, QDir(folder).filePath(proposed), kFilter,
                             QFileDialog::DontConfirmOverwrite);
}

TransmitFormWindow::TransmitFormWindow(QWidget* parent)
    : QDialog(parent),
      dbf_(new QRadioButton("Transmitere sub forma de fisier DBF", this)),
      txt_(new QRadioButton("Transmitere sub forma de fisier TXT  ", this)),
      confirm_(new QPushButton("&Confirmare", this)) {
  setObjectName("FTransmEl");
  setWindowTitle(kCaption);
  auto* layout = new QVBoxLayout(this);
  dbf_->setObjectName("RBDbf");
  txt_->setObjectName("RBTxt");
  dbf_->setChecked(true);
  layout->addWidget(dbf_);
  layout->addWidget(txt_);
  confirm_->setObjectName("BConfirmare");
  AddConfirmAbandonRow(*this, *layout, *confirm_);
  connect(confirm_, &QPushButton::clicked, this, &QDialog::accept);
}

decl::FilingForm TransmitFormWindow::form() const {
  return txt_->isChecked() ? decl::FilingForm::kTxt : decl::FilingForm::kDbf;
}

TransmitWindow::TransmitWindow(params::Session& session, Prompter& prompter,
                               ProgressReporter& progress, TransmitHooks hooks, QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      progress_(progress),
      hooks_(std::move(hooks)),
      years_(new QComboBox(this)),
      confirm_(new QPushButton("&Confirmare", this)) {
  if (!hooks_.choose_form) hooks_.choose_form = DefaultFormChoice;
  if (!hooks_.choose_path) hooks_.choose_path = DefaultSavePath;
  if (!hooks_.today) hooks_.today = [] { return Today(); };
  setObjectName("FTransm");
  setWindowTitle(kCaption);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(WindowHeading("Specificati anul", this));
  years_->setObjectName("CBAn");
  layout->addWidget(years_);
  confirm_->setObjectName("BConfirmare");
  AddConfirmAbandonRow(*this, *layout, *confirm_);
  connect(confirm_, &QPushButton::clicked, this, &TransmitWindow::BConfirmareClick);

  ui::EnterMovesTo(years_, confirm_);
  FillYears(*years_, decl::FilingYears(session_.db()));
  years_->setFocus();
}

void TransmitWindow::BConfirmareClick() {
  CloseWhenDone close(*this);
  if (years_->currentIndex() < 0) return;
  const int year = years_->currentText().toInt();
  if (!decl::IsWorkingYear(year, session_.working_month())) {
    prompter_.Message(MessageKind::kWarning, decl::kFilingYearWarning);
    return;
  }
  decl::FilingForm form = decl::FilingForm::kTxt;
  if (decl::GenerationOf(year) == decl::Generation::k2002) {
    const auto chosen = hooks_.choose_form(this);
    if (!chosen) return;
    form = *chosen;
  }
  WriteFiles(year, form);
}

void TransmitWindow::WriteFiles(int year, decl::FilingForm form) {
  const decl::YearSource source = decl::ReadYearSource(session_.db(), session_.company(), year);
  const Date today = hooks_.today();
  QString folder =
      QString::fromStdString(session_.store().CompanyFolderOf(session_.company()).string());
  bool first_saved = false;
  for (const decl::FilingFile file : decl::kFilingFiles) {
    const QString proposed = QString::fromStdString(decl::ProposedFileName(file, year, form));
    const QString chosen = hooks_.choose_path(this, folder, proposed);
    if (chosen.isEmpty()) continue;
    if (!first_saved) {
      folder = QFileInfo(chosen).absolutePath();
      first_saved = true;
    }
    const auto path = decl::FilingTarget(file, year, form, chosen.toStdString());
    if (auto refusal = ProgramFileRefusal(session_.store().data_folder(), path)) {
      prompter_.Message(MessageKind::kWarning, *refusal);
      continue;
    }
    decl::FilingOutcome outcome;
    try {
      WaitScope wait(progress_, decl::kFilingWaitTitle, decl::FilingWaitText(file, form));
      outcome = decl::WriteFilingFile(source, file, form, path, today);
    } catch (const OsError& error) {
      prompter_.Message(MessageKind::kError, error.what());
      continue;
    }
    if (outcome.error) prompter_.Message(MessageKind::kError, *outcome.error);
  }
}

}  // namespace traveno::declarations_ui
