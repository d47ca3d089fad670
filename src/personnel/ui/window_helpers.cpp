#include "personnel/ui/window_helpers.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "core/numbers.h"

namespace traveno::personnel_ui {
void ForceUpperCase(QLineEdit* edit) {
  QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
    const QString upper = text.toUpper();
    if (upper == text) return;
    const int cursor = edit->cursorPosition();
    edit->setText(upper);
    edit->setCursorPosition(cursor);
  });
}

QHBoxLayout* ConfirmAbandonRow(QDialog* dialog, QPushButton* confirm, QPushButton** abandon) {
  confirm->setObjectName("BConfirmare");
  auto* cancel = new QPushButton("&Abandon", dialog);
  cancel->setObjectName("BAbandon");
  cancel->setAutoDefault(false);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(confirm);
  row->addWidget(cancel);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  if (abandon != nullptr) *abandon = cancel;
  return row;
}

QLabel* BoldLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

std::optional<double> TypedNumber(const QLineEdit* box) {
  QString text = box->text();
  text.remove(' ');
  text.remove(QChar(0x00A0));
  if (text.isEmpty()) return 0.0;
  const std::optional<double> value = TryParseNumber(text.toStdString());
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

void ShowTypedNumber(QLineEdit* box, double value) {
  box->setText(QString::fromStdString(FloatToText(value)));
}

}  // namespace traveno::personnel_ui
