#include "backup/ui/backup_windows.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "backup/archive_reader.h"
#include "backup/archive_writer.h"
#include "backup/backup_settings.h"
#include "backup/backup_source.h"
#include "backup/restore.h"
#include "backup/safety_copies.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "ui/file_dialogs.h"
#include "ui/qt_prompter.h"
#include "ui/window_base.h"

namespace traveno::backup_ui {
namespace fs = std::filesystem;
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// "ALFA (2003-01 .. 2003-12), BETA (2003-05)"
std::string CompaniesText(const backup::Manifest& manifest) {
  std::string text;
  for (const backup::ArchivedCompany& company : manifest.companies) {
    text += (text.empty() ? "" : ", ") + company.code;
    if (!company.months.empty()) {
      text += " (" + company.months.front() +
              (company.months.size() > 1 ? " .. " + company.months.back() : "") + ")";
    }
  }
  return text.empty() ? "fara firme" : text;
}

QPushButton* Button(const char* text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

std::vector<backup::SourceCompany> CompaniesWithData(const fs::path& data_folder) {
  try {
    backup::DataFolderSource source(data_folder);
    return source.Companies();
  } catch (const Error&) {
    return {};
  }
}

}  // namespace

BackupWindow::BackupWindow(fs::path data_folder, Prompter& prompter, ProgressReporter& progress,
                           ChooseFile choose_file, QWidget* parent)
    : QDialog(parent),
      data_folder_(std::move(data_folder)),
      prompter_(prompter),
      progress_(progress),
      choose_file_(std::move(choose_file)),
      file_(new QLineEdit(this)),
      all_(new QCheckBox("&Toate firmele", this)),
      companies_(new QListWidget(this)),
      kept_(new QSpinBox(this)),
      days_(new QSpinBox(this)),
      save_(Button("&Salvare", "BSalvare", this)) {
  setObjectName("FSalvare");
  setWindowTitle("Salvare date");
  const backup::BackupSettings settings = backup::LoadBackupSettings(data_folder_);
  auto* layout = new QVBoxLayout(this);

  auto* file_row = new QHBoxLayout;
  auto* file_label = new QLabel("&Fisierul salvarii:", this);
  file_label->setBuddy(file_);
  file_->setObjectName("EFisier");
  ui::SizeToChars(file_, 48);
  file_->setText(QDir::homePath() + "/traveno-salvare-" +
                 QDateTime::currentDateTime().toString("yyyyMMdd-HHmm") + ".tar");
  auto* choose = Button("A&lege...", "BAlege", this);
  file_row->addWidget(file_label);
  file_row->addWidget(file_, 1);
  file_row->addWidget(choose);
  layout->addLayout(file_row);

  all_->setObjectName("CBToateFirmele");
  all_->setChecked(true);
  layout->addWidget(all_);
  companies_->setObjectName("LFirme");
  for (const backup::SourceCompany& company : CompaniesWithData(data_folder_)) {
    auto* item = new QListWidgetItem(Q(company.code + "  " + company.name), companies_);
    item->setData(Qt::UserRole, Q(company.code));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  if (companies_->count() > 0) companies_->setCurrentRow(0);
  companies_->setEnabled(false);
  companies_->setMinimumHeight(140);
  layout->addWidget(companies_, 1);

  auto* group = new QGroupBox("Setari", this);
  auto* form = new QFormLayout(group);
  kept_->setObjectName("SECopiiPastrate");
  kept_->setRange(1, backup::kMaxKeptCopies);
  kept_->setValue(settings.kept_copies);
  days_->setObjectName("SEZileAmintire");
  days_->setRange(0, backup::kMaxReminderDays);
  days_->setValue(settings.reminder_days);
  form->addRow("Copii de siguranta &pastrate pentru o firma:", kept_);
  form->addRow("Amintire la iesire dupa (&zile, 0 = niciodata):", days_);
  layout->addWidget(group);
  auto* last = new QLabel(
      Q("Ultima salvare: " + (settings.last_backup
                                  ? backup::DisplayTime(backup::ManifestTime(*settings.last_backup))
                                  : std::string("niciodata"))),
      this);
  last->setObjectName("LUltimaSalvare");
  layout->addWidget(last);

  auto* buttons = new QHBoxLayout;
  auto* abandon = Button("&Abandon", "BAbandon", this);
  buttons->addStretch();
  buttons->addWidget(save_);
  buttons->addWidget(abandon);
  layout->addLayout(buttons);
  ui::SetTabOrder({file_, choose, all_, companies_, kept_, days_, save_, abandon});

  connect(all_, &QCheckBox::toggled, this, [this](bool all) { companies_->setEnabled(!all); });
  connect(choose, &QPushButton::clicked, this, &BackupWindow::BAlegeClick);
  connect(save_, &QPushButton::clicked, this, &BackupWindow::BSalvareClick);
  connect(abandon, &QPushButton::clicked, this, &QDialog::reject);
  save_->setFocus();
}

void BackupWindow::BAlegeClick() {
  const fs::path chosen =
      choose_file_ ? choose_file_(this)
                   : fs::path(ui::AskSaveFileName(this, "Fisierul salvarii", file_->text(),
                                                  "Arhive de salvare (*.tar)")
                                  .toStdString());
  if (!chosen.empty()) file_->setText(Q(chosen.string()));
}

void BackupWindow::BSalvareClick() {
  const std::string typed = file_->text().trimmed().toStdString();
  if (typed.empty()) {
    prompter_.Message(MessageKind::kWarning, "Alegeti fisierul in care se salveaza datele !");
    file_->setFocus();
    return;
  }
  const fs::path file = fs::absolute(fs::path(typed));
  backup::BackupRequest request;
  if (!all_->isChecked()) {
    request.companies.emplace();
    for (int i = 0; i < companies_->count(); ++i) {
      if (companies_->item(i)->checkState() == Qt::Checked) {
        request.companies->push_back(
            companies_->item(i)->data(Qt::UserRole).toString().toStdString());
      }
    }
    if (request.companies->empty()) {
      prompter_.Message(MessageKind::kWarning, "Alegeti firmele care se salveaza !");
      companies_->setFocus();
      return;
    }
    request.scope = backup::BackupScope::kCompanies;
  }
  // The archive never goes over a database or a settings file of the folder.
  if (const auto refusal = ProgramFileRefusal(data_folder_, file)) {
    prompter_.Message(MessageKind::kError, *refusal);
    return;
  }
  std::error_code error;
  if (fs::exists(file, error) &&
      !prompter_.AskYesNo("Fisierul " + file.string() + " exista deja. Il inlocuiti ?")) {
    return;
  }
  request.now = std::time(nullptr);
  try {
    backup::SaveBackupSettings(data_folder_, kept_->value(), days_->value());
    backup::Manifest manifest;
    {
      backup::DataFolderSource source(data_folder_);
      manifest = backup::WriteBackup(source, file, request, progress_);
    }
    backup::RecordBackup(data_folder_, request.now);
    written_ = file;
    prompter_.Message(MessageKind::kInformation,
                      "Datele au fost salvate in " + file.string() + ":\r\nregistrul, " +
                          CompaniesText(manifest) +
                          (manifest.FindFile(kSettingsFileName) ? ", setarile." : "."));
    accept();
  } catch (const Error& failure) {
    prompter_.Message(MessageKind::kError, failure.what());
  }
}

RestoreWindow::RestoreWindow(fs::path data_folder, Prompter& prompter, ProgressReporter& progress,
                             std::function<void()> release_data, ChooseFile choose_file,
                             QWidget* parent)
    : QDialog(parent),
      data_folder_(std::move(data_folder)),
      prompter_(prompter),
      progress_(progress),
      release_data_(std::move(release_data)),
      choose_file_(std::move(choose_file)),
      archives_(new QTreeWidget(this)),
      details_(new QLabel(this)),
      whole_(new QRadioButton("&Toate datele din arhiva", this)),
      chosen_(new QRadioButton("Numai &firmele alese:", this)),
      companies_(new QListWidget(this)),
      restore_(Button("&Restaurare", "BRestaurare", this)) {
  setObjectName("FRestaurare");
  setWindowTitle("Restaurare date");
  resize(760, 520);
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel("&Salvari si copii de siguranta:", this);
  heading->setBuddy(archives_);
  layout->addWidget(heading);
  archives_->setObjectName("TVSalvari");
  archives_->setHeaderLabels({"Data", "Operatia", "Firme"});
  archives_->setRootIsDecorated(false);
  archives_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  archives_->header()->setStretchLastSection(true);
  layout->addWidget(archives_, 1);
  auto* other = Button("Alt fi&sier...", "BAltFisier", this);
  layout->addWidget(other, 0, Qt::AlignLeft);
  details_->setObjectName("LDetalii");
  details_->setWordWrap(true);
  layout->addWidget(details_);
  whole_->setObjectName("RBToate");
  chosen_->setObjectName("RBAlese");
  whole_->setChecked(true);
  layout->addWidget(whole_);
  layout->addWidget(chosen_);
  companies_->setObjectName("LFirme");
  companies_->setEnabled(false);
  companies_->setMaximumHeight(120);
  layout->addWidget(companies_);

  auto* buttons = new QHBoxLayout;
  auto* abandon = Button("&Abandon", "BAbandon", this);
  buttons->addStretch();
  buttons->addWidget(restore_);
  buttons->addWidget(abandon);
  layout->addLayout(buttons);
  ui::SetTabOrder({archives_, other, whole_, chosen_, companies_, restore_, abandon});
  ui::EnterMovesTo(archives_, restore_);

  for (const backup::ListedBackup& listed : backup::ListSafetyCopies(data_folder_)) {
    AddArchive(listed.file, listed.manifest, listed.problem, false);
  }
  if (archives_->topLevelItemCount() > 0) {
    archives_->setCurrentItem(archives_->topLevelItem(0));
  }
  ShowSelected();

  connect(archives_, &QTreeWidget::currentItemChanged, this, [this] { ShowSelected(); });
  connect(chosen_, &QRadioButton::toggled, this, [this](bool on) { companies_->setEnabled(on); });
  connect(other, &QPushButton::clicked, this, &RestoreWindow::BAltFisierClick);
  connect(restore_, &QPushButton::clicked, this, &RestoreWindow::BRestaurareClick);
  connect(abandon, &QPushButton::clicked, this, &QDialog::reject);
  archives_->setFocus();
}

void RestoreWindow::AddArchive(const fs::path& file,
                               const std::optional<backup::Manifest>& manifest,
                               const std::string& problem, bool select) {
  auto* item = new QTreeWidgetItem;
  item->setData(0, Qt::UserRole, Q(file.string()));
  item->setData(0, Qt::UserRole + 1, static_cast<int>(manifests_.size()));
  item->setData(0, Qt::UserRole + 2, Q(problem));
  manifests_.push_back(manifest);
  if (manifest) {
    item->setText(0, Q(backup::DisplayTime(manifest->created)));
    item->setText(1, Q(backup::OperationText(manifest->operation)));
    item->setText(2, Q(CompaniesText(*manifest)));
  } else {
    item->setText(0, Q(file.filename().string()));
    item->setText(1, "Arhiva nu poate fi citita");
  }
  item->setToolTip(0, Q(file.string()));
  if (select) {
    archives_->insertTopLevelItem(0, item);
    archives_->setCurrentItem(item);
  } else {
    archives_->addTopLevelItem(item);
  }
}

void RestoreWindow::ShowSelected() {
  companies_->clear();
  QTreeWidgetItem* item = archives_->currentItem();
  if (item == nullptr) {
    details_->setText(
        "Nu exista copii de siguranta. Alegeti fisierul unei salvari cu \"Alt fisier...\".");
    restore_->setEnabled(false);
    return;
  }
  const auto& manifest =
      manifests_[static_cast<std::size_t>(item->data(0, Qt::UserRole + 1).toInt())];
  const std::string file = item->data(0, Qt::UserRole).toString().toStdString();
  if (!manifest) {
    details_->setText(Q(file + "\n" + item->data(0, Qt::UserRole + 2).toString().toStdString()));
    restore_->setEnabled(false);
    return;
  }
  details_->setText(Q(file + "\nSalvare din " + backup::DisplayTime(manifest->created) +
                      " (programul " + manifest->program_version + "): registrul, " +
                      CompaniesText(*manifest) +
                      (manifest->scope == backup::BackupScope::kComplete
                           ? ". Restaurata intreaga, inlocuieste registrul si setarile."
                           : ". Firmele ei se restaureaza fiecare singura.")));
  for (const backup::ArchivedCompany& company : manifest->companies) {
    auto* entry = new QListWidgetItem(Q(company.code + "  " + company.name), companies_);
    entry->setData(Qt::UserRole, Q(company.code));
    entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
    entry->setCheckState(Qt::Unchecked);
  }
  if (companies_->count() > 0) companies_->setCurrentRow(0);
  restore_->setEnabled(true);
}

void RestoreWindow::BAltFisierClick() {
  const fs::path chosen =
      choose_file_ ? choose_file_(this)
                   : fs::path(ui::AskOpenFileName(this, "Arhiva de salvare", QDir::homePath(),
                                                  "Arhive de salvare (*.tar);;Toate fisierele (*)")
                                  .toStdString());
  if (chosen.empty()) return;
  std::optional<backup::Manifest> manifest;
  std::string problem;
  try {
    manifest = backup::ReadManifest(chosen);
  } catch (const Error& failure) {
    problem = failure.what();
  }
  AddArchive(chosen, manifest, problem, true);
  ShowSelected();
  archives_->setFocus();
}

void RestoreWindow::BRestaurareClick() {
  QTreeWidgetItem* item = archives_->currentItem();
  if (item == nullptr || !restore_->isEnabled()) return;
  backup::RestoreOptions options;
  options.target = data_folder_;
  options.refuse_while_program_runs = false;
  if (chosen_->isChecked()) {
    for (int i = 0; i < companies_->count(); ++i) {
      if (companies_->item(i)->checkState() == Qt::Checked) {
        options.companies.push_back(
            companies_->item(i)->data(Qt::UserRole).toString().toStdString());
      }
    }
    if (options.companies.empty()) {
      prompter_.Message(MessageKind::kWarning, "Alegeti firmele care se restaureaza !");
      companies_->setFocus();
      return;
    }
  }
  options.confirm = [this](const std::string& question) { return prompter_.AskYesNo(question); };
  options.release_data = [this] {
    restored_ = true;  // the program opens the data folder again, whatever follows
    if (release_data_) release_data_();
  };
  const fs::path archive = item->data(0, Qt::UserRole).toString().toStdString();
  try {
    const backup::RestoreResult result = backup::RestoreBackup(archive, options, progress_);
    if (result.abandoned) return;
    std::string text = "Datele au fost restaurate din salvarea din " +
                       backup::DisplayTime(result.manifest.created) + ".";
    if (result.safety_copy) {
      text += "\r\nDatele inlocuite sunt pastrate in " + result.safety_copy->string() + ".";
    }
    prompter_.Message(MessageKind::kInformation, text);
    accept();
  } catch (const Error& failure) {
    prompter_.Message(MessageKind::kError, failure.what());
    if (restored_) accept();
  }
}

bool RemindBackupAtExit(const fs::path& data_folder, Prompter& prompter, std::time_t now,
                        const std::function<void()>& make_backup) {
  const backup::BackupSettings settings = backup::LoadBackupSettings(data_folder);
  if (!backup::BackupReminderDue(settings, now)) return false;
  // Nothing of a company to lose yet: no reminder.
  if (CompaniesWithData(data_folder).empty()) return false;
  if (prompter.AskYesNo(backup::BackupReminderQuestion(settings, now)) && make_backup)
    make_backup();
  return true;
}

}  // namespace traveno::backup_ui
