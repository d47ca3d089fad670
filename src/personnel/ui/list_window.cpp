#include "personnel/ui/list_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/errors.h"
#include "core/numbers.h"
#include "personnel/employees.h"
#include "personnel/ui/employee_window.h"
#include "personnel/ui/window_helpers.h"
#include "ui/data_grid.h"
#include "ui/qt_prompter.h"
#include "ui/window_base.h"

namespace traveno::personnel_ui {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
QString DateText(Date date) { return date.IsEmpty() ? QString() : Q(date.ToText()); }
QString Number(double value) { return Q(FormatNumber(value, NumberMask::kUpToTwoDecimals)); }

// The columns of each list, under the captions of the printed lists.
constexpr ui::GridColumn kHiredColumns[] = {
    {"Marca", "Marca", 6},      {"Nume", "Nume", 20},
    {"Prenume", "Prenume", 30}, {"CodNumPers", "Cod numeric", 13},
    {"Functie", "Functie", 30}, {"Data_Ang", "Data ang.", 10}};
constexpr ui::GridColumn kLeftColumns[] = {
    {"Marca", "Marca", 6},      {"Nume", "Nume", 20},
    {"Prenume", "Prenume", 30}, {"CodNumPers", "Cod numeric", 13},
    {"Functie", "Functie", 30}, {"Data_Lich", "Data lich.", 10}};
constexpr ui::GridColumn kIdentityCardColumns[] = {{"IID", "Nr. persoana", 6},
                                                   {"Marca", "Marca", 6},
                                                   {"Nume", "Nume", 20},
                                                   {"Prenume", "Prenume", 30},
                                                   {"CodNumPers", "Cod numeric", 13}};
constexpr ui::GridColumn kRehireColumns[] = {
    {"Nume", "Nume", 20},       {"Prenume", "Prenume", 30},    {"CodNumPers", "Cod numeric", 13},
    {"Marca", "Marca", 6},      {"CATEGORIE", "Categorie", 4}, {"Tip", "Tip", 3},
    {"Functie", "Functie", 30}, {"Data_Ang", "Data ang.", 10}, {"Data_Lich", "Data lich.", 10},
    {"Luna", "Luna", 10}};
constexpr ui::GridColumn kInsuredColumns[] = {
    {"NumeA", "Nume angajat", 20},          {"PrenumeA", "Prenume angajat", 30},
    {"CodNumPersA", "CNP angajat", 13},     {"Nume", "Nume coasigurat", 20},
    {"Prenume", "Prenume coasigurat", 30},  {"CodNumPers", "CNP coasigurat", 13},
    {"Calitate", "Calitate coasigurat", 13}};
constexpr ui::GridColumn kTimeCheckColumns[] = {
    {"NrCrt", "Nr. crt.", 5},    {"Nume", "Nume", 20},      {"Prenume", "Prenume", 30},
    {"Timp", "Timp", 8},         {"Zile_CO", "Zile CO", 6}, {"Zile_CM", "Zile CM", 6},
    {"Zile_CIC", "Zile CIC", 6}, {"Zile_FP", "Zile FP", 6}, {"TimpCalculat", "Timp calculat", 8}};
constexpr ui::GridColumn kCodeCheckColumns[] = {{"NrCrt", "Nr. crt.", 5},
                                                {"Nume", "Nume", 20},
                                                {"Prenume", "Prenume", 30},
                                                {"CNP", "CNP", 13},
                                                {"Eroare", "Eroare", 0}};
constexpr ui::GridColumn kCoefficientCheckColumns[] = {{"NrCrt", "Nr. crt.", 5},
                                                       {"Nume", "Nume", 20},
                                                       {"Prenume", "Prenume", 30},
                                                       {"Coef_Ind_C", "Coef. deducere", 6},
                                                       {"CoefCalculat", "Coef. calculat", 6}};

template <std::size_t N>
std::vector<ui::GridColumn> Columns(const ui::GridColumn (&columns)[N]) {
  return {std::begin(columns), std::end(columns)};
}

ListContent PersonsContent(ListMode mode, Date month, const std::string& heading,
                           const std::vector<personnel::PersonLine>& persons) {
  ListContent content;
  content.mode = mode;
  content.month = month;
  content.heading = Q(heading);
  content.columns = mode == ListMode::kHired ? Columns(kHiredColumns) : Columns(kLeftColumns);
  content.numeric_columns = {0};
  for (const personnel::PersonLine& p : persons) {
    content.lines.push_back({QString::number(p.Marca), Q(p.Nume), Q(p.Prenume), Q(p.CodNumPers),
                             Q(p.Functie), DateText(p.Data)});
  }
  return content;
}

bool Printable(ListMode mode) {
  return mode == ListMode::kHired || mode == ListMode::kLeft || mode == ListMode::kIdentityCards ||
         mode == ListMode::kInsured;
}

}  // namespace

ListContent HiredContent(params::Session& session, Date month) {
  return PersonsContent(ListMode::kHired, month, personnel::HiredHeading(month),
                        personnel::HiredInMonth(session, month));
}

ListContent LeftContent(params::Session& session, Date month) {
  return PersonsContent(ListMode::kLeft, month, personnel::LeftHeading(month),
                        personnel::LeftInMonth(session, month));
}

ListContent IdentityCardsContent(params::Session& session) {
  ListContent content;
  content.mode = ListMode::kIdentityCards;
  content.heading = personnel::kIdentityCardsHeading;
  content.columns = Columns(kIdentityCardColumns);
  content.numeric_columns = {0, 1};
  for (const personnel::PersonLine& p : personnel::IdentityCards(session)) {
    content.lines.push_back({QString::number(p.IID), QString::number(p.Marca), Q(p.Nume),
                             Q(p.Prenume), Q(p.CodNumPers)});
  }
  return content;
}

ListContent RehireContent(params::Session& session) {
  ListContent content;
  content.mode = ListMode::kRehire;
  content.heading = personnel::kRehireHeading;
  content.columns = Columns(kRehireColumns);
  content.numeric_columns = {3, 4};
  content.former_rows = personnel::RehireCandidates(session);
  for (const PersRow& row : content.former_rows) {
    content.lines.push_back({Q(row.NUME), Q(row.PRENUME), Q(row.CODNUMPERS),
                             QString::number(row.MARCA), QString::number(row.CATEGORIE), Q(row.TIP),
                             Q(row.FUNCTIE), DateText(row.DATA_ANG), DateText(row.DATA_LICH),
                             Q(MonthText(row.LUNA))});
  }
  return content;
}

ListContent InsuredContent(params::Session& session) {
  ListContent content;
  content.mode = ListMode::kInsured;
  content.heading = personnel::kInsuredHeading;
  content.columns = Columns(kInsuredColumns);
  for (const personnel::InsuredLine& line : personnel::InsuredPersons(session)) {
    content.lines.push_back({Q(line.NumeA), Q(line.PrenumeA), Q(line.CodNumPersA), Q(line.Nume),
                             Q(line.Prenume), Q(line.CodNumPers), Q(line.Kalitate)});
  }
  return content;
}

ListContent TimeCheckContent(const personnel::CheckList<personnel::TimeFinding>& check) {
  ListContent content;
  content.mode = ListMode::kTimeCheck;
  content.heading = Q(check.heading);
  content.columns = Columns(kTimeCheckColumns);
  content.numeric_columns = {0, 3, 4, 5, 6, 7, 8};
  for (const personnel::TimeFinding& f : check.findings) {
    content.lines.push_back({QString::number(f.NrCrt), Q(f.Nume), Q(f.Prenume), Number(f.Timp),
                             Number(f.Zile_CO), Number(f.Zile_CM), Number(f.Zile_CIC),
                             Number(f.Zile_FP), Number(f.TimpCalculat)});
  }
  return content;
}

ListContent CodeCheckContent(const personnel::CheckList<personnel::CodeFinding>& check) {
  ListContent content;
  content.mode = ListMode::kCodeCheck;
  content.heading = Q(check.heading);
  content.columns = Columns(kCodeCheckColumns);
  content.numeric_columns = {0};
  for (const personnel::CodeFinding& f : check.findings) {
    content.lines.push_back(
        {QString::number(f.NrCrt), Q(f.Nume), Q(f.Prenume), Q(f.CNP), ui::DisplayText(f.Eroare)});
  }
  return content;
}

ListContent CoefficientCheckContent(
    const personnel::CheckList<personnel::CoefficientFinding>& check) {
  ListContent content;
  content.mode = ListMode::kCoefficientCheck;
  content.heading = Q(check.heading);
  content.columns = Columns(kCoefficientCheckColumns);
  content.numeric_columns = {0, 3, 4};
  for (const personnel::CoefficientFinding& f : check.findings) {
    content.lines.push_back({QString::number(f.NrCrt), Q(f.Nume), Q(f.Prenume),
                             Number(f.Coef_Ind_C), Number(f.CoefCalculat)});
  }
  return content;
}

ListWindow::ListWindow(ListContent content, Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      content_(std::move(content)),
      prompter_(prompter),
      grid_(new ui::DataGrid(this)),
      heading_(BoldLabel(content_.heading, this)),
      list_(new QPushButton(content_.mode == ListMode::kRehire ? "&Reangajare" : "&Lista", this)) {
  setObjectName("FRapoarte");
  setWindowTitle(content_.heading);
  heading_->setObjectName("LTitlu");
  heading_->setWordWrap(true);
  QStringList fields;
  for (const ui::GridColumn& column : content_.columns) fields << column.field;
  model_.setHorizontalHeaderLabels(fields);
  for (const QStringList& line : content_.lines) {
    QList<QStandardItem*> items;
    for (int c = 0; c < line.size(); ++c) {
      const bool number =
          std::find(content_.numeric_columns.begin(), content_.numeric_columns.end(), c) !=
          content_.numeric_columns.end();
      // Numbers stay numbers in the grid's exports.
      items << (number ? ui::NumberItem(ParseNumber(QString(line[c]).remove(' ').toStdString(), 0),
                                        line[c])
                       : ui::TextItem(line[c]));
    }
    model_.appendRow(items);
  }
  grid_->SetColumns(content_.columns);
  grid_->SetSourceModel(&model_);
  grid_->set_prompter(&prompter_);
  grid_->set_export_title(content_.heading.left(31));
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);

  list_->setObjectName("BLista");
  list_->setAutoDefault(false);
  auto* exit = new QPushButton("&Iesire", this);
  exit->setObjectName("BIesire");
  exit->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(list_);
  buttons->addWidget(exit);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);

  const bool checks = content_.mode == ListMode::kTimeCheck ||
                      content_.mode == ListMode::kCodeCheck ||
                      content_.mode == ListMode::kCoefficientCheck;
  list_->setVisible(!checks);
  connect(list_, &QPushButton::clicked, this, &ListWindow::BListaClick);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  QAbstractItemModel* shown = grid_->model();
  for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
    connect(shown, signal, this, &ListWindow::RefreshListButton);
  }
  connect(shown, &QAbstractItemModel::modelReset, this, &ListWindow::RefreshListButton);
  connect(shown, &QAbstractItemModel::layoutChanged, this, &ListWindow::RefreshListButton);
  RefreshListButton();
  if (checks) {
    resize(900, 480);
  } else {
    resize(1000, 600);
    ui::OpenMaximised(this);
  }
  // An empty list has nothing to move through: the keyboard starts on the
  // button that closes it, where the focus shows.
  if (grid_->model()->rowCount() > 0) {
    grid_->setFocus();
  } else {
    exit->setFocus();
  }
}

void ListWindow::set_printer(ListPrinter printer) {
  printer_ = std::move(printer);
  RefreshListButton();
}

int ListWindow::ShownLines() const { return grid_->model()->rowCount(); }

void ListWindow::RefreshListButton() {
  const bool lines = ShownLines() > 0;
  if (content_.mode == ListMode::kRehire) {
    list_->setEnabled(lines);
    return;
  }
  if (!Printable(content_.mode)) return;
  if (printer_ == nullptr) {
    ui::DisableWithHint(list_, kListPrintMissing);
    return;
  }
  list_->setEnabled(lines);
  list_->setToolTip("Tiparirea listei");
  list_->setStatusTip("Tiparirea listei");
}

std::optional<int> ListWindow::CurrentLine() const {
  const QModelIndex index = grid_->currentIndex();
  if (!index.isValid()) return std::nullopt;
  return grid_->filter_model()->mapToSource(index).row();
}

void ListWindow::BListaClick() {
  if (!list_->isEnabled()) return;
  if (content_.mode == ListMode::kRehire) {
    const std::optional<int> line = CurrentLine();
    if (!line || !rehire_ || *line >= static_cast<int>(content_.former_rows.size())) return;
    if (rehire_(content_.former_rows[static_cast<std::size_t>(*line)])) accept();
    return;
  }
  if (!printer_) return;
  ListPrintRequest request;
  request.mode = content_.mode;
  request.month = content_.month;
  request.title = content_.heading.toStdString();
  QStringList filters;
  const auto& active = grid_->filter_model()->filters();
  for (auto it = active.cbegin(); it != active.cend(); ++it) {
    filters << grid_->filter_model()->Caption(it.key()) + ": " + it.value();
  }
  request.filter_text =
      filters.isEmpty() ? std::string(" ") : " * Filtru activ: " + filters.join("; ").toStdString();
  for (int row = 0; row < ShownLines(); ++row) {
    request.shown_lines.push_back(
        grid_->filter_model()->mapToSource(grid_->model()->index(row, 0)).row());
  }
  printer_(request);
}

void RunRehireList(params::Session& session, Prompter& prompter, const std::string& tip,
                   const std::optional<std::string>& department, QWidget* parent) {
  ListWindow list(RehireContent(session), prompter, parent);
  list.set_rehire([&](const PersRow& former) {
    EmployeeWindow window(session, prompter, personnel::EmployeeEditMode::kRehire, tip, department,
                          &former, &list);
    if (window.exec() != QDialog::Accepted) return false;
    if (prompter.AskYesNo(personnel::kRehireQuestion)) {
      try {
        personnel::SaveEmployee(session, personnel::EmployeeEditMode::kRehire, window.Input(), tip,
                                std::nullopt, window.rehire_identity());
        prompter.Message(MessageKind::kInformation, personnel::kRehireDone);
      } catch (const Error& error) {
        prompter.Message(MessageKind::kError, error.what());
      }
    }
    return true;
  });
  list.exec();
}

}  // namespace traveno::personnel_ui
