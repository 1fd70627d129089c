#pragma once
#include <QPointer>
#include <functional>
#include <memory>
#include <stop_token>

#include "JobRunner.h"
#include "Page.h"
#include "TrackLogFileStatusDialog.h"
#include "TransferDialog.h"
#include "download/LogDownload.h"
#include "protocol/TrackLogSettings.h"

class QButtonGroup;
class QProgressBar;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kavro::gui {

// The "Track Log Setting" tab: how the logger records (style, basis, intervals) and Clear.
class TrackLogPage : public Page {
  Q_OBJECT
 public:
  TrackLogPage(AppContext& ctx, QWidget* parent);
  ~TrackLogPage() override;

  void OnPageCommand(PageCommand command) override;
  void RefreshFromDevice() override;
  bool IsBusy() const override { return jobs_->Busy(); }
  void WaitForIdle() { jobs_->Wait(); }
  const TrackLogSettings& Settings() const { return settings_; }

  // -- download (Track Log Processing) --
  // Whether the open port is a USB bridge, so the download may run at 921600 baud.
  void SetBridgeCheck(std::function<bool()> check) { bridgeCheck_ = std::move(check); }
  bool Downloading() const { return downloading_; }
  // Stops a running download (it ends as interrupted). quiet: the window is closing, so no
  // message and no disconnect follow.
  void CancelDownload(bool quiet);
  // The open Track Log File Status dialog and Transform to File dialog, if any.
  TrackLogFileStatusDialog* StatusDialog() const { return statusDialog_; }
  TransferDialog* OpenTransferDialog() const { return transferDialog_; }
  // The pace of the download (tests shorten its pauses).
  void SetDownloadTiming(const DownloadTiming& timing) { downloadTiming_ = timing; }

 public slots:
  void OnClear();
  void OnUpload();
  // Another page works on the logger: Clear and the settings wait for it.
  void SetLocked(bool locked);

 signals:
  // After Clear: the free record count the logger now reports.
  void freeRecordsChanged(qint64 freeRecords);
  // A download began or ended: the window disables and enables its other tabs.
  void downloadRunning(bool running);
  // A download ended as interrupted: the window lets the logger go.
  void downloadInterrupted();
  // A complete download wrote these track log files (the map shows them).
  void trackFilesWritten(const kavro::TrackFilesResult& files);

 private:
  void BuildSettingsGroup();
  void BuildClearGroup();
  void BuildProcessingGroup();
  void ConnectControls();
  void Retranslate();
  void ShowSettings();
  void SetSettingsEnabled(bool enabled);
  void ApplySettings();
  void SetBusyLook(bool busy);
  // Statuses from the worker, shown on the given line.
  StatusReport StatusTo(QLabel* line);

  QGroupBox* settingsGroup_ = nullptr;
  QGroupBox* styleGroup_ = nullptr;
  QRadioButton* overwrite_ = nullptr;
  QRadioButton* fullStop_ = nullptr;
  QRadioButton* second_ = nullptr;
  QRadioButton* distance_ = nullptr;
  QComboBox* seconds_ = nullptr;
  QComboBox* distances_ = nullptr;
  QLabel* secUnit_ = nullptr;
  QLabel* distUnit_ = nullptr;
  QLabel* settingStatus_ = nullptr;
  QGroupBox* clearGroup_ = nullptr;
  QLabel* clearLabel_ = nullptr;
  QPushButton* clear_ = nullptr;
  QLabel* clearStatus_ = nullptr;
  JobRunner* jobs_ = nullptr;
  TrackLogSettings settings_;
  bool locked_ = false;

  // -- download --
  std::optional<TransferChoice> AskTransferChoice(const std::stop_token& stop);
  void DownloadDone(const DownloadResult& result);
  QGroupBox* processingGroup_ = nullptr;
  QLabel* uploadLabel_ = nullptr;
  QPushButton* upload_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* percent_ = nullptr;
  QPointer<TrackLogFileStatusDialog> statusDialog_;
  QPointer<TransferDialog> transferDialog_;
  std::stop_source cancel_;
  std::function<bool()> bridgeCheck_;
  DownloadTiming downloadTiming_;
  bool downloading_ = false;
  bool quietCancel_ = false;
};

}  // namespace kavro::gui
