// Lays a report out on a worker thread while the window that shows it stays
// responsive: each page is handed over as soon as it is complete, so the
// first page shows long before the last is ready. Laying out reads nothing
// but the report's own data (read from the store when the report was made),
// so the worker never touches the store, the session or a widget; pages
// reach the window's thread through a queued signal.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "reports/page_composer.h"

namespace traveno::ui {

class PagePreparation : public QObject {
  Q_OBJECT

 public:
  explicit PagePreparation(QObject* parent = nullptr);
  // Cancels a preparation still running and waits for its thread.
  ~PagePreparation() override;

  // Starts laying the report out. A preparation already running is
  // cancelled and waited for first.
  void Start(reports::Report report);
  // Asks the worker to stop; Finished follows with `cancelled` set.
  void Cancel();
  bool running() const { return running_; }

  // The pages that arrived since the last call, in order.
  std::vector<reports::Page> TakePages();

 signals:
  // Pages are waiting to be taken (one signal for any number of pages).
  void PagesArrived();
  // The worker ended: after the last page, when cancelled, or on a failure
  // (`error` holds its message then, and the pages before it stay).
  void Finished(bool cancelled, const QString& error);

 private:
  class Sink;
  void Join();

  std::thread worker_;
  std::shared_ptr<Sink> sink_;
  bool running_ = false;
};

}  // namespace traveno::ui
