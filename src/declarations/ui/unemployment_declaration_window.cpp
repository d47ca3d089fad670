#include "declarations/ui/unemployment_declaration_window.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/settings.h"
#include "declarations/ui/declaration_widgets.h"
#include "declarations/unemployment_documents.h"
#include "declarations/unemployment_files.h"
#include "ui/date_editors.h"
#include "ui/window_base.h"

namespace traveno::declarations_ui {

using namespace declarations;  // NOLINT: the window speaks the declaration's vocabulary

namespace {

constexpr const char* kOtherCaptions[] = {
    "Deduceri angajator:", "Restanta contrib. angajator:", "Restanta contrib.asigurati:",
    "Majorari de intarziere:", "Penalitati:"};
constexpr const char* kOtherNames[] = {"EDeduceri", "ERestantaAngajator", "ERestantaAsigurati",
                                       "EMajorari", "EPenalitati"};

// A focus that leaves a box because the user moved on (not a message box or
// a menu taking it for a while).
bool LeftByUser(const QFocusEvent* event) {
  switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
      return true;
    default:
      return false;
  }
}

}  // namespace

UnemploymentDeclarationWindow::UnemploymentDeclarationWindow(
    params::Session& session, DeclarationMode mode, Prompter& prompter, ProgressReporter& progress,
    DeclarationHooks hooks, QWidget* parent)
    : QDialog(parent),
      session_(session),
      mode_(mode),
      prompter_(prompter),
      progress_(progress),
      hooks_(std::move(hooks)),
      number_(new QLineEdit(this)),
      date_(new ui::DateEdit(this)),
      paid_insured_(AmountBox(this, "ESumaVirataAsig")),
      paid_employer_(AmountBox(this, "ESumaVirataAng")),
      due_insured_(AmountBox(this, "ESumaDatorataAsig", true)),
      due_employer_(AmountBox(this, "ESumaDatorataAng", true)),
      nume_(new QLineEdit(this)),
      prenume_(new QLineEdit(this)),
      functie_(new QLineEdit(this)),
      spread_group_(new QGroupBox("Distribuire sume ", this)),
      first_insured_(new QRadioButton("Primii asigurati", spread_group_)),
      proportional_(new QRadioButton("Proportional", spread_group_)),
      spread_button_(new QPushButton("&Calcul suma", spread_group_)),
      other_sums_button_(new QPushButton("A&lte sume ", this)),
      other_sums_(new QWidget(this)) {
  setObjectName("FDecSomaj");
  setWindowTitle("Declaratie Somaj");
  number_->setObjectName("ENrDecl");
  date_->setObjectName("EDataDecl");
  nume_->setObjectName("ENume");
  prenume_->setObjectName("EPrenume");
  functie_->setObjectName("EFunctie");
  ui::SizeToChars(number_, 10);
  for (QLineEdit* box : {nume_, prenume_, functie_}) ui::SizeToChars(box, 30);

  auto* layout = new QVBoxLayout(this);
  auto* top = new QGridLayout;
  top->addWidget(new QLabel("Nr.Declaratie: ", this), 0, 0);
  top->addWidget(number_, 0, 1);
  top->addWidget(new QLabel("Data Declaratie:", this), 0, 2);
  top->addWidget(date_, 0, 3);
  top->addWidget(new QLabel("Suma Datorata de Asigurati", this), 1, 0);
  top->addWidget(due_insured_, 1, 1);
  top->addWidget(new QLabel("Suma Virata de Asigurati", this), 1, 2);
  top->addWidget(paid_insured_, 1, 3);
  top->addWidget(new QLabel("Suma Datorata de Angajator:", this), 2, 0);
  top->addWidget(due_employer_, 2, 1);
  top->addWidget(new QLabel("Suma Virata de Angajator:", this), 2, 2);
  top->addWidget(paid_employer_, 2, 3);
  layout->addLayout(top);

  spread_group_->setObjectName("GBDistribuire");
  first_insured_->setObjectName("RBPrimii");
  proportional_->setObjectName("RBProportional");
  spread_button_->setObjectName("BCalcul");
  spread_button_->setAutoDefault(false);
  auto* spread = new QHBoxLayout(spread_group_);
  spread->addWidget(first_insured_);
  spread->addWidget(proportional_);
  spread->addStretch();
  spread->addWidget(spread_button_);
  spread_group_->hide();

  top->addWidget(spread_group_, 3, 0, 1, 4);
  top->addWidget(new QLabel("Nume: ", this), 4, 0);
  top->addWidget(nume_, 4, 1, 1, 3, Qt::AlignLeft);
  top->addWidget(new QLabel("Prenume: ", this), 5, 0);
  top->addWidget(prenume_, 5, 1, 1, 3, Qt::AlignLeft);
  top->addWidget(new QLabel("Functie: ", this), 6, 0);
  top->addWidget(functie_, 6, 1, 1, 3, Qt::AlignLeft);

  other_sums_button_->setObjectName("BAlteSume");
  other_sums_button_->setAutoDefault(false);
  auto* other_row = new QHBoxLayout;
  other_row->addWidget(other_sums_button_);
  other_row->addStretch();
  layout->addLayout(other_row);
  other_sums_->setObjectName("PAlteSume");
  auto* other_grid = new QGridLayout(other_sums_);
  other_grid->setContentsMargins(0, 0, 0, 0);
  other_grid->setColumnStretch(2, 1);
  for (int i = 0; i < 5; ++i) {
    other_[i] = AmountBox(other_sums_, kOtherNames[i]);
    other_grid->addWidget(new QLabel(kOtherCaptions[i], other_sums_), i, 0);
    other_grid->addWidget(other_[i], i, 1);
  }
  layout->addWidget(other_sums_);
  other_sums_->hide();

  const ConfirmAbandon buttons = MakeConfirmAbandon(this);
  confirm_ = buttons.confirm;
  layout->addLayout(buttons.layout);
  ui::SetTabOrder({number_, date_, paid_insured_, first_insured_, proportional_, spread_button_,
                   paid_employer_, nume_, prenume_, functie_, other_sums_button_, other_[0],
                   other_[1], other_[2], other_[3], other_[4], confirm_, buttons.abandon});
  ui::EnterMovesTo(first_insured_, spread_button_);
  ui::EnterMovesTo(proportional_, spread_button_);
  ui::EnterMovesTo(other_[4], confirm_);
  paid_insured_->installEventFilter(this);
  paid_employer_->installEventFilter(this);

  connect(spread_button_, &QPushButton::clicked, this,
          &UnemploymentDeclarationWindow::BCalculClick);
  connect(other_sums_button_, &QPushButton::clicked, this, [this] {
    other_sums_->show();
    other_[0]->setFocus(Qt::OtherFocusReason);
  });
  connect(confirm_, &QPushButton::clicked, this, &UnemploymentDeclarationWindow::BConfirmareClick);
}

bool UnemploymentDeclarationWindow::Prepare() {
  try {
    opening_ = OpenUnemploymentDeclaration(session_, progress_);
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
    return false;
  }
  number_->clear();
  date_->SetValue(hooks_.today());
  const DeclarationSigner signer = LoadSigner(session_.store().data_folder());
  nume_->setText(QString::fromStdString(signer.nume));
  prenume_->setText(QString::fromStdString(signer.prenume));
  functie_->setText(QString::fromStdString(signer.functie));
  ShowAmount(due_insured_, static_cast<double>(opening_.due_insured));
  ShowAmount(due_employer_, static_cast<double>(opening_.due_employer));
  ShowAmount(paid_insured_, opening_.paid_insured);
  ShowAmount(paid_employer_, opening_.paid_employer);
  const double others[] = {opening_.stored.DedSomaj, opening_.stored.RestAn, opening_.stored.RestAs,
                           opening_.stored.Penal, opening_.stored.Maj};
  for (int i = 0; i < 5; ++i) ShowAmount(other_[i], others[i]);
  spread_group_->hide();
  other_sums_->hide();
  ui::FitHeightToContents(this);
  confirm_->setEnabled(true);
  number_->setFocus();
  return true;
}

bool UnemploymentDeclarationWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && !leaving_ &&
      LeftByUser(static_cast<QFocusEvent*>(event))) {
    // Checked once the focus has moved on, so the check may move it back;
    // the amount is the one the box was left with.
    if (watched == paid_insured_) {
      const double paid = ReadAmount(paid_insured_);
      QMetaObject::invokeMethod(
          this, [this, paid] { ESumaVirataAsigExit(paid); }, Qt::QueuedConnection);
    } else if (watched == paid_employer_) {
      const double paid = ReadAmount(paid_employer_);
      QMetaObject::invokeMethod(
          this, [this, paid] { ESumaVirataAngExit(paid); }, Qt::QueuedConnection);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void UnemploymentDeclarationWindow::ESumaVirataAsigExit(double paid) {
  if (std::isnan(paid)) return;  // refused with its message on confirmation
  switch (CheckInsuredPaid(paid, opening_.due_insured)) {
    case InsuredPaidCheck::kBelowDue: {
      const SpreadMode mode = chosen_mode_.value_or(SpreadModeOf(opening_.stored.TipCalcul));
      QRadioButton* chosen = mode == SpreadMode::kProportional ? proportional_ : first_insured_;
      chosen->setChecked(true);
      spread_group_->show();
      confirm_->setEnabled(false);
      chosen->setFocus(Qt::OtherFocusReason);
      return;
    }
    case InsuredPaidCheck::kAboveDue:
      leaving_ = true;
      prompter_.Message(MessageKind::kWarning, kInsuredPaidAboveDue);
      leaving_ = false;
      paid_insured_->setFocus(Qt::OtherFocusReason);
      break;
    case InsuredPaidCheck::kEqualDue:
      break;
  }
  confirm_->setEnabled(true);
  spread_group_->hide();
  ui::FitHeightToContents(this);
}

void UnemploymentDeclarationWindow::ESumaVirataAngExit(double paid) {
  if (std::isnan(paid) || !EmployerPaidAboveDue(paid, opening_.due_employer)) return;
  leaving_ = true;
  prompter_.Message(MessageKind::kWarning, kEmployerPaidAboveDue);
  leaving_ = false;
  paid_employer_->setFocus(Qt::OtherFocusReason);
}

void UnemploymentDeclarationWindow::BCalculClick() {
  if (proportional_->isChecked()) {
    prompter_.Message(MessageKind::kInformation, kSpreadProportional);
    chosen_mode_ = SpreadMode::kProportional;
  } else {
    prompter_.Message(MessageKind::kInformation, kSpreadFirstInsured);
    chosen_mode_ = SpreadMode::kFirstInsured;
  }
  paid_employer_->setFocus(Qt::OtherFocusReason);
  spread_group_->hide();
  ui::FitHeightToContents(this);
  confirm_->setEnabled(true);
}

void UnemploymentDeclarationWindow::BConfirmareClick() {
  UnemploymentInput input;
  input.due_insured = static_cast<double>(opening_.due_insured);
  input.due_employer = static_cast<double>(opening_.due_employer);
  input.paid_insured = ReadAmount(paid_insured_);
  input.paid_employer = ReadAmount(paid_employer_);
  input.DedSomaj = ReadAmount(other_[0]);
  input.RestAn = ReadAmount(other_[1]);
  input.RestAs = ReadAmount(other_[2]);
  input.Penal = ReadAmount(other_[3]);
  input.Maj = ReadAmount(other_[4]);
  input.chosen_mode = chosen_mode_;
  input.calcul_somaj_at_opening = opening_.stored.CalculSomaj;
  const DeclarationSigner signer{nume_->text().toStdString(), prenume_->text().toStdString(),
                                 functie_->text().toStdString(), ""};
  try {
    ConfirmUnemploymentDeclaration(session_, input, signer);
  } catch (const Error& error) {
    // Nothing was stored: the window stays for the amount to be put right.
    prompter_.Message(MessageKind::kError, error.what());
    return;
  }
  if (opening_.has_rows) {
    const DeclarationHeader header{number_->text().toStdString(), date_->Value(),
                                   LoadSigner(session_.store().data_folder())};
    try {
      Report(header);
    } catch (const Error&) {
      prompter_.Message(MessageKind::kError, kUnemploymentReportFailed);
    }
  }
  accept();
}

void UnemploymentDeclarationWindow::Report(const DeclarationHeader& header) {
  const UnemploymentDeclaration declaration = BuildUnemploymentDeclaration(session_);
  if (mode_ == DeclarationMode::kPrint) {
    if (!hooks_.show_preview) return;
    hooks_.show_preview(UnemploymentNominalReport(declaration, header), this);
    hooks_.show_preview(UnemploymentSummaryReport(declaration, header), this);
    return;
  }
  const std::optional<FilingForm> form = hooks_.choose_form(this);
  if (!form) return;
  const Date today = hooks_.today();
  std::vector<FileToWrite> files;
  for (const UnemploymentFile file : {UnemploymentFile::kA1, UnemploymentFile::kA2}) {
    files.push_back(
        {UnemploymentFileName(file, *form), [&, file](const std::filesystem::path& path) {
           // A file of the program is never written over: the user is told and
           // the next file is offered.
           if (auto refusal = ProgramFileRefusal(session_.store().data_folder(), path)) {
             prompter_.Message(MessageKind::kWarning, *refusal);
             return;
           }
           WriteUnemploymentFile(file, *form, path, declaration, header, today, prompter_);
         }});
  }
  SaveFilesInTurn(this, hooks_, progress_, session_.store().CompanyFolderOf(session_.company()),
                  files);
}

}  // namespace traveno::declarations_ui
