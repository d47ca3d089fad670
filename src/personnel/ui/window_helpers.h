// Small pieces the personnel windows share: upper-case text boxes, the
// confirm / abandon row, bold captions and number boxes in the program's
// convention.
#pragma once

#include <QString>
#include <optional>

class QDialog;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace traveno::personnel_ui {

// Keeps what is typed in upper case without moving the cursor.
void ForceUpperCase(QLineEdit* edit);
// A right-aligned row with `confirm` and a new "&Abandon" that rejects the
// dialog; the abandon button is returned through `abandon` when asked.
QHBoxLayout* ConfirmAbandonRow(QDialog* dialog, QPushButton* confirm,
                               QPushButton** abandon = nullptr);
// A label in bold.
QLabel* BoldLabel(const QString& text, QWidget* parent);
// The number typed in a box (blanks grouping the thousands are ignored, a
// blank box is 0); empty when the text is not a number.
std::optional<double> TypedNumber(const QLineEdit* box);
// Shows a number as it is typed: no grouping, "," before decimals.
void ShowTypedNumber(QLineEdit* box, double value);

}  // namespace traveno::personnel_ui
