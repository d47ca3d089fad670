#include "declarations/ui/declaration_widgets.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <limits>

#include "core/numbers.h"
#include "ui/window_base.h"

namespace traveno::declarations_ui {
namespace {

// The amount an amount box's text stands for (see ReadAmount).
double AmountOf(QString text) {
  text.remove(' ');
  text.remove(QChar(0x00A0));
  if (text.isEmpty()) return 0;
  return ParseNumber(text.toStdString(), std::numeric_limits<double>::quiet_NaN());
}

}  // namespace

void ForceUpperCase(QLineEdit* box) {
  QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString& text) {
    const QString upper = text.toUpper();
    if (upper == text) return;
    const int cursor = box->cursorPosition();
    box->setText(upper);
    box->setCursorPosition(cursor);
  });
}

QLineEdit* AmountBox(QWidget* parent, const QString& name, bool read_only) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setAlignment(Qt::AlignRight);
  box->setReadOnly(read_only);
  if (read_only) box->setFocusPolicy(Qt::NoFocus);
  ui::SizeToChars(box, 18);
  if (!read_only) {
    // A typed amount is shown grouped like the computed ones beside it once
    // the box is left ("1000000" reads "1 000 000"), unless that would round
    // it; a text that is no number stays for its message on confirmation.
    QObject::connect(box, &QLineEdit::editingFinished, box, [box] {
      const double typed = ReadAmount(box);
      if (std::isnan(typed)) return;
      const QString shown =
          QString::fromStdString(FormatNumber(typed, NumberMask::kUpToTwoDecimals));
      if (AmountOf(shown) == typed && shown != box->text()) box->setText(shown);
    });
  }
  return box;
}

void ShowAmount(QLineEdit* box, double value) {
  box->setText(QString::fromStdString(FormatNumber(value, NumberMask::kUpToTwoDecimals)));
}

double ReadAmount(const QLineEdit* box) { return AmountOf(box->text()); }

ConfirmAbandon MakeConfirmAbandon(QDialog* dialog) {
  ConfirmAbandon row{new QHBoxLayout, new QPushButton("&Confirmare", dialog),
                     new QPushButton("&Abandon", dialog)};
  row.confirm->setObjectName("BConfirmare");
  row.abandon->setObjectName("BAbandon");
  // Enter in a box must not confirm a declaration; on a button it presses it.
  row.confirm->setAutoDefault(false);
  row.abandon->setAutoDefault(false);
  row.layout->addStretch();
  row.layout->addWidget(row.confirm);
  row.layout->addWidget(row.abandon);
  QObject::connect(row.abandon, &QPushButton::clicked, dialog, &QDialog::reject);
  return row;
}

void SaveFilesInTurn(QWidget* parent, const DeclarationHooks& hooks, ProgressReporter& progress,
                     const std::filesystem::path& first_folder,
                     const std::vector<FileToWrite>& files) {
  std::filesystem::path folder = first_folder;
  for (const FileToWrite& file : files) {
    const std::optional<std::filesystem::path> chosen =
        hooks.choose_file(parent, folder / file.proposed_name);
    if (!chosen) continue;
    folder = chosen->parent_path();
    WaitScope wait(progress, declarations::kSavingTitle, declarations::SavingText(*chosen));
    file.write(*chosen);
  }
}

}  // namespace traveno::declarations_ui
