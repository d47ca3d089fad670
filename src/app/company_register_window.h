// The company register window ("Gestiune firme"): every company of the
// register in code order, with the editor in its add, modify and delete modes.
// Saving, the refusal of the working company and the deletion with its
// questions are the register service's.
#pragma once

#include <QDialog>
#include <QStandardItemModel>
#include <optional>
#include <vector>

#include "core/prompter.h"
#include "core/store/records.h"
#include "core/store/store.h"

class QLabel;
class QPushButton;

namespace traveno::ui {
class DataGrid;
}

namespace traveno::app {

class CompanyRegisterWindow : public QDialog {
  Q_OBJECT

 public:
  // `working_company` is drawn on cyan and may not be deleted (empty: none).
  CompanyRegisterWindow(Store& store, std::string working_company, Prompter& prompter,
                        QWidget* parent = nullptr);

  ui::DataGrid* grid() const { return grid_; }
  QPushButton* add_button() const { return add_; }
  QPushButton* modify_button() const { return modify_; }
  QPushButton* delete_button() const { return delete_; }
  int RowCount() const { return model_.rowCount(); }
  // The code of the selected row; empty when none.
  std::string CurrentCode() const;

  // Re-reads the register and selects the company `code` (else the first row).
  void Reload(const std::string& code = {});

  void BAdaugareClick();
  void BModificareClick();
  void BStergereClick();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::optional<FirmeRow> CurrentRow() const;

  Store& store_;
  std::string working_company_;
  Prompter& prompter_;
  QStandardItemModel model_;
  std::vector<FirmeRow> rows_;
  ui::DataGrid* grid_;
  QPushButton* add_;
  QPushButton* modify_;
  QPushButton* delete_;
};

}  // namespace traveno::app
