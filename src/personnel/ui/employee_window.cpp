#include "personnel/ui/employee_window.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/data_folder.h"
#include "core/text.h"
#include "params/departments.h"
#include "personnel/personal_code.h"
#include "personnel/ui/date_box.h"
#include "personnel/ui/window_helpers.h"
#include "ui/file_dialogs.h"
#include "ui/qt_prompter.h"
#include "ui/window_base.h"

namespace traveno::personnel_ui {
namespace {

using personnel::EmployeeEditMode;

constexpr QSize kPhotoSize(120, 150);

// POZADEF: the picture of a person without a photo, a grey silhouette.
QPixmap DefaultPicture() {
  QPixmap picture(kPhotoSize);
  picture.fill(QColor(236, 236, 236));
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(170, 170, 170));
  painter.drawEllipse(QPoint(60, 55), 26, 30);
  painter.drawRoundedRect(QRect(18, 95, 84, 70), 30, 30);
  return picture;
}

const char* const kInvalidityLabels[] = {"Fara handicap", "Inv. grad I", "Inv. grad II"};
const char* const kIncomeKinds[] = {"1-Demnitar",     "2-Administrator", "3-Fondator",
                                    "4-Colaborator",  "5-Membru AGA",    "6-Tripartite",
                                    "7-Asociat unic", "8-Altele"};

std::string Text(const QLineEdit* box) { return box->text().toStdString(); }

}  // namespace

EmployeeWindow::EmployeeWindow(params::Session& session, Prompter& prompter, EmployeeEditMode mode,
                               std::string tip, std::optional<std::string> department,
                               const PersRow* row, QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      mode_(mode),
      tip_(row != nullptr && mode != EmployeeEditMode::kRehire ? row->TIP : std::move(tip)),
      department_(std::move(department)),
      departments_(new QComboBox(this)),
      departments_caption_(new QLabel("Departamentul", this)),
      invalidity_(new QComboBox(this)),
      invalidity_caption_(new QLabel("Invaliditate", this)),
      income_kind_(new QComboBox(this)),
      kind_heading_(BoldLabel(QString(), this)),
      code_check_(new QLabel(this)),
      hours_caption_(new QLabel("Ore / Zi", this)),
      photo_(new QLabel(this)),
      photo_button_(new QPushButton("Poza", this)),
      remove_photo_(new QAction("&Stergere poza", this)),
      leaving_button_(new QPushButton("Data incetarii activitatii", this)),
      delete_panel_(BoldLabel("Sigur doriti sa stergeti acest angajat ?", this)),
      confirm_(new QPushButton("&Confirmare", this)) {
  setObjectName("FESal");
  setWindowTitle("Date personal");
  kind_heading_->setAlignment(Qt::AlignCenter);
  QFont heading_font = kind_heading_->font();
  heading_font.setPointSizeF(heading_font.pointSizeF() * 1.2);
  kind_heading_->setFont(heading_font);

  // Personal data.
  auto* personal = new QGroupBox("Date personale", this);
  auto* personal_form = new QFormLayout(personal);
  departments_->setObjectName("CBDepart");
  ui::EnterMovesTo(departments_);
  personal_form->addRow(departments_caption_, departments_);
  personal_form->addRow("Nume", AddLine("Nume", 20, true));
  personal_form->addRow("Prenume", AddLine("Prenume", 50, true));
  personal_form->addRow("CNP", AddLine("CodNumPers", 15, false));
  code_check_->setObjectName("LVerificareCNP");
  // The check's answer under the code never widens the window (the longest
  // pushed the buttons and the photo off a 1280-pixel screen): it takes the
  // width of the group, on two lines kept for it, where the longest answer
  // is read whole (beside the code it had a column a word wide).
  code_check_->setWordWrap(true);
  code_check_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  code_check_->setFixedHeight(code_check_->fontMetrics().lineSpacing() * 2 + 2);
  personal_form->addRow(code_check_);
  personal_form->addRow("Functie", AddLine("Functie", 50, false));
  personal_form->addRow("Studii / Meserie", AddLine("Studii", 50, false));
  for (const char* field : {"Data_Nas", "Data_Ang", "Data_Lich"}) {
    auto* date = new DateBox(this);
    date->setObjectName(QString("E") + field);
    dates_[field] = date;
  }
  personal_form->addRow("Data nasterii", dates_["Data_Nas"]);
  personal_form->addRow("Data angajarii", dates_["Data_Ang"]);
  personal_form->addRow("Norma", AddLine("NORMA", 2, false));
  personal_form->addRow("Salariu inc:", AddLine("SalInc", 20, false));
  personal_form->addRow("Timp :", AddLine("Timp", 12, false));
  personal_form->addRow(hours_caption_, AddLine("Ore_Zi", 12, false));
  invalidity_->setObjectName("CBInvaliditate");
  for (const char* label : kInvalidityLabels) invalidity_->addItem(label);
  ui::EnterMovesTo(invalidity_);
  personal_form->addRow(invalidity_caption_, invalidity_);
  income_kind_->setObjectName("CBTipVenit");
  for (const char* label : kIncomeKinds) income_kind_->addItem(label);
  income_kind_->setVisible(false);  // "Tip venit:" is kept, never shown

  // Address and contact.
  auto* address = new QGroupBox("Domiciliu", this);
  auto* address_form = new QFormLayout(address);
  address_form->addRow("Judet", AddLine("Judet", 16, true));
  address_form->addRow("Localitate", AddLine("Localitate", 20, true));
  address_form->addRow("Strada", AddLine("Strada", 20, true));
  const std::pair<const char*, const char*> kShort[] = {
      {"Nr.", "Numar"},    {"Cod Postal", "CodPostal"},
      {"Bloc", "Bloc"},    {"Scara", "Scara"},
      {"Etaj", "Etaj"},    {"Apt.", "Ap"},
      {"Sector", "Sector"}};
  for (const auto& [caption, field] : kShort)
    address_form->addRow(caption, AddLine(field, 5, true));
  address_form->addRow("Telefon", AddLine("Telefon", 50, false));
  address_form->addRow("E-mail", AddLine("Email", 50, false));
  address_form->addRow("Alte date", AddLine("Alte_Date", 50, false));

  // Photo and the boxes.
  auto* right = new QVBoxLayout;
  photo_->setObjectName("IPoza");
  photo_->setFixedSize(kPhotoSize);
  photo_->setFrameShape(QFrame::Box);
  photo_->setAlignment(Qt::AlignCenter);
  photo_->setContextMenuPolicy(Qt::DefaultContextMenu);
  right->addWidget(photo_, 0, Qt::AlignHCenter);
  photo_button_->setObjectName("BPoza");
  photo_button_->setAutoDefault(false);
  right->addWidget(photo_button_, 0, Qt::AlignHCenter);
  remove_photo_->setObjectName("MStergerePoza");
  auto* flags = new QGroupBox(this);
  auto* flag_layout = new QVBoxLayout(flags);
  for (const char* field : {"Fisa_Rectif", "Fisa_Regul", "Alt_Venit", "Domiciliu_ext", "BifaSom",
                            "PlatitOra", "Pensionar"}) {
    auto* box = new QCheckBox(this);
    box->setObjectName(QString("CB") + field);
    boxes_[field] = box;
    flag_layout->addWidget(box);
  }
  boxes_["Fisa_Rectif"]->setText("Fisa rectificativa");
  boxes_["Pensionar"]->setText("Pensionar (nu se retine somaj de la angajat si firma)");
  right->addWidget(flags);
  right->addStretch();

  auto* columns = new QHBoxLayout;
  columns->addWidget(personal, 3);
  columns->addWidget(address, 2);
  columns->addLayout(right, 2);

  auto* leaving_row = new QHBoxLayout;
  leaving_button_->setObjectName("BDataLich");
  leaving_button_->setAutoDefault(false);
  leaving_row->addWidget(leaving_button_);
  leaving_row->addWidget(dates_["Data_Lich"]);
  leaving_row->addStretch();

  delete_panel_->setObjectName("PStergere");
  delete_panel_->setAlignment(Qt::AlignCenter);
  delete_panel_->setStyleSheet("color: red");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(kind_heading_);
  layout->addLayout(columns, 1);
  layout->addLayout(leaving_row);
  layout->addWidget(delete_panel_);
  layout->addLayout(ConfirmAbandonRow(this, confirm_, &abandon_));
  confirm_->setDefault(true);

  connect(confirm_, &QPushButton::clicked, this, &EmployeeWindow::BConfirmareClick);
  connect(photo_button_, &QPushButton::clicked, this, &EmployeeWindow::BPozaClick);
  connect(remove_photo_, &QAction::triggered, this, &EmployeeWindow::StergerePozaClick);
  connect(leaving_button_, &QPushButton::clicked, this, [this] {
    dates_["Data_Lich"]->setEnabled(true);
    dates_["Data_Lich"]->setFocus();
  });
  connect(dates_["Data_Lich"], &QLineEdit::editingFinished, this,
          &EmployeeWindow::LeavingDateEdited);
  connect(boxes_["Pensionar"], &QCheckBox::toggled, this, &EmployeeWindow::PensionerToggled);
  connect(boxes_["PlatitOra"], &QCheckBox::toggled, this, &EmployeeWindow::MainJobToggled);
  connect(lines_["CodNumPers"], &QLineEdit::textChanged, this, &EmployeeWindow::CodeEdited);

  // PrepareEmployeeWindow.
  FillDepartmentList();
  personnel::EmployeeInput input;
  switch (mode_) {
    case EmployeeEditMode::kAdd:
      input = personnel::NewEmployeeInput(tip_);
      setWindowTitle("Adaugarea unei persoane noi");
      break;
    case EmployeeEditMode::kModify:
      input = personnel::EmployeeInputFromRow(*row);
      setWindowTitle("Modificare date persoana ");
      break;
    case EmployeeEditMode::kDelete:
      input = personnel::EmployeeInputFromRow(*row);
      setWindowTitle("Stergere persoana ");
      break;
    case EmployeeEditMode::kRehire:
      input = personnel::RehireInputFromRow(*row);
      rehire_ = personnel::RehireIdentityOf(*row);
      setWindowTitle("Reangajare persoana ");
      break;
  }
  if (row != nullptr) iid_ = mode_ == EmployeeEditMode::kRehire ? rehire_->IID : row->IID;
  Load(input);
  SetInputsEnabled(mode_ != EmployeeEditMode::kDelete);
  // A piece-work line cannot be marked hourly.
  if (row != nullptr && mode_ != EmployeeEditMode::kRehire && row->ACORD == "D") {
    boxes_["PlatitOra"]->setEnabled(false);
  }
  const bool leaving_shown =
      mode_ == EmployeeEditMode::kModify || mode_ == EmployeeEditMode::kRehire;
  leaving_button_->setVisible(leaving_shown);
  dates_["Data_Lich"]->setVisible(leaving_shown);
  delete_panel_->setVisible(mode_ == EmployeeEditMode::kDelete);
  photo_button_->setEnabled(mode_ != EmployeeEditMode::kDelete);
  if (mode_ == EmployeeEditMode::kDelete) boxes_["PlatitOra"]->setEnabled(false);
  if (mode_ == EmployeeEditMode::kAdd) {
    ShowPhoto(std::nullopt);
  } else {
    ShowPhoto(personnel::LoadEmployeePhoto(session_, iid_));
  }
  remove_photo_->setEnabled(stored_photo_shown_ && mode_ != EmployeeEditMode::kDelete);
  ApplyKindCaptions();
  // Tab follows the window from top to bottom, column by column.
  std::vector<QWidget*> order = {departments_};
  for (const char* field : {"Nume", "Prenume", "CodNumPers", "Functie", "Studii"}) {
    order.push_back(lines_[field]);
  }
  order.push_back(dates_["Data_Nas"]);
  order.push_back(dates_["Data_Ang"]);
  for (const char* field : {"NORMA", "SalInc", "Timp", "Ore_Zi"}) order.push_back(lines_[field]);
  order.push_back(invalidity_);
  for (const char* field : {"Judet", "Localitate", "Strada", "Numar", "CodPostal", "Bloc", "Scara",
                            "Etaj", "Ap", "Sector", "Telefon", "Email", "Alte_Date"}) {
    order.push_back(lines_[field]);
  }
  order.push_back(photo_button_);
  for (const char* field : {"Fisa_Rectif", "Fisa_Regul", "Alt_Venit", "Domiciliu_ext", "BifaSom",
                            "PlatitOra", "Pensionar"}) {
    order.push_back(boxes_[field]);
  }
  for (QWidget* widget :
       std::initializer_list<QWidget*>{leaving_button_, dates_["Data_Lich"], confirm_, abandon_}) {
    order.push_back(widget);
  }
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

QLineEdit* EmployeeWindow::AddLine(const QString& field, int max_length, bool upper) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName("E" + field);
  edit->setMaxLength(max_length);
  // Wide enough for what the field holds; the long free texts scroll.
  ui::SizeToChars(edit, std::min(max_length, 20));
  if (upper) ForceUpperCase(edit);
  lines_[field] = edit;
  return edit;
}

QLineEdit* EmployeeWindow::line_edit(const QString& field) const {
  auto it = lines_.find(field);
  return it == lines_.end() ? nullptr : it->second;
}

DateBox* EmployeeWindow::date_box(const QString& field) const {
  auto it = dates_.find(field);
  return it == dates_.end() ? nullptr : it->second;
}

QCheckBox* EmployeeWindow::box(const QString& field) const {
  auto it = boxes_.find(field);
  return it == boxes_.end() ? nullptr : it->second;
}

void EmployeeWindow::FillDepartmentList() {
  departments_->clear();
  departments_->setVisible(true);
  departments_caption_->setVisible(true);
  departments_->setEnabled(true);
  const int count = params::CountDepartments(session_);
  if (count >= 1) {
    if (department_) {
      departments_->addItem(QString::fromStdString(UpperTrim(*department_)));
      departments_->setEnabled(false);
    } else {
      // The chooser's lines, without "<Toata firma>": an employee belongs
      // to one department.
      for (const std::string& line :
           params::DepartmentChooserLines(params::ListDepartments(session_))) {
        departments_->addItem(QString::fromStdString(line));
      }
    }
    departments_->setCurrentIndex(0);
  }
  if (count <= 1) {
    departments_->setVisible(false);
    departments_caption_->setVisible(false);
  }
}

void EmployeeWindow::Load(const personnel::EmployeeInput& in) {
  const std::string depart = UpperTrim(in.Depart);
  for (int i = 0; i < departments_->count(); ++i) {
    if (params::ChosenDepartmentCode(departments_->itemText(i).toStdString()) == depart) {
      departments_->setCurrentIndex(i);
      break;
    }
  }
  auto set = [this](const char* field, const std::string& text) {
    lines_[field]->setText(QString::fromStdString(text));
  };
  set("Nume", in.Nume);
  set("Prenume", in.Prenume);
  set("CodNumPers", in.CodNumPers);
  set("Functie", in.Functie);
  set("Studii", in.Studii);
  set("Judet", in.Judet);
  set("Localitate", in.Localitate);
  set("Strada", in.Strada);
  set("Numar", in.Numar);
  set("CodPostal", in.CodPostal);
  set("Bloc", in.Bloc);
  set("Scara", in.Scara);
  set("Etaj", in.Etaj);
  set("Ap", in.Ap);
  set("Sector", in.Sector);
  set("Telefon", in.Telefon);
  set("Email", in.Email);
  set("Alte_Date", in.Alte_Date);
  lines_["NORMA"]->setText(QString::number(in.NORMA));
  ShowTypedNumber(lines_["SalInc"], in.SalInc);
  ShowTypedNumber(lines_["Timp"], in.Timp);
  ShowTypedNumber(lines_["Ore_Zi"], in.Ore_Zi);
  dates_["Data_Ang"]->SetDate(in.Data_Ang);
  dates_["Data_Nas"]->SetDate(in.Data_Nas);
  dates_["Data_Lich"]->SetDate(in.Data_Lich);
  invalidity_->setCurrentIndex(std::clamp(in.Invaliditate, 0, 2));
  income_kind_->setCurrentIndex(std::clamp(in.TipVenit, 0, 7));
  pr_va_ = in.Pr_va;
  boxes_["Fisa_Rectif"]->setChecked(in.FisaRectif);
  boxes_["Fisa_Regul"]->setChecked(in.FisaRegul);
  boxes_["Alt_Venit"]->setChecked(in.AltVenit);
  boxes_["Domiciliu_ext"]->setChecked(in.DomiciliuExt);
  boxes_["BifaSom"]->setChecked(in.BifaSom);
  boxes_["PlatitOra"]->setChecked(in.PlatitOra);
  // Loading the pensioner box must not change the boxes it governs.
  const QSignalBlocker quiet(boxes_["Pensionar"]);
  boxes_["Pensionar"]->setChecked(in.Pensionar);
}

void EmployeeWindow::SetInputsEnabled(bool enabled) {
  for (auto& [field, edit] : lines_) edit->setEnabled(enabled);
  for (auto& [field, date] : dates_) date->setEnabled(enabled);
  for (auto& [field, check] : boxes_) check->setEnabled(enabled);
  invalidity_->setEnabled(enabled);
  if (!enabled) departments_->setEnabled(false);
}

void EmployeeWindow::ApplyKindCaptions() {
  const bool partial = tip_ == "2";
  kind_heading_->setText(partial ? "ANGAJAT CONTRACT PARTIAL" : "ANGAJAT PERMANENT");
  boxes_["Alt_Venit"]->setText(partial ? "Se retine CIAS " : "Alte surse de venit");
  boxes_["Domiciliu_ext"]->setText(partial ? "Se retine Somaj de la angajat"
                                           : "Domiciliul in strainatate");
  boxes_["BifaSom"]->setText(partial ? "Se retine Somaj de la firma"
                                     : "Nu se retine somaj de la angajat");
  boxes_["PlatitOra"]->setText(partial ? "Angajat cu functie de baza" : "Platit la ora");
  boxes_["Fisa_Regul"]->setText("Fisa de regularizare");
  boxes_["Fisa_Regul"]->setVisible(!partial);
  hours_caption_->setVisible(partial);
  lines_["Ore_Zi"]->setVisible(partial);
}

void EmployeeWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  const bool partial = tip_ == "2";
  dates_["Data_Lich"]->setEnabled(false);
  ApplyKindCaptions();
  if (partial) {
    boxes_["BifaSom"]->setChecked(true);
    boxes_["BifaSom"]->setVisible(false);
    const bool main_job = boxes_["PlatitOra"]->isChecked();
    invalidity_->setVisible(main_job);
    invalidity_caption_->setVisible(main_job);
  }
  if (mode_ != EmployeeEditMode::kDelete) {
    const bool pensioner = boxes_["Pensionar"]->isChecked();
    boxes_["BifaSom"]->setEnabled(!pensioner);
    if (partial) boxes_["Domiciliu_ext"]->setEnabled(!pensioner);
  }
  remove_photo_marked_ = false;
  QLineEdit* name = lines_["Nume"];
  if (name->isEnabled()) {
    name->setFocus();
  } else {
    abandon_->setFocus();
  }
}

void EmployeeWindow::PensionerToggled(bool ticked) {
  if (tip_ == "2") {
    boxes_["Domiciliu_ext"]->setChecked(ticked);
    boxes_["Domiciliu_ext"]->setEnabled(!ticked);
  }
  boxes_["BifaSom"]->setChecked(ticked);
  boxes_["BifaSom"]->setEnabled(!ticked);
}

void EmployeeWindow::MainJobToggled(bool ticked) {
  if (tip_ != "2") return;
  invalidity_->setVisible(ticked);
  invalidity_caption_->setVisible(ticked);
  if (!ticked) invalidity_->setCurrentIndex(0);
}

void EmployeeWindow::LeavingDateEdited() {
  const std::optional<Date> leaving = dates_["Data_Lich"]->TypedDate();
  if (!leaving) return;
  if (const auto warning = personnel::LeavingDateWarning(session_, *leaving)) {
    prompter_.Message(MessageKind::kWarning, *warning);
  }
}

void EmployeeWindow::CodeEdited() {
  const std::string code = Trim(Text(lines_["CodNumPers"]));
  if (code.empty()) {
    code_check_->clear();
    code_check_->setToolTip(QString());
    return;
  }
  const personnel::CodeCheck check = personnel::CheckPersonalCode(code);
  code_check_->setText(ui::DisplayText(check.message));
  code_check_->setToolTip(code_check_->text());
  code_check_->setStyleSheet(check.passed ? "color: darkgreen" : "color: red");
}

void EmployeeWindow::ShowPhoto(const std::optional<Blob>& picture) {
  QPixmap shown;
  if (picture && !picture->empty()) {
    shown.loadFromData(picture->data(), static_cast<uint>(picture->size()));
  }
  // A picture that cannot be read shows as no picture.
  stored_photo_shown_ = !shown.isNull() && !chosen_photo_;
  if (shown.isNull()) shown = DefaultPicture();
  photo_->setPixmap(shown.scaled(kPhotoSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void EmployeeWindow::BPozaClick() {
  const QString folder =
      QString::fromStdString(session_.store().CompanyFolderOf(session_.company()).string());
  const QString path = choose_photo_
                           ? choose_photo_(folder)
                           : ui::AskOpenFileName(this, "Alegere poza", folder,
                                                 "Bitmaps (*.bmp);;Imagini (*.png *.jpg *.jpeg)");
  if (path.isEmpty()) return;
  const QImage image(path);
  if (image.isNull()) return;  // an unreadable file leaves the picture as it was
  QByteArray bitmap;
  QBuffer buffer(&bitmap);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "BMP")) return;
  const bool stored = stored_photo_shown_;
  chosen_photo_ = Blob(bitmap.begin(), bitmap.end());
  ShowPhoto(chosen_photo_);
  stored_photo_shown_ = stored;
  remove_photo_marked_ = false;
}

void EmployeeWindow::StergerePozaClick() {
  if (!remove_photo_->isEnabled()) return;
  chosen_photo_.reset();
  ShowPhoto(std::nullopt);
  remove_photo_marked_ = true;
  remove_photo_->setEnabled(false);
}

void EmployeeWindow::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(remove_photo_);
  menu.exec(event->globalPos());
}

personnel::EmployeeInput EmployeeWindow::Input() const {
  personnel::EmployeeInput in;
  in.Depart = departments_->count() > 0
                  ? params::ChosenDepartmentCode(departments_->currentText().toStdString())
                  : std::string();
  auto text = [this](const char* field) { return Text(lines_.at(field)); };
  in.Nume = text("Nume");
  in.Prenume = text("Prenume");
  in.CodNumPers = text("CodNumPers");
  in.Functie = text("Functie");
  in.Studii = text("Studii");
  in.Judet = text("Judet");
  in.Localitate = text("Localitate");
  in.Strada = text("Strada");
  in.Numar = text("Numar");
  in.CodPostal = text("CodPostal");
  in.Bloc = text("Bloc");
  in.Scara = text("Scara");
  in.Etaj = text("Etaj");
  in.Ap = text("Ap");
  in.Sector = text("Sector");
  in.Telefon = text("Telefon");
  in.Email = text("Email");
  in.Alte_Date = text("Alte_Date");
  in.NORMA = lines_.at("NORMA")->text().trimmed().toInt();
  in.SalInc = TypedNumber(lines_.at("SalInc")).value_or(0);
  in.Timp = TypedNumber(lines_.at("Timp")).value_or(0);
  in.Ore_Zi = TypedNumber(lines_.at("Ore_Zi")).value_or(0);
  in.Data_Ang = dates_.at("Data_Ang")->TypedDate().value_or(EmptyDate());
  in.Data_Nas = dates_.at("Data_Nas")->TypedDate().value_or(EmptyDate());
  in.Data_Lich = dates_.at("Data_Lich")->TypedDate().value_or(EmptyDate());
  in.Invaliditate = invalidity_->currentIndex();
  in.Pr_va = pr_va_;
  in.TipVenit = income_kind_->currentIndex();
  in.FisaRectif = boxes_.at("Fisa_Rectif")->isChecked();
  in.FisaRegul = boxes_.at("Fisa_Regul")->isChecked();
  in.Pensionar = boxes_.at("Pensionar")->isChecked();
  in.AltVenit = boxes_.at("Alt_Venit")->isChecked();
  in.DomiciliuExt = boxes_.at("Domiciliu_ext")->isChecked();
  in.BifaSom = boxes_.at("BifaSom")->isChecked();
  in.PlatitOra = boxes_.at("PlatitOra")->isChecked();
  in.photo = chosen_photo_;
  in.remove_photo = remove_photo_marked_;
  return in;
}

void EmployeeWindow::BConfirmareClick() {
  if (mode_ == EmployeeEditMode::kDelete) {
    accept();
    return;
  }
  // What the boxes cannot hold is refused before the employee's checks.
  bool norm_ok = false;
  lines_["NORMA"]->text().trimmed().toInt(&norm_ok);
  if (!norm_ok && !lines_["NORMA"]->text().trimmed().isEmpty()) {
    prompter_.Message(MessageKind::kWarning, "Valoarea introdusa la \"Norma\" nu este un numar !");
    lines_["NORMA"]->setFocus();
    return;
  }
  const std::pair<const char*, const char*> kNumbers[] = {
      {"SalInc", "Salariu inc:"}, {"Timp", "Timp :"}, {"Ore_Zi", "Ore / Zi"}};
  for (const auto& [field, caption] : kNumbers) {
    if (!TypedNumber(lines_[field])) {
      prompter_.Message(MessageKind::kWarning, std::string("Valoarea introdusa la \"") + caption +
                                                   "\" nu este un numar !");
      lines_[field]->setFocus();
      return;
    }
  }
  for (const char* field : {"Data_Nas", "Data_Ang", "Data_Lich"}) {
    DateBox* date = dates_[field];
    if (date->isVisible() && !date->TypedDate()) {
      prompter_.Message(MessageKind::kWarning, kBadDate);
      date->setEnabled(true);
      date->setFocus();
      return;
    }
  }
  const personnel::EmployeeInput input = Input();
  if (personnel::ConfirmEmployee(session_, mode_, input, tip_, prompter_)) {
    accept();
    return;
  }
  if (const auto refusal = personnel::ValidateEmployee(input, tip_, session_.working_month())) {
    if (const auto line = lines_.find(QString::fromStdString(refusal->field));
        line != lines_.end()) {
      line->second->setFocus();
    } else if (const auto date = dates_.find(QString::fromStdString(refusal->field));
               date != dates_.end()) {
      date->second->setEnabled(true);
      date->second->setFocus();
    }
  }
}

}  // namespace traveno::personnel_ui
