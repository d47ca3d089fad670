#include "ui/wait_windows.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/qt_prompter.h"

namespace traveno::ui {
namespace {

// Lets the window paint without letting the user act meanwhile.
void Repaint() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace

void CentreOnScreen(QWidget& window) {
  QScreen* screen = window.screen() ? window.screen() : QApplication::primaryScreen();
  if (screen == nullptr) return;
  window.adjustSize();
  QRect frame = window.frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window.move(frame.topLeft());
}

WaitWindow::WaitWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint),
      text_(new QLabel(this)) {
  setObjectName("WForm");
  // The wait never takes the keyboard from the window the user works in:
  // when it hides, that window still has it.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowFlag(Qt::WindowDoesNotAcceptFocus);
  QFont bold = text_->font();
  bold.setBold(true);
  text_->setFont(bold);
  text_->setAlignment(Qt::AlignCenter);
  text_->setMinimumWidth(280);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 18);
  layout->addWidget(text_);
}

void WaitWindow::SetTexts(const QString& title, const QString& text) {
  setWindowTitle(title);
  text_->setText(text);
}

QString WaitWindow::Text() const { return text_->text(); }

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint),
      bar_(new QProgressBar(this)) {
  setObjectName("PForm");
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowFlag(Qt::WindowDoesNotAcceptFocus);
  bar_->setMinimumWidth(320);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 18, 18, 18);
  layout->addWidget(bar_);
}

void ProgressWindow::Start(const QString& title, int total) {
  setWindowTitle(title);
  bar_->setRange(0, total > 0 ? total : 1);
  bar_->setValue(0);
}

void ProgressWindow::SetDone(int done) { bar_->setValue(std::min(done, bar_->maximum())); }

QtProgress::QtProgress() = default;

QtProgress::~QtProgress() {
  while (wait_depth_ > 0) EndWait();
  EndProgress();
}

void QtProgress::BeginWait(const std::string& title, const std::string& text) {
  wait_.SetTexts(DisplayText(title), DisplayText(text));
  if (wait_depth_++ == 0) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CentreOnScreen(wait_);
    wait_.show();
  }
  Repaint();
}

void QtProgress::EndWait() {
  if (wait_depth_ == 0) return;
  if (--wait_depth_ == 0) {
    wait_.hide();
    QApplication::restoreOverrideCursor();
    Repaint();
  }
}

void QtProgress::BeginProgress(const std::string& title, int total) {
  progress_.Start(DisplayText(title), total);
  if (!progress_shown_) {
    progress_shown_ = true;
    CentreOnScreen(progress_);
    progress_.show();
  }
  Repaint();
}

void QtProgress::Advance(int done) {
  progress_.SetDone(done);
  Repaint();
}

void QtProgress::EndProgress() {
  if (!progress_shown_) return;
  progress_shown_ = false;
  progress_.hide();
  Repaint();
}

}  // namespace traveno::ui
