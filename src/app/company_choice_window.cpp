#include "app/company_choice_window.h"

#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "backup/safety_copies.h"
#include "app/company_editor.h"
#include "params/company_register.h"
#include "ui/date_editors.h"

namespace traveno::app {

MonthDialog::MonthDialog(Mode mode, Date start, QWidget* parent)
    : QDialog(parent), editor_(new ui::MonthYearEdit(this)) {
  const bool first = mode == Mode::kFirstMonth;
  setObjectName(first ? "FPrimaLuna" : "FLuna");
  setWindowTitle(first ? "Alegere prima luna lucru" : "Alegere luna ");
  editor_->setObjectName("EMonth");
  editor_->SetMonth(start);
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(first ? "Luna :" : "Luna: ", this));
  row->addWidget(editor_);
  layout->addLayout(row);
  auto* buttons = new QHBoxLayout;
  auto* confirm = new QPushButton("&Confirmare", this);
  confirm->setObjectName("BConfirmare");
  confirm->setDefault(true);
  auto* abandon = new QPushButton("&Abandon", this);
  abandon->setObjectName("BAbandon");
  buttons->addWidget(confirm);
  buttons->addWidget(abandon);
  layout->addLayout(buttons);
  connect(confirm, &QPushButton::clicked, this, &QDialog::accept);
  connect(abandon, &QPushButton::clicked, this, &QDialog::reject);
}

Date MonthDialog::Month() const { return editor_->Month(); }

CompanyChoiceWindow::CompanyChoiceWindow(params::Session& session, Prompter& prompter,
                                         ProgressReporter& progress, QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      progress_(progress),
      companies_(new QTreeWidget(this)),
      months_(new QListWidget(this)),
      new_company_(new QPushButton("Firma &Noua", this)),
      choose_(new QPushButton("&Alege firma", this)),
      heading_(new QLabel(this)) {
  setObjectName("FAlegere");
  setWindowTitle("Alegere Firma si Luna   ");
  resize(520, 460);
  companies_->setObjectName("LFirme");
  companies_->setColumnCount(2);
  companies_->setHeaderLabels({"Cod", "Denumire"});
  companies_->setRootIsDecorated(false);
  companies_->header()->setStretchLastSection(true);
  months_->setObjectName("LLuni");
  new_company_->setObjectName("BFirmaNoua");
  choose_->setObjectName("BAlege");
  auto* exit = new QPushButton("&Iesire", this);
  exit->setObjectName("BIesire");
  for (QPushButton* b : {new_company_, choose_, exit}) b->setAutoDefault(false);

  auto* layout = new QVBoxLayout(this);
  heading_->setObjectName("LTitlu");
  heading_->setVisible(false);
  QFont bold = heading_->font();
  bold.setBold(true);
  heading_->setFont(bold);
  layout->addWidget(heading_);
  layout->addWidget(new QLabel("Firme:", this));
  layout->addWidget(companies_, 3);
  layout->addWidget(new QLabel("Luni:", this));
  layout->addWidget(months_, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(new_company_);
  buttons->addWidget(choose_);
  buttons->addWidget(exit);
  layout->addLayout(buttons);

  connect(companies_, &QTreeWidget::currentItemChanged, this, [this] { FillMonths(); });
  connect(companies_, &QTreeWidget::itemActivated, this, [this] { BAlegeClick(); });
  connect(months_, &QListWidget::itemActivated, this, [this] { BAlegeClick(); });
  connect(choose_, &QPushButton::clicked, this, [this] { BAlegeClick(); });
  connect(exit, &QPushButton::clicked, this, &CompanyChoiceWindow::reject);
  connect(new_company_, &QPushButton::clicked, this, &CompanyChoiceWindow::BFirmaNouaClick);
  ask_first_month_ = [](QWidget* parent) -> std::optional<Date> {
    const QDate today = QDate::currentDate();
    MonthDialog dialog(MonthDialog::Mode::kFirstMonth, Date::FromYmd(today.year(), today.month(), 1),
                       parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Month();
  };
}

void CompanyChoiceWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FillCompanies();
  companies_->setFocus();
}

void CompanyChoiceWindow::FillCompanies() {
  const QString keep = session_.HasWorkingMonth() ? QString::fromStdString(session_.company())
                                                  : QString();
  companies_->clear();
  QTreeWidgetItem* current = nullptr;
  for (const FirmeRow& row : session_.store().Companies()) {
    auto* item = new QTreeWidgetItem(companies_, {QString::fromStdString(row.Cod),
                                                  QString::fromStdString(row.Denumire)});
    if (current == nullptr || QString::fromStdString(row.Cod) == keep) {
      if (current == nullptr || !keep.isEmpty()) current = item;
    }
  }
  choose_->setEnabled(companies_->topLevelItemCount() > 0);
  if (current != nullptr) companies_->setCurrentItem(current);
  FillMonths();
}

QString CompanyChoiceWindow::SelectedCode() const {
  const QTreeWidgetItem* item = companies_->currentItem();
  return item == nullptr ? QString() : item->text(0);
}

void CompanyChoiceWindow::FillMonths() {
  months_->clear();
  const std::string code = SelectedCode().toStdString();
  if (code.empty()) return;
  Store& store = session_.store();
  if (!params::IsCompanyInitialised(store, code)) {
    auto* item = new QListWidgetItem(style()->standardIcon(QStyle::SP_FileDialogNewFolder),
                                     params::kInitialisationLine, months_);
    months_->setCurrentItem(item);
    return;
  }
  std::vector<params::CompanyMonth> months;
  try {
    months = params::ListCompanyMonths(store, code);
  } catch (const DamagedCompanyError& damaged) {
    // The company stays in the list, named as damaged; the others are chosen as ever.
    auto* item = new QListWidgetItem(style()->standardIcon(QStyle::SP_MessageBoxCritical),
                                     params::kDamagedCompanyLine, months_);
    item->setToolTip(QString::fromStdString(damaged.what()));
    months_->setCurrentItem(item);
    return;
  }
  for (const params::CompanyMonth& month : months) {
    auto* item = new QListWidgetItem(
        style()->standardIcon(month.closed ? QStyle::SP_DialogCancelButton
                                           : QStyle::SP_DialogApplyButton),
        QString::fromStdString(params::MonthListLine(month.luna)), months_);
    item->setData(Qt::UserRole, month.luna.serial());
    months_->setCurrentItem(item);  // the last (latest) month ends selected
  }
}

void CompanyChoiceWindow::SetCloneMode() {
  clone_mode_ = true;
  setWindowTitle("Alegere Firma si Luna pentru clonare (sursa)  ");
  heading_->setText(windowTitle());
  heading_->setVisible(true);
  new_company_->setVisible(false);
  choose_->setText("&Clonare");
}

bool CompanyChoiceWindow::BClonareClick() {
  const std::string code = SelectedCode().toStdString();
  if (code.empty()) return false;
  Date month;
  if (const QListWidgetItem* item = months_->currentItem();
      item != nullptr && item->data(Qt::UserRole).isValid()) {
    month = Date::FromSerial(item->data(Qt::UserRole).toInt());
  }
  switch (params::CloneMonthOutcome(session_, code, month, prompter_, progress_)) {
    case params::CloneOutcome::kCloned:
      accept();
      return true;
    case params::CloneOutcome::kNotConfirmed:
      QDialog::reject();
      break;
    case params::CloneOutcome::kSameCompany:
      companies_->setFocus();
      break;
    case params::CloneOutcome::kOtherMonth:
      months_->setFocus();
      break;
    case params::CloneOutcome::kRefused:
      break;
  }
  return false;
}

bool CompanyChoiceWindow::BAlegeClick() {
  if (clone_mode_) return BClonareClick();
  const std::string code = SelectedCode().toStdString();
  if (code.empty()) return false;
  std::optional<Date> month;
  if (params::IsCompanyInitialised(session_.store(), code)) {
    const QListWidgetItem* item = months_->currentItem();
    if (item != nullptr && item->data(Qt::UserRole).isValid()) {
      month = Date::FromSerial(item->data(Qt::UserRole).toInt());
    }
  } else {
    month = ask_first_month_(this);
    if (!month) {
      companies_->setFocus();
      return false;
    }
  }
  if (!params::ChooseCompanyAndMonth(session_, code, month, prompter_, progress_)) {
    FillMonths();
    return false;
  }
  accept();
  return true;
}

void CompanyChoiceWindow::BFirmaNouaClick() {
  CompanyEditor editor(CompanyEditor::Mode::kAdd, {}, prompter_, this);
  if (editor.exec() != QDialog::Accepted) return;
  const params::CompanyInput input = editor.Input();
  // A code already in the register adds nothing: two companies never share a folder.
  params::AddCompany(session_.store(), input, prompter_);
  const std::string code = params::StoredCompanyRow(input).Cod;
  FillCompanies();
  const auto found = companies_->findItems(QString::fromStdString(code), Qt::MatchExactly, 0);
  if (!found.isEmpty()) companies_->setCurrentItem(found.first());
  companies_->setFocus();
}

void CompanyChoiceWindow::reject() {
  session_.store().VerificareFoldere(
      prompter_, backup::PurgeSafetyCopy(session_.store().data_folder()));
  QDialog::reject();
}

}  // namespace traveno::app
