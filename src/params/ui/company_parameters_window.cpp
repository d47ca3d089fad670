#include "params/ui/company_parameters_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/date.h"
#include "core/errors.h"
#include "core/text.h"
#include "params/parameter_edits.h"
#include "params/ui/company_setting_windows.h"
#include "params/ui/formula_editor.h"
#include "params/ui/holidays_window.h"
#include "params/ui/number_boxes.h"
#include "ui/qt_prompter.h"
#include "ui/wait_windows.h"
#include "ui/window_base.h"

namespace traveno::params_ui {
namespace {

// The bonus kinds in their stored order (SporN_Apl).
const char* const kBonusKinds[] = {"Fix in lei",    "% la Incadrare",  "% la Tarifar",
                                   "% la Realizat", "Nu se foloseste", "Formula"};
constexpr int kUnused = 4;
constexpr int kFormula = 5;

using Member = double engine::CompanyParameters::*;
using C = engine::CompanyParameters;

struct Box {
  const char* name;
  const char* label;
  Member member;
};

const Box kBoxes[] = {
    {"ComisionCM", "Comision CM", &C::ComisionCM},
    {"TimpLuna", "Timp de lucru in luna", &C::TimpLuna},
    {"MedieOre", "Numar mediu de ore lunare:", &C::MedieOre},
    {"SporNoapte", "Spor noapte", &C::SporNoapte},
    {"CoefCO", "Coeficient Co", &C::CoefCO},
    {"ProcOreSupli", "Ore suplimentare", &C::ProcOreSupli},
    {"ZiLichidare", "   Ziua lichidarii drepturilor salariale", &C::ZiLichidare},
};

int ShownKind(double stored) {
  const int kind = static_cast<int>(stored);
  return stored == kind && kind >= 0 && kind <= kFormula ? kind : kUnused;
}

}  // namespace

CompanyParametersWindow::CompanyParametersWindow(params::Session& session, Prompter& prompter,
                                                 ProgressReporter& progress, QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      progress_(progress),
      heading_(new QLabel(this)),
      pages_(new QStackedWidget(this)),
      in_days_(new QCheckBox(" in zile", this)),
      new_page_(new QCheckBox("Pagina noua pt. contract partial", this)),
      sole_associate_(new QCheckBox("Stat plata asociat unic", this)),
      one_copy_(new QRadioButton("un exemplar", this)),
      two_copies_(new QRadioButton("doua exemplare", this)),
      co_expert_(new QPushButton("Configurare expert C&O", this)),
      initialised_(new QPushButton("Sume &initializate", this)),
      // Alt+E belongs to "Configurare &expert", which switches the page; the
      // exempt sums take the next letter of their caption.
      exempt_(new QPushButton("Sume e&xceptate", this)),
      deductions_(new QPushButton("&Definire retineri", this)),
      holidays_(new QPushButton("Definire &sarbatori legale", this)),
      switch_(new QPushButton(this)),
      confirm_(new QPushButton("&Confirmare", this)) {
  setObjectName("FParFirma");
  setWindowTitle("Parametrii  de calcul ai firmei");
  const C& values = session_.parameters().company;
  stored_at_opening_ = session_.stored_parameters().company;
  auto* layout = new QVBoxLayout(this);
  heading_->setObjectName("LTitlu");
  QFont bold = heading_->font();
  bold.setBold(true);
  heading_->setFont(bold);
  heading_->setAlignment(Qt::AlignCenter);
  layout->addWidget(heading_);
  layout->addWidget(pages_);

  // The general page.
  auto* general = new QWidget(pages_);
  general->setObjectName("PGeneral");
  auto* general_layout = new QGridLayout(general);
  auto* form = new QFormLayout;
  for (const Box& b : kBoxes) {
    auto* edit = new QLineEdit(general);
    edit->setObjectName(QString("E") + b.name);
    edit->setAlignment(Qt::AlignRight);
    ui::SizeToChars(edit, 8);
    ShowNumber(edit, values.*(b.member), NumberMask::kUpToTwoDecimals);
    boxes_[b.name] = edit;
    if (std::string(b.name) == "TimpLuna") {
      auto* row = new QHBoxLayout;
      row->addWidget(edit);
      in_days_->setObjectName("CTimpZile");
      row->addWidget(in_days_);
      form->addRow(b.label, row);
    } else if (std::string(b.name) == "ZiLichidare") {
      auto* row = new QHBoxLayout;
      row->addWidget(edit);
      row->addWidget(new QLabel(
          QString::fromStdString("  din " + MonthText(AddMonths(session_.working_month(), 1)))));
      form->addRow(b.label, row);
    } else {
      form->addRow(b.label, edit);
    }
  }
  in_days_->setChecked(values.TimpZile != 0);
  general_layout->addLayout(form, 0, 0);
  auto* options = new QVBoxLayout;
  new_page_->setObjectName("CPagColab");
  new_page_->setChecked(values.PagColab != 0);
  sole_associate_->setObjectName("CStatAscUnic");
  sole_associate_->setChecked(values.StatAscUnic != 0);
  options->addWidget(new_page_);
  options->addWidget(sole_associate_);
  auto* copies = new QGroupBox("Tiparire fluturasi de lichidare ", general);
  auto* copies_layout = new QVBoxLayout(copies);
  one_copy_->setParent(copies);
  two_copies_->setParent(copies);
  copies_layout->addWidget(one_copy_);
  copies_layout->addWidget(two_copies_);
  (values.TipFluturasi == 1 ? one_copy_ : two_copies_)->setChecked(true);
  options->addWidget(copies);
  for (QPushButton* b : {initialised_, exempt_, deductions_, holidays_}) {
    b->setParent(general);
    b->setAutoDefault(false);
    options->addWidget(b);
  }
  initialised_->setObjectName("BSumeInitializate");
  exempt_->setObjectName("BSumeExceptate");
  deductions_->setObjectName("BRetineri");
  holidays_->setObjectName("BSarbatori");
  options->addStretch();
  general_layout->addLayout(options, 0, 1);
  pages_->addWidget(general);

  // The expert page.
  auto* expert = new QWidget(pages_);
  expert->setObjectName("PExpert");
  auto* expert_layout = new QGridLayout(expert);
  for (int i = 0; i < 4; ++i) {
    const QString n = QString::number(i + 1);
    const engine::BonusParameters& bonus = values.spor[i];
    auto* group = new QGroupBox("Spor " + n, expert);
    auto* group_form = new QFormLayout(group);
    bonus_names_[i] = new QLineEdit(QString::fromStdString(bonus.Den), group);
    bonus_names_[i]->setObjectName("ESpor" + n + "_Den");
    group_form->addRow("Denumire Spor " + n, bonus_names_[i]);
    bonus_kinds_[i] = new QComboBox(group);
    bonus_kinds_[i]->setObjectName("CBSpor" + n + "_Apl");
    for (const char* kind : kBonusKinds) bonus_kinds_[i]->addItem(kind);
    bonus_kinds_[i]->setCurrentIndex(ShownKind(bonus.Apl));
    group_form->addRow("Aplicat la :", bonus_kinds_[i]);
    bonus_perm_[i] = new QCheckBox("Se retine somaj ", group);
    bonus_perm_[i]->setObjectName("CSpor_Perm" + n);
    bonus_perm_[i]->setChecked(bonus.Perm != 0);
    group_form->addRow(bonus_perm_[i]);
    bonus_co_[i] = new QCheckBox("Se utilizeaza la calculul concediului de odihna", group);
    bonus_co_[i]->setObjectName("CSpor" + n + "_CO");
    bonus_co_[i]->setChecked(bonus.CO != 0);
    group_form->addRow(bonus_co_[i]);
    bonus_expert_[i] = new QPushButton("Configurare expert &" + n, group);
    bonus_expert_[i]->setObjectName("BExpert" + n);
    bonus_expert_[i]->setAutoDefault(false);
    group_form->addRow(bonus_expert_[i]);
    expert_layout->addWidget(group, i / 2, i % 2);
    connect(bonus_kinds_[i], &QComboBox::activated, this, [this, i] { KindChosen(i); });
    connect(bonus_expert_[i], &QPushButton::clicked, this, [this, i] { OpenBonusFormula(i); });
  }
  for (int i = 0; i < 4; ++i) KindChosen(i);
  co_expert_->setParent(expert);
  co_expert_->setObjectName("BExpertCO");
  co_expert_->setAutoDefault(false);
  expert_layout->addWidget(co_expert_, 2, 0, 1, 2, Qt::AlignLeft);
  pages_->addWidget(expert);

  auto* buttons = new QHBoxLayout;
  switch_->setObjectName("BExpert");
  switch_->setAutoDefault(false);
  confirm_->setObjectName("BConfirmare");
  confirm_->setEnabled(!session_.month_closed());
  auto* abandon = new QPushButton("&Abandon", this);
  abandon->setObjectName("BAbandon");
  buttons->addWidget(switch_);
  buttons->addStretch();
  buttons->addWidget(confirm_);
  buttons->addWidget(abandon);
  layout->addLayout(buttons);

  connect(switch_, &QPushButton::clicked, this, [this] {
    ShowPage(!expert_page());
    ui::CentreOnScreen(*this);
    // The keyboard goes on with the first control of the page shown.
    QWidget* page = pages_->currentWidget();
    for (QWidget* w = page->nextInFocusChain(); w != nullptr && w != page;
         w = w->nextInFocusChain()) {
      if (page->isAncestorOf(w) && w->isEnabled() && w->isVisible() &&
          (w->focusPolicy() & Qt::TabFocus) != 0) {
        w->setFocus(Qt::TabFocusReason);
        break;
      }
    }
  });
  connect(confirm_, &QPushButton::clicked, this, &CompanyParametersWindow::BConfirmareClick);
  connect(abandon, &QPushButton::clicked, this, &QDialog::reject);
  connect(co_expert_, &QPushButton::clicked, this, &CompanyParametersWindow::OpenHolidayPayFormula);
  connect(holidays_, &QPushButton::clicked, this, &CompanyParametersWindow::OpenHolidays);
  connect(initialised_, &QPushButton::clicked, this, [this] {
    InitialisedSumsWindow window(session_, this);
    window.exec();
  });
  connect(exempt_, &QPushButton::clicked, this, [this] {
    ExemptSumsWindow window(session_, prompter_, progress_, this);
    window.exec();
  });
  connect(deductions_, &QPushButton::clicked, this, [this] {
    DeductionNamesWindow window(session_, prompter_, this);
    window.exec();
  });
  // Tab in the order the pages are read: the general page's boxes and
  // choices, its buttons, the expert page's bonuses, then the buttons below.
  std::vector<QWidget*> order;
  for (const Box& b : kBoxes) {
    order.push_back(boxes_.at(b.name));
    if (std::string(b.name) == "TimpLuna") order.push_back(in_days_);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{new_page_, sole_associate_, one_copy_,
                                                    two_copies_, initialised_, exempt_,
                                                    deductions_, holidays_}) {
    order.push_back(w);
  }
  for (int i = 0; i < 4; ++i) {
    for (QWidget* w : std::initializer_list<QWidget*>{bonus_names_[i], bonus_kinds_[i],
                                                      bonus_perm_[i], bonus_co_[i],
                                                      bonus_expert_[i]}) {
      order.push_back(w);
    }
  }
  order.push_back(co_expert_);
  order.push_back(switch_);
  order.push_back(confirm_);
  order.push_back(abandon);
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
  ShowPage(false);
  boxes_.at(kBoxes[0].name)->setFocus();
}

bool CompanyParametersWindow::expert_page() const { return pages_->currentIndex() == 1; }

void CompanyParametersWindow::ShowPage(bool expert) {
  pages_->setCurrentIndex(expert ? 1 : 0);
  switch_->setText(expert ? "Configurare &generala" : "Configurare &expert");
  std::string name;
  if (const auto row = session_.store().FindCompany(session_.company())) name = Trim(row->Denumire);
  heading_->setText(
      ui::DisplayText(std::string(expert ? "Parametrii de calcul EXPERT ai firmei "
                                         : "Parametrii de calcul GENERALI ai firmei ") +
                      name + " " + "\n\r" + "pe luna " + MonthText(session_.working_month())));
}

void CompanyParametersWindow::KindChosen(int index) {
  const int kind = bonus_kinds_[index]->currentIndex();
  bonus_expert_[index]->setEnabled(kind == kFormula);
  const bool used = kind != kUnused;
  bonus_names_[index]->setEnabled(used);
  bonus_perm_[index]->setEnabled(used);
  bonus_co_[index]->setEnabled(used);
  RefreshHolidayPayChecks();
}

void CompanyParametersWindow::RefreshHolidayPayChecks() {
  // A holiday pay computed by its own formula takes no bonus into account.
  const bool by_formula = !Trim(session_.parameters().company.CO_Form).empty();
  for (int i = 0; i < 4; ++i) {
    if (by_formula) {
      bonus_co_[i]->setChecked(false);
      bonus_co_[i]->setEnabled(false);
    } else {
      bonus_co_[i]->setEnabled(bonus_kinds_[i]->currentIndex() != kUnused);
    }
  }
}

void CompanyParametersWindow::OpenBonusFormula(int index) {
  formula_opened_[index] = true;
  FormulaEditor editor(session_, index, prompter_, this);
  editor.setWindowTitle(QString("Editare formula calcul spor %1 - ").arg(index + 1) +
                        bonus_names_[index]->text());
  editor.exec();
  // A confirmed formula makes the bonus a formula one; an editor left
  // without confirming leaves the bonus as the stored formula says.
  const bool has_formula = !Trim(session_.parameters().company.spor[index].Form).empty();
  bonus_kinds_[index]->setCurrentIndex(editor.confirmed() || has_formula ? kFormula : kUnused);
  KindChosen(index);
}

void CompanyParametersWindow::OpenHolidayPayFormula() {
  FormulaEditor editor(session_, -1, prompter_, this);
  editor.setWindowTitle("Editare formula concediu de odihna");
  editor.exec();
  RefreshHolidayPayChecks();
}

void CompanyParametersWindow::OpenHolidays() {
  const double typed = ReadNumber(boxes_.at("TimpLuna"), session_.parameters().company.TimpLuna);
  HolidaysWindow window(session_, in_days_->isChecked(), typed, prompter_, progress_, this);
  window.exec();
  if (window.result() == QDialog::Accepted && window.time_differs()) {
    boxes_.at("TimpLuna")->setFocus();
  }
}

void CompanyParametersWindow::FocusParameter(const std::string& name) {
  if (auto it = boxes_.find(name); it != boxes_.end()) {
    ShowPage(false);
    it->second->setFocus();
    return;
  }
  for (int i = 0; i < 4; ++i) {
    const std::string n = "Spor" + std::to_string(i + 1);
    if (name == n + "_Den") {
      ShowPage(true);
      bonus_names_[i]->setFocus();
    } else if (name == n + "_Form") {
      ShowPage(true);
      bonus_expert_[i]->setFocus();
    }
  }
}

void CompanyParametersWindow::BConfirmareClick() {
  // What the other windows changed in memory (formulas, holidays, exempt and
  // initialised sums) is kept; the boxes of this window are laid over it.
  C values = session_.parameters().company;
  for (const Box& b : kBoxes)
    values.*(b.member) = ReadNumber(boxes_.at(b.name), values.*(b.member));
  values.TimpZile = in_days_->isChecked() ? 1 : 0;
  values.PagColab = new_page_->isChecked() ? 1 : 0;
  values.StatAscUnic = sole_associate_->isChecked() ? 1 : 0;
  values.TipFluturasi = one_copy_->isChecked() ? 1 : 2;
  for (int i = 0; i < 4; ++i) {
    engine::BonusParameters& bonus = values.spor[i];
    bonus.Den = bonus_names_[i]->text().toStdString();
    bonus.Apl = bonus_kinds_[i]->currentIndex();
    bonus.Perm = bonus_perm_[i]->isChecked() ? 1 : 0;
    bonus.CO = bonus_co_[i]->isChecked() ? 1 : 0;
  }
  params::ConfirmResult result;
  try {
    result = params::ConfirmCompanyParameters(session_, values, formula_opened_, prompter_,
                                              progress_, &stored_at_opening_);
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
    return;
  }
  if (!result.confirmed) {
    if (result.focus == "MedieOre") {
      // The answer No puts the old value back.
      ShowNumber(boxes_.at("MedieOre"), session_.parameters().company.MedieOre,
                 NumberMask::kUpToTwoDecimals);
    }
    FocusParameter(result.focus);
    return;
  }
  accept();
}

}  // namespace traveno::params_ui
