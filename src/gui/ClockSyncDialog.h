#pragma once
#include <QDialog>
#include <functional>

#include "AppContext.h"
#include "photo/ClockSync.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kavro::gui {

// "Camera Clock from a Photo": a photo of a clock showing UTC and the time it shows, and
// optionally a second such photo for the drift. OK computes the correction in the given zone;
// a problem is shown in the dialog, which then stays open.
class ClockSyncDialog : public QDialog {
  Q_OBJECT
 public:
  ClockSyncDialog(AppContext& ctx, const ZoneClock& zone, bool ignorePhotoZone, QWidget* parent);

  QLineEdit* PhotoEdit(int i) const { return photos_[i]; }
  QLineEdit* TimeEdit(int i) const { return times_[i]; }
  QPushButton* ChooseButton(int i) const { return choose_[i]; }
  QCheckBox* SecondPhotoBox() const { return second_; }
  QLabel* Problem() const { return problem_; }
  const ClockSync& Result() const { return result_; }
  // Replaces the file dialog of the choose buttons (tests).
  void SetPhotoChooser(std::function<QString()> chooser) { chooser_ = std::move(chooser); }

  void accept() override;

 private:
  void AddPhotoRow(QGridLayout* grid, int i);
  void ChoosePhoto(int i);
  void ShowSecond(bool on);

  AppContext& ctx_;
  ZoneClock zone_;
  bool ignorePhotoZone_ = false;
  QLineEdit* photos_[2] = {};
  QLineEdit* times_[2] = {};
  QPushButton* choose_[2] = {};
  QLabel* labels_[4] = {};
  QCheckBox* second_ = nullptr;
  QLabel* problem_ = nullptr;
  ClockSync result_;
  std::function<QString()> chooser_;
};

}  // namespace kavro::gui
