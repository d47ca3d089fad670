#include "legacy/ui/sheet_folder_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/system_info.h"
#include "legacy/fiscal_sheet_import.h"
#include "ui/file_dialogs.h"

namespace traveno::legacy_ui {
namespace {

QString ChooseWithDialog(QWidget* parent, const QString& start_folder) {
  QFileDialog dialog(parent, kApplicationTitle, start_folder,
                     "Fisiere TXT (*.txt);;Toate Fisierele (*.*)");
  ui::PrepareFileDialog(dialog);
  dialog.setDefaultSuffix("txt");
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.selectFile("DED_2002.txt");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

}  // namespace

SheetFolderWindow::SheetFolderWindow(params::Session& session, Prompter& prompter,
                                     ProgressReporter& progress, QWidget* parent,
                                     FileChooser choose_file)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      progress_(progress),
      choose_file_(choose_file ? std::move(choose_file) : ChooseWithDialog),
      path_(new QLineEdit(this)) {
  setObjectName("FAlegeFolder");
  setWindowTitle(kApplicationTitle);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      "Alegeti directorul in care exista fisierele cu fisele fiscale in format TXT ", this));
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Cale:", this));
  path_->setObjectName("ECale");
  path_->setMinimumWidth(360);
  row->addWidget(path_, 1);
  auto* browse = new QPushButton("...", this);
  browse->setObjectName("BCale");
  browse->setAutoDefault(false);
  row->addWidget(browse);
  layout->addLayout(row);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* confirm = new QPushButton("&Confirm", this);
  confirm->setObjectName("BConfirm");
  auto* cancel = new QPushButton("&Anulez", this);
  cancel->setObjectName("BAnulez");
  cancel->setAutoDefault(false);
  buttons->addWidget(confirm);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(browse, &QPushButton::clicked, this, &SheetFolderWindow::ChooseFile);
  connect(confirm, &QPushButton::clicked, this, &SheetFolderWindow::Confirm);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void SheetFolderWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  path_->clear();
  path_->setFocus();
  last_folder_ = QDir::rootPath();  // each showing starts from the root folder
}

void SheetFolderWindow::ChooseFile() {
  const QString start = QFileInfo(last_folder_).isDir() ? last_folder_ : QString();
  const QString file = choose_file_(this, start);
  if (file.isEmpty()) return;
  // The folder of the file, up to and including its last separator.
  QString folder = QFileInfo(file).absolutePath();
  if (!folder.endsWith('/')) folder += '/';
  path_->setText(QDir::toNativeSeparators(folder));
  last_folder_ = folder;
}

void SheetFolderWindow::Confirm() {
  const legacy::SheetImportResult result =
      legacy::ImportFromFiscalSheets(session_, path_->text().toStdString(), prompter_, progress_);
  if (result.outcome == legacy::SheetImportOutcome::kFolderInvalid ||
      result.outcome == legacy::SheetImportOutcome::kFileMissing) {
    return;  // the window stays for another folder
  }
  accept();
}

}  // namespace traveno::legacy_ui
