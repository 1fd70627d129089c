#include "MainWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "AboutBox.h"
#include "ConversionPage.h"
#include "DevicePage.h"
#include "FirmwarePage.h"
#include "Images.h"
#include "MapPage.h"
#include "OwnerDrawTabBar.h"
#include "PhotoPage.h"
#include "TrackLogPage.h"
#include "common/Texts.h"

namespace kavro::gui {
namespace {

// QTabWidget takes its tab bar only through a protected setter.
class PageTabWidget : public QTabWidget {
 public:
  PageTabWidget(OwnerDrawTabBar* bar, QWidget* parent) : QTabWidget(parent) { setTabBar(bar); }
};

}  // namespace

MainWindow::MainWindow(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowIcon(Images::AppIcon());
  setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint);
  setSizeGripEnabled(false);

  BuildPageTabs();
  BuildButtons();
  LayOut();
  ConnectButtons();
  ConnectPages();
  ConnectMap();

  Retranslate();
  SetTabEnabled(kTrackLogTab, false);
  ShowPage(kDeviceTab);
  ModelUpdate(DeviceModel::None);
  resize(sizeHint().expandedTo(QSize(660, 560)));
}

void MainWindow::BuildPageTabs() {
  modelPicture_ = new QLabel(this);
  modelPicture_->setObjectName(QStringLiteral("modelPicture"));
  modelPicture_->setAlignment(Qt::AlignCenter);

  tabBar_ = new OwnerDrawTabBar(this);
  tabBar_->setObjectName(QStringLiteral("pageTabBar"));
  tabs_ = new PageTabWidget(tabBar_, this);
  tabs_->setObjectName(QStringLiteral("pageTabs"));

  pages_[kDeviceTab] = new DevicePage(ctx_, nullptr);
  pages_[kTrackLogTab] = new TrackLogPage(ctx_, nullptr);
  pages_[kConversionTab] = new ConversionPage(ctx_, nullptr);
  pages_[kPhotoTab] = new PhotoPage(ctx_, nullptr);
  pages_[kFirmwareTab] = new FirmwarePage(ctx_, nullptr);
  pages_[kMapTab] = new MapPage(ctx_, nullptr);
  for (Page* page : pages_) {
    // Each page sits in a holder, so a tab can show nothing while its page stays put.
    auto* holder = new QWidget;
    auto* lay = new QVBoxLayout(holder);
    lay->setContentsMargins(8, 8, 8, 8);
    lay->addWidget(page);
    tabs_->addTab(holder, QString());
    connect(page, &Page::busyChanged, this, &MainWindow::OnPageBusy);
  }
}

void MainWindow::BuildButtons() {
  ok_ = new QPushButton(this);
  ok_->setObjectName(QStringLiteral("okButton"));
  ok_->setDefault(false);
  ok_->setAutoDefault(false);
  cancel_ = new QPushButton(this);
  cancel_->setObjectName(QStringLiteral("cancelButton"));
  cancel_->setAutoDefault(false);
  applyAll_ = new QPushButton(this);
  applyAll_->setObjectName(QStringLiteral("applyAllButton"));
  applyAll_->setAutoDefault(false);
  defaultAll_ = new QPushButton(this);
  defaultAll_->setObjectName(QStringLiteral("defaultAllButton"));
  defaultAll_->setAutoDefault(false);
  about_ = new QPushButton(this);
  about_->setObjectName(QStringLiteral("aboutButton"));
  about_->setAutoDefault(false);
  about_->setFlat(true);
  logo_ = new QLabel(this);
  logo_->setObjectName(QStringLiteral("logo"));
  logo_->setPixmap(Images::Logo());
}

void MainWindow::LayOut() {
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(logo_);
  buttons->addWidget(about_);
  buttons->addStretch(1);
  for (QPushButton* b : {ok_, cancel_, applyAll_, defaultAll_}) {
    b->setMinimumWidth(96);
    buttons->addWidget(b);
  }
  auto* root = new QVBoxLayout(this);
  root->addWidget(modelPicture_);
  root->addWidget(tabs_, 1);
  root->addLayout(buttons);
}

void MainWindow::ConnectButtons() {
  connect(ok_, &QPushButton::clicked, this, &MainWindow::accept);
  connect(cancel_, &QPushButton::clicked, this, &MainWindow::reject);
  connect(applyAll_, &QPushButton::clicked, this, &MainWindow::ApplyAll);
  connect(defaultAll_, &QPushButton::clicked, this, &MainWindow::DefaultAll);
  connect(about_, &QPushButton::clicked, this, &MainWindow::ShowAbout);
  connect(tabBar_, &QTabBar::currentChanged, this, &MainWindow::OnTabChanged);
}

// What one page's events mean for the tabs and the other pages.
void MainWindow::ConnectPages() {
  DevicePage* device = Device();
  connect(device, &DevicePage::connected, this, [this] {
    ModelUpdate(DeviceModel::T580);
    for (int tab : {kTrackLogTab, kConversionTab, kPhotoTab}) PageAt(tab)->RefreshFromDevice();
  });
  connect(device, &DevicePage::disconnected, this, [this] {
    SetTabEnabled(kTrackLogTab, false);
    SetTabEnabled(kFirmwareTab, true);
    ModelUpdate(DeviceModel::None);
  });
  connect(TrackLog(), &TrackLogPage::freeRecordsChanged, device, &DevicePage::ShowFreeRecords);
  // The firmware update opens the selected port by itself; the simulated logger's entry
  // stands for the pseudo-terminal the Device page runs it on.
  Firmware()->SetPortResolver([device](const std::string& name) { return device->DevicePathFor(name); });
  Firmware()->SetPortNamer([device](const std::string& name) { return device->PortLabel(name); });
  TrackLog()->SetBridgeCheck([this] { return Device()->ConnectedIsBridge(); });
  // While a download runs only its own tab stays reachable.
  connect(TrackLog(), &TrackLogPage::downloadRunning, this, [this](bool running) {
    for (int tab : {kDeviceTab, kConversionTab, kPhotoTab}) SetTabEnabled(tab, !running);
    if (running) SetTabEnabled(kFirmwareTab, false);
  });
  connect(
      TrackLog(), &TrackLogPage::downloadInterrupted, this,
      [this] {
        Device()->DisconnectNow();
        ShowPage(kDeviceTab);
      },
      Qt::QueuedConnection);

}

// The map shows what the last download, conversion or photo run worked on, and its times in
// the conversion page's zone.
void MainWindow::ConnectMap() {
  MapPage* map = Map();
  auto* conversion = static_cast<ConversionPage*>(pages_[kConversionTab]);
  map->SetZoneSource([conversion] {
    const ZoneChoice& zone = conversion->Zone();
    return ZoneClock::Fixed(TimeZoneTable()[static_cast<std::size_t>(zone.row)].OffsetMinutes());
  });
  connect(TrackLog(), &TrackLogPage::trackFilesWritten, map,
          [map](const TrackFilesResult& files) { map->ShowFiles(map::FilesToShow(files)); });
  connect(conversion, &ConversionPage::converted, map,
          [map](const QString& source) { map->ShowFiles({source.toStdString()}); });
  auto* photo = static_cast<PhotoPage*>(pages_[kPhotoTab]);
  connect(photo, &PhotoPage::conversionFinished, map, [this, map, photo] {
    if (map->ShowFiles({photo->TrlPath().toStdString()}).isEmpty()) map->ShowPhotoReport(ctx_.photo.lastReport);
  });
}

MainWindow::~MainWindow() {
  // The pages outlive this part of the window while they are torn down: a job that ends
  // then must not call back into it.
  for (Page* page : pages_) page->disconnect(this);
}

void MainWindow::Retranslate() {
  setWindowTitle(ctx_.strings.Text(txt::AppTitle));
  ok_->setText(ctx_.strings.Text(txt::Ok));
  cancel_->setText(ctx_.strings.Text(txt::Cancel));
  applyAll_->setText(ctx_.strings.Text(txt::ApplyAll));
  defaultAll_->setText(ctx_.strings.Text(txt::DefaultAll));
  about_->setText(ctx_.strings.Text(txt::AboutMenu));
  tabBar_->setTabText(kDeviceTab, ctx_.strings.Text(txt::TabDevice));
  tabBar_->setTabText(kTrackLogTab, ctx_.strings.Text(txt::TabTrackLogSetting));
  tabBar_->setTabText(kConversionTab, ctx_.strings.Text(txt::TabTrackLogFormat));
  tabBar_->setTabText(kPhotoTab, ctx_.strings.Text(txt::TabTrackLogPhoto));
  tabBar_->setTabText(kFirmwareTab, ctx_.strings.Text(txt::TabFirmware));
  tabBar_->setTabText(kMapTab, ctx_.strings.Text(txt::TabMap));
}

DevicePage* MainWindow::Device() const { return static_cast<DevicePage*>(pages_[kDeviceTab]); }
TrackLogPage* MainWindow::TrackLog() const { return static_cast<TrackLogPage*>(pages_[kTrackLogTab]); }
FirmwarePage* MainWindow::Firmware() const { return static_cast<FirmwarePage*>(pages_[kFirmwareTab]); }
MapPage* MainWindow::Map() const { return static_cast<MapPage*>(pages_[kMapTab]); }

Page* MainWindow::VisiblePage() const {
  Page* page = pages_[static_cast<std::size_t>(tabBar_->currentIndex())];
  return page->isVisibleTo(tabs_->currentWidget()) && page->isEnabled() ? page : nullptr;
}

bool MainWindow::SetTabEnabled(int position, bool enabled) { return tabBar_->SetTabEnabled(position, enabled); }

void MainWindow::ShowPage(int position) {
  tabBar_->SelectTab(position);
  OnTabChanged(tabBar_->currentIndex());
}

void MainWindow::OnTabChanged(int position) {
  for (int i = 0; i < kTabCount; ++i) {
    if (i == position) continue;
    pages_[static_cast<std::size_t>(i)]->setEnabled(false);
    pages_[static_cast<std::size_t>(i)]->hide();
  }
  if (position < 0 || position >= kTabCount) return;
  Page* page = pages_[static_cast<std::size_t>(position)];
  if (position == kTrackLogTab && !trackLogShowable_) {
    page->hide();
    return;
  }
  page->setEnabled(true);
  page->show();
  page->update();
}

void MainWindow::ApplyAll() {
  for (Page* page : pages_) page->OnPageCommand(PageCommand::Apply);
}

void MainWindow::DefaultAll() {
  for (Page* page : pages_) page->OnPageCommand(PageCommand::Default);
}

void MainWindow::ModelUpdate(DeviceModel model) {
  // Only the T-580 has a picture of its own; the older models never connect.
  shownModel_ = model == DeviceModel::T580 ? DeviceModel::T580 : DeviceModel::None;
  logo_->setPixmap(Images::Logo());
  modelPicture_->setPixmap(Images::ModelPicture(shownModel_));
  if (model == DeviceModel::T580) {
    SetTabEnabled(kTrackLogTab, true);
    SetTabEnabled(kFirmwareTab, false);
    trackLogShowable_ = true;
    ShowPage(kDeviceTab);
  }
}

void MainWindow::ShowAbout() {
  AboutBox box(ctx_, this);
  box.exec();
}

void MainWindow::SetButtonsEnabled(bool enabled) {
  for (QPushButton* b : {ok_, cancel_, applyAll_, defaultAll_}) b->setEnabled(enabled);
}

bool MainWindow::AnyPageBusy() const {
  for (Page* page : pages_)
    if (page->IsBusy()) return true;
  return false;
}

void MainWindow::OnPageBusy() {
  const bool busy = AnyPageBusy();
  // One job on the logger at a time: the other pages wait for it.
  Device()->SetLocked(busy && !Device()->IsBusy());
  TrackLog()->SetLocked(busy && !TrackLog()->IsBusy());
  SetButtonsEnabled(!busy && pending_ == Ending::None);
  // While the firmware is written or the log downloaded nothing else may start: the other
  // working tabs wait.
  const bool holdTabs = Firmware()->IsBusy() || TrackLog()->Downloading();
  for (int tab : {kDeviceTab, kConversionTab, kPhotoTab}) SetTabEnabled(tab, !holdTabs);
  // A logger that went away during a job is let go once the job has ended.
  if (!busy && pending_ == Ending::None) Device()->OnLinkLost();
  if (!busy && pending_ != Ending::None) {
    const Ending ending = pending_;
    pending_ = Ending::None;
    Finish(ending);
  }
}

void MainWindow::Finish(Ending ending) {
  if (closing_) return;
  if (AnyPageBusy()) {
    // Let the running job end first; every job's waits are bounded.
    pending_ = ending;
    SetButtonsEnabled(false);
    return;
  }
  closing_ = true;
  Device()->CloseForExit(ending == Ending::Close);
  QDialog::done(ending == Ending::Ok ? QDialog::Accepted : QDialog::Rejected);
}

void MainWindow::accept() {
  if (closing_ || pending_ != Ending::None) return;
  ApplyAll();
  Finish(Ending::Ok);
}

void MainWindow::reject() {
  // Escape ends neither a firmware update nor a download: their Cancel buttons are disabled meanwhile.
  if (closing_ || pending_ != Ending::None || Firmware()->IsBusy() || TrackLog()->Downloading()) return;
  Finish(Ending::Cancel);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  event->ignore();
  if (Firmware()->IsBusy() || pending_ != Ending::None) return;
  // A running download is cancelled; the exit sequence then finds the logger at its speed.
  TrackLog()->CancelDownload(true);
  Finish(Ending::Close);
}

}  // namespace kavro::gui
