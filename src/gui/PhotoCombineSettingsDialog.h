#pragma once
#include <QDialog>
#include <cstdint>

#include "AppContext.h"

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace kavro::gui {

// "Photo Combine Setting": the photo time zone, the camera clock calibration and the write-GPS
// option. Edits are stored in the context at once (they stay even when the dialog is
// cancelled); OK also sets the zone row used by Convert and the write-GPS option.
class PhotoCombineSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  PhotoCombineSettingsDialog(AppContext& ctx, QWidget* parent);

  std::int32_t CalibrationSeconds() const { return calibrationSeconds_; }
  ClockCorrection Clock() const { return ClockCorrection::Offset(calibrationSeconds_); }

  QComboBox* ZoneList() const { return zoneList_; }
  QSpinBox* DaySpin() const { return spins_[0]; }
  QSpinBox* HourSpin() const { return spins_[1]; }
  QSpinBox* MinuteSpin() const { return spins_[2]; }
  QSpinBox* SecondSpin() const { return spins_[3]; }
  QCheckBox* WriteGpsBox() const { return writeGps_; }
  QCheckBox* IgnorePhotoZoneBox() const { return ignorePhotoZone_; }
  QLabel* DiscardRules() const { return rules_; }
  QCheckBox* InterpolateBox() const { return interpolate_; }
  QSpinBox* MaxGapSpin() const { return maxGap_; }
  QCheckBox* SidecarsAlwaysBox() const { return sidecarsAlways_; }
  QCheckBox* SidecarExtBox() const { return sidecarExt_; }
  QCheckBox* ReplacePositionsBox() const { return replacePositions_; }

  void accept() override;

 private:
  void AddMatchOptions(QBoxLayout* layout);
  void AddSidecarOptions(QBoxLayout* layout);
  void AddZoneOptions(QBoxLayout* layout);
  void ChooseStartRow();
  void OnZoneSelected(int index);
  void OnCalibrationEdited();

  AppContext& ctx_;
  QComboBox* zoneList_ = nullptr;
  QSpinBox* spins_[4] = {};
  QCheckBox* writeGps_ = nullptr;
  QCheckBox* ignorePhotoZone_ = nullptr;
  QLabel* rules_ = nullptr;
  QCheckBox* interpolate_ = nullptr;
  QSpinBox* maxGap_ = nullptr;
  QCheckBox* sidecarsAlways_ = nullptr;
  QCheckBox* sidecarExt_ = nullptr;
  QCheckBox* replacePositions_ = nullptr;
  int row_ = kUtcZoneRow;
  int zoneHours_ = 0;
  int zoneMinutes_ = 0;
  std::int32_t calibrationSeconds_ = 0;
  bool writeGpsValue_ = false;
  bool ready_ = false;
};

}  // namespace kavro::gui
