#include "ui/page_preparation.h"

#include <QMetaObject>
#include <QPointer>
#include <exception>

#include "core/errors.h"

namespace traveno::ui {

// The pages on their way from the worker to the window's thread.
class PagePreparation::Sink final : public reports::PageSink {
 public:
  explicit Sink(PagePreparation* owner) : owner_(owner) {}

  void AddPage(reports::Page page) override {
    bool notify = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      pages_.push_back(std::move(page));
      notify = !notified_;
      notified_ = true;
    }
    // One queued signal for as many pages as arrive before it is handled.
    if (notify) {
      QMetaObject::invokeMethod(
          owner_, [owner = owner_] { emit owner->PagesArrived(); }, Qt::QueuedConnection);
    }
  }
  bool Cancelled() const override { return cancelled_.load(); }

  void Cancel() { cancelled_.store(true); }
  std::vector<reports::Page> Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<reports::Page> pages;
    pages.swap(pages_);
    notified_ = false;
    return pages;
  }

 private:
  PagePreparation* owner_;
  std::mutex mutex_;
  std::vector<reports::Page> pages_;
  bool notified_ = false;
  std::atomic<bool> cancelled_{false};
};

PagePreparation::PagePreparation(QObject* parent) : QObject(parent) {}

PagePreparation::~PagePreparation() {
  if (sink_) sink_->Cancel();
  Join();
}

void PagePreparation::Join() {
  if (worker_.joinable()) worker_.join();
}

void PagePreparation::Start(reports::Report report) {
  if (sink_) sink_->Cancel();
  Join();
  sink_ = std::make_shared<Sink>(this);
  running_ = true;
  worker_ = std::thread([this, sink = sink_, report = std::move(report)] {
    QString error;
    try {
      reports::LayOut(report, *sink);
    } catch (const std::exception& failure) {
      error = QString::fromStdString(DescribeException(std::current_exception()).message);
      if (error.isEmpty()) error = QString::fromUtf8(failure.what());
    } catch (...) {
      error = QStringLiteral("Eroare la pregatirea raportului !");
    }
    const bool cancelled = sink->Cancelled();
    QMetaObject::invokeMethod(
        this,
        [this, sink, cancelled, error] {
          // A later Start replaced this preparation: its end is not news.
          if (sink != sink_) return;
          running_ = false;
          emit Finished(cancelled, error);
        },
        Qt::QueuedConnection);
  });
}

void PagePreparation::Cancel() {
  if (sink_) sink_->Cancel();
}

std::vector<reports::Page> PagePreparation::TakePages() {
  return sink_ ? sink_->Take() : std::vector<reports::Page>{};
}

}  // namespace traveno::ui
