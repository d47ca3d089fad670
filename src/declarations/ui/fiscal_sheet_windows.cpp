#include "declarations/ui/fiscal_sheet_windows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QVBoxLayout>

#include "declarations/ui/window_parts.h"
#include "declarations/year_source.h"
#include "params/session.h"
#include "ui/data_grid.h"
#include "ui/window_base.h"

namespace traveno::declarations_ui {
namespace {

namespace decl = declarations;

constexpr int kIidRole = Qt::UserRole + 1;

constexpr ui::GridColumn kColumns[] = {{"MARCA", "Marca", 6},
                                       {"NUME", "Nume", 20},
                                       {"PRENUME", "Prenume", 30},
                                       {"CODNUMPERS", "Cod Numeric Personal", 13},
                                       {"FUNCTIE", "Functie", 50}};

QString Q(const std::string& text) { return QString::fromStdString(text); }

bool IsEnter(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

SheetYearWindow::SheetYearWindow(params::Session& session, const decl::SheetPerson& person,
                                 Prompter& prompter, ShowSheet show_sheet, QWidget* parent)
    : QDialog(parent),
      session_(session),
      person_(person),
      prompter_(prompter),
      show_sheet_(std::move(show_sheet)),
      years_(new QComboBox(this)),
      print_(new QPushButton("&Tiparire", this)) {
  const bool permanent = person_.Tip == decl::kPermanentKind;
  setObjectName("FSel");
  setWindowTitle("Liste");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(
      WindowHeading(permanent ? "Tiparire Fisa Fiscala 1" : "Tiparire Fisa Fiscala 2", this));
  auto* fields = new QGridLayout;
  auto* name = new QLabel(Q(" " + person_.Nume + " " + person_.Prenume), this);
  name->setObjectName("LPersoana");
  auto* kind = new QLabel(permanent ? " Angajat permanent" : " Angajat colaborator", this);
  kind->setObjectName("LTip");
  fields->addWidget(new QLabel("Persoana", this), 0, 0);
  fields->addWidget(name, 0, 1);
  fields->addWidget(new QLabel("Tip", this), 1, 0);
  fields->addWidget(kind, 1, 1);
  auto* year_label = new QLabel("&Anul", this);
  year_label->setBuddy(years_);
  fields->addWidget(year_label, 2, 0);
  years_->setObjectName("CBAn");
  fields->addWidget(years_, 2, 1);
  layout->addLayout(fields);
  print_->setObjectName("BTiparire");
  AddConfirmAbandonRow(*this, *layout, *print_);
  connect(print_, &QPushButton::clicked, this, &SheetYearWindow::BTiparireClick);

  ui::EnterMovesTo(years_);
  FillYears(*years_, decl::SheetYears(session_.db(), person_.IID, person_.Tip));
  years_->setFocus();
}

void SheetYearWindow::BTiparireClick() {
  if (years_->currentIndex() < 0) return;
  const int year = years_->currentText().toInt();
  if (!decl::IsWorkingYear(year, session_.working_month())) {
    prompter_.Message(MessageKind::kWarning, decl::kSheetYearWarning);
    return;
  }
  const decl::YearSource source = decl::ReadYearSource(session_.db(), session_.company(), year);
  const decl::FiscalSheet sheet = decl::PrepareFiscalSheet(source, person_.IID, person_.Tip);
  if (show_sheet_) show_sheet_(sheet, this);
}

SheetPersonsWindow::SheetPersonsWindow(params::Session& session, std::string kind,
                                       Prompter& prompter, ProgressReporter& progress,
                                       ShowSheet show_sheet, QWidget* parent)
    : QDialog(parent),
      session_(session),
      kind_(std::move(kind)),
      prompter_(prompter),
      show_sheet_(std::move(show_sheet)),
      model_(new QStandardItemModel(this)),
      grid_(new ui::DataGrid(this)) {
  const bool permanent = kind_ == decl::kPermanentKind;
  setObjectName("FSelPers");
  setWindowTitle("Selectie Persoane");
  resize(980, 520);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(
      WindowHeading(permanent ? "Cautare permanenti" : "Cautare contracte partiale", this));
  auto* kind_row = new QHBoxLayout;
  auto* kind_box = new QComboBox(this);
  kind_box->setObjectName("CBTip");
  kind_box->addItems({"Angajat permanent", "Angajat colaborator"});
  kind_box->setCurrentIndex(permanent ? 0 : 1);
  kind_box->setEnabled(false);
  kind_row->addWidget(new QLabel("Tip", this));
  kind_row->addWidget(kind_box, 1);
  layout->addLayout(kind_row);

  {
    WaitScope wait(progress, "Cautare persoane", "Va rog asteptati...");
    persons_ = decl::ListSheetPersons(session_.db(), kind_);
  }
  model_->setHorizontalHeaderLabels(
      {"Marca", "Nume", "Prenume", "Cod Numeric Personal", "Functie"});
  for (const decl::SheetPerson& person : persons_) {
    QList<QStandardItem*> row = {
        new QStandardItem(QString::number(person.Marca)), new QStandardItem(Q(person.Nume)),
        new QStandardItem(Q(person.Prenume)), new QStandardItem(Q(person.CodNumPers)),
        new QStandardItem(Q(person.FUNCTIE))};
    for (QStandardItem* item : row) item->setEditable(false);
    row[0]->setData(person.IID, kIidRole);
    model_->appendRow(row);
  }
  grid_->setObjectName("DBGrid");
  grid_->set_prompter(&prompter_);
  grid_->set_export_title("Persoane");
  grid_->SetColumns(kColumns);
  grid_->SetSourceModel(model_);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->installEventFilter(this);
  if (model_->rowCount() > 0) grid_->setCurrentIndex(grid_->model()->index(0, 1));
  layout->addWidget(grid_, 1);
  connect(grid_, &QAbstractItemView::doubleClicked, this, &SheetPersonsWindow::SelectPerson);

  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(false);
  status->addWidget(new QLabel("Cautare : F7  -  Repeta Cautarea : Ctrl-F7", this), 1);
  status->addWidget(new QLabel("Enter - Selectare persoana", this));
  layout->addWidget(status);
  grid_->setFocus();
}

bool SheetPersonsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const auto modifiers = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if (IsEnter(event)) {
      SelectPerson();
      return true;
    }
    if (key->key() == Qt::Key_F7 &&
        (modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier)) {
      Find(modifiers == Qt::ControlModifier);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void SheetPersonsWindow::Find(bool again) {
  const int column = grid_->currentIndex().isValid() ? grid_->currentIndex().column() : 0;
  if (!again || last_find_.isEmpty()) {
    const QString title = grid_->model()->headerData(column, Qt::Horizontal).toString();
    const auto text = prompter_.AskText(
        "Cautare", "Cauta in coloana \"" + title.toStdString() + "\":", last_find_.toStdString());
    if (!text || text->empty()) return;
    last_find_ = Q(*text);
  }
  if (!grid_->FindNext(column, last_find_)) {
    prompter_.Message(MessageKind::kWarning, "Nu am gasit \"" + last_find_.toStdString() + "\" !");
  }
}

void SheetPersonsWindow::SelectPerson() {
  const QModelIndex current = grid_->currentIndex();
  if (!current.isValid()) return;
  const QModelIndex source = grid_->filter_model()->mapToSource(current);
  const int iid = model_->item(source.row(), 0)->data(kIidRole).toInt();
  for (const decl::SheetPerson& person : persons_) {
    if (person.IID != iid) continue;
    SheetYearWindow window(session_, person, prompter_, show_sheet_, this);
    window.exec();
    return;
  }
}

}  // namespace traveno::declarations_ui
