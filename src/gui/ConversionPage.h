#pragma once
#include <vector>

#include "Page.h"
#include "track/TimeZoneTable.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kavro::gui {

class JobRunner;

// The Track Log Format tab: converts one .trl file into the checked formats (one check box per
// row of OutputFormats) beside it, local times in a zone of the table. The conversion runs on a worker; the page's controls stay
// disabled until it has ended.
class ConversionPage : public Page {
  Q_OBJECT
 public:
  ConversionPage(AppContext& ctx, QWidget* parent);
  ~ConversionPage() override;

  void OnPageCommand(PageCommand command) override;
  void RefreshFromDevice() override;
  bool IsBusy() const override;

  // The source as the "..." button sets it.
  void SetSourcePath(const QString& path);
  const ZoneChoice& Zone() const { return zone_; }

 signals:
  // The status line changed (tests and the window may follow it).
  void statusChanged(const QString& text);
  // A conversion of this source ended well (the map shows it).
  void converted(const QString& source);

 private:
  void OnBrowseSource();
  void OnZoneSelected(int index);
  void OnConvert();
  void SelectDefaultZoneFromDevice();
  void CheckDefaultFormats();
  void SetStatus(const QString& text);
  void SetControlsEnabled(bool enabled);
  void ShowStop(const QString& text);

  QGroupBox* group_ = nullptr;
  QLabel* sourceLabel_ = nullptr;
  QLineEdit* sourceEdit_ = nullptr;
  QPushButton* browse_ = nullptr;
  QLabel* zoneLabel_ = nullptr;
  QComboBox* zoneCombo_ = nullptr;
  QLabel* formatLabel_ = nullptr;
  std::vector<QCheckBox*> formats_;  // one per row of OutputFormats(), in its order
  QPushButton* convert_ = nullptr;
  QLabel* status_ = nullptr;
  JobRunner* runner_ = nullptr;

  QString source_;
  ZoneChoice zone_;
};

}  // namespace kavro::gui
