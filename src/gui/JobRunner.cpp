#include "JobRunner.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace kavro::gui {

JobRunner::JobRunner(QObject* owner) : QObject(owner) {}

JobRunner::~JobRunner() {
  if (thread_) {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
  }
}

bool JobRunner::Start(std::function<void()> work, std::function<void()> done) {
  if (thread_) return false;
  done_ = std::move(done);
  thread_ = QThread::create(std::move(work));
  connect(thread_, &QThread::finished, this, &JobRunner::Finish, Qt::QueuedConnection);
  emit busyChanged(true);
  thread_->start();
  return true;
}

void JobRunner::Wait() {
  if (!thread_) return;
  thread_->wait();
  // Deliver what the job posted (statuses) before its end, as the event loop would.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
  Finish();
}

void JobRunner::Finish() {
  if (!thread_) return;  // already finished through Wait
  QThread* t = thread_;
  thread_ = nullptr;
  t->wait();
  t->deleteLater();
  auto done = std::move(done_);
  done_ = nullptr;
  if (done) done();
  emit busyChanged(false);
}

void JobRunner::Post(QObject* context, std::function<void()> fn) {
  if (QThread::currentThread() == context->thread()) {
    fn();
    return;
  }
  QMetaObject::invokeMethod(context, std::move(fn), Qt::QueuedConnection);
}

}  // namespace kavro::gui
