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
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QSignalBlocker>
#include <condition_variable>
#include <initializer_list>
#include <memory>
#include <mutex>

#include "TrackLogFileStatusDialog.h"
#include "TransferDialog.h"
#include "YesNoQuestion.h"
#include "common/FileReport.h"
#include "common/Texts.h"

namespace kavro::gui {
namespace {

QLabel* StatusLine(QWidget* parent, const char* name) {
  auto* line = new QLabel(parent);
  line->setObjectName(QString::fromLatin1(name));
  line->setFrameShape(QFrame::StyledPanel);
  line->setFrameShadow(QFrame::Sunken);
  line->setWordWrap(true);
  line->setMinimumHeight(line->fontMetrics().height() + 10);
  return line;
}

}  // namespace

TrackLogPage::TrackLogPage(AppContext& ctx, QWidget* parent) : Page(ctx, parent) {
  setObjectName(QStringLiteral("trackLogPage"));
  jobs_ = new JobRunner(this);
  connect(jobs_, &JobRunner::busyChanged, this, &Page::busyChanged);

  BuildSettingsGroup();
  BuildClearGroup();
  BuildProcessingGroup();

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  root->addWidget(settingsGroup_);
  root->addWidget(processingGroup_);
  root->addStretch(1);

  for (QComboBox* c : {seconds_, distances_}) c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  for (int v : TrackLogSettings::kSeconds) seconds_->addItem(QString::number(v));
  for (int v : TrackLogSettings::kDistanceShown) distances_->addItem(QString::number(v));

  ConnectControls();
  Retranslate();
  settings_.Defaults();
  ShowSettings();
}

void TrackLogPage::BuildSettingsGroup() {
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
}

void TrackLogPage::BuildClearGroup() {
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
}

// Track Log Processing: Upload with its progress above the Clear frame.
void TrackLogPage::BuildProcessingGroup() {
  processingGroup_ = new QGroupBox(this);
  uploadLabel_ = new QLabel(processingGroup_);
  upload_ = new QPushButton(processingGroup_);
  upload_->setObjectName(QStringLiteral("uploadButton"));
  upload_->setMinimumWidth(96);
  progress_ = new QProgressBar(processingGroup_);
  progress_->setObjectName(QStringLiteral("uploadProgress"));
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  percent_ = new QLabel(processingGroup_);
  percent_->setObjectName(QStringLiteral("uploadPercent"));
  percent_->setMinimumWidth(40);
  auto* processingLayout = new QGridLayout(processingGroup_);
  processingLayout->setColumnStretch(0, 1);
  processingLayout->addWidget(uploadLabel_, 0, 0);
  processingLayout->addWidget(upload_, 0, 1);
  processingLayout->addWidget(progress_, 1, 0);
  processingLayout->addWidget(percent_, 1, 1);
  processingLayout->addWidget(clearGroup_, 2, 0, 1, 2);
}

void TrackLogPage::ConnectControls() {
  connect(clear_, &QPushButton::clicked, this, &TrackLogPage::OnClear);
  connect(upload_, &QPushButton::clicked, this, &TrackLogPage::OnUpload);
  connect(overwrite_, &QRadioButton::clicked, this, [this] { settings_.SelectRecordMode(1); });
  connect(fullStop_, &QRadioButton::clicked, this, [this] { settings_.SelectRecordMode(2); });
  connect(second_, &QRadioButton::clicked, this, [this] { settings_.SelectBasis(0); });
  connect(distance_, &QRadioButton::clicked, this, [this] { settings_.SelectBasis(1); });
  connect(seconds_, &QComboBox::currentIndexChanged, this, [this](int i) { settings_.SelectSecondsIndex(i); });
  connect(distances_, &QComboBox::currentIndexChanged, this, [this](int i) { settings_.SelectDistanceIndex(i); });
}

TrackLogPage::~TrackLogPage() {
  // A download waiting for the Transform to File dialog or reading sectors stops at once.
  CancelDownload(true);
  jobs_->Wait();
}

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
  processingGroup_->setTitle(Text(txt::TrackLogProcessing));
  uploadLabel_->setText(Text(txt::UploadLabel));
  upload_->setText(Text(txt::Upload));
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
  // A new connection: the last download's 100% belongs to the one before.
  progress_->setValue(0);
  percent_->clear();
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
  upload_->setEnabled(!busy);
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
  // The erase cannot be undone: ask first (without a logger there is nothing to erase).
  if (ctx_.link.Port().IsOpen() && !AskYesNo(this, ctx_.strings, Text(txt::ClearConfirm), "clearQuestion")) return;
  SetBusyLook(true);
  AppContext& ctx = ctx_;
  StatusReport status = StatusTo(clearStatus_);
  auto outcome = std::make_shared<SettingsOutcome>(SettingsOutcome::Failed);
  jobs_->Start(
      [&ctx, status, outcome] {
        *outcome = ClearLog(ctx.link, ctx.device, status);
        if (*outcome == SettingsOutcome::Done) DropKeptCopy(ctx.link, ctx.device, ctx.keptCopyFolder);
      },
               [this, outcome] {
                 SetBusyLook(locked_);
                 if (*outcome == SettingsOutcome::Done) emit freeRecordsChanged(ctx_.device.Snapshot().freeRecords);
               });
}

}  // namespace kavro::gui

namespace kavro::gui {
namespace {

// The download's words, taken to the window thread.
class PageListener : public DownloadListener {
 public:
  PageListener(QPointer<TrackLogPage> page, QPointer<QProgressBar> bar, QPointer<QLabel> percent,
               QPointer<QLabel> status, std::function<void(const QString&)> addLine, const StringTable& strings)
      : page_(std::move(page)), bar_(std::move(bar)), percent_(std::move(percent)), status_(std::move(status)),
        addLine_(std::move(addLine)), strings_(strings) {}

  void OnProgress(int percent, std::uint64_t, std::uint64_t) override {
    if (percent == lastPercent_) return;
    lastPercent_ = percent;
    Post([bar = bar_, label = percent_, percent] {
      if (bar) bar->setValue(percent);
      if (label) label->setText(QStringLiteral("%1%").arg(percent));
    });
  }
  void OnStatus(int textId, const std::vector<std::string>& args) override {
    std::vector<QString> words;
    for (const std::string& a : args) words.push_back(QString::fromStdString(a));
    Post([status = status_, text = strings_.Format(textId, words)] {
      if (status) status->setText(text);
    });
  }
  void OnFile(const TrackFileReport& r) override {
    Post([add = addLine_, line = FileReportLine(strings_, r)] { add(line); });
  }
  void OnLine(int textId, const std::vector<std::string>& args) override {
    std::vector<QString> words;
    for (const std::string& a : args) words.push_back(QString::fromStdString(a));
    Post([add = addLine_, line = strings_.Format(textId, words)] { add(line); });
  }
  void OnPhotoLine(const std::string& text) override {
    Post([add = addLine_, line = QString::fromStdString(text)] { add(line); });
  }

 private:
  void Post(std::function<void()> fn) {
    if (page_) JobRunner::Post(page_, std::move(fn));
  }
  QPointer<TrackLogPage> page_;
  QPointer<QProgressBar> bar_;
  QPointer<QLabel> percent_;
  QPointer<QLabel> status_;
  std::function<void(const QString&)> addLine_;
  const StringTable& strings_;
  int lastPercent_ = -1;
};

// The answer of the Transform to File dialog, handed from the window thread to the download.
struct ChoiceBox {
  std::mutex mutex;
  std::condition_variable ready;
  bool answered = false;
  std::optional<TransferChoice> choice;
  void Answer(std::optional<TransferChoice> c) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (answered) return;
      answered = true;
      choice = std::move(c);
    }
    ready.notify_all();
  }
};

}  // namespace

void TrackLogPage::OnUpload() {
  if (jobs_->Busy() || locked_) return;
  percent_->setText(QStringLiteral("0%"));
  progress_->setRange(0, 100);
  progress_->setValue(0);
  upload_->setEnabled(false);
  clear_->setEnabled(false);
  SetSettingsEnabled(false);
  clearStatus_->setText(Text(txt::StartUploading));
  downloading_ = true;
  quietCancel_ = false;
  emit downloadRunning(true);

  // A fresh status list for this download; its OK waits for the end. It shows once a folder
  // was chosen, not empty behind the Transform to File dialog.
  if (statusDialog_) statusDialog_->deleteLater();
  statusDialog_ = new TrackLogFileStatusDialog(ctx_, window());
  statusDialog_->setAttribute(Qt::WA_DeleteOnClose);
  statusDialog_->SetOkEnabled(false);

  cancel_ = std::stop_source();
  const std::stop_token stop = cancel_.get_token();
  DownloadSetup setup;
  setup.bridge = bridgeCheck_ ? bridgeCheck_() : false;
  setup.timing = downloadTiming_;
  setup.photoZoneRow = ctx_.photo.timeZoneIndex;
  setup.photoClock = ctx_.photo.clock;
  setup.ignorePhotoZone = ctx_.photo.ignorePhotoZone;
  setup.writeGps = ctx_.photo.writeGps;
  setup.keptFolder = ctx_.keptCopyFolder;
  QPointer<TrackLogPage> self(this);
  setup.choose = [self, stop]() -> std::optional<TransferChoice> {
    if (!self) return std::nullopt;
    return self->AskTransferChoice(stop);
  };
  QPointer<TrackLogFileStatusDialog> statusDialog(statusDialog_);
  auto listener = std::make_shared<PageListener>(
      self, QPointer<QProgressBar>(progress_), QPointer<QLabel>(percent_), QPointer<QLabel>(clearStatus_),
      [statusDialog](const QString& line) {
        // Lines for a status list that was closed are dropped.
        if (statusDialog) statusDialog->AddStatusLine(line);
      },
      ctx_.strings);
  auto result = std::make_shared<DownloadResult>();
  AppContext& ctx = ctx_;
  jobs_->Start(
      [&ctx, setup, listener, result, stop] {
        *result = LogDownload(ctx.link, ctx.device, &ctx.keepAlive, ctx.zone, ctx.strings, setup, *listener, stop);
      },
      [this, result] { DownloadDone(*result); });
}

std::optional<TransferChoice> TrackLogPage::AskTransferChoice(const std::stop_token& stop) {
  auto box = std::make_shared<ChoiceBox>();
  QPointer<TrackLogPage> self(this);
  // Asked here, on the download's thread: it talks to the logger.
  const bool kept = HasKeptCopy(ctx_.link, ctx_.device, ctx_.keptCopyFolder, downloadTiming_);
  JobRunner::Post(this, [self, box, kept] {
    if (!self) return box->Answer(std::nullopt);
    auto* dialog = new TransferDialog(self->ctx_, self->window());
    dialog->SetKeptCopyAvailable(kept);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    self->transferDialog_ = dialog;
    QObject::connect(dialog, &QDialog::finished, dialog, [self, box, dialog](int r) {
      if (r == QDialog::Accepted && self && self->statusDialog_) self->statusDialog_->show();
      box->Answer(r == QDialog::Accepted ? std::optional<TransferChoice>(dialog->Choice()) : std::nullopt);
    });
    QObject::connect(dialog, &QObject::destroyed, [box] { box->Answer(std::nullopt); });
    dialog->show();
  });
  // Waits for the user, but not past a cancel (the window closing).
  std::unique_lock<std::mutex> lock(box->mutex);
  while (!box->answered) {
    if (stop.stop_requested()) return std::nullopt;
    box->ready.wait_for(lock, std::chrono::milliseconds(50));
  }
  return box->choice;
}

void TrackLogPage::CancelDownload(bool quiet) {
  if (!downloading_) return;
  quietCancel_ = quiet;
  cancel_.request_stop();
  if (transferDialog_) transferDialog_->reject();
}

void TrackLogPage::DownloadDone(const DownloadResult& result) {
  downloading_ = false;
  if (transferDialog_) transferDialog_->reject();
  const bool interrupted = result.outcome == DownloadOutcome::Interrupted;
  if (result.cleared) emit freeRecordsChanged(ctx_.device.Snapshot().freeRecords);
  if (result.outcome == DownloadOutcome::Complete) {
    progress_->setValue(100);
    percent_->setText(QStringLiteral("100%"));
  }
  // Everything the download disabled comes back, whatever its end.
  SetBusyLook(locked_);
  if (statusDialog_) statusDialog_->SetOkEnabled(true);
  // Nothing was read: no list of files is left standing, empty.
  const bool nothingRead = result.outcome == DownloadOutcome::Declined || result.outcome == DownloadOutcome::NotConnected;
  if (statusDialog_ && nothingRead && statusDialog_->Lines().isEmpty()) statusDialog_->close();
  emit downloadRunning(false);
  if (result.outcome == DownloadOutcome::Complete) emit trackFilesWritten(result.files);
  if (!interrupted || quietCancel_) return;
  QMessageBox box(QMessageBox::NoIcon, Text(txt::AppTitle), Text(txt::TransmissionInterrupt), QMessageBox::Ok, this);
  box.setObjectName(QStringLiteral("transmissionInterruptMessage"));
  box.button(QMessageBox::Ok)->setText(Text(txt::Ok));
  box.exec();
  emit downloadInterrupted();
}

}  // namespace kavro::gui
