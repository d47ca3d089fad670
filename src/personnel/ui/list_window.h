// The list window ("FRapoarte"): one read-only filterable list with its
// heading, in one of eight modes: the persons hired or left in a month, the
// identity cards, the former employees to rehire, the insured persons, and
// the findings of the three checks of the pay grid. The lists of modes 0, 1,
// 2 and 4 are printed by the documents through a printer handed to the
// window; until one is given, "&Lista" stays disabled with its hint.
#pragma once

#include <QDialog>
#include <QStandardItemModel>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/prompter.h"
#include "core/store/records.h"
#include "params/session.h"
#include "personnel/checks.h"
#include "ui/data_grid.h"

class QLabel;
class QPushButton;

namespace traveno::personnel_ui {

// Stored nowhere; the modes of the list window.
enum class ListMode {
  kHired = 0,
  kLeft = 1,
  kIdentityCards = 2,
  kRehire = 3,
  kInsured = 4,
  kTimeCheck = 5,
  kCodeCheck = 6,
  kCoefficientCheck = 7,
};

// What the window shows: the heading (also its title), the columns (the
// field each shows, its caption and width) and the lines; for the rehire
// list, the former row of each line.
struct ListContent {
  ListMode mode = ListMode::kIdentityCards;
  Date month;  // the chosen month of modes 0 and 1
  QString heading;
  std::vector<ui::GridColumn> columns;
  std::vector<QStringList> lines;
  std::vector<int> numeric_columns;
  std::vector<PersRow> former_rows;
};

ListContent HiredContent(params::Session& session, Date month);
ListContent LeftContent(params::Session& session, Date month);
ListContent IdentityCardsContent(params::Session& session);
ListContent RehireContent(params::Session& session);
ListContent InsuredContent(params::Session& session);
ListContent TimeCheckContent(const personnel::CheckList<personnel::TimeFinding>& check);
ListContent CodeCheckContent(const personnel::CheckList<personnel::CodeFinding>& check);
ListContent CoefficientCheckContent(
    const personnel::CheckList<personnel::CoefficientFinding>& check);

// What printing a list needs: the mode (and month), the report title, the
// filter text (" * Filtru activ: " and the filter when the list is
// filtered, else a single blank) and the lines shown, as indexes into the
// content's lines.
struct ListPrintRequest {
  ListMode mode = ListMode::kIdentityCards;
  Date month;
  std::string title;
  std::string filter_text;
  std::vector<int> shown_lines;
};
using ListPrinter = std::function<void(const ListPrintRequest& request)>;

// The hint of "&Lista" while no document prints the list.
inline constexpr const char* kListPrintMissing =
    "Tiparirea listei - Functia nu este inca disponibila";

class ListWindow : public QDialog {
  Q_OBJECT

 public:
  // Starts the rehire of a former row (mode 3); true when the list is to
  // close.
  using RehireStarter = std::function<bool(const PersRow& former)>;

  ListWindow(ListContent content, Prompter& prompter, QWidget* parent = nullptr);

  // Prints the list (modes 0, 1, 2 and 4).
  void set_printer(ListPrinter printer);
  void set_rehire(RehireStarter rehire) { rehire_ = std::move(rehire); }

  const ListContent& content() const { return content_; }
  ui::DataGrid* grid() const { return grid_; }
  QLabel* heading() const { return heading_; }
  QPushButton* list_button() const { return list_; }
  int ShownLines() const;

  // "&Lista", or "&Reangajare" in mode 3.
  void BListaClick();

 private:
  void RefreshListButton();
  std::optional<int> CurrentLine() const;

  ListContent content_;
  Prompter& prompter_;
  ListPrinter printer_;
  RehireStarter rehire_;
  QStandardItemModel model_;
  ui::DataGrid* grid_;
  QLabel* heading_;
  QPushButton* list_;
};

// Ctrl+R of the pay grid: the list of former employees; "&Reangajare" opens
// the employee window in rehire mode for the chosen person, asks the
// confirmation, saves on the page of kind `tip` and closes the list.
void RunRehireList(params::Session& session, Prompter& prompter, const std::string& tip,
                   const std::optional<std::string>& department, QWidget* parent);

}  // namespace traveno::personnel_ui
