#pragma once
// Closes the next message box that appears and keeps what it said, so a widget test can check
// a stop message without a person to click it away. Gives up after maxTicks × 20 ms.

#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

namespace kavro::test {

class MessageCatcher : public QObject {
 public:
  explicit MessageCatcher(int maxTicks = 250) {
    timer_.setInterval(20);
    connect(&timer_, &QTimer::timeout, this, [this, maxTicks] {
      if (++ticks_ > maxTicks) timer_.stop();
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      text = box->text();
      title = box->windowTitle();
      icon = box->icon();
      box->done(QMessageBox::Ok);
      timer_.stop();
    });
    timer_.start();
  }
  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;

 private:
  QTimer timer_;
  int ticks_ = 0;
};

}  // namespace kavro::test

namespace kavro::gui {
namespace test = ::kavro::test;
}
