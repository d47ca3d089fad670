// The pay grid ("ANGAJATI FIRMA"): the accountant's main working window. One
// page per employee kind, each a grid over the month's lines of that kind (of
// the chosen department), the subtotals of the kind under it, the company's
// totals and funds below, and the current line beside. Typing into an
// editable cell posts the line through the single-line service; the totals
// follow at once. The buttons, the pop-up menu and the keys open the
// employee, dependants, medical-leave, history and list windows and run the
// bulk operations, each through its service.
#pragma once

#include <QDialog>
#include <QPersistentModelIndex>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "core/prompter.h"
#include "params/session.h"
#include "personnel/employees.h"
#include "personnel/grid_view.h"

class QAction;
class QLabel;
class QPushButton;
class QTabWidget;

namespace traveno::ui {
class DataGrid;
}

namespace traveno::personnel_ui {

class PayGridDelegate;
class PayGridModel;

inline constexpr int kPermanentPage = 0;
inline constexpr int kPartialPage = 1;

class PayGridWindow : public QDialog {
  Q_OBJECT

 public:
  // Chooses the company database file to import employees from; empty
  // cancels. By default a file dialog.
  using ImportFileChooser = std::function<QString(const QString& start_folder)>;

  // `department`: the one chosen when the grid opened; empty for the whole
  // company.
  PayGridWindow(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                std::optional<std::string> department, QWidget* parent = nullptr);
  ~PayGridWindow() override;

  void set_import_file_chooser(ImportFileChooser chooser) { choose_import_ = std::move(chooser); }

  ui::DataGrid* grid(int page) const { return grids_[static_cast<std::size_t>(page)]; }
  PayGridModel* model(int page) const { return models_[static_cast<std::size_t>(page)]; }
  QTabWidget* pages() const { return pages_; }
  int CurrentPage() const;
  // "1" on the permanent page, "2" on the partial-contract page.
  std::string CurrentTip() const;
  // The current line of the active page; null when its view is empty.
  const PersRow* CurrentLine() const;
  // Makes the line with `nr` current on the active page; false when not shown.
  bool SelectLine(std::int64_t nr);

  QLabel* heading() const { return heading_; }
  // The shown text of a figure under the grid by its caption ("Rest de
  // plata", "Fond somaj", ...), or of a page's subtotal ("Brut", "Realizat",
  // "Avans", "Rest plata" with the page).
  QString TotalText(const QString& caption) const;
  QString SubtotalText(int page, const QString& caption) const;
  QString CurrentLineText(const QString& caption) const;

  QPushButton* add_button() const { return add_; }
  QPushButton* modify_button() const { return modify_; }
  QPushButton* delete_button() const { return delete_; }
  QPushButton* dependants_button() const { return dependants_; }
  QPushButton* history_button() const { return history_; }
  QPushButton* medical_leave_button() const { return medical_leave_; }
  QPushButton* trend_button() const { return trend_; }
  QPushButton* comparison_button() const { return comparison_; }
  QAction* index_action() const { return index_; }
  QAction* rehire_action() const { return rehire_; }

  // The buttons and entries.
  void BAdaugareClick();
  void BModificareClick();
  void BStergereClick();
  void BIntretinereClick();
  void BIstoricClick();
  // "CM Normal" (6 months) and "CIC" (10 months).
  void CalculCM(int months);
  void BRefreshClick();
  // "E&volutie" (of the grid's department) and "Compa&ratie cu luna
  // anterioara" (Enter on a line of the working month shows it here).
  void BEvolutieClick();
  void BComparatieClick();
  // Makes the line with `nr` current on its kind's page once the window has
  // opened (now, when it is open); false when no page shows it.
  bool ShowLine(std::int64_t nr);
  void Indexare();
  void Reangajare();
  void VerificareTimp();
  void VerificareCNP();
  void VerificareCoeficienti();
  // Ctrl+F9, the hidden "&Cumulare date CAS".
  void CumulareDateCas();
  // Ctrl+Shift+F3 on the focused grid.
  void CompletareColoana();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void BuildPage(int page, const QString& caption);
  QWidget* BuildTotalsPanel();
  QWidget* BuildSidePanel();
  void BuildActions();
  void Open();
  // Reads the lines of the month (of the department) into both pages,
  // keeping each page's current line, or making `select` current.
  void LoadLines(std::optional<std::int64_t> select = std::nullopt);
  // Shows `lines` (the month's, of the department) on both pages.
  void ShowLines(std::vector<PersRow> lines, std::optional<std::int64_t> select = std::nullopt);
  void Recalculate();
  void RefreshTotals();
  void CurrentLineChanged();
  void FocusGrid();
  // A refused value: the cell's editor opens again on `text`, selected.
  void ReopenRefusedCell(int page, const QPersistentModelIndex& cell, const QString& text);
  // Re-reads one stored line into its page after a window changed it.
  void RefreshLine(std::int64_t nr);
  std::optional<PersRow> PostCell(const PersRow& line, const personnel::GridColumn& column,
                                  const FieldValue& value);
  void EditEmployee(personnel::EmployeeEditMode mode);
  personnel::GridScope Scope() const;
  bool ViewEmpty() const { return CurrentLine() == nullptr; }

  params::Session& session_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  std::optional<std::string> department_;
  ImportFileChooser choose_import_;
  bool opened_ = false;
  bool month_open_ = true;
  personnel::GridLineSums sums_;

  QLabel* heading_;
  QTabWidget* pages_;
  std::array<ui::DataGrid*, 2> grids_{};
  std::array<PayGridModel*, 2> models_{};
  std::array<PayGridDelegate*, 2> delegates_{};
  std::array<std::map<QString, QLabel*>, 2> subtotals_;
  std::map<QString, QLabel*> totals_;
  std::map<QString, QLabel*> current_;
  QPushButton* add_;
  QPushButton* modify_;
  QPushButton* delete_;
  QPushButton* dependants_;
  QPushButton* history_;
  QPushButton* medical_leave_;
  QPushButton* refresh_;
  QPushButton* trend_;
  QPushButton* comparison_;
  std::optional<std::int64_t> show_on_open_;
  QAction* index_ = nullptr;
  QAction* rehire_ = nullptr;
};

}  // namespace traveno::personnel_ui
