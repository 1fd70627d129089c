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
  zoneList_ = new QComboBox(this);
  zoneList_->setObjectName(QStringLiteral("photoZoneList"));
  for (const ZoneRow& row : TimeZoneTable()) zoneList_->addItem(QString::fromLatin1(row.label));
  zoneRow->addWidget(zoneList_);
  layout->addLayout(zoneRow);

  auto* calibrate = new QLabel(words.Text(txt::CalibrateTime), this);
  calibrate->setWordWrap(true);
  layout->addWidget(calibrate);
  auto* grid = new QGridLayout;
  const int labels[4] = {txt::Day, txt::Hour, txt::Minute, txt::SecondShort};
  const int limits[4] = {30, 23, 59, 59};
  const char* names[4] = {"calibrationDay", "calibrationHour", "calibrationMinute", "calibrationSecond"};
  const AppContext::StoredPhotoSettings stored = ctx_.storedPhoto;
  const int values[4] = {stored.day, stored.hour, stored.minute, stored.second};
  for (int i = 0; i < 4; ++i) {
    spins_[i] = new QSpinBox(this);
    spins_[i]->setObjectName(QString::fromLatin1(names[i]));
    spins_[i]->setRange(-limits[i], limits[i]);
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

  auto* gpsGroup = new QGroupBox(words.Text(txt::WriteTrackLogInPhotoGroup), this);
  auto* gpsLayout = new QVBoxLayout(gpsGroup);
  writeGps_ = new QCheckBox(words.Text(txt::WriteTrackLogInPhoto), gpsGroup);
  writeGps_->setObjectName(QStringLiteral("writeGpsInPhoto"));
  writeGpsValue_ = ctx_.writeGpsInPhoto;
  writeGps_->setChecked(writeGpsValue_);
  gpsLayout->addWidget(writeGps_);
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
  calibrationSeconds_ = values[0] * 86400 + values[1] * 3600 + values[2] * 60 + values[3];

  connect(zoneList_, &QComboBox::activated, this, &PhotoCombineSettingsDialog::OnZoneSelected);
  for (QSpinBox* spin : spins_) {
    connect(spin, &QSpinBox::valueChanged, this, &PhotoCombineSettingsDialog::OnCalibrationEdited);
  }
  connect(writeGps_, &QCheckBox::toggled, this, [this](bool on) { writeGpsValue_ = on; });
  ready_ = true;
}

void PhotoCombineSettingsDialog::ChooseStartRow() {
  if (ctx_.photoDefaultsPending) {
    ctx_.photoDefaultsPending = false;
    row_ = kUtcZoneRow;
    zoneHours_ = 0;
    zoneMinutes_ = 0;
    zoneList_->setCurrentIndex(row_);
  } else {
    const DeviceInfo info = ctx_.device.Snapshot();
    ZoneChoice choice;
    choice.row = ctx_.photoTimeZoneIndex;
    bool matched;
    if (info.timeZoneValid && !ctx_.photoZonePicked) {
      matched = SelectDefaultZone(DefaultZoneLabel(true, info.timeZone, 0), choice);
    } else if (ctx_.photoZonePicked) {
      matched = choice.row >= 0 && choice.row < kZoneRowCount;
      if (!matched) choice.row = kUtcZoneRow;
    } else {
      matched = SelectDefaultZone(DefaultZoneLabel(false, std::string(), SystemZoneBiasMinutes()), choice);
    }
    // A default that matches no row leaves the list without a selection; the zone used is the
    // stored row (" 00:00" at first).
    if (choice.row < 0 || choice.row >= kZoneRowCount) choice.row = kUtcZoneRow;
    row_ = choice.row;
    const ZoneRow& zr = TimeZoneTable()[static_cast<std::size_t>(row_)];
    zoneHours_ = zr.hours;
    zoneMinutes_ = zr.minutes;
    zoneList_->setCurrentIndex(matched ? row_ : -1);
  }
  ctx_.storedPhoto.zoneHours = zoneHours_;
  ctx_.storedPhoto.zoneMinutes = zoneMinutes_;
}

void PhotoCombineSettingsDialog::OnZoneSelected(int index) {
  if (index < 0 || index >= kZoneRowCount) return;
  row_ = index;
  const ZoneRow& zr = TimeZoneTable()[static_cast<std::size_t>(index)];
  zoneHours_ = zr.hours;
  zoneMinutes_ = zr.minutes;
  ctx_.photoZonePicked = true;
}

void PhotoCombineSettingsDialog::OnCalibrationEdited() {
  if (!ready_) return;
  const int d = spins_[0]->value(), h = spins_[1]->value(), m = spins_[2]->value(), s = spins_[3]->value();
  calibrationSeconds_ = d * 86400 + h * 3600 + m * 60 + s;
  ctx_.storedPhoto = {zoneHours_, zoneMinutes_, d, h, m, s};
}

void PhotoCombineSettingsDialog::accept() {
  const bool wasReady = ready_;
  ready_ = true;
  OnCalibrationEdited();
  ready_ = wasReady;
  ctx_.photoTimeZoneIndex = row_;
  ctx_.writeGpsInPhoto = writeGpsValue_;
  QDialog::accept();
}

}  // namespace kavro::gui
