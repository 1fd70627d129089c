#pragma once
#include <QDialog>
#include <array>

#include "AppContext.h"
#include "Page.h"

class QLabel;
class QPushButton;
class QTabWidget;

namespace kavro::gui {

class OwnerDrawTabBar;
class DevicePage;
class TrackLogPage;
class FirmwarePage;
class MapPage;

// The application's one window: model picture, the page tabs (the five of the logger and the map), OK, Cancel, Apply All,
// Default All. Runs the page commands and leaves the logger in a sane state when it closes.
class MainWindow : public QDialog {
  Q_OBJECT
 public:
  enum Tab {
    kDeviceTab = 0,
    kTrackLogTab = 1,
    kConversionTab = 2,
    kPhotoTab = 3,
    kFirmwareTab = 4,
    kMapTab = 5,  // never disabled: it does not use the logger
    kTabCount = 6
  };

  explicit MainWindow(AppContext& ctx, QWidget* parent = nullptr);
  ~MainWindow() override;

  OwnerDrawTabBar* TabBar() const { return tabBar_; }
  Page* PageAt(int position) const { return pages_[static_cast<std::size_t>(position)]; }
  DevicePage* Device() const;
  TrackLogPage* TrackLog() const;
  FirmwarePage* Firmware() const;
  MapPage* Map() const;
  // The model shown in the picture above the tabs (0 none, 3 T-580).
  DeviceModel ShownModel() const { return shownModel_; }
  // The page widget on show in the tab area, or nullptr when nothing is shown.
  Page* VisiblePage() const;

  bool SetTabEnabled(int position, bool enabled);
  void ShowPage(int position);
  void ApplyAll();
  void DefaultAll();
  // After connect (model 3) and disconnect (model 0).
  void ModelUpdate(DeviceModel model);
  void ShowAbout();

 protected:
  void closeEvent(QCloseEvent* event) override;

 public slots:
  void accept() override;  // OK
  void reject() override;  // Cancel and Escape

 private:
  enum class Ending { None, Ok, Cancel, Close };
  void BuildPageTabs();
  void BuildButtons();
  void LayOut();
  void ConnectButtons();
  void ConnectPages();
  void ConnectMap();
  void OnTabChanged(int position);
  void OnPageBusy();
  void SetButtonsEnabled(bool enabled);
  bool AnyPageBusy() const;
  // Runs the ending once no page works any more.
  void Finish(Ending ending);
  void Retranslate();

  AppContext& ctx_;
  OwnerDrawTabBar* tabBar_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  std::array<Page*, kTabCount> pages_{};
  QLabel* modelPicture_ = nullptr;
  QLabel* logo_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* applyAll_ = nullptr;
  QPushButton* defaultAll_ = nullptr;
  QPushButton* about_ = nullptr;
  DeviceModel shownModel_ = DeviceModel::None;
  bool trackLogShowable_ = false;
  Ending pending_ = Ending::None;
  bool closing_ = false;
};

}  // namespace kavro::gui
