#include "YesNoQuestion.h"

#include <QMessageBox>
#include <QPushButton>

#include "common/StringTable.h"
#include "common/Texts.h"

namespace kavro::gui {

bool AskYesNo(QWidget* parent, const StringTable& strings, const QString& question, const char* objectName) {
  QMessageBox box(QMessageBox::Question, strings.Text(txt::AppTitle), question, QMessageBox::Yes | QMessageBox::No,
                  parent);
  box.setObjectName(QString::fromLatin1(objectName));
  box.button(QMessageBox::Yes)->setText(strings.Text(txt::Yes));
  box.button(QMessageBox::No)->setText(strings.Text(txt::No));
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace kavro::gui
