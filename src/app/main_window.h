// The main window: a heading with the working company and month, one button
// panel at a time (main menu, global configuration, company configuration,
// lists, reports, miscellaneous), and a status line with the focused button's
// hint. Its first showing finishes the start of the program: the register
// purge, the settings and the start password, the register tables, the
// databases and the choice of a company and month.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "app/workplace.h"
#include "core/date.h"
#include "core/prompter.h"
#include "core/settings.h"
#include "core/store/store.h"

class QLabel;
class QPushButton;
class QStackedWidget;

namespace traveno::reports {
struct Report;
}

namespace traveno::app {

enum class Panel { kMain, kGlobalConfig, kCompanyConfig, kLists, kReports, kMisc };

// Every button of the panels.
enum class Function {
  // main menu
  kSalarii, kListe, kConfigGlobala, kConfigFirma, kRaportari, kAjutor, kIesire,
  // global configuration
  kImpozitar, kImpozitarAnual, kParametriCalcul, kDateFirme, kConfigParola, kVerificareCnp,
  kPreluareDateVechi, kSalvareDate, kRestaurareDate,
  // company configuration
  kModificareFirma, kParametriFirma, kTrecereLuna, kDeschidereInchidere, kDepartamente,
  // lists
  kStatPlata, kFluturasi, kStatAvans, kFluturasiAvans, kStatAvansCo, kDiverse,
  // reports
  kFisaFiscala1, kFisaFiscala2, kTransmitereFf, kDeclaratiiCas, kTransmitereCas, kDeclaratiiSomaj,
  kTransmitereSomaj, kAsigurati, kDeclaratiiSanatate, kEvolutie, kComparatie,
  // miscellaneous
  kConcediiMedicale, kConcediiLegale, kPersonalLichidat, kPersonalAngajat, kLegitimatii,
  // every panel but the main menu
  kInapoi,
};

inline constexpr const char* kNotYetAvailable = "Functia nu este inca disponibila";
inline constexpr const char* kCasMarkMissing =
    "Pentru a efectua transmisia electronica trebuie inainte sa \n\ractionati butonul Declaratii "
    "CAS !!!";
inline constexpr const char* kSomajMarkMissing =
    "Pentru a efectua transmisia electronica trebuie inainte sa \n\ractionati butonul Declaratii "
    "Somaj !!!";
inline constexpr const char* kExitQuestion = "Doriti sa iesiti din program ?";

// What the start of the program needs from outside; every member has a
// default for the desktop, and tests replace what would wait for a person.
struct MainWindowOptions {
  std::filesystem::path data_folder;
  // Questions and messages; null: message boxes.
  Prompter* prompter = nullptr;
  // The wait window of the start (the layout upgrades); null: the program's own.
  ProgressReporter* progress = nullptr;
  // Asks the start password; true when right. Null: the password window.
  std::function<bool(const StartPassword&, QWidget*)> ask_password;
  // Ends the program with a status. Null: leave the application's loop.
  std::function<void(int)> terminate;
  // F1 and "&Ajutor [F1]". Null: the bundled help in the browser.
  std::function<void()> open_help;
  // Closes the splash window; called first by the first showing. Null: none.
  std::function<void()> close_splash;
  // Makes the workplace over the opened databases. Null: the session of the
  // parameters services with the choice window.
  std::function<std::unique_ptr<Workplace>(Store&)> make_workplace;
  // Shows a printed document. Null: the print preview.
  std::function<void(const reports::Report&)> show_report;
  // Asks the month of the monthly situations and lists; empty when
  // abandoned. Null: the month dialog.
  std::function<std::optional<Date>(Date start, QWidget* parent)> ask_month;
  // The folder of an earlier version's data to import; empty when abandoned.
  // Null: the folder chooser.
  std::function<std::filesystem::path(QWidget*)> choose_legacy_folder;
  // The archive file of "Salvare date" and "Restaurare date" ("Alege...",
  // "Alt fisier..."); empty when abandoned. Null: the file dialogs.
  std::function<std::filesystem::path(QWidget*)> choose_backup_file;
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(MainWindowOptions options = {}, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The start of the program that follows the first showing; runs once, and
  // also by itself right after the first show. False when the program ends.
  bool FinishStart();
  bool started() const { return started_; }
  // The status the program ended with (wrong password, missing register
  // folder, no company chosen); empty while it runs.
  std::optional<int> end_status() const { return end_status_; }

  void ShowPanel(Panel panel);
  Panel current_panel() const { return current_panel_; }
  void RefreshHeading();
  // "  Firma: " + company + CR LF + "  Luna:  " + month text.
  const QString& heading_text() const { return heading_text_; }
  void ChooseCompanyAndMonth();

  QPushButton* button(Function function) const;
  QString title_line() const;
  QString hint_text() const;
  bool cas_mark() const { return cas_mark_; }
  bool somaj_mark() const { return somaj_mark_; }
  // Set by the declarations once printed: they allow the electronic files.
  void SetCasMark() { cas_mark_ = true; }
  void SetSomajMark() { somaj_mark_ = true; }

  const ProgramSettings& settings() const { return settings_; }
  Workplace* workplace() const { return workplace_.get(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  struct ButtonSpec;
  void BuildPanels();
  QWidget* BuildPanel(Panel panel, const std::vector<ButtonSpec>& buttons);
  void Run(Function function);
  void Terminate(int status);
  void RefreshOpenCloseButton();
  void RefreshTrecere();
  void EveryShowing();
  void Purge();
  Prompter& prompter();
  ProgressReporter& progress();
  void OpenProgramSettings();
  // "Fisa Fis&cala 1  (FF1)" and "Fisa Fisc&ala 2  (FF2)": the persons of the kind.
  void OpenFiscalSheets(const std::string& kind);
  void OpenTransition();
  // The monthly declarations' windows: CAS and unemployment in print or file
  // mode, and the health declaration.
  void OpenDeclaration(Function function);
  void OpenCompanyEditor();
  void OpenCompanyRegister();
  // The personnel lists of the miscellaneous and reports panels.
  void OpenPersonnelList(Function function);
  // The viewer of the documents: the print preview, or the options' one.
  std::function<void(const reports::Report&)> Viewer();
  // A month asked with the month dialog (or the options' question).
  std::optional<Date> AskMonth(Date start);
  void OpenClone();
  void OpenDocument(Function function);
  void ImportLegacyFolder();
  void OpenSheetImport();
  // "&Salvare date" and "&Restaurare date"; after a restore the data folder
  // is opened again and a company and month chosen, as at the start.
  void OpenBackup();
  void OpenRestore();
  void ReopenData();
  // "E&volutie" and "Compa&ratie cu luna anterioara".
  void OpenTrends(Function function);

  MainWindowOptions options_;
  std::unique_ptr<Prompter> own_prompter_;
  std::unique_ptr<ProgressReporter> own_progress_;
  ProgramSettings settings_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<Workplace> workplace_;
  bool start_scheduled_ = false;
  bool starting_ = false;
  bool started_ = false;
  bool ending_ = false;
  std::optional<int> end_status_;
  bool cas_mark_ = false;
  bool somaj_mark_ = false;

  QLabel* heading_;
  QString heading_text_;
  QLabel* title_;
  QLabel* hint_;
  QStackedWidget* panels_;
  Panel current_panel_ = Panel::kMain;
  std::map<Panel, int> panel_pages_;
  std::map<Panel, QString> panel_titles_;
  std::map<Panel, QPushButton*> panel_defaults_;
  std::map<Function, QPushButton*> buttons_;
  // The functions whose windows exist.
  std::set<Function> available_;
  std::map<Panel, QPushButton*> back_buttons_;
};

}  // namespace traveno::app
