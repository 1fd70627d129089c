#include "PhotoCombineSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ZoneCombo.h"
#include "common/Texts.h"
#include "track/TimeZoneTable.h"

namespace kavro::gui {

PhotoCombineSettingsDialog::PhotoCombineSettingsDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
  const StringTable& words = ctx_.strings;
  setWindowTitle(words.Text(txt::PhotoCombineSetting));
  setObjectName(QStringLiteral("photoCombineSettings"));

  auto* layout = new QVBoxLayout(this);
  auto* zoneRow = new QHBoxLayout;
  zoneRow->addWidget(new QLabel(words.Text(txt::PhotoTimeZone), this));
  zoneList_ = new ZoneCombo(this);
  zoneList_->setObjectName(QStringLiteral("photoZoneList"));
  zoneRow->addWidget(zoneList_);
  layout->addLayout(zoneRow);
  AddZoneOptions(layout);

  auto* calibrate = new QLabel(words.Text(txt::CalibrateTime), this);
  calibrate->setWordWrap(true);
  layout->addWidget(calibrate);
  auto* grid = new QGridLayout;
  const int labels[4] = {txt::Day, txt::Hour, txt::Minute, txt::SecondShort};
  const char* names[4] = {"calibrationDay", "calibrationHour", "calibrationMinute", "calibrationSecond"};
  const PhotoSettings::Stored stored = ctx_.photo.stored;
  const int values[4] = {stored.day, stored.hour, stored.minute, stored.second};
  for (int i = 0; i < 4; ++i) {
    spins_[i] = new QSpinBox(this);
    spins_[i]->setObjectName(QString::fromLatin1(names[i]));
    spins_[i]->setRange(-kCalibrationLimits[static_cast<std::size_t>(i)], kCalibrationLimits[static_cast<std::size_t>(i)]);
    spins_[i]->setValue(0);
    // Three characters at most, as "-30" or "-59".
    if (QLineEdit* edit = spins_[i]->findChild<QLineEdit*>()) edit->setMaxLength(3);
    grid->addWidget(spins_[i], 0, i);
    grid->addWidget(new QLabel(words.Text(labels[i]), this), 1, i);
  }
  layout->addLayout(grid);

  rules_ = new QLabel(words.Text(txt::DiscardRulesIntro) + QStringLiteral("\n(1) ") + words.Text(txt::DiscardOutsideTrack) +
                          QStringLiteral("\n(2) ") + words.Text(txt::DiscardLongGap) + QStringLiteral("\n"),
                      this);
  rules_->setWordWrap(true);
  layout->addWidget(rules_);
  AddMatchOptions(layout);

  auto* gpsGroup = new QGroupBox(words.Text(txt::WriteTrackLogInPhotoGroup), this);
  auto* gpsLayout = new QVBoxLayout(gpsGroup);
  writeGps_ = new QCheckBox(words.Text(txt::WriteTrackLogInPhoto), gpsGroup);
  writeGps_->setObjectName(QStringLiteral("writeGpsInPhoto"));
  writeGpsValue_ = ctx_.photo.writeGps;
  writeGps_->setChecked(writeGpsValue_);
  gpsLayout->addWidget(writeGps_);
  AddSidecarOptions(gpsLayout);
  layout->addWidget(gpsGroup);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(words.Text(txt::Ok));
  buttons->button(QDialogButtonBox::Cancel)->setText(words.Text(txt::Cancel));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  ChooseStartRow();
  // The stored calibration, as last edited.
  for (int i = 0; i < 4; ++i) spins_[i]->setValue(values[i]);
  calibrationSeconds_ = kavro::CalibrationSeconds(values[0], values[1], values[2], values[3]);

  connect(zoneList_, &QComboBox::activated, this, &PhotoCombineSettingsDialog::OnZoneSelected);
  for (QSpinBox* spin : spins_) {
    connect(spin, &QSpinBox::valueChanged, this, &PhotoCombineSettingsDialog::OnCalibrationEdited);
  }
  connect(writeGps_, &QCheckBox::toggled, this, [this](bool on) { writeGpsValue_ = on; });
  ready_ = true;
}

void PhotoCombineSettingsDialog::AddMatchOptions(QBoxLayout* layout) {
  const StringTable& words = ctx_.strings;
  interpolate_ = new QCheckBox(words.Text(txt::InterpolateOption), this);
  interpolate_->setObjectName(QStringLiteral("photoInterpolate"));
  interpolate_->setChecked(ctx_.photo.match.interpolate);
  layout->addWidget(interpolate_);
  auto* gapRow = new QHBoxLayout;
  gapRow->addWidget(new QLabel(words.Text(txt::MaxGapOption), this));
  maxGap_ = new QSpinBox(this);
  maxGap_->setObjectName(QStringLiteral("photoMaxGap"));
  maxGap_->setRange(1, kMaxGapLimitSeconds);
  maxGap_->setValue(ctx_.photo.match.maxGapSeconds);
  gapRow->addWidget(maxGap_);
  gapRow->addStretch();
  layout->addLayout(gapRow);
}

void PhotoCombineSettingsDialog::AddSidecarOptions(QBoxLayout* layout) {
  const StringTable& words = ctx_.strings;
  sidecarsAlways_ = new QCheckBox(words.Text(txt::SidecarsAlwaysOption), this);
  sidecarsAlways_->setObjectName(QStringLiteral("photoSidecarsAlways"));
  sidecarsAlways_->setChecked(ctx_.photo.sidecars == SidecarMode::Always);
  sidecarExt_ = new QCheckBox(words.Text(txt::SidecarExtOption), this);
  sidecarExt_->setObjectName(QStringLiteral("photoSidecarExt"));
  sidecarExt_->setChecked(ctx_.photo.sidecarName == SidecarName::NameExtXmp);
  replacePositions_ = new QCheckBox(words.Text(txt::ReplacePositionsOption), this);
  replacePositions_->setObjectName(QStringLiteral("photoReplacePositions"));
  replacePositions_->setChecked(ctx_.photo.replacePositions);
  for (QCheckBox* box : {sidecarsAlways_, sidecarExt_, replacePositions_}) layout->addWidget(box);
}

void PhotoCombineSettingsDialog::AddZoneOptions(QBoxLayout* layout) {
  ignorePhotoZone_ = new QCheckBox(ctx_.strings.Text(txt::IgnorePhotoZone), this);
  ignorePhotoZone_->setObjectName(QStringLiteral("ignorePhotoZone"));
  ignorePhotoZone_->setChecked(ctx_.photo.ignorePhotoZone);
  layout->addWidget(ignorePhotoZone_);
}

void PhotoCombineSettingsDialog::ChooseStartRow() {
  const DeviceInfo info = ctx_.device.Snapshot();
  const PhotoSettings::StartRow start =
      ctx_.photo.ChooseStartRow(info.timeZoneValid, info.timeZone, SystemZoneBiasMinutes());
  row_ = start.row;
  zoneHours_ = ctx_.photo.stored.zoneHours;
  zoneMinutes_ = ctx_.photo.stored.zoneMinutes;
  zoneList_->setCurrentIndex(start.shown ? row_ : -1);
}

void PhotoCombineSettingsDialog::OnZoneSelected(int index) {
  if (!IsZoneRow(index)) return;
  row_ = index;
  zoneHours_ = zoneMinutes_ = 0;  // a named zone has no one offset
  if (index < kZoneRowCount) {
    const ZoneRow& zr = TimeZoneTable()[static_cast<std::size_t>(index)];
    zoneHours_ = zr.hours;
    zoneMinutes_ = zr.minutes;
  }
  ctx_.photo.zonePicked = true;
}

void PhotoCombineSettingsDialog::OnCalibrationEdited() {
  if (!ready_) return;
  const int d = spins_[0]->value(), h = spins_[1]->value(), m = spins_[2]->value(), s = spins_[3]->value();
  calibrationSeconds_ = kavro::CalibrationSeconds(d, h, m, s);
  ctx_.photo.stored = {zoneHours_, zoneMinutes_, d, h, m, s, row_};
}

void PhotoCombineSettingsDialog::accept() {
  const bool wasReady = ready_;
  ready_ = true;
  OnCalibrationEdited();
  ready_ = wasReady;
  ctx_.photo.timeZoneIndex = row_;
  ctx_.photo.writeGps = writeGpsValue_;
  ctx_.photo.ignorePhotoZone = ignorePhotoZone_->isChecked();
  ctx_.photo.match.interpolate = interpolate_->isChecked();
  ctx_.photo.match.maxGapSeconds = maxGap_->value();
  ctx_.photo.sidecars = sidecarsAlways_->isChecked() ? SidecarMode::Always : SidecarMode::ForRawOnly;
  ctx_.photo.sidecarName = sidecarExt_->isChecked() ? SidecarName::NameExtXmp : SidecarName::NameXmp;
  ctx_.photo.replacePositions = replacePositions_->isChecked();
  QDialog::accept();
}

}  // namespace kavro::gui
