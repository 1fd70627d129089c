#pragma once
#include <QComboBox>

namespace kavro::gui {

// A time zone list: the table's 34 offsets first, then the named zones of the system's zone
// database; typing any part of a name offers the rows that contain it. A row picked by typing
// is taken as if picked from the list (activated is emitted); a text that names no row goes
// back to the selected row's label.
class ZoneCombo : public QComboBox {
  Q_OBJECT
 public:
  explicit ZoneCombo(QWidget* parent);

 private:
  void RestoreText();
};

}  // namespace kavro::gui
