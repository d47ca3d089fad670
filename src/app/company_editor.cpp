#include "app/company_editor.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/window_base.h"

namespace traveno::app {
namespace {

// Where a field sits in the editor.
enum class Place { kCompany, kAddress, kBank, kFooter };

struct FieldSpec {
  const char* name;
  const char* label;
  std::string FirmeRow::*member;  // null for the footer lines
  int width;
  bool upper;
  Place place;
};

// In the order the editor is read (and Tab goes): the company, its address,
// its three bank accounts, the pay-slip footer.
const FieldSpec kFields[] = {
    {"Cod", "C&od / Numedir:", &FirmeRow::Cod, 8, true, Place::kCompany},
    {"Denumire", "&Denumire:", &FirmeRow::Denumire, 40, true, Place::kCompany},
    {"Nume", "Nume", &FirmeRow::Nume, 20, true, Place::kCompany},
    {"Prenume", "Prenume", &FirmeRow::Prenume, 30, true, Place::kCompany},
    {"Judet", "&Judet:", &FirmeRow::Judet, 16, true, Place::kCompany},
    {"CodFiscal", "Cod &Fiscal:", &FirmeRow::CodFiscal, 13, true, Place::kCompany},
    {"RegCom", "R&eg Com:", &FirmeRow::RegCom, 16, true, Place::kCompany},
    {"Telefon", "&Telefon:", &FirmeRow::Telefon, 40, true, Place::kCompany},
    {"Fax", "Fa&x:", &FirmeRow::Fax, 20, true, Place::kCompany},
    {"EMail", "E-&Mail:", &FirmeRow::EMail, 30, false, Place::kCompany},
    {"Pers1", "Persoana &1:", &FirmeRow::Pers1, 40, true, Place::kCompany},
    {"Pers2", "Persoana &2:", &FirmeRow::Pers2, 40, true, Place::kCompany},
    {"Localitate", "&Localitate", &FirmeRow::Localitate, 20, true, Place::kAddress},
    {"Strada", "S&trada", &FirmeRow::Strada, 20, true, Place::kAddress},
    {"Numar", "&Nr.", &FirmeRow::Numar, 5, true, Place::kAddress},
    {"CodPostal", "Cod &Postal", &FirmeRow::CodPostal, 5, true, Place::kAddress},
    {"Bloc", "&Bloc", &FirmeRow::Bloc, 5, true, Place::kAddress},
    {"Scara", "Sca&ra", &FirmeRow::Scara, 5, true, Place::kAddress},
    {"Etaj", "&Etaj", &FirmeRow::Etaj, 5, true, Place::kAddress},
    {"Ap", "&Apt.", &FirmeRow::Ap, 5, true, Place::kAddress},
    {"Sector", "&Sector", &FirmeRow::Sector, 5, true, Place::kAddress},
    {"Banca1", "&Banca:", &FirmeRow::Banca1, 30, true, Place::kBank},
    {"Filiala1", "&Filiala:", &FirmeRow::Filiala1, 30, true, Place::kBank},
    {"Cont1", "Co&ntul:", &FirmeRow::Cont1, 30, true, Place::kBank},
    {"Banca2", "Banca:", &FirmeRow::Banca2, 30, true, Place::kBank},
    {"Filiala2", "Filiala:", &FirmeRow::Filiala2, 30, true, Place::kBank},
    {"Cont2", "Contul:", &FirmeRow::Cont2, 30, true, Place::kBank},
    {"Banca3", "Banca:", &FirmeRow::Banca3, 30, true, Place::kBank},
    {"Filiala3", "Filiala:", &FirmeRow::Filiala3, 30, true, Place::kBank},
    {"Cont3", "Contul:", &FirmeRow::Cont3, 30, true, Place::kBank},
    {"Footer1", "Randul 1:", nullptr, static_cast<int>(kFooterWidth), false, Place::kFooter},
    {"Footer2", "Randul 2:", nullptr, static_cast<int>(kFooterWidth), false, Place::kFooter},
};

// Keeps what is typed in upper case without moving the cursor.
void ForceUpperCase(QLineEdit* edit) {
  QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
    const QString upper = text.toUpper();
    if (upper == text) return;
    const int cursor = edit->cursorPosition();
    edit->setText(upper);
    edit->setCursorPosition(cursor);
  });
}

}  // namespace

CompanyEditor::CompanyEditor(Mode mode, const params::CompanyInput& input, Prompter& prompter,
                             QWidget* parent)
    : QDialog(parent),
      mode_(mode),
      input_(mode == Mode::kAdd ? params::CompanyInput{} : input),
      prompter_(prompter),
      fiscal_label_(nullptr),
      legal_(new QRadioButton("Agent economic", this)),
      person_(new QRadioButton("Persoana fizica", this)),
      confirm_(nullptr) {
  setObjectName("FEditFirma");
  setWindowTitle(mode == Mode::kAdd      ? "Adaugarea unei firme noi"
                 : mode == Mode::kModify ? "Modificare date firma "
                                         : "Stergere firma ");
  auto* layout = new QVBoxLayout(this);
  auto* kinds = new QHBoxLayout;
  legal_->setObjectName("RBAgent");
  person_->setObjectName("RBPersoana");
  kinds->addWidget(legal_);
  kinds->addWidget(person_);
  kinds->addStretch();
  layout->addLayout(kinds);

  // The company on the left, its address on the right; the bank accounts one
  // per row below them, then the pay-slip footer.
  auto* columns = new QHBoxLayout;
  auto* company_form = new QFormLayout;
  auto* address_box = new QGroupBox(" Adresa ", this);
  auto* address_form = new QFormLayout(address_box);
  auto* bank_box = new QGroupBox(" Conturi bancare ", this);
  auto* bank_grid = new QGridLayout(bank_box);
  auto* footer_box = new QGroupBox(" Textul care apare in partea inferioara a fluturasilor ", this);
  auto* footer_form = new QFormLayout(footer_box);
  int bank_index = 0;
  for (const FieldSpec& spec : kFields) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString("E") + spec.name);
    edit->setMaxLength(spec.width);
    ui::SizeToChars(edit, spec.width);
    if (spec.upper) ForceUpperCase(edit);
    fields_[spec.name] = edit;
    auto* label = new QLabel(spec.label, this);
    label->setBuddy(edit);
    if (std::string(spec.name) == "CodFiscal") fiscal_label_ = label;
    switch (spec.place) {
      case Place::kCompany:
        company_form->addRow(label, edit);
        break;
      case Place::kAddress:
        address_form->addRow(label, edit);
        break;
      case Place::kBank:
        bank_grid->addWidget(label, bank_index / 3, (bank_index % 3) * 2);
        bank_grid->addWidget(edit, bank_index / 3, (bank_index % 3) * 2 + 1);
        ++bank_index;
        break;
      case Place::kFooter:
        footer_form->addRow(label, edit);
        break;
    }
  }
  columns->addLayout(company_form);
  columns->addSpacing(12);
  columns->addWidget(address_box, 0, Qt::AlignTop);
  layout->addLayout(columns);
  layout->addWidget(bank_box);
  layout->addWidget(footer_box);

  // Enter on an employer kind moves on to the name that kind is typed in.
  ui::EnterMovesTo(legal_, fields_["Denumire"]);
  ui::EnterMovesTo(person_, fields_["Nume"]);

  auto* question = new QLabel(params::kDeleteQuestion, this);
  question->setVisible(mode == Mode::kDelete);
  layout->addWidget(question);
  auto* buttons = new QHBoxLayout;
  // Made after the fields, so that Tab reaches it after them.
  confirm_ = new QPushButton("&Confirm", this);
  confirm_->setObjectName("BConfirm");
  auto* cancel = new QPushButton("&Anulez", this);
  cancel->setObjectName("BAnulez");
  confirm_->setAutoDefault(false);
  cancel->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(confirm_);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(confirm_, &QPushButton::clicked, this, &CompanyEditor::BConfirmClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  for (const FieldSpec& spec : kFields) {
    if (spec.member != nullptr) {
      fields_[spec.name]->setText(QString::fromStdString(input_.row.*spec.member));
    }
  }
  fields_["Footer1"]->setText(QString::fromStdString(input_.footer.line1));
  fields_["Footer2"]->setText(QString::fromStdString(input_.footer.line2));
  last_denumire_ = input_.row.Denumire;
  last_nume_ = input_.row.Nume;
  last_prenume_ = input_.row.Prenume;
  const bool legal = mode == Mode::kAdd || input_.legal_entity;
  (legal ? legal_ : person_)->setChecked(true);
  SetKind(legal);
  connect(legal_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) SetKind(true);
  });
  connect(person_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) SetKind(false);
  });

  if (mode == Mode::kModify) fields_["Cod"]->setEnabled(false);
  if (mode == Mode::kDelete) {
    for (auto& [name, edit] : fields_) edit->setEnabled(false);
    legal_->setEnabled(false);
    person_->setEnabled(false);
  }
  if (mode == Mode::kAdd) {
    fields_["Cod"]->setFocus();
  } else if (mode == Mode::kModify) {
    (legal ? legal_ : person_)->setFocus();
  } else {
    cancel->setFocus();
  }
}

void CompanyEditor::SetKind(bool legal_entity) {
  QLineEdit* denumire = fields_["Denumire"];
  QLineEdit* nume = fields_["Nume"];
  QLineEdit* prenume = fields_["Prenume"];
  if (legal_entity) {
    if (nume->isEnabled()) {
      last_nume_ = nume->text().toStdString();
      last_prenume_ = prenume->text().toStdString();
    }
    nume->clear();
    prenume->clear();
    denumire->setText(QString::fromStdString(last_denumire_));
  } else {
    if (denumire->isEnabled()) last_denumire_ = denumire->text().toStdString();
    denumire->clear();
    nume->setText(QString::fromStdString(last_nume_));
    prenume->setText(QString::fromStdString(last_prenume_));
  }
  const bool editable = mode_ != Mode::kDelete;
  denumire->setEnabled(editable && legal_entity);
  nume->setEnabled(editable && !legal_entity);
  prenume->setEnabled(editable && !legal_entity);
  if (fiscal_label_ != nullptr) {
    fiscal_label_->setText(legal_entity ? "Cod &Fiscal:" : "Cod num.pers.");
  }
}

params::CompanyInput CompanyEditor::Input() const {
  params::CompanyInput input = input_;
  for (const FieldSpec& spec : kFields) {
    if (spec.member != nullptr)
      input.row.*spec.member = fields_.at(spec.name)->text().toStdString();
  }
  input.footer.line1 = fields_.at("Footer1")->text().toStdString();
  input.footer.line2 = fields_.at("Footer2")->text().toStdString();
  input.legal_entity = legal_->isChecked();
  return input;
}

QLineEdit* CompanyEditor::field(const std::string& name) const {
  auto it = fields_.find(name);
  return it == fields_.end() ? nullptr : it->second;
}

void CompanyEditor::BConfirmClick() {
  if (mode_ == Mode::kDelete) {
    accept();
    return;
  }
  const params::ConfirmResult result = params::ValidateCompanyInput(Input(), prompter_);
  if (!result.confirmed) {
    if (QLineEdit* edit = field(result.focus)) edit->setFocus();
    return;
  }
  accept();
}

}  // namespace traveno::app
