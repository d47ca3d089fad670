#include "ui/help.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QTextStream>
#include <QVBoxLayout>

#include "ui/qt_prompter.h"
#include "ui/window_base.h"

namespace traveno::ui {
namespace {

constexpr const char* kHelpFile = "traveno/help/index.html";

// How long the desktop's opener is given to say whether a browser took the
// page; an opener still running by then runs the browser itself.
constexpr int kOpenerAnswerMs = 3000;

// The page as the help window reads it: the browser of Qt's rich text knows
// an anchor by <a name>, not by the id of a section, so each id gets one. It
// also knows no :target, and would give every section the style of the one
// opened: those rules are left out.
QString PageWithAnchors(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QString page = QString::fromUtf8(file.readAll());
  static const QRegularExpression kIds(R"re((<[a-zA-Z0-9]+[^>]*\sid="([^"]+)"[^>]*>))re");
  page.replace(kIds, R"re(\1<a name="\2"></a>)re");
  static const QRegularExpression kTargetRules(R"re([^{}<>]*:target[^{}]*\{[^}]*\})re");
  page.remove(kTargetRules);
  return page;
}

}  // namespace

QString HelpIndexPath() { return HelpIndexPath(QCoreApplication::applicationDirPath()); }

QString HelpIndexPath(const QString& executable_folder) {
  const QDir exe_dir(executable_folder);
  QStringList candidates = {
      exe_dir.filePath("../share/traveno/help/index.html"),
      exe_dir.filePath("help/index.html"),
  };
  candidates << QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, kHelpFile);
  // Where the package installs it, whatever the desktop's data folders say.
  candidates << QStringLiteral("/usr/share/") + kHelpFile
             << QStringLiteral("/usr/local/share/") + kHelpFile;
#ifdef TRAVENO_SOURCE_HELP_DIR
  candidates << QStringLiteral(TRAVENO_SOURCE_HELP_DIR "/index.html");
#endif
  for (const QString& candidate : candidates) {
    const QFileInfo info(candidate);
    if (info.isFile()) return info.canonicalFilePath();
  }
  return {};
}

QUrl HelpUrl(const QString& topic) {
  const QString path = HelpIndexPath();
  if (path.isEmpty()) return {};
  QUrl url = QUrl::fromLocalFile(path);
  if (!topic.isEmpty()) url.setFragment(topic);
  return url;
}

bool StartDesktopBrowser(const QUrl& url) {
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (opener.isEmpty()) return QDesktopServices::openUrl(url);
  // Not owned by the application: a browser still running when the program
  // ends is not the program's to close.
  auto* process = new QProcess;
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  process->start(opener, {url.toString()});
  if (!process->waitForStarted()) {
    delete process;
    return false;
  }
  if (process->waitForFinished(kOpenerAnswerMs)) {
    const bool taken = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    delete process;
    return taken;
  }
  QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
  return true;
}

HelpWindow::HelpWindow(const QString& index_path, const QString& topic, QWidget* parent)
    : QDialog(parent), browser_(new QTextBrowser(this)) {
  setObjectName("FAjutor");
  setWindowTitle("TRAVENO - Ajutor");
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  browser_->setObjectName("BrowserAjutor");
  browser_->setOpenExternalLinks(false);
  browser_->setOpenLinks(true);
  browser_->setSearchPaths({QFileInfo(index_path).absolutePath()});
  browser_->document()->setBaseUrl(QUrl::fromLocalFile(index_path));
  browser_->setHtml(PageWithAnchors(index_path));
  auto* close = new QPushButton("&Inchidere", this);
  close->setObjectName("BInchidere");
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_, 1);
  layout->addLayout(buttons);
  QSize size(860, 640);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
  }
  resize(size);
  topic_ = topic;
  browser_->setFocus();
}

void HelpWindow::ShowTopic(const QString& topic) {
  topic_ = topic;
  if (topic.isEmpty()) {
    browser_->moveCursor(QTextCursor::Start);
    browser_->ensureCursorVisible();
  } else {
    browser_->scrollToAnchor(topic);
  }
}

void HelpWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The section is scrolled to once the page is laid out at its size.
  ShowTopic(topic_);
}

void OpenHelp(Prompter& prompter, const QString& topic, QWidget* parent,
              const BrowserLauncher& launch) {
  const QString path = HelpIndexPath();
  if (path.isEmpty()) {
    prompter.Message(MessageKind::kWarning, "Fisierul de ajutor nu poate fi deschis !");
    return;
  }
  const QUrl url = HelpUrl(topic);
  if (launch && launch(url)) return;
  // No browser took the page: the program shows it itself.
  HelpWindow window(path, topic, parent);
  window.exec();
}

void OpenHelpOfWindowInHand() {
  QWidget* window = QApplication::activeModalWidget();
  if (window == nullptr) window = QApplication::activeWindow();
  if (qobject_cast<HelpWindow*>(window) != nullptr) return;
  QtPrompter prompter(window);
  OpenHelp(prompter, CurrentHelpTopic(), window);
}

}  // namespace traveno::ui
