#include "TrackLogPage.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QPointer>
#include <QSignalBlocker>
#include <initializer_list>
#include <memory>

#include "common/Texts.h"

namespace kavro::gui {
namespace {

QLabel* StatusLine(QWidget* parent, const char* name) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setFrameShape(QFrame::StyledPanel);
  l->setFrameShadow(QFrame::Sunken);
  l->setWordWrap(true);
  l->setMinimumHeight(l->fontMetrics().height() + 10);
  return l;
}

}  // namespace

TrackLogPage::TrackLogPage(AppContext& ctx, QWidget* parent) : Page(ctx, parent) {
  setObjectName(QStringLiteral("trackLogPage"));
  jobs_ = new JobRunner(this);
  connect(jobs_, &JobRunner::busyChanged, this, &Page::busyChanged);

  settingsGroup_ = new QGroupBox(this);
  styleGroup_ = new QGroupBox(settingsGroup_);
  overwrite_ = new QRadioButton(styleGroup_);
  overwrite_->setObjectName(QStringLiteral("overwriteRadio"));
  fullStop_ = new QRadioButton(styleGroup_);
  fullStop_->setObjectName(QStringLiteral("fullStopRadio"));
  auto* styleRow = new QHBoxLayout(styleGroup_);
  styleRow->addWidget(overwrite_);
  styleRow->addSpacing(24);
  styleRow->addWidget(fullStop_);
  styleRow->addStretch(1);

  second_ = new QRadioButton(settingsGroup_);
  second_->setObjectName(QStringLiteral("secondRadio"));
  distance_ = new QRadioButton(settingsGroup_);
  distance_->setObjectName(QStringLiteral("distanceRadio"));
  seconds_ = new QComboBox(settingsGroup_);
  seconds_->setObjectName(QStringLiteral("secondsList"));
  distances_ = new QComboBox(settingsGroup_);
  distances_->setObjectName(QStringLiteral("distanceList"));
  secUnit_ = new QLabel(settingsGroup_);
  distUnit_ = new QLabel(settingsGroup_);
  distUnit_->setObjectName(QStringLiteral("distanceUnit"));
  for (QComboBox* c : {seconds_, distances_}) c->setMinimumWidth(90);
  settingStatus_ = StatusLine(settingsGroup_, "settingStatus");

  auto* basis = new QGridLayout;
  basis->setColumnStretch(3, 1);
  basis->addWidget(second_, 0, 0);
  basis->addWidget(seconds_, 0, 1);
  basis->addWidget(secUnit_, 0, 2);
  basis->addWidget(distance_, 1, 0);
  basis->addWidget(distances_, 1, 1);
  basis->addWidget(distUnit_, 1, 2);
  auto* settingsLayout = new QVBoxLayout(settingsGroup_);
  settingsLayout->addWidget(styleGroup_);
  settingsLayout->addLayout(basis);
  settingsLayout->addWidget(settingStatus_);

  // Record style and basis are two independent choices.
  auto* styleButtons = new QButtonGroup(this);
  styleButtons->addButton(overwrite_);
  styleButtons->addButton(fullStop_);
  auto* basisButtons = new QButtonGroup(this);
  basisButtons->addButton(second_);
  basisButtons->addButton(distance_);

  clearGroup_ = new QGroupBox(this);
  clearLabel_ = new QLabel(clearGroup_);
  clear_ = new QPushButton(clearGroup_);
  clear_->setObjectName(QStringLiteral("clearButton"));
  clear_->setMinimumWidth(96);
  clearStatus_ = StatusLine(clearGroup_, "clearStatus");
  auto* clearLayout = new QGridLayout(clearGroup_);
  clearLayout->setColumnStretch(0, 1);
  clearLayout->addWidget(clearLabel_, 0, 0);
  clearLayout->addWidget(clear_, 0, 1);
  clearLayout->addWidget(clearStatus_, 1, 0, 1, 2);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  root->addWidget(settingsGroup_);
  root->addWidget(clearGroup_);
  root->addStretch(1);

  for (QComboBox* c : {seconds_, distances_}) c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  for (int v : TrackLogSettings::kSeconds) seconds_->addItem(QString::number(v));
  for (int v : TrackLogSettings::kDistanceShown) distances_->addItem(QString::number(v));

  connect(clear_, &QPushButton::clicked, this, &TrackLogPage::OnClear);
  connect(overwrite_, &QRadioButton::clicked, this, [this] { settings_.SelectRecordMode(1); });
  connect(fullStop_, &QRadioButton::clicked, this, [this] { settings_.SelectRecordMode(2); });
  connect(second_, &QRadioButton::clicked, this, [this] { settings_.SelectBasis(0); });
  connect(distance_, &QRadioButton::clicked, this, [this] { settings_.SelectBasis(1); });
  connect(seconds_, &QComboBox::currentIndexChanged, this, [this](int i) { settings_.SelectSecondsIndex(i); });
  connect(distances_, &QComboBox::currentIndexChanged, this, [this](int i) { settings_.SelectDistanceIndex(i); });
  Retranslate();
  settings_.Defaults();
  ShowSettings();
}

TrackLogPage::~TrackLogPage() { jobs_->Wait(); }

void TrackLogPage::Retranslate() {
  settingsGroup_->setTitle(Text(txt::TabTrackLogSetting));
  styleGroup_->setTitle(Text(txt::RecordStyle));
  overwrite_->setText(Text(txt::Overwrite));
  fullStop_->setText(Text(txt::FullAndStop));
  second_->setText(Text(txt::Second));
  distance_->setText(Text(txt::Distance));
  secUnit_->setText(Text(txt::SecondUnit));
  distUnit_->setText(Text(txt::Meter));
  settingStatus_->setText(Text(txt::ReadStatusMessage));
  clearLabel_->setText(Text(txt::ClearLabel));
  clear_->setText(Text(txt::Clear));
  clearStatus_->setText(Text(txt::UploadClearStatusMessage));
}

StatusReport TrackLogPage::StatusTo(QLabel* line) {
  QPointer<QLabel> target(line);
  const StringTable* strings = &ctx_.strings;
  QPointer<TrackLogPage> self(this);
  return [self, target, strings](int id) {
    if (!self) return;
    JobRunner::Post(self, [target, strings, id] {
      if (target) target->setText(strings->Text(id));
    });
  };
}

void TrackLogPage::OnPageCommand(PageCommand command) {
  if (command == PageCommand::Default) {
    settings_.Defaults();
    ShowSettings();
    return;
  }
  ApplySettings();
}

void TrackLogPage::RefreshFromDevice() {
  settings_.RefreshFromDevice(ctx_.device);
  ShowSettings();
  settingStatus_->setText(Text(txt::ReadStatusMessage));
  clearStatus_->setText(Text(txt::UploadClearStatusMessage));
}

void TrackLogPage::ShowSettings() {
  const QSignalBlocker b1(seconds_);
  const QSignalBlocker b2(distances_);
  overwrite_->setChecked(settings_.recordMode == 1);
  fullStop_->setChecked(settings_.recordMode != 1);
  second_->setChecked(settings_.basis == 0);
  distance_->setChecked(settings_.basis != 0);
  seconds_->setCurrentIndex(settings_.secondsIndex);
  distances_->setCurrentIndex(settings_.distanceIndex);
  distUnit_->setText(Text(settings_.UnitTextId()));
  SetSettingsEnabled(settings_.controlsEnabled && !jobs_->Busy());
}

void TrackLogPage::SetSettingsEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{overwrite_, fullStop_, second_, distance_, seconds_, distances_})
    w->setEnabled(enabled);
}

void TrackLogPage::SetLocked(bool locked) {
  locked_ = locked;
  if (!jobs_->Busy()) SetBusyLook(locked);
}

void TrackLogPage::SetBusyLook(bool busy) {
  clear_->setEnabled(!busy);
  SetSettingsEnabled(!busy && settings_.controlsEnabled);
}

void TrackLogPage::ApplySettings() {
  // Nothing to write without a port; the core would send nothing either.
  if (jobs_->Busy() || locked_ || !ctx_.link.Port().IsOpen()) return;
  SetBusyLook(true);
  const TrackLogSettings wanted = settings_;
  AppContext& ctx = ctx_;
  StatusReport status = StatusTo(settingStatus_);
  jobs_->Start([&ctx, wanted, status] { kavro::ApplySettings(ctx.link, ctx.device, wanted, status); },
               [this] { SetBusyLook(locked_); });
}

void TrackLogPage::OnClear() {
  if (jobs_->Busy() || locked_) return;
  SetBusyLook(true);
  AppContext& ctx = ctx_;
  StatusReport status = StatusTo(clearStatus_);
  auto outcome = std::make_shared<SettingsOutcome>(SettingsOutcome::Failed);
  jobs_->Start([&ctx, status, outcome] { *outcome = ClearLog(ctx.link, ctx.device, status); },
               [this, outcome] {
                 SetBusyLook(locked_);
                 if (*outcome == SettingsOutcome::Done) emit freeRecordsChanged(ctx_.device.Snapshot().freeRecords);
               });
}

}  // namespace kavro::gui
