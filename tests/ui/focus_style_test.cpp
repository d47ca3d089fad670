#include "ui/focus_style.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "tests/ui/scripted_prompter.h"
#include "ui/data_grid.h"
#include "ui/window_base.h"

namespace traveno::ui {
namespace {

// The pixels that differ plainly between two pictures of the same place: a
// colour channel changes by more than a third of its range.
int PlainlyChanged(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  if (x.size() != y.size()) return -1;
  int changed = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int col = 0; col < x.width(); ++col) {
      const QRgb p = x.pixel(col, row);
      const QRgb q = y.pixel(col, row);
      const int diff = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                 std::abs(qBlue(p) - qBlue(q))});
      if (diff > 85) ++changed;
    }
  }
  return changed;
}

int Perimeter(const QSize& size) { return 2 * (size.width() + size.height()); }

// From a grid to a button and on by the keyboard: the control that has the keyboard is
// ringed plainly, at least two pixels all round, on the face of a button and
// on a selected cell, whose faint focus line the desktop's style loses in
// the selection's colour.
TEST(FocusStyleTest, TheFocusedButtonAndCellAreRingedPlainly) {
  WindowBehaviour behaviour;  // as the program installs it
  behaviour.Install();
  FocusStyle style;
  QDialog window;
  auto* layout = new QVBoxLayout(&window);
  auto* grid = new DataGrid(&window);
  QStandardItemModel model(3, 3);
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) model.setItem(row, col, TextItem("ION"));
  }
  grid->SetSourceModel(&model);
  auto* confirm = new QPushButton("&Confirmare", &window);
  auto* abandon = new QPushButton("&Abandon", &window);
  for (QPushButton* button : {confirm, abandon}) button->setAutoDefault(false);
  layout->addWidget(grid);
  layout->addWidget(confirm);
  layout->addWidget(abandon);
  window.setStyle(&style);
  for (QWidget* child : window.findChildren<QWidget*>()) child->setStyle(&style);
  window.show();
  ASSERT_TRUE(traveno::testing::WaitUntilActive(&window));
  grid->setFocus(Qt::TabFocusReason);
  grid->setCurrentIndex(grid->model()->index(1, 1));
  const QRect cell = grid->visualRect(grid->currentIndex());

  const QImage cell_focused = grid->viewport()->grab(cell).toImage();
  // Alt and the button's letter: the button takes the focus.
  QTest::keyClick(grid, Qt::Key_C, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == confirm; }));
  const QImage cell_unfocused = grid->viewport()->grab(cell).toImage();
  const QImage button_focused = confirm->grab().toImage();
  QTest::keyClick(confirm, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), abandon);
  QTest::qWait(150);  // the pressed look of the click is over
  const QImage button_unfocused = confirm->grab().toImage();

  EXPECT_GE(PlainlyChanged(cell_focused, cell_unfocused), 2 * Perimeter(cell.size()) - 16);
  EXPECT_GE(PlainlyChanged(button_focused, button_unfocused), 2 * Perimeter(confirm->size()) - 16);
}

}  // namespace
}  // namespace traveno::ui
