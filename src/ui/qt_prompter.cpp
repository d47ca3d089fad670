#include "ui/qt_prompter.h"

#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include "core/system_info.h"
#include "ui/window_base.h"

namespace traveno::ui {

QString DisplayText(const std::string& text) {
  QString result = QString::fromStdString(text);
  result.replace("\r\n", "\n");
  result.replace("\n\r", "\n");
  result.replace('\r', '\n');
  return result;
}

namespace {

// A message box sizes itself to its text and buttons alone; a short message
// would be narrower than its caption, which the title bar then cuts.
void WidenForCaption(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  grid->addItem(new QSpacerItem(CaptionWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

void QtPrompter::Message(MessageKind kind, const std::string& text) {
  QMessageBox box(parent_);
  box.setWindowTitle(kApplicationTitle);
  box.setText(DisplayText(text));
  switch (kind) {
    case MessageKind::kPlain:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MessageKind::kInformation:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageKind::kWarning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageKind::kError:
      box.setIcon(QMessageBox::Critical);
      break;
  }
  box.setStandardButtons(QMessageBox::Ok);
  WidenForCaption(box);
  box.exec();
}

bool QtPrompter::AskYesNo(const std::string& text) {
  QMessageBox box(QMessageBox::Question, kApplicationTitle, DisplayText(text),
                  QMessageBox::NoButton, parent_);
  QPushButton* yes = box.addButton("&Da", QMessageBox::YesRole);
  box.addButton("&Nu", QMessageBox::NoRole);
  WidenForCaption(box);
  box.exec();
  return box.clickedButton() == yes;
}

std::optional<std::string> QtPrompter::AskText(const std::string& caption,
                                               const std::string& label,
                                               const std::string& initial) {
  bool accepted = false;
  const QString value =
      QInputDialog::getText(parent_, QString::fromStdString(caption), DisplayText(label),
                            QLineEdit::Normal, QString::fromStdString(initial), &accepted);
  if (!accepted) return std::nullopt;
  return value.toStdString();
}

std::string QtPrompter::AskTypedConfirmation(const std::string& text) {
  bool accepted = false;
  const QString value = QInputDialog::getText(parent_, kApplicationTitle, DisplayText(text),
                                              QLineEdit::Normal, QString(), &accepted);
  return accepted ? value.toStdString() : std::string();
}

}  // namespace traveno::ui
