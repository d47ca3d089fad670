// The small calculator of F6: the user types an expression of numbers
// ("," or "." as decimal point), + - * /, parentheses and percent, or presses
// its keys; "=" or Enter shows the result, which can be copied.
#pragma once

#include <QDialog>
#include <optional>

class QGridLayout;
class QLineEdit;
class QLabel;

namespace traveno::ui {

// The value of an arithmetic expression; empty when the text is not one or
// divides by zero. "a%" is a hundredth of a.
std::optional<double> EvaluateExpression(const QString& text);
// A result in the program's convention: "," as decimal point, up to ten
// decimals without trailing zeros.
QString CalculatorText(double value);

class Calculator : public QDialog {
  Q_OBJECT

 public:
  explicit Calculator(QWidget* parent = nullptr);

  QLineEdit* line() const { return line_; }
  QString ResultText() const;
  // "=": replaces the expression by its value, or shows "Eroare".
  void Evaluate();

 private:
  void AddButton(QGridLayout* grid, const QString& text, int row, int column);
  void Press(const QString& text);

  QLineEdit* line_;
  QLabel* result_;
};

// F6: shows the one calculator of the program over the window in hand. While
// a modal window is open the calculator belongs to it, because a window that
// does not is blocked by the modal one and takes neither keys nor clicks.
Calculator* ShowCalculator();

}  // namespace traveno::ui
