// The program's help (F1 and "&Ajutor [F1]"): one HTML page installed with the
// program, with a section per window whose id is the window's form name
// ("FMain", "FImpo"), opened with the desktop's default browser at the section
// of the window in hand; when no browser takes it, the program shows the same
// page in a help window of its own, at the same section.
#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>
#include <functional>

#include "core/prompter.h"

class QTextBrowser;
class QWidget;

namespace traveno::ui {

// The help's first page, the first of these that exists: beside the
// executable (share/traveno/help of its installation, help/), in the
// desktop's data folders (/usr/share/traveno/help of the package,
// /usr/local/share/traveno/help, $XDG_DATA_DIRS), else the copy in the source
// tree of a program run from its build folder. Empty when none exists.
QString HelpIndexPath();
// The same for a program whose executable is in `executable_folder`.
QString HelpIndexPath(const QString& executable_folder);

// The address of the help at a window's section; the page's top for an empty
// topic. Empty when the help is missing.
QUrl HelpUrl(const QString& topic);

// Hands the page to the desktop's browser; false when no browser took it.
using BrowserLauncher = std::function<bool(const QUrl& url)>;
// The desktop's: xdg-open when installed, which fails when no browser is set
// up, else Qt's desktop services.
bool StartDesktopBrowser(const QUrl& url);

// The help window: the page in a browser of the program's own, at a section.
class HelpWindow : public QDialog {
  Q_OBJECT

 public:
  HelpWindow(const QString& index_path, const QString& topic, QWidget* parent = nullptr);

  QTextBrowser* browser() const { return browser_; }
  // Scrolls to the section with that id; the top for an empty topic.
  void ShowTopic(const QString& topic);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QTextBrowser* browser_;
  QString topic_;
};

// Opens the help at `topic`: in the browser, else in the help window over
// `parent`. The warning "Fisierul de ajutor nu poate fi deschis !" when the
// help is missing.
void OpenHelp(Prompter& prompter, const QString& topic = {}, QWidget* parent = nullptr,
              const BrowserLauncher& launch = StartDesktopBrowser);

// F1: the help at the section of the window in hand, over that window. F1 in
// the help window itself does nothing more.
void OpenHelpOfWindowInHand();

}  // namespace traveno::ui
