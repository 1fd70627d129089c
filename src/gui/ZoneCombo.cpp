#include "ZoneCombo.h"

#include <QCompleter>
#include <QLineEdit>

#include "track/TimeZoneTable.h"

namespace kavro::gui {

ZoneCombo::ZoneCombo(QWidget* parent) : QComboBox(parent) {
  for (int row = 0; row < ZoneListSize(); ++row) addItem(QString::fromStdString(ZoneListLabel(row)));
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setMaxVisibleItems(20);
  // Wide enough for most names, not for the longest: the page keeps the window's size.
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(16);
  auto* finder = new QCompleter(model(), this);
  finder->setCaseSensitivity(Qt::CaseInsensitive);
  finder->setFilterMode(Qt::MatchContains);
  finder->setCompletionMode(QCompleter::PopupCompletion);
  setCompleter(finder);
  connect(lineEdit(), &QLineEdit::editingFinished, this, &ZoneCombo::RestoreText);
}

void ZoneCombo::RestoreText() {
  const int typed = findText(currentText(), Qt::MatchFixedString);
  if (typed >= 0 && typed != currentIndex()) {
    setCurrentIndex(typed);
    emit activated(typed);
    return;
  }
  setEditText(currentIndex() >= 0 ? itemText(currentIndex()) : QString());
}

}  // namespace kavro::gui
