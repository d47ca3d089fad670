#include "ui/file_dialogs.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QIdentityProxyModel>
#include <QListView>
#include <QLocale>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <algorithm>

#include "core/numbers.h"

namespace traveno::ui {
namespace {

// The columns of Qt's file list.
constexpr int kSizeColumn = 1;
constexpr int kTypeColumn = 2;
constexpr int kDateColumn = 3;

QString SizeText(qint64 bytes) {
  const long double kilobytes = (static_cast<long double>(bytes) + 1023) / 1024;
  return QString::fromStdString(
             FormatNumber(static_cast<qint64>(kilobytes), NumberMask::kInteger)) +
         QStringLiteral(" KB");
}

// The file list's texts in the program's words; the names, the sorting and
// everything else come from Qt's model unchanged.
class FileListTexts : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || !index.isValid() || index.column() == 0) {
      return QIdentityProxyModel::data(index, role);
    }
    const QModelIndex source = mapToSource(index);
    const QFileInfo info = files->fileInfo(source);
    switch (index.column()) {
      case kSizeColumn:
        return info.isDir() ? QString() : SizeText(info.size());
      case kTypeColumn:
        return FileTypeText(info);
      case kDateColumn:
        return files->lastModified(source).toString(QStringLiteral("dd.MM.yyyy HH:mm"));
      default:
        return QIdentityProxyModel::data(index, role);
    }
  }
};

// The sidebar as wide as its widest place, the dialog as large as it needs
// within the screen.
void SizeDialog(QFileDialog& dialog) {
  auto* sidebar = dialog.findChild<QListView*>(QStringLiteral("sidebar"));
  auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"));
  QRect available(0, 0, 1280, 800);
  if (const QScreen* screen =
          dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen()) {
    available = screen->availableGeometry();
  }
  const QSize wanted(std::min(900, available.width() - 40), std::min(540, available.height() - 60));
  dialog.resize(wanted.expandedTo(dialog.minimumSizeHint()).boundedTo(available.size()));
  if (sidebar == nullptr || splitter == nullptr || splitter->count() < 2) return;
  const int places = sidebar->sizeHintForColumn(0) + 2 * sidebar->frameWidth() +
                     sidebar->verticalScrollBar()->sizeHint().width() + 12;
  const int total = std::max(splitter->width(), dialog.width() - 24);
  splitter->setSizes({places, std::max(total - places, places)});
}

}  // namespace

QString FileTypeText(const QFileInfo& info) {
  if (info.isDir()) return QStringLiteral("Director");
  const QString suffix = info.suffix().toLower();
  struct Kind {
    const char* suffix;
    const char* text;
  };
  static const Kind kKinds[] = {
      {"txt", "Fisier text"},       {"dbf", "Tabela dBASE"},     {"pdf", "Document PDF"},
      {"xlsx", "Fisier Excel"},     {"xls", "Fisier Excel"},     {"db", "Baza de date"},
      {"bmp", "Imagine BMP"},       {"png", "Imagine PNG"},      {"jpg", "Imagine JPEG"},
      {"jpeg", "Imagine JPEG"},     {"ini", "Fisier de setari"}, {"html", "Pagina HTML"},
      {"csv", "Fisier CSV"},        {"zip", "Arhiva ZIP"},       {"err", "Fisier de erori"},
      {"tar", "Arhiva de salvare"},
  };
  for (const Kind& kind : kKinds) {
    if (suffix == QLatin1String(kind.suffix)) return QString::fromLatin1(kind.text);
  }
  return suffix.isEmpty() ? QStringLiteral("Fisier") : QStringLiteral("Fisier ") + suffix.toUpper();
}

void PrepareFileDialog(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setViewMode(QFileDialog::Detail);
  // Dates and names in the dialog's own widgets are Romanian; the program
  // writes and reads its numbers by its own rules, whatever this locale.
  dialog.setLocale(QLocale(QLocale::Romanian, QLocale::Romania));
  dialog.setProxyModel(new FileListTexts(&dialog));
  SizeDialog(dialog);
}

namespace {

QString Chosen(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : files.front();
}

}  // namespace

QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                        const QString& filter, QFileDialog::Options options) {
  const QFileInfo offered(proposed);
  const bool folder_only = proposed.isEmpty() || offered.isDir();
  QFileDialog dialog(parent, caption, folder_only ? proposed : offered.absolutePath(), filter);
  PrepareFileDialog(dialog);
  dialog.setOptions(dialog.options() | options);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!folder_only) dialog.selectFile(offered.fileName());
  return Chosen(dialog);
}

QString AskOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter) {
  QFileDialog dialog(parent, caption, folder, filter);
  PrepareFileDialog(dialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return Chosen(dialog);
}

QString AskFolder(QWidget* parent, const QString& caption, const QString& folder) {
  QFileDialog dialog(parent, caption, folder);
  PrepareFileDialog(dialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  return Chosen(dialog);
}

}  // namespace traveno::ui
