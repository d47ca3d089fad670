// The company editor in its three modes: add ("Adaugarea unei firme noi"),
// modify ("Modificare date firma ") and delete ("Stergere firma "). It gathers
// the fields and judges them through the register service; the caller saves.
#pragma once

#include <QDialog>
#include <map>

#include "core/prompter.h"
#include "params/company_register.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace traveno::app {

class CompanyEditor : public QDialog {
  Q_OBJECT

 public:
  enum class Mode { kAdd, kModify, kDelete };

  // In modify and delete mode `input` fills the fields.
  CompanyEditor(Mode mode, const params::CompanyInput& input, Prompter& prompter,
                QWidget* parent = nullptr);

  // What the fields hold now.
  params::CompanyInput Input() const;
  // A field's box by its column name ("Cod", "Denumire", ...; "Footer1", "Footer2").
  QLineEdit* field(const std::string& name) const;
  QRadioButton* legal_entity() const { return legal_; }
  QRadioButton* natural_person() const { return person_; }
  QPushButton* confirm_button() const { return confirm_; }

 private:
  void SetKind(bool legal_entity);
  void BConfirmClick();

  Mode mode_;
  params::CompanyInput input_;
  Prompter& prompter_;
  std::map<std::string, QLineEdit*> fields_;
  QLabel* fiscal_label_;
  QRadioButton* legal_;
  QRadioButton* person_;
  QPushButton* confirm_;
  std::string last_denumire_;
  std::string last_nume_;
  std::string last_prenume_;
};

}  // namespace traveno::app
