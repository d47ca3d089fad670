#include "declarations/ui/health_declaration_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/errors.h"
#include "core/settings.h"
#include "core/system_info.h"
#include "declarations/health_documents.h"
#include "declarations/ui/declaration_widgets.h"
#include "ui/date_editors.h"
#include "ui/window_base.h"

namespace traveno::declarations_ui {

using namespace declarations;  // NOLINT: the window speaks the declaration's vocabulary

namespace {

constexpr const char* kSectionTitles[] = {
    "A. Contributie angajator", "B. Contributia asiguratilor",
    "C. Contributia pentru persoanele asigurate conform art.55 din Legea 145/97"};
constexpr const char* kSectionLetters[] = {"A", "B", "C"};

}  // namespace

HealthDeclarationWindow::HealthDeclarationWindow(params::Session& session, Prompter& prompter,
                                                 ProgressReporter& progress, DeclarationHooks hooks,
                                                 QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      progress_(progress),
      hooks_(std::move(hooks)),
      salary_fund_(AmountBox(this, "EFondSalarii", true)),
      gross_income_(AmountBox(this, "EVenitBrut", true)),
      date_(new ui::DateEdit(this)),
      nume_(new QLineEdit(this)),
      prenume_(new QLineEdit(this)),
      functie_(new QLineEdit(this)),
      entering_(new QCheckBox("Lista persoanelor intrate in activitate", this)),
      leaving_(new QCheckBox("Lista persoanelor iesite din activitate", this)),
      nominal_(new QCheckBox("Lista nominala angajati", this)) {
  setObjectName("FDeclSanat");
  setWindowTitle(QString(kApplicationTitle) + " - Declaratie de sanatate");
  auto* layout = new QVBoxLayout(this);
  // Sections A and B side by side, C under A, the signatory under B.
  auto* sections = new QGridLayout;
  layout->addLayout(sections);
  for (int s = 0; s < 3; ++s) {
    const QString letter = kSectionLetters[s];
    paid_[s] = AmountBox(this, "EVirata" + letter);
    arrears_[s] = AmountBox(this, "ERestante" + letter);
    increases_[s] = AmountBox(this, "EMajorari" + letter);
    due_[s] = AmountBox(this, "EDatorata" + letter, true);
    auto* group = new QGroupBox(kSectionTitles[s], this);
    group->setObjectName("GB" + letter);
    auto* grid = new QGridLayout(group);
    int row = 0;
    if (s == 0) {
      grid->addWidget(new QLabel("Fond salarii", group), row, 0);
      grid->addWidget(salary_fund_, row++, 1);
    } else if (s == 1) {
      grid->addWidget(new QLabel("Venit brut realizat", group), row, 0);
      grid->addWidget(gross_income_, row++, 1);
    }
    grid->addWidget(new QLabel("Contributie datorata", group), row, 0);
    grid->addWidget(due_[s], row++, 1);
    grid->addWidget(new QLabel("Contributie virata", group), row, 0);
    grid->addWidget(paid_[s], row++, 1);
    grid->addWidget(new QLabel("Sume restante", group), row, 0);
    grid->addWidget(arrears_[s], row++, 1);
    grid->addWidget(new QLabel("Majorari intarziere", group), row, 0);
    grid->addWidget(increases_[s], row, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(row + 1, 1);
    sections->addWidget(group, s / 2, s % 2);
  }

  date_->setObjectName("EDataDecl");
  nume_->setObjectName("ENume");
  prenume_->setObjectName("EPrenume");
  functie_->setObjectName("EFunctie");
  for (QLineEdit* box : {nume_, prenume_, functie_}) {
    ui::SizeToChars(box, 30);
    ForceUpperCase(box);
  }
  auto* signer_box = new QWidget(this);
  auto* signer = new QGridLayout(signer_box);
  signer->addWidget(new QLabel("Data Declaratie", this), 0, 0);
  signer->addWidget(date_, 0, 1);
  signer->addWidget(new QLabel("Nume", this), 1, 0);
  signer->addWidget(nume_, 1, 1);
  signer->addWidget(new QLabel("Prenume", this), 2, 0);
  signer->addWidget(prenume_, 2, 1);
  signer->addWidget(new QLabel("Functie", this), 3, 0);
  signer->addWidget(functie_, 3, 1);
  signer->setRowStretch(4, 1);
  sections->addWidget(signer_box, 1, 1);

  entering_->setObjectName("CBIntrati");
  leaving_->setObjectName("CBIesiti");
  nominal_->setObjectName("CBNominala");
  int row = 5;
  for (QCheckBox* check : {entering_, leaving_, nominal_}) {
    signer->addWidget(check, row++, 0, 1, 2);
    check->installEventFilter(this);
  }
  const ConfirmAbandon buttons = MakeConfirmAbandon(this);
  confirm_ = buttons.confirm;
  layout->addLayout(buttons.layout);
  ui::SetTabOrder({paid_[0], arrears_[0], increases_[0], paid_[1], arrears_[1], increases_[1],
                   paid_[2], arrears_[2], increases_[2], date_, nume_, prenume_, functie_,
                   entering_, leaving_, nominal_, confirm_, buttons.abandon});
  connect(confirm_, &QPushButton::clicked, this, &HealthDeclarationWindow::BConfirmareClick);
}

bool HealthDeclarationWindow::Prepare() {
  const DeclarationSigner signer = LoadSigner(session_.store().data_folder());
  nume_->setText(QString::fromStdString(signer.nume));
  prenume_->setText(QString::fromStdString(signer.prenume));
  functie_->setText(QString::fromStdString(signer.functie));
  try {
    opening_ = OpenHealthDeclaration(session_, progress_);
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
    return false;
  }
  for (int s = 0; s < 3; ++s) {
    ShowAmount(paid_[s], opening_.proposed[s].paid);
    ShowAmount(arrears_[s], opening_.proposed[s].arrears);
    ShowAmount(increases_[s], opening_.proposed[s].increases);
    ShowAmount(due_[s], static_cast<double>(opening_.computed.due[s]));
  }
  ShowAmount(salary_fund_, static_cast<double>(opening_.computed.salary_fund));
  ShowAmount(gross_income_, static_cast<double>(opening_.computed.gross_income));
  date_->SetValue(hooks_.today());
  entering_->setChecked(opening_.has_entering);
  leaving_->setChecked(opening_.has_leaving);
  nominal_->setChecked(false);
  paid_[0]->setFocus();
  return true;
}

bool HealthDeclarationWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      // Enter moves on from a list's box, Shift+Enter back.
      focusNextPrevChild(!(key->modifiers() & Qt::ShiftModifier));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void HealthDeclarationWindow::BConfirmareClick() {
  HealthSections sections;
  for (int s = 0; s < 3; ++s) {
    sections[s] = {ReadAmount(paid_[s]), ReadAmount(arrears_[s]), ReadAmount(increases_[s])};
  }
  const DeclarationSigner signer{nume_->text().toStdString(), prenume_->text().toStdString(),
                                 functie_->text().toStdString(), ""};
  try {
    ConfirmHealthDeclaration(session_, sections, signer);
  } catch (const Error& error) {
    // Nothing was stored: the window stays for the amount to be put right.
    prompter_.Message(MessageKind::kError, error.what());
    return;
  }
  try {
    const DeclarationHeader header{"", date_->Value(), LoadSigner(session_.store().data_folder())};
    const HealthListChoice lists{entering_->isChecked(), leaving_->isChecked(),
                                 nominal_->isChecked()};
    const HealthPrint print = MakeHealthPrint(session_, opening_.computed, header, lists);
    if (hooks_.show_preview) {
      hooks_.show_preview(HealthDeclarationReport(print), this);
      const std::pair<bool, HealthList> kLists[] = {{lists.entering, HealthList::kEntering},
                                                    {lists.leaving, HealthList::kLeaving},
                                                    {lists.nominal, HealthList::kNominal}};
      for (const auto& [chosen, list] : kLists) {
        if (!chosen) continue;
        hooks_.show_preview(HealthListReport(print.employer, list, ReadHealthList(session_, list)),
                            this);
      }
    }
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
  }
  accept();
}

}  // namespace traveno::declarations_ui
