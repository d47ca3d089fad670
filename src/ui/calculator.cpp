#include "ui/calculator.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace traveno::ui {
namespace {

// expression := term { (+|-) term }
// term       := factor { (*|/) factor }
// factor     := (+|-) factor | primary [%]
// primary    := number | "(" expression ")"
class Parser {
 public:
  explicit Parser(const QString& text) : text_(text) {}

  std::optional<double> Parse() {
    auto value = Expression();
    SkipBlanks();
    if (!value || pos_ != text_.size() || !std::isfinite(*value)) return std::nullopt;
    return value;
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_].isSpace()) ++pos_;
  }
  bool Take(QChar c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  std::optional<double> Expression() {
    auto value = Term();
    while (value) {
      if (Take('+')) {
        auto right = Term();
        if (!right) return std::nullopt;
        *value += *right;
      } else if (Take('-')) {
        auto right = Term();
        if (!right) return std::nullopt;
        *value -= *right;
      } else {
        break;
      }
    }
    return value;
  }
  std::optional<double> Term() {
    auto value = Factor();
    while (value) {
      if (Take('*')) {
        auto right = Factor();
        if (!right) return std::nullopt;
        *value *= *right;
      } else if (Take('/')) {
        auto right = Factor();
        if (!right || *right == 0) return std::nullopt;
        *value /= *right;
      } else {
        break;
      }
    }
    return value;
  }
  std::optional<double> Factor() {
    if (++depth_ > 200) return std::nullopt;
    std::optional<double> value;
    if (Take('-')) {
      value = Factor();
      if (value) *value = -*value;
    } else if (Take('+')) {
      value = Factor();
    } else {
      value = Primary();
      if (value && Take('%')) *value /= 100;
    }
    --depth_;
    return value;
  }
  std::optional<double> Primary() {
    if (Take('(')) {
      auto value = Expression();
      if (!value || !Take(')')) return std::nullopt;
      return value;
    }
    SkipBlanks();
    const qsizetype start = pos_;
    bool point = false;
    while (pos_ < text_.size()) {
      const QChar c = text_[pos_];
      if (c.isDigit()) {
        ++pos_;
      } else if ((c == ',' || c == '.') && !point) {
        point = true;
        ++pos_;
      } else {
        break;
      }
    }
    QString number = text_.mid(start, pos_ - start);
    number.replace(',', '.');
    if (number.isEmpty() || number == ".") return std::nullopt;
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok) return std::nullopt;
    return value;
  }

  const QString& text_;
  qsizetype pos_ = 0;
  int depth_ = 0;
};

}  // namespace

std::optional<double> EvaluateExpression(const QString& text) { return Parser(text).Parse(); }

QString CalculatorText(double value) {
  if (value == 0) value = 0;  // no "-0"
  QString text = QString::number(value, 'f', 10);
  if (text.contains('.')) {
    while (text.endsWith('0')) text.chop(1);
    if (text.endsWith('.')) text.chop(1);
  }
  text.replace('.', ',');
  return text;
}

Calculator::Calculator(QWidget* parent)
    : QDialog(parent), line_(new QLineEdit(this)), result_(new QLabel(this)) {
  setObjectName("FCalculator");
  setWindowTitle("Calculator");
  auto* layout = new QVBoxLayout(this);
  line_->setObjectName("ECalcul");
  line_->setAlignment(Qt::AlignRight);
  QFont big = line_->font();
  big.setPointSizeF(big.pointSizeF() * 1.3);
  line_->setFont(big);
  result_->setAlignment(Qt::AlignRight);
  layout->addWidget(line_);
  layout->addWidget(result_);
  auto* grid = new QGridLayout;
  const char* keys[5][4] = {{"C", "(", ")", "/"},
                            {"7", "8", "9", "*"},
                            {"4", "5", "6", "-"},
                            {"1", "2", "3", "+"},
                            {"0", ",", "%", "="}};
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 4; ++c) AddButton(grid, keys[r][c], r, c);
  }
  layout->addLayout(grid);
  auto* copy = new QPushButton("Co&piaza rezultatul", this);
  connect(copy, &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(ResultText()); });
  layout->addWidget(copy);
  connect(line_, &QLineEdit::returnPressed, this, &Calculator::Evaluate);
}

void Calculator::AddButton(QGridLayout* grid, const QString& text, int row, int column) {
  auto* button = new QPushButton(text, this);
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::NoFocus);
  connect(button, &QPushButton::clicked, this, [this, text] { Press(text); });
  grid->addWidget(button, row, column);
}

void Calculator::Press(const QString& text) {
  if (text == "=") {
    Evaluate();
  } else if (text == "C") {
    line_->clear();
    result_->clear();
  } else {
    line_->insert(text);
  }
  line_->setFocus();
}

void Calculator::Evaluate() {
  const auto value = EvaluateExpression(line_->text());
  if (!value) {
    result_->setText("Eroare");
    return;
  }
  result_->setText(CalculatorText(*value));
  line_->setText(result_->text());
}

QString Calculator::ResultText() const { return result_->text(); }

Calculator* ShowCalculator() {
  static QPointer<Calculator> calculator;
  QWidget* owner = QApplication::activeModalWidget();
  if (calculator && calculator->parentWidget() != owner) delete calculator;
  if (!calculator) calculator = new Calculator(owner);
  calculator->show();
  calculator->raise();
  calculator->activateWindow();
  return calculator;
}

}  // namespace traveno::ui
