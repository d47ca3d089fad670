#include "ui/file_dialogs.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QListView>
#include <QTest>
#include <QTreeView>

#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"
#include "ui/romanian_texts.h"

namespace traveno::ui {
namespace {

using traveno::testing::AnswerNextModal;

// What the save dialog shows of a folder holding a declaration's files.
struct Shown {
  bool own_dialog = false;
  QStringList headers;
  std::map<QString, QStringList> rows;  // by file name: size, type, date
  int sidebar_width = 0;
  int sidebar_needs = 0;
};

Shown ShownBySaveDialog(const QString& folder, const QStringList& names) {
  Shown shown;
  AnswerNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    shown.own_dialog = dialog->testOption(QFileDialog::DontUseNativeDialog);
    auto* files = dialog->findChild<QTreeView*>("treeView");
    auto* sidebar = dialog->findChild<QListView*>("sidebar");
    if (files == nullptr || sidebar == nullptr) {
      dialog->reject();
      return;
    }
    QAbstractItemModel* model = files->model();
    // The folder is read in the background.
    QTest::qWaitFor([&] { return model->rowCount(files->rootIndex()) >= names.size(); });
    QTest::qWait(50);
    for (int c = 0; c < 4; ++c) shown.headers << model->headerData(c, Qt::Horizontal).toString();
    for (int row = 0; row < model->rowCount(files->rootIndex()); ++row) {
      QStringList cells;
      for (int c = 1; c < 4; ++c)
        cells << model->index(row, c, files->rootIndex()).data().toString();
      shown.rows[model->index(row, 0, files->rootIndex()).data().toString()] = cells;
    }
    shown.sidebar_width = sidebar->viewport()->width();
    shown.sidebar_needs = sidebar->sizeHintForColumn(0);
    dialog->reject();
  });
  EXPECT_TRUE(
      AskSaveFileName(nullptr, "Salvare", folder + "/A1.txt", "Fisierele(*.txt *.dbf)").isEmpty());
  return shown;
}

// The save dialogs showed "plain text document", English month names and a
// clipped sidebar: they are Qt's own dialog in the program's words.
TEST(FileDialogsTest, TheSaveDialogNamesTypesDatesAndPlacesInTheProgramsWords) {
  InstallRomanianTexts(*qApp);
  traveno::testing::TempFolder folder;
  const QString path = QString::fromStdString(folder.path().string());
  const QDateTime written(QDate(2003, 2, 14), QTime(10, 30));
  const std::pair<const char*, int> kFiles[] = {{"A1.txt", 2500}, {"A2.dbf", 100}};
  for (const auto& [name, bytes] : kFiles) {
    QFile file(path + "/" + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes, 'x'));
    file.flush();
    ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
  }
  const Shown shown = ShownBySaveDialog(path, {"A1.txt", "A2.dbf"});
  EXPECT_TRUE(shown.own_dialog);
  EXPECT_EQ(shown.headers.join(" | ").toStdString(), "Nume | Marime | Tip | Data modificarii");
  ASSERT_EQ(shown.rows.count("A1.txt"), 1u);
  EXPECT_EQ(shown.rows.at("A1.txt").join(" | ").toStdString(),
            "3 KB | Fisier text | 14.02.2003 10:30");
  ASSERT_EQ(shown.rows.count("A2.dbf"), 1u);
  EXPECT_EQ(shown.rows.at("A2.dbf").join(" | ").toStdString(),
            "1 KB | Tabela dBASE | 14.02.2003 10:30");
  EXPECT_GE(shown.sidebar_width, shown.sidebar_needs);
}

TEST(FileDialogsTest, TypesAreTheProgramsWordsForItsFiles) {
  traveno::testing::TempFolder folder;
  const QString path = QString::fromStdString(folder.path().string());
  const std::pair<const char*, const char*> kTypes[] = {{"Rep_2002.txt", "Fisier text"},
                                                        {"A11.DBF", "Tabela dBASE"},
                                                        {"stat.pdf", "Document PDF"},
                                                        {"Firme.xlsx", "Fisier Excel"},
                                                        {"firma.db", "Baza de date"},
                                                        {"poza.bmp", "Imagine BMP"},
                                                        {"traveno.ERR", "Fisier de erori"},
                                                        {"date.xyz", "Fisier XYZ"},
                                                        {"fara", "Fisier"}};
  for (const auto& [name, type] : kTypes) {
    EXPECT_EQ(FileTypeText(QFileInfo(path + "/" + name)).toStdString(), type) << name;
  }
  EXPECT_EQ(FileTypeText(QFileInfo(path)).toStdString(), "Director");
}

}  // namespace
}  // namespace traveno::ui
