#include "declarations/ui/cas_declaration_window.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/settings.h"
#include "declarations/cas_documents.h"
#include "declarations/cas_files.h"
#include "declarations/ui/declaration_widgets.h"
#include "ui/date_editors.h"
#include "ui/window_base.h"

namespace traveno::declarations_ui {

using namespace declarations;  // NOLINT: the window speaks the declaration's vocabulary

CasDeclarationWindow::CasDeclarationWindow(params::Session& session, DeclarationMode mode,
                                           Prompter& prompter, ProgressReporter& progress,
                                           DeclarationHooks hooks, QWidget* parent)
    : QDialog(parent),
      session_(session),
      mode_(mode),
      prompter_(prompter),
      progress_(progress),
      hooks_(std::move(hooks)),
      number_(new QLineEdit(this)),
      date_(new ui::DateEdit(this)),
      nume_(new QLineEdit(this)),
      prenume_(new QLineEdit(this)),
      functie_(new QLineEdit(this)),
      judet_(new QLineEdit(this)) {
  setObjectName("FDeclarCAS");
  setWindowTitle("Declaratii CAS");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  number_->setObjectName("ENrDecl");
  date_->setObjectName("EDataDecl");
  nume_->setObjectName("ENume");
  prenume_->setObjectName("EPrenume");
  functie_->setObjectName("EFunctie");
  judet_->setObjectName("ECodJudet");
  ui::SizeToChars(number_, 10);
  ui::SizeToChars(nume_, 30);
  ui::SizeToChars(prenume_, 30);
  ui::SizeToChars(functie_, 30);
  ui::SizeToChars(judet_, 3);
  judet_->setMaxLength(3);
  ForceUpperCase(judet_);
  form->addRow("Nr.Declaratie: ", number_);
  form->addRow("Data Declaratie:", date_);
  form->addRow("Nume: ", nume_);
  form->addRow("Prenume: ", prenume_);
  form->addRow("Functie: ", functie_);
  form->addRow("Cod judet :", judet_);
  layout->addLayout(form);
  const ConfirmAbandon buttons = MakeConfirmAbandon(this);
  confirm_ = buttons.confirm;
  layout->addLayout(buttons.layout);
  ui::SetTabOrder({number_, date_, nume_, prenume_, functie_, judet_, confirm_, buttons.abandon});
  connect(confirm_, &QPushButton::clicked, this, &CasDeclarationWindow::BConfirmareClick);

  const DeclarationSigner signer = LoadSigner(session_.store().data_folder());
  nume_->setText(QString::fromStdString(signer.nume));
  prenume_->setText(QString::fromStdString(signer.prenume));
  functie_->setText(QString::fromStdString(signer.functie));
  judet_->setText(QString::fromStdString(signer.cod_judet));
  date_->SetValue(hooks_.today());
  number_->setFocus();
}

void CasDeclarationWindow::BConfirmareClick() {
  try {
    Run();
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
  }
  accept();
}

void CasDeclarationWindow::Run() {
  const std::filesystem::path data_folder = session_.store().data_folder();
  SaveSigner(data_folder,
             {nume_->text().toStdString(), prenume_->text().toStdString(),
              functie_->text().toStdString(), judet_->text().toStdString()},
             true);
  const CasDeclaration declaration = BuildCasDeclaration(session_);
  if (!declaration.has_rows) return;
  const DeclarationHeader header{number_->text().toStdString(), date_->Value(),
                                 LoadSigner(data_folder)};
  const int nrf = CasNominalPageCount(declaration, header);
  if (mode_ == DeclarationMode::kPrint) {
    if (!hooks_.show_preview) return;
    hooks_.show_preview(CasNominalReport(declaration, header), this);
    hooks_.show_preview(CasSummaryReport(declaration, header, nrf), this);
    return;
  }
  const std::optional<FilingForm> form = hooks_.choose_form(this);
  if (!form) return;
  const CasEmployerExtras extras{nrf, header.signer.cod_judet};
  const Date today = hooks_.today();
  std::vector<FileToWrite> files;
  for (const CasFile file : {CasFile::kA11, CasFile::kA12}) {
    files.push_back({CasFileName(file, *form), [&, file](const std::filesystem::path& path) {
                       // A file of the program is never written over: the user is told and
                       // the next file is offered.
                       if (auto refusal =
                               ProgramFileRefusal(session_.store().data_folder(), path)) {
                         prompter_.Message(MessageKind::kWarning, *refusal);
                         return;
                       }
                       WriteCasFile(file, *form, path, declaration, extras, today, prompter_);
                     }});
  }
  SaveFilesInTurn(this, hooks_, progress_, session_.store().CompanyFolderOf(session_.company()),
                  files);
}

}  // namespace traveno::declarations_ui
