// The record navigator under a grid: first, previous, next and last line, and
// optionally re-reading the lines. Its buttons take no keyboard focus (the
// grid's own arrow keys do the same), so Tab goes from the grid straight to
// the window's buttons.
#pragma once

#include <QWidget>
#include <functional>

class QAbstractItemView;
class QPushButton;

namespace traveno::ui {

class RecordNavigator : public QWidget {
  Q_OBJECT

 public:
  // `refresh`, when given, adds the button that re-reads the grid's lines.
  explicit RecordNavigator(QAbstractItemView* view, std::function<void()> refresh = {},
                           QWidget* parent = nullptr);

  QPushButton* first_button() const { return first_; }
  QPushButton* prior_button() const { return prior_; }
  QPushButton* next_button() const { return next_; }
  QPushButton* last_button() const { return last_; }
  QPushButton* refresh_button() const { return refresh_; }

  // Makes line `row` (clamped to the lines there are) the current one.
  void MoveTo(int row);

 private:
  QAbstractItemView* view_;
  QPushButton* first_;
  QPushButton* prior_;
  QPushButton* next_;
  QPushButton* last_;
  QPushButton* refresh_ = nullptr;
};

}  // namespace traveno::ui
