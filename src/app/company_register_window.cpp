#include "app/company_register_window.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>

#include "app/company_editor.h"
#include "core/system_info.h"
#include "params/company_register.h"
#include "ui/data_grid.h"
#include "ui/field_text.h"
#include "ui/window_base.h"

namespace traveno::app {
namespace {

// The register's columns under the captions of the company editor.
const std::map<std::string, const char*>& RegisterCaptions() {
  static const std::map<std::string, const char*> kCaptions = {{"Cod", "Cod"},
                                                               {"TipAngaj", "Tip angajator"},
                                                               {"Denumire", "Denumire"},
                                                               {"Nume", "Nume"},
                                                               {"Prenume", "Prenume"},
                                                               {"Judet", "Judet"},
                                                               {"CodFiscal", "Cod fiscal"},
                                                               {"RegCom", "Reg. Com."},
                                                               {"Banca1", "Banca 1"},
                                                               {"Banca2", "Banca 2"},
                                                               {"Banca3", "Banca 3"},
                                                               {"Filiala1", "Filiala 1"},
                                                               {"Filiala2", "Filiala 2"},
                                                               {"Filiala3", "Filiala 3"},
                                                               {"Cont1", "Contul 1"},
                                                               {"Cont2", "Contul 2"},
                                                               {"Cont3", "Contul 3"},
                                                               {"Telefon", "Telefon"},
                                                               {"Fax", "Fax"},
                                                               {"EMail", "E-Mail"},
                                                               {"Localitate", "Localitate"},
                                                               {"Strada", "Strada"},
                                                               {"Numar", "Nr."},
                                                               {"CodPostal", "Cod postal"},
                                                               {"Bloc", "Bloc"},
                                                               {"Scara", "Scara"},
                                                               {"Etaj", "Etaj"},
                                                               {"Ap", "Apt."},
                                                               {"Sector", "Sector"},
                                                               {"Pers1", "Persoana 1"},
                                                               {"Pers2", "Persoana 2"},
                                                               {"NrI", "Nr. I"},
                                                               {"nr", "Nr."}};
  return kCaptions;
}

}  // namespace
CompanyRegisterWindow::CompanyRegisterWindow(Store& store, std::string working_company,
                                             Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      store_(store),
      working_company_(std::move(working_company)),
      prompter_(prompter),
      grid_(new ui::DataGrid(this)),
      add_(new QPushButton("&Adaugare firma", this)),
      modify_(new QPushButton("&Modificare firma", this)),
      delete_(new QPushButton("&Stergere firma", this)) {
  setObjectName("FFirme");
  setWindowTitle(QString(kApplicationTitle) + " - Gestiune firme de lucru");
  ui::OpenMaximised(this);
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(QString::fromStdString("Firma in curs : " + working_company_), this);
  heading->setObjectName("LFirma");
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);

  QStringList titles;
  std::vector<ui::GridColumn> columns;
  for (const FieldDef& field : FieldsOf<FirmeRow>()) {
    if (QString(field.name) == "CodF") continue;
    titles << field.name;
    const auto caption = RegisterCaptions().find(field.name);
    columns.push_back({field.name,
                       caption != RegisterCaptions().end() ? caption->second : field.name,
                       field.width});
  }
  model_.setHorizontalHeaderLabels(titles);
  grid_->SetColumns(columns);
  grid_->SetSourceModel(&model_);
  grid_->set_prompter(&prompter_);
  grid_->set_export_title("Firme");
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->installEventFilter(this);
  layout->addWidget(grid_, 1);

  auto* exit = new QPushButton("&Iesire", this);
  add_->setObjectName("BAdaugare");
  modify_->setObjectName("BModificare");
  delete_->setObjectName("BStergere");
  exit->setObjectName("BIesire");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {add_, modify_, delete_, exit}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  layout->addLayout(buttons);
  connect(add_, &QPushButton::clicked, this, &CompanyRegisterWindow::BAdaugareClick);
  connect(modify_, &QPushButton::clicked, this, &CompanyRegisterWindow::BModificareClick);
  connect(delete_, &QPushButton::clicked, this, &CompanyRegisterWindow::BStergereClick);
  connect(grid_, &QAbstractItemView::doubleClicked, this, &CompanyRegisterWindow::BModificareClick);
  connect(exit, &QPushButton::clicked, this, &QDialog::reject);  // Escape as well
  Reload(working_company_);
}

void CompanyRegisterWindow::Reload(const std::string& code) {
  rows_ = store_.Companies();
  model_.removeRows(0, model_.rowCount());
  const auto fields = FieldsOf<FirmeRow>();
  int select = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const FirmeRow& row = rows_[i];
    const bool working = !working_company_.empty() && row.Cod == working_company_;
    QList<QStandardItem*> items;
    for (std::size_t f = 0; f < fields.size(); ++f) {
      if (QString(fields[f].name) == "CodF") continue;
      auto* item = new QStandardItem(ui::FieldText(GetField(row, f)));
      // The working company stands out; the selection still draws over it.
      if (working) item->setBackground(Qt::cyan);
      items << item;
    }
    model_.appendRow(items);
    if (!code.empty() && row.Cod == code) select = static_cast<int>(i);
  }
  const bool any = !rows_.empty();
  modify_->setEnabled(any);
  delete_->setEnabled(any);
  if (any) grid_->setCurrentIndex(grid_->model()->index(select, 0));
}

std::optional<FirmeRow> CompanyRegisterWindow::CurrentRow() const {
  const QModelIndex index = grid_->currentIndex();
  if (!index.isValid()) return std::nullopt;
  const QModelIndex source = grid_->filter_model()->mapToSource(index);
  if (source.row() < 0 || source.row() >= static_cast<int>(rows_.size())) return std::nullopt;
  return rows_[source.row()];
}

std::string CompanyRegisterWindow::CurrentCode() const {
  const auto row = CurrentRow();
  return row ? row->Cod : std::string();
}

void CompanyRegisterWindow::BAdaugareClick() {
  CompanyEditor editor(CompanyEditor::Mode::kAdd, {}, prompter_, this);
  if (editor.exec() != QDialog::Accepted) return;
  const params::CompanyInput input = editor.Input();
  // Two companies sharing a code would share one folder: the second is refused.
  if (params::AddCompany(store_, input, prompter_) == params::AddCompanyResult::kCodeExists) {
    prompter_.Message(MessageKind::kWarning, params::kCompanyCodeExists);
  }
  Reload(params::StoredCompanyRow(input).Cod);
}

void CompanyRegisterWindow::BModificareClick() {
  const auto row = CurrentRow();
  if (!row) return;
  CompanyEditor editor(CompanyEditor::Mode::kModify, params::LoadCompanyInput(store_, *row),
                       prompter_, this);
  if (editor.exec() != QDialog::Accepted) return;
  params::ModifyCompany(store_, row->CodF, editor.Input(), prompter_);
  Reload(row->Cod);
}

void CompanyRegisterWindow::BStergereClick() {
  const auto row = CurrentRow();
  if (!row || !params::MayDeleteCompany(working_company_, row->Cod, prompter_)) return;
  CompanyEditor editor(CompanyEditor::Mode::kDelete, params::LoadCompanyInput(store_, *row),
                       prompter_, this);
  if (editor.exec() != QDialog::Accepted) return;
  params::DeleteCompany(store_, working_company_, row->Cod, prompter_);
  Reload(working_company_);
}

void CompanyRegisterWindow::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction("&Adaugare firma", this, &CompanyRegisterWindow::BAdaugareClick);
  menu.addAction("&Modificare firma", this, &CompanyRegisterWindow::BModificareClick)
      ->setEnabled(modify_->isEnabled());
  menu.addAction("&Stergere firma", this, &CompanyRegisterWindow::BStergereClick)
      ->setEnabled(delete_->isEnabled());
  menu.exec(event->globalPos());
}

bool CompanyRegisterWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      BModificareClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace traveno::app
