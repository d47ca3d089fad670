#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <ctime>

#include "backup/restore.h"
#include "backup/safety_copies.h"
#include "backup/ui/backup_windows.h"
#include "app/company_choice_window.h"
#include "app/company_editor.h"
#include "app/company_register_window.h"
#include "app/session_workplace.h"
#include "app/settings_windows.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/schema_upgrades.h"
#include "core/system_info.h"
#include "declarations/fiscal_lists.h"
#include "declarations/fiscal_sheet_document.h"
#include "declarations/ui/cas_declaration_window.h"
#include "declarations/ui/fiscal_sheet_windows.h"
#include "declarations/ui/health_declaration_window.h"
#include "declarations/ui/transmit_windows.h"
#include "declarations/ui/unemployment_declaration_window.h"
#include "legacy/fiscal_sheet_import.h"
#include "legacy/legacy_import.h"
#include "legacy/ui/sheet_folder_window.h"
#include "params/ui/bracket_windows.h"
#include "params/ui/company_parameters_window.h"
#include "params/ui/department_windows.h"
#include "params/ui/general_parameters_window.h"
#include "params/ui/transition_window.h"
#include "personnel/ui/code_check_window.h"
#include "personnel/ui/list_window.h"
#include "personnel/ui/pay_grid_opening.h"
#include "reports/ui/document_windows.h"
#include "reports/ui/holiday_advance_window.h"
#include "trends/ui/comparison_window.h"
#include "trends/ui/trend_window.h"
#include "ui/file_dialogs.h"
#include "ui/help.h"
#include "ui/print_preview.h"
#include "ui/qt_prompter.h"
#include "ui/wait_windows.h"

namespace traveno::app {
namespace {

constexpr const char* kOpenMonthCaption = "&Luna fiind deschisa se va inchide";
constexpr const char* kClosedMonthCaption = "&Luna fiind inchisa se va deschide";

}  // namespace

// What a panel button shows and whether its window exists yet.
struct MainWindow::ButtonSpec {
  Function function;
  const char* caption;
  const char* name;
  const char* hint;
  bool available;
};

MainWindow::MainWindow(MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      heading_(new QLabel(this)),
      title_(new QLabel(this)),
      hint_(new QLabel("Loc pentru hinturi", this)),
      panels_(new QStackedWidget(this)) {
  setObjectName("FMain");
  setWindowTitle(kApplicationTitle);
  resize(640, 480);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  heading_->setObjectName("LFirma");
  QFont heading_font = heading_->font();
  heading_font.setBold(true);
  heading_font.setPointSizeF(heading_font.pointSizeF() * 1.2);
  heading_->setFont(heading_font);
  title_->setObjectName("LTitlu");
  title_->setAlignment(Qt::AlignCenter);
  QFont title_font = title_->font();
  title_font.setBold(true);
  title_font.setPointSizeF(title_font.pointSizeF() * 1.4);
  title_->setFont(title_font);
  layout->addWidget(heading_);
  layout->addWidget(title_);
  layout->addWidget(panels_, 1);
  setCentralWidget(central);
  // The panels show once the start is through: behind the password and the
  // first choice the window is empty.
  title_->setVisible(false);
  panels_->setVisible(false);

  hint_->setObjectName("LHint");
  statusBar()->addWidget(hint_, 1);
  statusBar()->addPermanentWidget(new QLabel("Ctrl+F Alege Firma /Perioada", this));
  BuildPanels();
  // No button shows before the start is through.
  hint_->setText("Loc pentru hinturi");

  auto* choose = new QShortcut(QKeySequence("Ctrl+F"), this);
  connect(choose, &QShortcut::activated, this, &MainWindow::ChooseCompanyAndMonth);
  auto* clone = new QShortcut(QKeySequence("Ctrl+Shift+Alt+C"), this);
  connect(clone, &QShortcut::activated, this, &MainWindow::OpenClone);
  auto* import = new QShortcut(QKeySequence("Ctrl+Shift+Alt+S"), this);
  connect(import, &QShortcut::activated, this, &MainWindow::OpenSheetImport);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (auto* button = qobject_cast<QPushButton*>(now); button && button->window() == this) {
      hint_->setText(button->statusTip());
    }
  });
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildPanels() {
  using F = Function;
  const std::vector<ButtonSpec> main_menu = {
      {F::kSalarii, "&Salarii", "BSalarii", "Statul de salarii al lunii", true},
      {F::kListe, "&Liste", "BListe", "Liste si documente ale lunii", true},
      {F::kConfigGlobala, "Configurare &Globala", "BConfigGlobala",
       "Impozitare, parametri generali, firme, parola", true},
      {F::kConfigFirma, "Configurare &Firma", "BConfigFirma",
       "Datele, parametrii, luna si departamentele firmei", true},
      {F::kRaportari, "&Raportari", "BRaportari", "Fise fiscale si declaratii", true},
      {F::kAjutor, "&Ajutor [F1]", "BAjutor", "Ajutorul programului", true},
      {F::kIesire, "&Iesire din program [Esc]", "BIesire", "Iesire din program", true},
  };
  const std::vector<ButtonSpec> global = {
      {F::kImpozitar, "I&mpozitar", "BImpozitar", "Grila lunara de impozitare", true},
      {F::kImpozitarAnual, "Imp&ozitar anual", "BImpozitarAnual", "Grila anuala de impozitare",
       true},
      {F::kParametriCalcul, "&Parametri calcul ", "BParametriCalcul",
       "Parametrii generali de calcul ai lunii", true},
      {F::kDateFirme, "&Date Firme", "BDateFirme", "Registrul firmelor", true},
      {F::kConfigParola, "&Configurare Parola Program", "BConfigParola",
       "Parola programului si confirmarea la iesire", true},
      {F::kVerificareCnp, "&Verificare CNP", "BVerificareCnp",
       "Verificarea codurilor numerice personale", true},
      {F::kPreluareDateVechi, "Preluare date &anterioare", "BPreluareDateVechi",
       "Preia firmele unei versiuni anterioare a programului (tabele Paradox)", true},
      {F::kSalvareDate, "&Salvare date", "BSalvareDate",
       "Salveaza registrul, firmele si setarile intr-o arhiva", true},
      {F::kRestaurareDate, "&Restaurare date", "BRestaurareDate",
       "Restaureaza datele dintr-o salvare sau dintr-o copie de siguranta", true},
  };
  const std::vector<ButtonSpec> company = {
      {F::kModificareFirma, "&Modificare date firma", "BModificareFirma", "Datele firmei de lucru",
       true},
      {F::kParametriFirma, "&Parametri calcul firma", "BParametriFirma",
       "Parametrii de calcul ai firmei", true},
      {F::kTrecereLuna, "&Trecere la luna", "BTrecereLuna", "Trecerea firmei in luna urmatoare",
       true},
      {F::kDeschidereInchidere, kOpenMonthCaption, "BDeschidereInchidere",
       "Luna fiind deschisa se va inchide", true},
      {F::kDepartamente, "&Configurare departamente", "BDepartamente", "Departamentele firmei",
       true},
  };
  const std::vector<ButtonSpec> lists = {
      {F::kStatPlata, "S&tat de plata", "BStatPlata", "Statul de plata si recapitulatia", true},
      {F::kFluturasi, "&Fluturasi lichidare", "BFluturasi", "Fluturasii de lichidare", true},
      {F::kStatAvans, "Stat de plata &avans", "BStatAvans", "Statul de plata al avansului", true},
      {F::kFluturasiAvans, "Flutura&si Avans", "BFluturasiAvans", "Fluturasii avansului", true},
      {F::kStatAvansCo, "Stat de &plata avans CO", "BStatAvansCo",
       "Statul de plata al avansului de concediu", true},
      {F::kDiverse, "&Diverse", "BDiverse", "Situatii si liste diverse", true},
  };
  const std::vector<ButtonSpec> reports = {
      {F::kFisaFiscala1, "Fisa Fis&cala 1  (FF1)", "BFisaFiscala1", "Fisele fiscale FF1", true},
      {F::kFisaFiscala2, "Fisa Fisc&ala 2  (FF2)", "BFisaFiscala2", "Fisele fiscale FF2", true},
      {F::kTransmitereFf, "Transmitere &electronica FF", "BTransmitereFf",
       "Fisierele electronice ale fiselor fiscale", true},
      {F::kDeclaratiiCas, "&Declaratii CAS", "BDeclaratiiCas", "Declaratia de asigurari sociale",
       true},
      // The electronic files need their declaration opened first in the
      // panel: until then they only warn (the CAS and unemployment marks).
      {F::kTransmitereCas, "&Transmitere electronica CAS", "BTransmitereCas",
       "Fisierele electronice ale declaratiei CAS", true},
      {F::kDeclaratiiSomaj, "Declaratii &Somaj", "BDeclaratiiSomaj", "Declaratia de somaj", true},
      {F::kTransmitereSomaj, "Transmitere electronica S&omaj", "BTransmitereSomaj",
       "Fisierele electronice ale declaratiei de somaj", true},
      {F::kAsigurati, "Asi&gurati si coasigurati", "BAsigurati", "Lista asiguratilor", true},
      {F::kDeclaratiiSanatate, "Declaratii sa&natate", "BDeclaratiiSanatate",
       "Declaratia de sanatate", true},
      {F::kEvolutie, "E&volutie", "BEvolutie",
       "Lunile firmei in grafice: salariati, salarii brute, net, contributii si cost", true},
      {F::kComparatie, "Compa&ratie cu luna anterioara", "BComparatie",
       "Angajatii noi, plecati si liniile modificate fata de luna anterioara", true},
  };
  const std::vector<ButtonSpec> misc = {
      {F::kConcediiMedicale, "Situatie concedii &medicale", "BConcediiMedicale",
       "Concediile medicale ale unei luni", true},
      {F::kConcediiLegale, "Situatie &concedii legale", "BConcediiLegale",
       "Concediile legale ale unei luni", true},
      {F::kPersonalLichidat, "Personal &lichidat in luna", "BPersonalLichidat",
       "Personalul plecat intr-o luna", true},
      {F::kPersonalAngajat, "Personal &angajat in luna", "BPersonalAngajat",
       "Personalul angajat intr-o luna", true},
      {F::kLegitimatii, "L&egitimatii", "BLegitimatii", "Lista legitimatiilor", true},
  };
  panel_titles_ = {{Panel::kMain, "Meniu Principal  "},
                   {Panel::kGlobalConfig, "Configurare globala  "},
                   {Panel::kCompanyConfig, "Configurare Firma  "},
                   {Panel::kLists, "Liste  "},
                   {Panel::kReports, "Raportari "},
                   {Panel::kMisc, "Diverse "}};
  BuildPanel(Panel::kMain, main_menu);
  BuildPanel(Panel::kGlobalConfig, global);
  BuildPanel(Panel::kCompanyConfig, company);
  BuildPanel(Panel::kLists, lists);
  BuildPanel(Panel::kReports, reports);
  BuildPanel(Panel::kMisc, misc);
  panel_defaults_ = {{Panel::kMain, buttons_[F::kSalarii]},
                     {Panel::kGlobalConfig, buttons_[F::kImpozitar]},
                     {Panel::kCompanyConfig, buttons_[F::kModificareFirma]},
                     {Panel::kLists, buttons_[F::kStatPlata]},
                     {Panel::kReports, buttons_[F::kFisaFiscala1]},
                     {Panel::kMisc, buttons_[F::kConcediiMedicale]}};
  ShowPanel(Panel::kMain);
}

QWidget* MainWindow::BuildPanel(Panel panel, const std::vector<ButtonSpec>& buttons) {
  static const char* const kPanelNames[] = {"PMeniu", "PConfigGlobala", "PConfigFirma",
                                            "PListe", "PRaportari",     "PDiverse"};
  auto* page = new QWidget(panels_);
  page->setObjectName(kPanelNames[static_cast<int>(panel)]);
  auto* outer = new QVBoxLayout(page);
  auto* column = new QVBoxLayout;
  outer->addStretch();
  outer->addLayout(column);
  outer->addStretch();
  auto add = [&](QPushButton* button, const QString& hint, bool available) {
    button->setMinimumWidth(300);
    button->setAutoDefault(false);
    button->setEnabled(available);
    const QString shown = available ? hint : hint + " - " + kNotYetAvailable;
    button->setStatusTip(shown);
    button->setToolTip(shown);
    button->installEventFilter(this);
    column->addWidget(button, 0, Qt::AlignHCenter);
  };
  for (const ButtonSpec& spec : buttons) {
    auto* button = new QPushButton(spec.caption, page);
    button->setObjectName(spec.name);
    add(button, spec.hint, spec.available);
    buttons_[spec.function] = button;
    if (spec.available) available_.insert(spec.function);
    connect(button, &QPushButton::clicked, this, [this, f = spec.function] { Run(f); });
  }
  if (panel != Panel::kMain) {
    auto* back = new QPushButton("&Inapoi", page);
    back->setObjectName("BInapoi");
    add(back, "Inapoi la meniul principal", true);
    back_buttons_[panel] = back;
    connect(back, &QPushButton::clicked, this, [this] { Run(Function::kInapoi); });
  }
  panel_pages_[panel] = panels_->addWidget(page);
  return page;
}

QPushButton* MainWindow::button(Function function) const {
  if (function == Function::kInapoi) {
    auto it = back_buttons_.find(current_panel_);
    return it == back_buttons_.end() ? nullptr : it->second;
  }
  auto it = buttons_.find(function);
  return it == buttons_.end() ? nullptr : it->second;
}

QString MainWindow::title_line() const { return title_->text(); }
QString MainWindow::hint_text() const { return hint_->text(); }

Prompter& MainWindow::prompter() {
  if (options_.prompter != nullptr) return *options_.prompter;
  if (!own_prompter_) own_prompter_ = std::make_unique<ui::QtPrompter>(this);
  return *own_prompter_;
}

ProgressReporter& MainWindow::progress() {
  if (options_.progress != nullptr) return *options_.progress;
  if (!own_progress_) own_progress_ = std::make_unique<ui::QtProgress>();
  return *own_progress_;
}

void MainWindow::ShowPanel(Panel panel) {
  current_panel_ = panel;
  panels_->setCurrentIndex(panel_pages_.at(panel));
  title_->setText(panel_titles_.at(panel));
  if (panel == Panel::kCompanyConfig) RefreshOpenCloseButton();
  QPushButton* first = panel_defaults_.at(panel);
  if (!first->isEnabled()) {
    // A default whose window is not there yet cannot take the focus: the
    // first button that can takes it.
    for (QPushButton* b : panels_->currentWidget()->findChildren<QPushButton*>()) {
      if (b->isEnabled()) {
        first = b;
        break;
      }
    }
  }
  first->setFocus();
  hint_->setText(first->statusTip());
}

void MainWindow::Run(Function function) {
  using F = Function;
  switch (function) {
    case F::kListe:
      ShowPanel(Panel::kLists);
      break;
    case F::kConfigGlobala:
      ShowPanel(Panel::kGlobalConfig);
      break;
    case F::kConfigFirma:
      ShowPanel(Panel::kCompanyConfig);
      break;
    case F::kRaportari:
      ShowPanel(Panel::kReports);
      break;
    case F::kDiverse:
      ShowPanel(Panel::kMisc);
      break;
    case F::kAjutor:
      if (options_.open_help) {
        options_.open_help();
      } else {
        ui::OpenHelp(prompter(), {}, this);
      }
      break;
    case F::kIesire:
      close();
      break;
    case F::kConfigParola:
      OpenProgramSettings();
      break;
    case F::kInapoi:
      if (current_panel_ == Panel::kReports) {
        cas_mark_ = false;
        somaj_mark_ = false;
      }
      ShowPanel(Panel::kMain);
      break;
    case F::kDeclaratiiCas:
      SetCasMark();
      OpenDeclaration(function);
      break;
    case F::kTransmitereCas:
      if (!cas_mark_) {
        prompter().Message(MessageKind::kWarning, kCasMarkMissing);
      } else {
        OpenDeclaration(function);
      }
      break;
    case F::kDeclaratiiSomaj:
      SetSomajMark();
      OpenDeclaration(function);
      break;
    case F::kTransmitereSomaj:
      if (!somaj_mark_) {
        prompter().Message(MessageKind::kWarning, kSomajMarkMissing);
      } else {
        OpenDeclaration(function);
      }
      break;
    case F::kDeclaratiiSanatate:
      OpenDeclaration(function);
      break;
    case F::kEvolutie:
    case F::kComparatie:
      OpenTrends(function);
      break;
    case F::kImpozitar:
    case F::kImpozitarAnual:
      if (params::Session* session = workplace_ ? workplace_->session() : nullptr;
          session != nullptr && session->HasWorkingMonth()) {
        params_ui::BracketWindow window(*session, function == F::kImpozitarAnual, prompter(), this);
        window.exec();
      }
      break;
    case F::kParametriCalcul:
      if (params::Session* session = workplace_ ? workplace_->session() : nullptr;
          session != nullptr && session->HasWorkingMonth() && workplace_->progress() != nullptr) {
        params_ui::GeneralParametersWindow window(*session, prompter(), *workplace_->progress(),
                                                  this);
        window.exec();
      }
      break;
    case F::kParametriFirma:
      if (params::Session* session = workplace_ ? workplace_->session() : nullptr;
          session != nullptr && session->HasWorkingMonth() && workplace_->progress() != nullptr) {
        params_ui::CompanyParametersWindow window(*session, prompter(), *workplace_->progress(),
                                                  this);
        window.exec();
      }
      break;
    case F::kModificareFirma:
      OpenCompanyEditor();
      break;
    case F::kDateFirme:
      OpenCompanyRegister();
      break;
    case F::kVerificareCnp: {
      personnel_ui::CodeCheckWindow window(prompter(), this);
      window.exec();
      break;
    }
    case F::kDepartamente:
      if (params::Session* session = workplace_ ? workplace_->session() : nullptr;
          session != nullptr && session->HasWorkingMonth() && workplace_->progress() != nullptr) {
        params_ui::DepartmentWindow window(*session, prompter(), *workplace_->progress(), this);
        window.exec();
      }
      break;
    case F::kTrecereLuna:
      OpenTransition();
      break;
    case F::kSalarii:
      if (params::Session* session = workplace_ ? workplace_->session() : nullptr;
          session != nullptr && session->HasWorkingMonth() && workplace_->progress() != nullptr) {
        personnel_ui::OpenPayGrid(*session, prompter(), *workplace_->progress(), this);
      }
      break;
    case F::kPersonalAngajat:
    case F::kPersonalLichidat:
    case F::kLegitimatii:
    case F::kAsigurati:
      OpenPersonnelList(function);
      break;
    case F::kPreluareDateVechi:
      ImportLegacyFolder();
      break;
    case F::kSalvareDate:
      OpenBackup();
      break;
    case F::kRestaurareDate:
      OpenRestore();
      break;
    case F::kFisaFiscala1:
    case F::kFisaFiscala2:
      OpenFiscalSheets(function == F::kFisaFiscala1 ? "1" : "2");
      break;
    case F::kTransmitereFf:
      if (params::Session* session = workplace_ ? workplace_->session() : nullptr;
          session != nullptr && session->HasWorkingMonth() && workplace_->progress() != nullptr) {
        declarations_ui::TransmitWindow window(*session, prompter(), *workplace_->progress(), {},
                                               this);
        window.exec();
      }
      break;
    case F::kStatPlata:
    case F::kFluturasi:
    case F::kStatAvans:
    case F::kFluturasiAvans:
    case F::kStatAvansCo:
    case F::kConcediiMedicale:
    case F::kConcediiLegale:
      OpenDocument(function);
      break;
    case F::kDeschidereInchidere:
      if (workplace_ && workplace_->HasWorkingMonth()) {
        workplace_->SetMonthClosed(!workplace_->MonthClosed());
        RefreshOpenCloseButton();
      }
      break;
    default:
      prompter().Message(MessageKind::kWarning, kNotYetAvailable);
      break;
  }
}

void MainWindow::OpenTrends(Function function) {
  params::Session* session = workplace_ ? workplace_->session() : nullptr;
  if (session == nullptr || !session->HasWorkingMonth()) return;
  if (function == Function::kEvolutie) {
    trends_ui::TrendWindowOptions options;
    if (options_.show_report) options.show_report = options_.show_report;
    trends_ui::TrendWindow window(*session, prompter(), std::move(options), this);
    window.exec();
    return;
  }
  ProgressReporter* progress = workplace_->progress();
  trends_ui::ComparisonWindow window(
      *session, prompter(),
      [this, session, progress](const trends::ComparedLine& line) {
        if (progress != nullptr) {
          personnel_ui::OpenPayGridOnLine(*session, prompter(), *progress, line.nr,
                                          QApplication::activeModalWidget());
        }
        return false;
      },
      this);
  window.exec();
}

void MainWindow::OpenCompanyEditor() {
  params::Session* session = workplace_ ? workplace_->session() : nullptr;
  if (session == nullptr || !session->HasWorkingMonth()) return;
  const auto row = session->store().FindCompany(session->company());
  if (!row) return;
  CompanyEditor editor(CompanyEditor::Mode::kModify,
                       params::LoadCompanyInput(session->store(), *row), prompter(), this);
  if (editor.exec() != QDialog::Accepted) return;
  params::ModifyCompany(session->store(), row->CodF, editor.Input(), prompter());
}

void MainWindow::OpenPersonnelList(Function function) {
  params::Session* session = workplace_ ? workplace_->session() : nullptr;
  if (session == nullptr || !session->HasWorkingMonth()) return;
  std::optional<personnel_ui::ListContent> content;
  reports_ui::ShownList printed = reports_ui::ShownList::kInsured;
  if (function == Function::kPersonalAngajat || function == Function::kPersonalLichidat) {
    // The month of the list is asked first.
    const std::optional<Date> month = AskMonth(session->working_month());
    if (!month) return;
    const bool hired = function == Function::kPersonalAngajat;
    content = hired ? personnel_ui::HiredContent(*session, *month)
                    : personnel_ui::LeftContent(*session, *month);
    printed = hired ? reports_ui::ShownList::kHired : reports_ui::ShownList::kLeft;
  } else if (function == Function::kLegitimatii) {
    content = personnel_ui::IdentityCardsContent(*session);
    printed = reports_ui::ShownList::kIdentityCards;
  } else {
    content = personnel_ui::InsuredContent(*session);
  }
  personnel_ui::ListWindow window(std::move(*content), prompter(), this);
  // "&Lista" prints the rows the window shows, its filter applied.
  window.set_printer([this, session, printed](const personnel_ui::ListPrintRequest& request) {
    reports_ui::PrintShownList(*session, printed, request.month, request.title, request.shown_lines,
                               request.filter_text, Viewer());
  });
  window.exec();
}

std::function<void(const reports::Report&)> MainWindow::Viewer() {
  return options_.show_report ? reports_ui::ReportViewer(options_.show_report)
                              : reports_ui::PreviewViewer(prompter(), this, options_.data_folder);
}

std::optional<Date> MainWindow::AskMonth(Date start) {
  if (options_.ask_month) return options_.ask_month(start, this);
  MonthDialog dialog(MonthDialog::Mode::kMonth, start, this);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Month();
}

void MainWindow::OpenCompanyRegister() {
  params::Session* session = workplace_ ? workplace_->session() : nullptr;
  if (session == nullptr) return;
  CompanyRegisterWindow window(session->store(), session->company(), prompter(), this);
  window.exec();
}

void MainWindow::OpenClone() {
  params::Session* session = workplace_ ? workplace_->session() : nullptr;
  if (session == nullptr || !session->HasWorkingMonth() || workplace_->progress() == nullptr) {
    return;
  }
  CompanyChoiceWindow window(*session, prompter(), *workplace_->progress(), this);
  window.SetCloneMode();
  window.exec();
  RefreshHeading();
}

void MainWindow::OpenDocument(Function function) {
  params::Session* session = workplace_ ? workplace_->session() : nullptr;
  if (session == nullptr || !session->HasWorkingMonth()) return;
  const reports_ui::ReportViewer viewer = Viewer();
  using F = Function;
  switch (function) {
    case F::kStatPlata:
      reports_ui::PrintStatement(*session, viewer);
      break;
    case F::kFluturasi:
      reports_ui::PrintPaySlips(*session, viewer);
      break;
    case F::kStatAvans:
      reports_ui::PrintAdvanceStatement(*session, viewer);
      break;
    case F::kFluturasiAvans:
      reports_ui::PrintAdvanceSlips(*session, viewer);
      break;
    case F::kStatAvansCo:
      reports_ui::OpenHolidayAdvance(*session, viewer, this);
      break;
    case F::kConcediiMedicale:
    case F::kConcediiLegale: {
      // The situations are of a month asked first.
      const std::optional<Date> month = AskMonth(session->working_month());
      if (!month) return;
      if (function == F::kConcediiMedicale) reports_ui::PrintMedicalLeave(*session, *month, viewer);
      if (function == F::kConcediiLegale) reports_ui::PrintHolidays(*session, *month, viewer);
      break;
    }
    default:
      break;
  }
}

void MainWindow::ImportLegacyFolder() {
  const std::filesystem::path folder =
      options_.choose_legacy_folder
          ? options_.choose_legacy_folder(this)
          : std::filesystem::path(
                ui::AskFolder(this, "Alegeti directorul cu datele versiunii anterioare (Firme.DB)")
                    .toStdString());
  if (folder.empty()) return;
  // A folder without a register is refused before asking what to do with its companies.
  if (!legacy::HoldsLegacyRegister(folder)) {
    prompter().Message(MessageKind::kError, legacy::kNoLegacyRegister);
    return;
  }
  legacy::LegacyImportOptions import_options;
  import_options.source = folder;
  import_options.replace = prompter().AskYesNo(
      "Firmele care exista deja in registru sa fie inlocuite cu cele din directorul ales ?");
  if (workplace_ && workplace_->HasWorkingMonth()) {
    import_options.working_company = workplace_->CompanyCode();
  }
  try {
    const legacy::LegacyImportReport report =
        legacy::ImportLegacyData(options_.data_folder, import_options, progress());
    std::string text;
    for (const std::string& line : legacy::ReportLines(report)) text += line + "\r\n";
    prompter().Message(report.Complete() ? MessageKind::kInformation : MessageKind::kWarning, text);
  } catch (const Error& error) {
    prompter().Message(MessageKind::kError, error.what());
  }
}

void MainWindow::OpenBackup() {
  backup_ui::BackupWindow window(options_.data_folder, prompter(), progress(),
                                 options_.choose_backup_file, this);
  window.exec();
}

void MainWindow::OpenRestore() {
  backup_ui::RestoreWindow window(
      options_.data_folder, prompter(), progress(),
      [this] {
        workplace_.reset();
        store_.reset();
      },
      options_.choose_backup_file, this);
  window.exec();
  if (window.restored()) ReopenData();
}

void MainWindow::ReopenData() {
  try {
    workplace_.reset();
    store_.reset();
    backup::CompleteInterruptedRestore(options_.data_folder);
    if (UpgradesNeeded(options_.data_folder)) {
      RunUpgrades(options_.data_folder, prompter(), progress());
    }
    store_ = OpenDatabases(options_.data_folder);
  } catch (const Error& error) {
    prompter().Message(MessageKind::kError, error.what());
    Terminate(1);
    return;
  }
  workplace_ = options_.make_workplace ? options_.make_workplace(*store_)
                                       : std::make_unique<SessionWorkplace>(*store_, prompter());
  if (workplace_->CanChoose()) workplace_->ChooseCompanyAndMonth(this);
  if (!workplace_->HasWorkingMonth()) {
    Terminate(0);
    return;
  }
  RefreshHeading();
  ShowPanel(Panel::kMain);
}

void MainWindow::OpenSheetImport() {
  params::Session* session = workplace_ ? workplace_->session() : nullptr;
  if (session == nullptr || !session->HasWorkingMonth() || workplace_->progress() == nullptr) {
    return;
  }
  if (legacy::WorkingMonthHasEmployees(*session)) {
    prompter().Message(MessageKind::kError, legacy::kSheetsPersNotEmpty);
    return;
  }
  legacy_ui::SheetFolderWindow window(*session, prompter(), *workplace_->progress(), this);
  window.exec();
  RefreshHeading();
}

void MainWindow::OpenDeclaration(Function function) {
  params::Session* session = workplace_ ? workplace_->session() : nullptr;
  if (session == nullptr || !session->HasWorkingMonth() || workplace_->progress() == nullptr) {
    return;
  }
  using declarations_ui::DeclarationMode;
  ProgressReporter& progress = *workplace_->progress();
  declarations_ui::DeclarationHooks hooks = declarations_ui::DesktopDeclarationHooks(
      [this](const reports::Report& report, QWidget* parent) {
        if (options_.show_report) {
          options_.show_report(report);
        } else {
          reports_ui::PreviewViewer(prompter(), parent, options_.data_folder)(report);
        }
      });
  switch (function) {
    case Function::kDeclaratiiCas:
    case Function::kTransmitereCas: {
      declarations_ui::CasDeclarationWindow window(
          *session,
          function == Function::kDeclaratiiCas ? DeclarationMode::kPrint : DeclarationMode::kFiles,
          prompter(), progress, std::move(hooks), this);
      window.exec();
      break;
    }
    case Function::kDeclaratiiSomaj:
    case Function::kTransmitereSomaj: {
      declarations_ui::UnemploymentDeclarationWindow window(
          *session,
          function == Function::kDeclaratiiSomaj ? DeclarationMode::kPrint
                                                 : DeclarationMode::kFiles,
          prompter(), progress, std::move(hooks), this);
      if (window.Prepare()) window.exec();
      break;
    }
    default: {
      declarations_ui::HealthDeclarationWindow window(*session, prompter(), progress,
                                                      std::move(hooks), this);
      if (window.Prepare()) window.exec();
      break;
    }
  }
}

void MainWindow::OpenFiscalSheets(const std::string& kind) {
  params::Session* session = workplace_ ? workplace_->session() : nullptr;
  if (session == nullptr || !session->HasWorkingMonth() || workplace_->progress() == nullptr ||
      !declarations::MonthHasEmployees(session->db(), session->working_month())) {
    return;
  }
  auto show_sheet = [this](const declarations::FiscalSheet& sheet, QWidget* parent) {
    const reports::Report report = declarations::FiscalSheetReport(sheet);
    if (options_.show_report) {
      options_.show_report(report);
    } else {
      reports_ui::PreviewViewer(prompter(), parent, options_.data_folder)(report);
    }
  };
  declarations_ui::SheetPersonsWindow window(*session, kind, prompter(), *workplace_->progress(),
                                             show_sheet, this);
  window.exec();
}

void MainWindow::OpenTransition() {
  params::Session* session = workplace_ ? workplace_->session() : nullptr;
  if (session == nullptr || workplace_->progress() == nullptr) return;
  params_ui::TransitionWindow window(*session, prompter(), *workplace_->progress(), this);
  window.exec();
  RefreshHeading();
}

void MainWindow::OpenProgramSettings() {
  ProgramSettingsWindow window(options_.data_folder, settings_, prompter(), this);
  window.exec();
}

void MainWindow::RefreshOpenCloseButton() {
  QPushButton* button = buttons_.at(Function::kDeschidereInchidere);
  const bool closed = workplace_ && workplace_->MonthClosed();
  button->setText(closed ? kClosedMonthCaption : kOpenMonthCaption);
  const QString hint = QString(closed ? kClosedMonthCaption : kOpenMonthCaption).remove('&');
  button->setStatusTip(button->isEnabled() ? hint : hint + " - " + kNotYetAvailable);
  button->setToolTip(button->statusTip());
  // Pressed from the keyboard, the button keeps the focus: its new hint shows.
  if (QApplication::focusWidget() == button) hint_->setText(button->statusTip());
}

void MainWindow::RefreshTrecere() {
  // The transition starts only from the company's latest month.
  const bool latest = workplace_ && workplace_->HasWorkingMonth() &&
                      workplace_->LastMonth() == workplace_->WorkingMonth();
  buttons_.at(Function::kTrecereLuna)
      ->setEnabled(latest && available_.contains(Function::kTrecereLuna));
}

void MainWindow::RefreshHeading() {
  if (workplace_ && workplace_->HasWorkingMonth()) {
    heading_text_ = QString::fromStdString("  Firma: " + workplace_->CompanyCode() + "\r\n" +
                                           "  Luna:  " + MonthText(workplace_->WorkingMonth()));
  } else {
    heading_text_.clear();
  }
  heading_->setText(ui::DisplayText(heading_text_.toStdString()));
  RefreshTrecere();
  RefreshOpenCloseButton();
}

void MainWindow::ChooseCompanyAndMonth() {
  if (!workplace_ || !workplace_->CanChoose()) {
    prompter().Message(MessageKind::kWarning, kNotYetAvailable);
    return;
  }
  workplace_->ChooseCompanyAndMonth(this);
  RefreshHeading();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (event->spontaneous()) return;
  if (!started_ && !start_scheduled_) {
    start_scheduled_ = true;
    QTimer::singleShot(0, this, [this] { FinishStart(); });
  } else if (started_) {
    EveryShowing();
  }
}

void MainWindow::Purge() {
  // The purge asks first and keeps a copy of the register.
  if (store_) {
    store_->VerificareFoldere(prompter(), backup::PurgeSafetyCopy(options_.data_folder));
  } else {
    Store(options_.data_folder)
        .VerificareFoldere(prompter(), backup::PurgeSafetyCopy(options_.data_folder));
  }
}

bool MainWindow::FinishStart() {
  // The password and choice windows run their own loops, in which the
  // start scheduled by the first showing would otherwise run a second time.
  if (started_ || ending_ || starting_) return started_;
  starting_ = true;
  if (options_.close_splash) options_.close_splash();
  // Files restored from read-only media become writable, as the command
  // line's "init" makes them.
  ClearReadOnly(options_.data_folder, true);
  try {
    // A restore stopped half-way is completed before anything is read.
    backup::CompleteInterruptedRestore(options_.data_folder);
    Purge();
  } catch (const Error& error) {
    // Only a missing data folder, or a register written by a newer
    // program, stops the purge; the program cannot work without it.
    prompter().Message(MessageKind::kError, error.what());
    Terminate(1);
    return false;
  }
  settings_ = LoadSettings(options_.data_folder);
  if (settings_.password.IsSet()) {
    const bool right = options_.ask_password ? options_.ask_password(settings_.password, this)
                                             : PasswordWindow::Ask(settings_.password, this);
    if (!right) {
      Terminate(1);
      return false;
    }
  }
  {
    Store register_store(options_.data_folder);
    register_store.EnsureRegisterTables();
  }
  // Each database decides its own need; a current folder shows nothing, and
  // a company that cannot be read is named here and left alone.
  RunUpgrades(options_.data_folder, prompter(), progress());
  store_ = OpenDatabases(options_.data_folder);
  workplace_ = options_.make_workplace ? options_.make_workplace(*store_)
                                       : std::make_unique<SessionWorkplace>(*store_, prompter());
  if (workplace_->CanChoose()) {
    workplace_->ChooseCompanyAndMonth(this);
    if (!workplace_->HasWorkingMonth()) {
      Terminate(0);
      return false;
    }
  }
  started_ = true;
  title_->setVisible(true);
  panels_->setVisible(true);
  RefreshHeading();
  EveryShowing();
  return true;
}

void MainWindow::EveryShowing() {
  RefreshTrecere();
  cas_mark_ = false;
  somaj_mark_ = false;
  ShowPanel(Panel::kMain);
}

void MainWindow::Terminate(int status) {
  ending_ = true;
  end_status_ = status;
  workplace_.reset();
  store_.reset();
  close();
  if (options_.terminate) {
    options_.terminate(status);
  } else {
    QCoreApplication::exit(status);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!ending_ && AsksOnExit(settings_) && !prompter().AskYesNo(kExitQuestion)) {
    event->ignore();
    return;
  }
  if (!ending_ && started_) {
    backup_ui::RemindBackupAtExit(options_.data_folder, prompter(), std::time(nullptr),
                                  [this] { OpenBackup(); });
  }
  ending_ = true;
  workplace_.reset();
  store_.reset();
  event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (current_panel_ == Panel::kMain) {
      buttons_.at(Function::kIesire)->click();
      return;
    }
    if (current_panel_ == Panel::kGlobalConfig || current_panel_ == Panel::kCompanyConfig) {
      back_buttons_.at(current_panel_)->click();
      return;
    }
  }
  QMainWindow::keyPressEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Enter) {
    if (auto* button = qobject_cast<QPushButton*>(watched)) hint_->setText(button->statusTip());
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction("Schimbare firma sau perioada", this, &MainWindow::ChooseCompanyAndMonth);
  menu.exec(event->globalPos());
}

}  // namespace traveno::app
