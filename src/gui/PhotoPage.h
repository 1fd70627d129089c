#pragma once
#include <QString>
#include <cstdint>
#include <filesystem>
#include <string>
#include <functional>
#include <memory>
#include <stop_token>

#include "Page.h"
#include "photo/PhotoConversion.h"

class QBoxLayout;
class QGroupBox;
class QProgressBar;
class QTableWidget;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kavro {
class PhotoConversion;
struct PhotoConversionResult;
struct PhotoReport;
}

namespace kavro::gui {

class JobRunner;
class PhotoCombineSettingsDialog;

// The Track Log Photo tab: a .trl file and a folder of JPEG photos become a KML with photo
// balloons and, when asked, geotagged copies. The conversion runs on a worker; its lines reach
// the list as it goes.
class PhotoPage : public Page {
  Q_OBJECT
 public:
  // What would otherwise open a modal window; tests replace them so nothing blocks.
  struct Hooks {
    std::function<QString()> chooseTrl;                          // empty: cancelled
    std::function<QString()> chooseDirectory;                   // empty: cancelled
    std::function<QString()> chooseKml;                         // empty: cancelled
    std::function<void(const QString&)> showStop;               // a stop message box
    std::function<int(PhotoCombineSettingsDialog&)> runSettings;  // QDialog::Accepted or Rejected
  };

  PhotoPage(AppContext& ctx, QWidget* parent);
  ~PhotoPage() override;

  void OnPageCommand(PageCommand command) override;
  void RefreshFromDevice() override;
  bool IsBusy() const override;

  void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }
  void SetTrlPath(const QString& path);
  void SetPhotoDirectory(const QString& path);
  QString PhotoDirectory() const { return photoDir_; }
  QString TrlPath() const { return trlPath_; }
  std::int32_t CalibrationSeconds() const { return static_cast<std::int32_t>(clock_.offsetSeconds); }
  const ClockCorrection& Clock() const { return clock_; }

  QPushButton* ConvertButton() const { return convert_; }
  QPushButton* SettingsButton() const { return settings_; }
  QLabel* StatusLabel() const { return status_; }
  QLabel* SummaryLabel() const { return summary_; }
  QListWidget* ResultList() const { return list_; }
  QPushButton* PreviewButton() const { return preview_; }
  QProgressBar* Progress() const { return progress_; }
  QTableWidget* ReportTable() const { return report_; }

 signals:
  void statusChanged(const QString& text);
  void conversionFinished();

 private:
  void OnBrowseTrl();
  void OnBrowseDirectory();
  void OnSettings();
  void OnConvert();
  void OnPreview();
  bool ReadyToRun();
  void StartRun(const std::filesystem::path& kmlPath, bool dryRun);
  void FinishRun(const PhotoConversionResult& result, const std::string& error, bool dryRun);
  void ShowReport(const PhotoReport& report);
  void AddReportWidgets(QBoxLayout* outer);
  void ShowStop(const QString& text);
  void SetStatus(const QString& text);
  void SetControlsEnabled(bool enabled);

  QGroupBox* group_ = nullptr;
  QLineEdit* trlEdit_ = nullptr;
  QLineEdit* dirEdit_ = nullptr;
  QPushButton* browseTrl_ = nullptr;
  QPushButton* browseDir_ = nullptr;
  QPushButton* settings_ = nullptr;
  QPushButton* convert_ = nullptr;
  QPushButton* preview_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QTableWidget* report_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* summary_ = nullptr;
  QListWidget* list_ = nullptr;
  JobRunner* runner_ = nullptr;

  Hooks hooks_;
  QString trlPath_;
  QString photoDir_;
  ClockCorrection clock_;
  std::unique_ptr<PhotoConversion> conversion_;
  // Set when the page goes away, so a long conversion stops at the next photo.
  std::stop_source cancel_;
};

}  // namespace kavro::gui
