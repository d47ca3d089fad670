#include "ui/help.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

#include "ui/qt_prompter.h"
#include "ui/window_base.h"

namespace traveno::ui {

QString HelpIndexPath() {
  const QDir exe_dir(QCoreApplication::applicationDirPath());
  QStringList candidates = {
      exe_dir.filePath("../share/traveno/help/index.html"),
      exe_dir.filePath("help/index.html"),
  };
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

void OpenHelp(Prompter& prompter, const QString& topic) {
  const QUrl url = HelpUrl(topic);
  if (url.isEmpty() || !QDesktopServices::openUrl(url)) {
    prompter.Message(MessageKind::kWarning, "Fisierul de ajutor nu poate fi deschis !");
  }
}

void OpenHelpOfWindowInHand() {
  QWidget* window = QApplication::activeModalWidget();
  if (window == nullptr) window = QApplication::activeWindow();
  QtPrompter prompter(window);
  OpenHelp(prompter, CurrentHelpTopic());
}

}  // namespace traveno::ui
