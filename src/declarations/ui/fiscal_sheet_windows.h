// The way to a person's fiscal sheet: the persons of a kind
// ("Selectie Persoane", `TFSelPers`) and the years of the chosen person
// ("Liste", `TFSel`), whose "&Tiparire" prepares the sheet of the year and
// hands it to the print preview.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/prompter.h"
#include "declarations/fiscal_lists.h"
#include "declarations/fiscal_sheet.h"

class QComboBox;
class QLabel;
class QPushButton;
class QStandardItemModel;

namespace traveno::params {
class Session;
}
namespace traveno::ui {
class DataGrid;
}

namespace traveno::declarations_ui {

// Shows a prepared sheet (the print preview of the sheet).
using ShowSheet = std::function<void(const declarations::FiscalSheet&, QWidget* parent)>;

// `TFSel`: the person, the kind and the years of the person's rows.
class SheetYearWindow : public QDialog {
  Q_OBJECT

 public:
  SheetYearWindow(params::Session& session, const declarations::SheetPerson& person,
                  Prompter& prompter, ShowSheet show_sheet, QWidget* parent = nullptr);

  QComboBox* years() const { return years_; }
  QPushButton* print_button() const { return print_; }

  // "&Tiparire": the sheet of the chosen year, only for the working year.
  void BTiparireClick();

 private:
  params::Session& session_;
  declarations::SheetPerson person_;
  Prompter& prompter_;
  ShowSheet show_sheet_;
  QComboBox* years_;
  QPushButton* print_;
};

// `TFSelPers`: the persons of a kind, by name; Enter or a double click
// opens the person's year window, Escape closes.
class SheetPersonsWindow : public QDialog {
  Q_OBJECT

 public:
  // `kind` is "1" (permanent) or "2" (partial contract).
  SheetPersonsWindow(params::Session& session, std::string kind, Prompter& prompter,
                     ProgressReporter& progress, ShowSheet show_sheet, QWidget* parent = nullptr);

  ui::DataGrid* grid() const { return grid_; }
  const std::vector<declarations::SheetPerson>& persons() const { return persons_; }

  // Opens the year window of the current person; nothing when the list is empty.
  void SelectPerson();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // F7 asks a text and finds it in the current column; Ctrl+F7 finds it again.
  void Find(bool again);

  params::Session& session_;
  std::string kind_;
  Prompter& prompter_;
  ShowSheet show_sheet_;
  std::vector<declarations::SheetPerson> persons_;
  QStandardItemModel* model_;
  ui::DataGrid* grid_;
  QString last_find_;
};

}  // namespace traveno::declarations_ui
