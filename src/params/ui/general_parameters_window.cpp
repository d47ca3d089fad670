#include "params/ui/general_parameters_window.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
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

using Member = double engine::GeneralParameters::*;

struct Box {
  const char* name;
  const char* label;
  Member member;
  // The wages and the child-care ceiling show no forced decimals.
  NumberMask mask = NumberMask::kTwoDecimals;
};

struct Group {
  const char* title;
  std::vector<Box> boxes;
};

using G = engine::GeneralParameters;

// The boxes in the groups the window shows. BazaInvat is not shown: its value
// in memory is stored back as it is.
const std::vector<Group>& Groups() {
  static const std::vector<Group> kGroups = {
      {"Angajat",
       {{"SomajAng", "Procent somaj perm.", &G::SomajAng},
        {"SomajCol", "Procent somaj c. partial", &G::SomajCol},
        {"SanatateAng", "Procent sanatate (CASS)", &G::SanatateAng},
        {"Pensie", "Procent pensie(CIAS)", &G::Pensie}}},
      {"Firma",
       {{"SomajFirm", "Procent somaj", &G::SomajFirm},
        {"SanatateFirm", "Procent sanatate (CASS)", &G::SanatateFirm},
        {"CAS", "Procent pensie (CAS)", &G::CAS},
        {"Handicap", "Fond pt pers.cu handicap", &G::Handicap},
        {"PersHandi", "Procent pers.cu handicap", &G::PersHandi},
        {"Invat", "Procent invatamant", &G::Invat},
        {"Accident", "Fond de risc si accidente", &G::Accident}}},
      {"Deduceri",
       {{"DedBaza", "Deducere personala de baza ", &G::DedBaza},
        {"CheltProf", "Cheltuieli profesionale", &G::CheltProf},
        {"ProcChProf", "Coeficient pentru chelt. prof.", &G::ProcChProf},
        {"DedAnuala", "Deducere personala anuala:", &G::DedAnuala},
        {"SotSotie", "Sot/Sotie", &G::SotSotie},
        {"DoiCopii", "Primii doi copii", &G::DoiCopii},
        {"RestCopii", "Restul copiilor", &G::RestCopii},
        {"AltePers", "Alte persoane", &G::AltePers},
        {"InvalidI", "Invaliditate gr I", &G::InvalidI},
        {"InvalidII", "Invaliditate gr II", &G::InvalidII},
        {"CoefMax", "Coeficient deducere max : ", &G::CoefMax}}},
      {"Salarii",
       {{"SalMedEc", "Salariu mediu: ", &G::SalMedEc, NumberMask::kUpToTwoDecimals},
        {"SalMinEc", "Salariu minim:  ", &G::SalMinEc, NumberMask::kUpToTwoDecimals},
        {"LimCIC", "Suma limita CIC:", &G::LimCIC, NumberMask::kUpToTwoDecimals}}},
  };
  return kGroups;
}

}  // namespace

GeneralParametersWindow::GeneralParametersWindow(params::Session& session, Prompter& prompter,
                                                 ProgressReporter& progress, QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      progress_(progress),
      confirm_(new QPushButton("&Confirmare", this)),
      abandon_(new QPushButton("&Abandon", this)) {
  setObjectName("FParametri");
  setWindowTitle("Parametrii generali de calcul");
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(QString::fromStdString("Parametrii generali de calcul pe " +
                                                    MonthText(session_.working_month())),
                             this);
  heading->setObjectName("LTitlu");
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  heading->setAlignment(Qt::AlignCenter);
  layout->addWidget(heading);

  const engine::GeneralParameters& values = session_.parameters().general;
  auto* groups = new QGridLayout;
  int index = 0;
  for (const Group& group : Groups()) {
    auto* box_group = new QGroupBox(group.title, this);
    auto* form = new QFormLayout(box_group);
    for (const Box& b : group.boxes) {
      auto* edit = new QLineEdit(box_group);
      edit->setObjectName(QString("E") + b.name);
      edit->setAlignment(Qt::AlignRight);
      // Amounts up to the child-care ceiling of 1 000 000 000 000 lei.
      ui::SizeToChars(edit, 16);
      ShowNumber(edit, values.*(b.member), b.mask);
      form->addRow(b.label, edit);
      boxes_[b.name] = edit;
    }
    groups->addWidget(box_group, index / 2, index % 2);
    ++index;
  }
  layout->addLayout(groups);
  connect(boxes_.at("ProcChProf"), &QLineEdit::textEdited, this,
          &GeneralParametersWindow::CoefficientEdited);

  auto* buttons = new QHBoxLayout;
  confirm_->setObjectName("BConfirmare");
  abandon_->setObjectName("BAbandon");
  buttons->addStretch();
  buttons->addWidget(confirm_);
  buttons->addWidget(abandon_);
  layout->addLayout(buttons);
  connect(confirm_, &QPushButton::clicked, this, &GeneralParametersWindow::BConfirmareClick);
  connect(abandon_, &QPushButton::clicked, this, &QDialog::reject);

  // Tab goes through the boxes as they are read, group by group, then to the
  // buttons; the window opens on the first box.
  QWidget* previous = nullptr;
  for (const Group& group : Groups()) {
    for (const Box& b : group.boxes) {
      if (previous != nullptr) QWidget::setTabOrder(previous, boxes_.at(b.name));
      previous = boxes_.at(b.name);
    }
  }
  ui::SetTabOrder({previous, confirm_, abandon_});
  boxes_.at(Groups().front().boxes.front().name)->setFocus();
}

void GeneralParametersWindow::CoefficientEdited() {
  const engine::GeneralParameters& values = session_.parameters().general;
  const double ded_baza = ReadNumber(boxes_.at("DedBaza"), values.DedBaza);
  const double coefficient = ReadNumber(boxes_.at("ProcChProf"), values.ProcChProf);
  ShowNumber(boxes_.at("CheltProf"), params::ProfessionalExpenses(ded_baza, coefficient),
             NumberMask::kTwoDecimals);
}

void GeneralParametersWindow::BConfirmareClick() {
  engine::GeneralParameters values = session_.parameters().general;
  for (const Group& group : Groups()) {
    for (const Box& b : group.boxes) {
      values.*(b.member) = ReadNumber(boxes_.at(b.name), values.*(b.member));
    }
  }
  try {
    params::ConfirmGeneralParameters(session_, values, prompter_, progress_);
  } catch (const Error& error) {
    // The values in memory keep what was typed; the store is as before.
    prompter_.Message(MessageKind::kError, error.what());
    return;
  }
  accept();
}

}  // namespace traveno::params_ui
