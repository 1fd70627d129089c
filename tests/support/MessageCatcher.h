#pragma once
// Closes the next message box that appears and keeps what it said, so a widget test can check
// a stop message without a person to click it away. Gives up after maxTicks × 20 ms. With an
// answer (Yes, No) it clicks that button of a question, as a person would.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace kavro::test {

class MessageCatcher : public QObject {
 public:
  explicit MessageCatcher(int maxTicks = 250, QMessageBox::StandardButton answer = QMessageBox::NoButton) {
    timer_.setInterval(20);
    connect(&timer_, &QTimer::timeout, this, [this, maxTicks, answer] {
      if (++ticks_ > maxTicks) timer_.stop();
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      text = box->text();
      title = box->windowTitle();
      icon = box->icon();
      defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
      for (QAbstractButton* b : box->buttons()) buttonTexts << b->text();
      ++shown;
      if (QAbstractButton* chosen = answer != QMessageBox::NoButton ? box->button(answer) : nullptr)
        chosen->click();
      else
        box->done(QMessageBox::Ok);
      timer_.stop();
    });
    timer_.start();
  }
  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  QStringList buttonTexts;
  int shown = 0;

 private:
  QTimer timer_;
  int ticks_ = 0;
};

}  // namespace kavro::test

namespace kavro::gui {
namespace test = ::kavro::test;
}
