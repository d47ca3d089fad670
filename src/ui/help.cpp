#include "ui/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

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

void OpenHelp(Prompter& prompter) {
  const QString path = HelpIndexPath();
  if (path.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
    prompter.Message(MessageKind::kWarning, "Fisierul de ajutor nu poate fi deschis !");
  }
}

}  // namespace traveno::ui
