#pragma once
#include <QObject>
#include <QPointer>
#include <QThread>
#include <functional>

namespace kavro::gui {

// Runs one blocking job at a time on a worker thread, so the window keeps painting while the
// logger is busy. `done` runs on the owner's (window) thread once the job has ended.
class JobRunner : public QObject {
  Q_OBJECT
 public:
  explicit JobRunner(QObject* owner);
  ~JobRunner() override;  // waits for a running job: every job's waits are bounded

  bool Busy() const { return thread_ != nullptr; }
  // False (and nothing started) while another job runs.
  bool Start(std::function<void()> work, std::function<void()> done);
  // Blocks until the running job, if any, has ended; its `done` is then run here.
  void Wait();
  // Runs fn on the thread of `context` (queued when called from a worker).
  static void Post(QObject* context, std::function<void()> fn);

 signals:
  void busyChanged(bool busy);

 private:
  void Finish();
  QThread* thread_ = nullptr;
  std::function<void()> done_;
};

}  // namespace kavro::gui
