#include "personnel/ui/pay_grid_window.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/text.h"
#include "personnel/grid_line.h"
#include "personnel/pay_grid.h"
#include "personnel/ui/pay_grid_model.h"
#include "personnel/ui/window_helpers.h"
#include "ui/data_grid.h"
#include "ui/qt_prompter.h"
#include "ui/window_base.h"

namespace traveno::personnel_ui {
namespace {

const char* const kPageCaptions[] = {"       ANGAJATI  &PERMANENTI       ",
                                     "       ANGAJATI  &CONTRACT PARTIAL     "};
const char* const kSubtotalCaptions[] = {"Subtotaluri permanenti :", "Subtotaluri c. partial :"};
const char* const kSubtotals[] = {"Brut", "Realizat", "Avans", "Rest plata"};
const char* const kTotals[] = {"Fond somaj",
                               "Fond sanatate (CASS)",
                               "Pensie (CAS)",
                               "Fond pers cu handicap",
                               "Comision CM",
                               "Fond invatamant",
                               "Avans",
                               "Fond risc si accidente",
                               "Total net angajati",
                               "Cost total salarii",
                               "Total salarii / Net salarii",
                               "Rest de plata"};
const char* const kCurrentCaptions[] = {"Nume", "Prenume", "Marca", "Functia"};

QString Shown(long double value) { return QString::fromStdString(FormatN(value, 0) + " "); }

}  // namespace

PayGridWindow::PayGridWindow(params::Session& session, Prompter& prompter,
                             ProgressReporter& progress, std::optional<std::string> department,
                             QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      progress_(progress),
      department_(std::move(department)),
      heading_(BoldLabel(QString(), this)),
      pages_(new QTabWidget(this)),
      add_(new QPushButton("&Adaugare", this)),
      modify_(new QPushButton("&Modificare", this)),
      delete_(new QPushButton("&Stergere", this)),
      dependants_(new QPushButton("Pers. I&ntretinere", this)),
      history_(new QPushButton("Is&toric", this)),
      medical_leave_(new QPushButton("Ca&lcul CM", this)),
      refresh_(new QPushButton("Refresh", this)),
      trend_(new QPushButton("E&volutie", this)),
      comparison_(new QPushButton("Compa&ratie cu luna anterioara", this)) {
  setObjectName("FSal");
  setWindowTitle("ANGAJATI FIRMA");
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  heading_->setObjectName("LAntet");
  QFont heading_font = heading_->font();
  heading_font.setPointSizeF(heading_font.pointSizeF() * 1.15);
  heading_->setFont(heading_font);

  pages_->setObjectName("PCAngajati");
  for (int page = 0; page < 2; ++page) BuildPage(page, kPageCaptions[page]);

  auto* buttons = new QVBoxLayout;
  auto* exit = new QPushButton("&Iesire", this);
  add_->setObjectName("BAdaugare");
  modify_->setObjectName("BModificare");
  delete_->setObjectName("BStergere");
  dependants_->setObjectName("BIntretinere");
  history_->setObjectName("BIstoric");
  medical_leave_->setObjectName("BCalculCM");
  refresh_->setObjectName("BRefresh");
  trend_->setObjectName("BEvolutie");
  comparison_->setObjectName("BComparatie");
  exit->setObjectName("BIesire");
  // The menu of "Ca&lcul CM" runs its choice once it has closed, so that the
  // dialog takes the keyboard.
  connect(medical_leave_, &QPushButton::clicked, this, [this] {
    QMenu menu(this);
    QAction* normal = menu.addAction("CM Normal");
    QAction* child_care = menu.addAction("CIC");
    menu.setActiveAction(normal);
    QAction* chosen = menu.exec(medical_leave_->mapToGlobal(medical_leave_->rect().bottomLeft()));
    if (chosen == normal) CalculCM(6);
    if (chosen == child_care) CalculCM(10);
  });
  for (QPushButton* b : {add_, modify_, delete_, dependants_, history_, medical_leave_, refresh_,
                         trend_, comparison_, exit}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch();
  connect(add_, &QPushButton::clicked, this, &PayGridWindow::BAdaugareClick);
  connect(modify_, &QPushButton::clicked, this, &PayGridWindow::BModificareClick);
  connect(delete_, &QPushButton::clicked, this, &PayGridWindow::BStergereClick);
  connect(dependants_, &QPushButton::clicked, this, &PayGridWindow::BIntretinereClick);
  connect(history_, &QPushButton::clicked, this, &PayGridWindow::BIstoricClick);
  connect(refresh_, &QPushButton::clicked, this, &PayGridWindow::BRefreshClick);
  connect(trend_, &QPushButton::clicked, this, &PayGridWindow::BEvolutieClick);
  connect(comparison_, &QPushButton::clicked, this, &PayGridWindow::BComparatieClick);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);

  auto* side = new QVBoxLayout;
  side->addWidget(BuildSidePanel());
  side->addLayout(buttons, 1);

  auto* middle = new QHBoxLayout;
  middle->addWidget(pages_, 1);
  middle->addLayout(side);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(heading_);
  layout->addLayout(middle, 1);
  layout->addWidget(BuildTotalsPanel());

  BuildActions();
  connect(pages_, &QTabWidget::currentChanged, this, [this] {
    CurrentLineChanged();
    FocusGrid();
  });
  resize(1200, 760);
  ui::OpenMaximised(this);
}

PayGridWindow::~PayGridWindow() {
  // An editor still open commits when its grid goes; nothing is posted by
  // a window that is being destroyed.
  for (PayGridModel* shown : models_) {
    shown->set_poster(nullptr);
    shown->set_refusal(nullptr);
  }
}

void PayGridWindow::BuildPage(int page, const QString& caption) {
  auto* widget = new QWidget(pages_);
  auto* layout = new QVBoxLayout(widget);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* grid = new ui::DataGrid(widget);
  grid->setObjectName(page == kPermanentPage ? "DBP" : "DBC");
  auto* model = new PayGridModel(this);
  model->set_poster([this](const PersRow& line, const personnel::GridColumn& column,
                           const FieldValue& value) { return PostCell(line, column, value); });
  model->set_refusal([this, page](const personnel::GridColumn& column, const QString& text) {
    // The cell being edited is the grid's current one.
    const QPersistentModelIndex cell(this->grid(page)->currentIndex());
    prompter_.Message(MessageKind::kError, "Valoarea \"" + text.toStdString() +
                                               "\" nu este corecta pentru coloana \"" +
                                               column.caption + "\" !");
    ReopenRefusedCell(page, cell, text);
  });
  grid->SetSourceModel(model);
  grid->set_prompter(&prompter_);
  grid->set_export_title(page == kPermanentPage ? "Angajati permanenti"
                                                : "Angajati contract partial");
  // Typing into a cell that takes none does nothing: it never moves the line.
  grid->set_keyboard_search(false);
  delegates_[static_cast<std::size_t>(page)] = new PayGridDelegate(grid);
  grid->setItemDelegate(delegates_[static_cast<std::size_t>(page)]);
  grid->setAlternatingRowColors(false);
  grid->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  QAbstractItemView::EditTriggers triggers =
      QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed;
  if (page == kPermanentPage) triggers |= QAbstractItemView::DoubleClicked;
  grid->setEditTriggers(triggers);
  grid->setContextMenuPolicy(Qt::CustomContextMenu);
  if (page == kPartialPage) {
    // A double click on the partial-contract grid modifies the employee.
    connect(grid, &QAbstractItemView::doubleClicked, this, &PayGridWindow::BModificareClick);
  }
  connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &PayGridWindow::CurrentLineChanged);
  connect(grid->model(), &QAbstractItemModel::modelReset, this, &PayGridWindow::CurrentLineChanged);
  layout->addWidget(grid, 1);

  auto* subtotal = new QHBoxLayout;
  subtotal->addWidget(BoldLabel(kSubtotalCaptions[page], widget));
  for (const char* caption : kSubtotals) {
    subtotal->addSpacing(12);
    subtotal->addWidget(new QLabel(caption, widget));
    auto* value = BoldLabel(QString(), widget);
    value->setObjectName(QString("LSub") + caption);
    value->setMinimumWidth(110);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setFrameShape(QFrame::StyledPanel);
    subtotal->addWidget(value);
    subtotals_[static_cast<std::size_t>(page)][caption] = value;
  }
  subtotal->addStretch();
  layout->addLayout(subtotal);

  pages_->addTab(widget, caption);
  grids_[static_cast<std::size_t>(page)] = grid;
  models_[static_cast<std::size_t>(page)] = model;
}

QWidget* PayGridWindow::BuildTotalsPanel() {
  auto* panel = new QFrame(this);
  panel->setObjectName("PTotaluri");
  panel->setFrameShape(QFrame::StyledPanel);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setVerticalSpacing(2);
  constexpr int kPerColumn = 3;
  for (int i = 0; i < static_cast<int>(std::size(kTotals)); ++i) {
    const int row = i % kPerColumn;
    const int column = (i / kPerColumn) * 2;
    grid->addWidget(new QLabel(kTotals[i], panel), row, column);
    auto* value = BoldLabel(QString(), panel);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(120);
    value->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(value, row, column + 1);
    totals_[kTotals[i]] = value;
  }
  return panel;
}

QWidget* PayGridWindow::BuildSidePanel() {
  auto* panel = new QFrame(this);
  panel->setObjectName("PLinie");
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setMinimumWidth(180);
  panel->setMaximumWidth(220);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(6, 4, 6, 4);
  for (const char* caption : kCurrentCaptions) {
    layout->addWidget(new QLabel(caption, panel));
    auto* value = BoldLabel(QString(), panel);
    value->setWordWrap(true);
    layout->addWidget(value);
    current_[caption] = value;
  }
  return panel;
}

void PayGridWindow::BuildActions() {
  auto make = [this](const QString& text, const QString& name, QList<QKeySequence> keys,
                     void (PayGridWindow::*slot)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, slot);
    for (ui::DataGrid* grid : grids_) grid->addAction(action);
    return action;
  };
  QAction* add = make("&Adaugare", "MAdaugare", {QKeySequence(Qt::Key_Insert)},
                      &PayGridWindow::BAdaugareClick);
  QAction* modify = make("&Modificare", "MModificare",
                         {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
                         &PayGridWindow::BModificareClick);
  QAction* remove = make("&Stergere", "MStergere", {QKeySequence(Qt::Key_Delete)},
                         &PayGridWindow::BStergereClick);
  index_ = make("Indexare", "MIndexare", {QKeySequence("Ctrl+I")}, &PayGridWindow::Indexare);
  rehire_ = make("Reangajare", "MReangajare", {QKeySequence("Ctrl+R")}, &PayGridWindow::Reangajare);
  QAction* time = make("Verificare Timp", "MVerificareTimp", {}, &PayGridWindow::VerificareTimp);
  QAction* codes = make("Verificare CNP", "MVerificareCNP", {}, &PayGridWindow::VerificareCNP);
  QAction* coefficients = make("Verificare coef deducere", "MVerificareCoef", {},
                               &PayGridWindow::VerificareCoeficienti);
  make("Completare coloana", "MCompletare", {QKeySequence("Ctrl+Shift+F3")},
       &PayGridWindow::CompletareColoana);
  for (ui::DataGrid* grid : grids_) {
    connect(grid, &QWidget::customContextMenuRequested, this, [=, this](const QPoint& position) {
      QMenu menu(this);
      add->setEnabled(add_->isEnabled());
      modify->setEnabled(modify_->isEnabled());
      remove->setEnabled(delete_->isEnabled());
      menu.addActions({add, modify, remove});
      menu.addSeparator();
      menu.addActions({index_, rehire_});
      menu.addSeparator();
      menu.addActions({time, codes, coefficients});
      menu.exec(grid->viewport()->mapToGlobal(position));
    });
  }
  // The hidden entry of the window's pop-up menu: only its key.
  auto* cumulate = new QShortcut(QKeySequence("Ctrl+F9"), this);
  connect(cumulate, &QShortcut::activated, this, &PayGridWindow::CumulareDateCas);
}

int PayGridWindow::CurrentPage() const { return pages_->currentIndex(); }

std::string PayGridWindow::CurrentTip() const { return CurrentPage() == kPartialPage ? "2" : "1"; }

const PersRow* PayGridWindow::CurrentLine() const {
  ui::DataGrid* shown = grid(CurrentPage());
  const QModelIndex index = shown->currentIndex();
  if (!index.isValid()) return nullptr;
  return model(CurrentPage())->LineAt(shown->filter_model()->mapToSource(index).row());
}

bool PayGridWindow::SelectLine(std::int64_t nr) {
  ui::DataGrid* shown = grid(CurrentPage());
  const int row = model(CurrentPage())->RowOfNr(nr);
  if (row < 0) return false;
  const int column = shown->currentIndex().isValid() ? shown->currentIndex().column() : 0;
  const QModelIndex index =
      shown->filter_model()->mapFromSource(model(CurrentPage())->index(row, column));
  if (!index.isValid()) return false;
  shown->setCurrentIndex(index);
  shown->scrollTo(index);
  return true;
}

QString PayGridWindow::TotalText(const QString& caption) const {
  auto it = totals_.find(caption);
  return it == totals_.end() ? QString() : it->second->text();
}

QString PayGridWindow::SubtotalText(int page, const QString& caption) const {
  const auto& labels = subtotals_[static_cast<std::size_t>(page)];
  auto it = labels.find(caption);
  return it == labels.end() ? QString() : it->second->text();
}

QString PayGridWindow::CurrentLineText(const QString& caption) const {
  auto it = current_.find(caption);
  return it == current_.end() ? QString() : it->second->text();
}

personnel::GridScope PayGridWindow::Scope() const { return {CurrentTip(), department_}; }

void PayGridWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!opened_) {
    opened_ = true;
    Open();
  }
}

void PayGridWindow::Open() {
  heading_->setText(QString::fromStdString(personnel::GridHeading(session_, department_)));
  month_open_ = !session_.month_closed();
  if (!month_open_) {
    prompter_.Message(MessageKind::kWarning, personnel::kMonthClosed);
  }
  add_->setEnabled(month_open_);
  modify_->setEnabled(month_open_);
  delete_->setEnabled(month_open_);
  index_->setEnabled(month_open_);
  rehire_->setEnabled(month_open_);
  pages_->setCurrentIndex(kPermanentPage);
  Recalculate();
  if (show_on_open_) ShowLine(*show_on_open_);
}

void PayGridWindow::Recalculate() {
  std::optional<std::vector<PersRow>> lines;
  try {
    lines = personnel::RecalculateCompanyLines(session_, progress_, department_);
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
  }
  if (lines) {
    ShowLines(std::move(*lines));
  } else {
    LoadLines();
  }
  // The grid of the page shown: on opening the permanent one; after
  // "Refresh" the page the user is on (a grid on a hidden page takes no focus).
  FocusGrid();
}

void PayGridWindow::LoadLines(std::optional<std::int64_t> select) {
  ShowLines(personnel::MonthLines(session_, std::nullopt, department_), select);
}

void PayGridWindow::ShowLines(std::vector<PersRow> lines, std::optional<std::int64_t> select) {
  std::array<std::optional<std::int64_t>, 2> keep;
  std::array<int, 2> keep_column{0, 0};
  for (int page = 0; page < 2; ++page) {
    ui::DataGrid* shown = grid(page);
    const QModelIndex index = shown->currentIndex();
    if (!index.isValid()) continue;
    keep_column[static_cast<std::size_t>(page)] = index.column();
    if (const PersRow* line =
            model(page)->LineAt(shown->filter_model()->mapToSource(index).row())) {
      keep[static_cast<std::size_t>(page)] = line->Nr;
    }
  }
  sums_ = personnel::SumGridLines(lines);
  std::array<std::vector<PersRow>, 2> by_page;
  for (PersRow& line : lines) {
    by_page[line.TIP == "1" ? kPermanentPage : kPartialPage].push_back(std::move(line));
  }
  const bool show_department = personnel::ShowsDepartmentColumn(session_, department_);
  for (int page = 0; page < 2; ++page) {
    const std::string tip = page == kPermanentPage ? "1" : "2";
    std::vector<personnel::GridColumn> columns =
        personnel::GridColumns(session_.parameters().company, tip, show_department);
    const bool editable = month_open_ && !by_page[static_cast<std::size_t>(page)].empty();
    PayGridModel* shown_model = model(page);
    shown_model->Reset(columns, std::move(by_page[static_cast<std::size_t>(page)]), editable);
    ui::DataGrid* shown = grid(page);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      shown->setColumnHidden(static_cast<int>(c), !columns[c].visible);
    }
    std::optional<std::int64_t> wanted = keep[static_cast<std::size_t>(page)];
    if (select && page == CurrentPage()) wanted = select;
    int row = wanted ? shown_model->RowOfNr(*wanted) : -1;
    QModelIndex index;
    if (row >= 0) {
      index = shown->filter_model()->mapFromSource(
          shown_model->index(row, keep_column[static_cast<std::size_t>(page)]));
    }
    if (!index.isValid() && shown->model()->rowCount() > 0) {
      index = shown->model()->index(0, keep_column[static_cast<std::size_t>(page)]);
    }
    // The department column is hidden for one department: a current cell
    // there shows no focus and the arrow keys seem dead.
    if (index.isValid() && shown->isColumnHidden(index.column())) {
      for (int c = 0; c < shown->model()->columnCount(); ++c) {
        if (shown->isColumnHidden(c)) continue;
        index = index.siblingAtColumn(c);
        break;
      }
    }
    if (index.isValid()) {
      shown->setCurrentIndex(index);
      shown->scrollTo(index);
    }
  }
  RefreshTotals();
  CurrentLineChanged();
}

void PayGridWindow::RefreshTotals() {
  const personnel::GridTotals g = personnel::GridTotalsOf(session_, sums_);
  const engine::CompanyFunds& f = session_.funds();
  const std::pair<const char*, long double> kFigures[] = {
      {"Fond somaj", f.FondSomaj},
      {"Fond sanatate (CASS)", f.FondSanatate},
      {"Pensie (CAS)", f.FondCAS},
      {"Fond pers cu handicap", f.FondHandicap},
      {"Comision CM", f.FondCM},
      {"Fond invatamant", f.FondInvat},
      {"Avans", g.avans},
      {"Fond risc si accidente", f.FondAccident},
      {"Total net angajati", g.total_net},
      {"Cost total salarii", g.cost_total},
      {"Rest de plata", g.rest_de_plata}};
  for (const auto& [caption, value] : kFigures) totals_.at(caption)->setText(Shown(value));
  totals_.at("Total salarii / Net salarii")->setText(QString::fromStdString(g.ratio));
  const std::array<std::array<long double, 4>, 2> values = {
      {{g.brut_p, g.realizat_p, g.avans_p, g.rest_p},
       {g.brut_c, g.realizat_c, g.avans_c, g.rest_c}}};
  for (std::size_t page = 0; page < 2; ++page) {
    for (std::size_t i = 0; i < 4; ++i) {
      subtotals_[page].at(kSubtotals[i])->setText(Shown(values[page][i]));
    }
  }
}

void PayGridWindow::CurrentLineChanged() {
  const PersRow* line = CurrentLine();
  current_.at("Nume")->setText(line ? QString::fromStdString(line->NUME) : QString());
  current_.at("Prenume")->setText(line ? QString::fromStdString(line->PRENUME) : QString());
  current_.at("Marca")->setText(line ? QString::number(line->MARCA) : QString());
  current_.at("Functia")->setText(line ? QString::fromStdString(line->FUNCTIE) : QString());
  const bool offered = personnel::DependantsOffered(CurrentTip(), line);
  dependants_->setEnabled(offered);
  medical_leave_->setEnabled(offered && month_open_);
}

void PayGridWindow::FocusGrid() { grid(CurrentPage())->setFocus(); }

void PayGridWindow::ReopenRefusedCell(int page, const QPersistentModelIndex& cell,
                                      const QString& text) {
  // The editor closes once the refusal returns; the cell opens again after,
  // so that the digits typed next go into it rather than to the page tab the
  // closing editor would hand the focus to.
  QTimer::singleShot(0, this, [this, page, cell, text] {
    ui::DataGrid* shown = grid(page);
    if (!cell.isValid() || page != CurrentPage() || !(cell.flags() & Qt::ItemIsEditable)) {
      FocusGrid();
      return;
    }
    shown->setFocus();
    shown->setCurrentIndex(cell);
    delegates_[static_cast<std::size_t>(page)]->ShowTextOnNextEdit(cell, text);
    shown->edit(cell);
  });
}

std::optional<PersRow> PayGridWindow::PostCell(const PersRow& line,
                                               const personnel::GridColumn& column,
                                               const FieldValue& value) {
  std::optional<personnel::PostedLine> posted;
  try {
    posted = personnel::UpdateGridLine(session_, line.Nr, {{column.field, value}});
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
    return std::nullopt;
  } catch (const std::invalid_argument& error) {
    prompter_.Message(MessageKind::kError, error.what());
    return std::nullopt;
  }
  sums_.Remove(line);
  sums_.Add(posted->row);
  RefreshTotals();
  if (posted->notice) prompter_.Message(MessageKind::kWarning, *posted->notice);
  return posted->row;
}

void PayGridWindow::RefreshLine(std::int64_t nr) {
  const std::optional<PersRow> stored = personnel::FindLine(session_, nr);
  for (int page = 0; page < 2; ++page) {
    const int row = model(page)->RowOfNr(nr);
    if (row < 0 || !stored) continue;
    sums_.Remove(*model(page)->LineAt(row));
    sums_.Add(*stored);
    model(page)->ReplaceLine(row, *stored);
  }
  RefreshTotals();
  CurrentLineChanged();
}

void PayGridWindow::done(int result) {
  // Leaving the window removes the grids' filters.
  for (ui::DataGrid* shown : grids_) shown->filter_model()->ClearFilters();
  QDialog::done(result);
}

}  // namespace traveno::personnel_ui
