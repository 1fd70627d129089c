#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>

#include "Page.h"
#include "photo/PhotoConversion.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kavro {
class PhotoConversion;
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
  // One row per photo of the last conversion (the map shows the located ones).
  const PhotoReport& LastReport() const { return lastReport_; }
  std::int32_t CalibrationSeconds() const { return calibrationSeconds_; }

  QPushButton* ConvertButton() const { return convert_; }
  QPushButton* SettingsButton() const { return settings_; }
  QLabel* StatusLabel() const { return status_; }
  QLabel* SummaryLabel() const { return summary_; }
  QListWidget* ResultList() const { return list_; }

 signals:
  void statusChanged(const QString& text);
  void conversionFinished();

 private:
  void OnBrowseTrl();
  void OnBrowseDirectory();
  void OnSettings();
  void OnConvert();
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
  QLabel* status_ = nullptr;
  QLabel* summary_ = nullptr;
  QListWidget* list_ = nullptr;
  JobRunner* runner_ = nullptr;

  Hooks hooks_;
  QString trlPath_;
  PhotoReport lastReport_;
  QString photoDir_;
  std::int32_t calibrationSeconds_ = 0;
  std::unique_ptr<PhotoConversion> conversion_;
  // Set when the page goes away, so a long conversion stops at the next photo.
  std::stop_source cancel_;
};

}  // namespace kavro::gui
