#pragma once
#include "JobRunner.h"
#include "Page.h"
#include "protocol/TrackLogSettings.h"

class QButtonGroup;
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

 public slots:
  void OnClear();
  // Another page works on the logger: Clear and the settings wait for it.
  void SetLocked(bool locked);

 signals:
  // After Clear: the free record count the logger now reports.
  void freeRecordsChanged(qint64 freeRecords);

 private:
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
};

}  // namespace kavro::gui
