#include "app/splash_window.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "core/errors.h"
#include "core/settings.h"
#include "core/system_info.h"
#include "ui/wait_windows.h"

namespace traveno::app {

int SplashQuarters(int count, int expected) {
  if (expected <= 0) return 4;
  return std::clamp(static_cast<int>(static_cast<long long>(count) * 4 / expected), 0, 4);
}

SplashWindow::SplashWindow(std::filesystem::path data_folder, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      data_folder_(std::move(data_folder)),
      expected_(LoadWindowCount(data_folder_)),
      bar_(new QProgressBar(this)) {
  setObjectName("FSplash");
  setWindowTitle(kApplicationTitle);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(32, 24, 32, 24);
  auto* name = new QLabel("TRAVENO", this);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 2.4);
  big.setBold(true);
  name->setFont(big);
  name->setAlignment(Qt::AlignCenter);
  auto* maker = new QLabel("Velmoranti Soft", this);
  maker->setAlignment(Qt::AlignCenter);
  auto* wait = new QLabel("Asteptati va rog ...", this);
  wait->setAlignment(Qt::AlignCenter);
  auto* version = new QLabel(QString::fromStdString("Versiunea " + VersionString()), this);
  version->setObjectName("LVersiune");
  version->setAlignment(Qt::AlignCenter);
  bar_->setRange(0, 4);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  layout->addWidget(name);
  layout->addWidget(maker);
  layout->addWidget(wait);
  layout->addWidget(version);
  layout->addWidget(bar_);
  ui::CentreOnScreen(*this);
}

SplashWindow::~SplashWindow() {
  if (count_ == expected_) return;
  try {
    SaveWindowCount(data_folder_, count_);
  } catch (const Error&) {
    // The count only scales the next start's bar; a settings file that
    // cannot be written is reported by the settings window, not here.
  }
}

void SplashWindow::CountWindow() {
  ++count_;
  const int quarters = SplashQuarters(count_, expected_);
  if (quarters != bar_->value()) {
    bar_->setValue(quarters);
    if (isVisible()) QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
}

}  // namespace traveno::app
