#include "params/ui/company_setting_windows.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/date.h"
#include "core/errors.h"
#include "params/parameter_edits.h"
#include "params/ui/number_boxes.h"
#include "ui/qt_prompter.h"
#include "ui/window_base.h"

namespace traveno::params_ui {
namespace {

QLabel* Heading(const std::string& text, QWidget* parent) {
  auto* heading = new QLabel(ui::DisplayText(text), parent);
  heading->setObjectName("LTitlu");
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  heading->setAlignment(Qt::AlignCenter);
  return heading;
}

// "&Confirmare" and "&Abandon" at the bottom right.
void AddButtons(QDialog* dialog, QVBoxLayout* layout, QPushButton* confirm,
                QPushButton* extra = nullptr) {
  auto* buttons = new QHBoxLayout;
  confirm->setObjectName("BConfirmare");
  auto* abandon = new QPushButton("&Abandon", dialog);
  abandon->setObjectName("BAbandon");
  if (extra != nullptr) buttons->addWidget(extra);
  buttons->addStretch();
  buttons->addWidget(confirm);
  buttons->addWidget(abandon);
  layout->addLayout(buttons);
  // The buttons were made first; Tab reaches them after the window's boxes.
  if (extra != nullptr) ui::PutLastInTabOrder({extra});
  ui::PutLastInTabOrder({confirm, abandon});
  // Enter in a box confirms what was typed (without it Enter went to
  // "&Abandon" and dropped the changes).
  confirm->setDefault(true);
  QObject::connect(abandon, &QPushButton::clicked, dialog, &QDialog::reject);
}

engine::ExemptSetting& Setting(engine::CompanyParameters& values, int index) {
  engine::ExemptSetting* settings[] = {&values.Ex_Pensie, &values.Ex_Sanatate, &values.Ex_Impozit,
                                       &values.Ex_Firma};
  return *settings[index];
}

const char* const kExemptNames[] = {"Ex_Pensie", "Ex_Sanatate", "Ex_Impozit"};

}  // namespace

ExemptSumsWindow::ExemptSumsWindow(params::Session& session, Prompter& prompter,
                                   ProgressReporter& progress, QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      progress_(progress),
      employer_(new QCheckBox("Se retin taxe angajator", this)),
      defaults_(new QPushButton("&Valori implicite", this)),
      confirm_(new QPushButton("&Confirmare", this)) {
  setObjectName("FSumeExceptate");
  setWindowTitle("Configurare Sume Exceptate");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Heading(
      "Configurare Sume Exceptate\n\rpe luna " + MonthText(session_.working_month()), this));
  const char* const kLabels[] = {"Pensie (CIAS)", "Sanatate (CASS)", "Impozit"};
  auto* grid = new QGridLayout;
  engine::CompanyParameters& values = session_.parameters().company;
  for (int i = 0; i < 3; ++i) {
    checks_[i] = new QCheckBox(kLabels[i], this);
    checks_[i]->setObjectName(QString("C") + kExemptNames[i]);
    percents_[i] = new QLineEdit(this);
    percents_[i]->setObjectName(QString("E") + kExemptNames[i]);
    percents_[i]->setAlignment(Qt::AlignRight);
    ui::SizeToChars(percents_[i], 6);
    const engine::ExemptSetting& setting = Setting(values, i);
    const bool checked = engine::IsFlagChecked(setting.Grupa);
    checks_[i]->setChecked(checked);
    ShowNumber(percents_[i], setting.Val, NumberMask::kUpToTwoDecimals);
    percents_[i]->setEnabled(checked);
    grid->addWidget(checks_[i], i, 0);
    grid->addWidget(percents_[i], i, 1);
    grid->addWidget(new QLabel("%", this), i, 2);
    // A click, not a change made by the window itself, resets the percentage.
    connect(checks_[i], &QCheckBox::clicked, this, [this, i](bool on) { Checked(i, on); });
  }
  employer_->setObjectName("CEx_Firma");
  employer_->setChecked(engine::IsFlagChecked(values.Ex_Firma.Grupa));
  grid->addWidget(employer_, 3, 0, 1, 3);
  layout->addLayout(grid);
  ui::PutLastInTabOrder({employer_});
  defaults_->setObjectName("BValoriImplicite");
  AddButtons(this, layout, confirm_, defaults_);
  confirm_->setEnabled(!session_.month_closed());
  connect(defaults_, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < 3; ++i) {
      checks_[i]->setChecked(true);
      Checked(i, true);
    }
    employer_->setChecked(true);
  });
  connect(confirm_, &QPushButton::clicked, this, &ExemptSumsWindow::BConfirmareClick);
  checks_[0]->setFocus();
}

void ExemptSumsWindow::Checked(int index, bool checked) {
  ShowNumber(percents_[index], checked ? 100 : 0, NumberMask::kUpToTwoDecimals);
  percents_[index]->setEnabled(checked);
}

void ExemptSumsWindow::BConfirmareClick() {
  engine::CompanyParameters& memory = session_.parameters().company;
  std::array<engine::ExemptSetting, 4> settings;
  for (int i = 0; i < 3; ++i) {
    settings[i].Val = ReadNumber(percents_[i], 0);
    settings[i].Grupa = checks_[i]->isChecked() ? "DA" : "NU";
  }
  settings[3].Val = memory.Ex_Firma.Val;
  settings[3].Grupa = employer_->isChecked() ? "DA" : "NU";
  params::ConfirmResult result;
  try {
    result = params::ConfirmExemptSums(session_, settings[0], settings[1], settings[2], settings[3],
                                       prompter_, progress_);
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
    return;
  }
  if (!result.confirmed) {
    for (int i = 0; i < 3; ++i) {
      if (result.focus == kExemptNames[i]) percents_[i]->setFocus();
    }
    return;
  }
  accept();
}

namespace {

using G = engine::CompanyParameters;

struct InitialisedSum {
  const char* name;
  const char* label;
  double& (*value)(G&);
};

#define TRAVENO_SUM(member, label)                            \
  {                                                           \
#member, label, [](G & p) -> double& { return p.member; } \
  }
#define TRAVENO_BONUS(index, name, label)                           \
  {                                                                 \
    name, label, [](G& p) -> double& { return p.spor[index].Init; } \
  }

const InitialisedSum kInitialisedSums[] = {
    TRAVENO_SUM(Timp, "Timp de lucru in luna"),
    TRAVENO_SUM(Timp_spl, "Timp suplimentar"),
    TRAVENO_SUM(InitPrime, "Prime"),
    TRAVENO_SUM(InitPr_va, "Prime Vacanta"),
    TRAVENO_SUM(Cm1l, "Cm_Firma"),
    TRAVENO_SUM(Cm2l, "Cm_Stat"),
    TRAVENO_SUM(Avans, "Avans"),
    TRAVENO_SUM(Retineri, "Retineri"),
    TRAVENO_SUM(Timp_Noapte, "Timp Noapte"),
    TRAVENO_SUM(Zile_Co, "Zile Concediu Odihna"),
    TRAVENO_SUM(InitAlteSume, "Alte Sume"),
    TRAVENO_SUM(InitCIC, "Concediu ingrijire copil"),
    TRAVENO_SUM(Popriri, "Popriri"),
    TRAVENO_SUM(Garantii, "Garantii"),
    TRAVENO_SUM(Alte_Ret, "Alte retineri"),
    TRAVENO_SUM(Prime_inc, "Prime incasate"),
    TRAVENO_SUM(Avans_Co, "Avans concediu"),
    TRAVENO_SUM(Zile_Fp, "Zile concediu fara plata"),
    TRAVENO_SUM(Zile_Cm, "Zile concediu medical"),
    TRAVENO_SUM(Zile_CIC, "Zile concediu ingrijire copil"),
    TRAVENO_SUM(InitSporuri, "Sporuri"),
    TRAVENO_SUM(SumeExcept, "Sume exceptate"),
    TRAVENO_SUM(ProcImpo, "Procent Impozit (100)"),
    TRAVENO_BONUS(0, "Spor1_Init", "Spor 1"),
    TRAVENO_BONUS(1, "Spor2_Init", "Spor 2"),
    TRAVENO_BONUS(2, "Spor3_Init", "Spor 3"),
    TRAVENO_BONUS(3, "Spor4_Init", "Spor 4"),
};

#undef TRAVENO_SUM
#undef TRAVENO_BONUS

}  // namespace

InitialisedSumsWindow::InitialisedSumsWindow(params::Session& session, QWidget* parent)
    : QDialog(parent), session_(session), confirm_(new QPushButton("&Confirmare", this)) {
  setObjectName("FSumeInitializate");
  setWindowTitle("Sume initializate ");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Heading("Configurare sume initializate la trecere de luna", this));
  auto* explanation = new QLabel(
      "La trecerea de luna sumele bifate vor avea valoarea initiala 0 "
      "sau valoarea din paranteza. "
      "Sumele nebifate isi pastreaza valoarea la trecerea de luna.",
      this);
  explanation->setWordWrap(true);
  layout->addWidget(explanation);
  auto* grid = new QGridLayout;
  G& values = session_.parameters().company;
  const int rows = (std::size(kInitialisedSums) + 2) / 3;
  int index = 0;
  for (const InitialisedSum& sum : kInitialisedSums) {
    auto* check = new QCheckBox(sum.label, this);
    check->setObjectName(QString("C") + sum.name);
    check->setChecked(sum.value(values) != 0);
    grid->addWidget(check, index % rows, index / rows);
    checks_.push_back(check);
    ++index;
  }
  layout->addLayout(grid);
  AddButtons(this, layout, confirm_);
  confirm_->setEnabled(!session_.month_closed());
  connect(confirm_, &QPushButton::clicked, this, &InitialisedSumsWindow::BConfirmareClick);
  checks_.front()->setFocus();
}

QCheckBox* InitialisedSumsWindow::check(const QString& name) const {
  return findChild<QCheckBox*>("C" + name);
}

void InitialisedSumsWindow::BConfirmareClick() {
  G& values = session_.parameters().company;
  for (std::size_t i = 0; i < checks_.size(); ++i) {
    kInitialisedSums[i].value(values) = checks_[i]->isChecked() ? 1 : 0;
  }
  accept();
}

DeductionNamesWindow::DeductionNamesWindow(params::Session& session, Prompter& prompter,
                                           QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      confirm_(new QPushButton("&Confirmare", this)) {
  setObjectName("FRetineri");
  setWindowTitle("Definire retineri");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Heading("Definire campuri de retineri pentru firma " + session_.company() +
                                " " + "\n\r" + "pe luna " + MonthText(session_.working_month()),
                            this));
  const G& values = session_.parameters().company;
  const std::pair<const char*, const std::string*> kNames[] = {
      {"Denumire veche Prime incasate", &values.Den_PrIncas},
      {"Denumire veche Avans CO", &values.Den_AvansCO},
      {"Denumire veche Retineri", &values.Den_Retineri},
      {"Denumire veche Popriri", &values.Den_Popriri},
      {"Denumire veche Alte retineri", &values.Den_AlteRet},
      {"Denumire veche Garantii", &values.Den_Garantii},
  };
  auto* form = new QFormLayout;
  for (int i = 0; i < 6; ++i) {
    names_[i] = new QLineEdit(QString::fromStdString(*kNames[i].second), this);
    names_[i]->setObjectName(QString("EDen%1").arg(i + 1));
    names_[i]->setMaxLength(15);
    ui::SizeToChars(names_[i], 15);
    form->addRow(kNames[i].first, names_[i]);
  }
  layout->addLayout(form);
  AddButtons(this, layout, confirm_);
  // As every company window, it does not change a closed month.
  confirm_->setEnabled(!session_.month_closed());
  connect(confirm_, &QPushButton::clicked, this, &DeductionNamesWindow::BConfirmareClick);
  names_[0]->setFocus();
}

void DeductionNamesWindow::BConfirmareClick() {
  std::array<std::string, 6> names;
  for (int i = 0; i < 6; ++i) names[i] = names_[i]->text().toStdString();
  try {
    params::ConfirmDeductionNames(session_, names);
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
    return;
  }
  accept();
}

}  // namespace traveno::params_ui
