#include "app/main_window.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace traveno::app {
namespace {

TEST(MainWindowTest, ShowsItsTitledWindow) {
  MainWindow window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.windowTitle(), "TRAVENO - Velmoranti Soft");
  EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace traveno::app
