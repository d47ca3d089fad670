#include "personnel/ui/window_helpers.h"

#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "core/numbers.h"

namespace traveno::personnel_ui {
namespace {

class EnterFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      auto* widget = qobject_cast<QWidget*>(watched);
      if ((key == Qt::Key_Return || key == Qt::Key_Enter) && widget != nullptr) {
        if (QWidget* next = widget->nextInFocusChain()) {
          // Skip what cannot take the focus (hidden or disabled controls).
          while (next != widget && !(next->isVisible() && next->isEnabled() &&
                                     (next->focusPolicy() & Qt::TabFocus))) {
            next = next->nextInFocusChain();
          }
          next->setFocus(Qt::TabFocusReason);
        }
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

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

void EnterMovesOn(QComboBox* list) { list->installEventFilter(new EnterFilter(list)); }

}  // namespace traveno::personnel_ui
