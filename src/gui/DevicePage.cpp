#include "DevicePage.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QPointer>
#include <memory>

#include "Images.h"
#include "SimulatedPort.h"
#include "common/Texts.h"
#include "protocol/ConnectFlow.h"
#include "protocol/Disconnect.h"
#include "protocol/WriteName.h"
#include "serial/PortOpenText.h"
#include "serial/SerialPort.h"

namespace kavro::gui {
namespace {

QLineEdit* ReadOnlyField(QWidget* parent, const char* name) {
  auto* e = new QLineEdit(parent);
  e->setReadOnly(true);
  e->setObjectName(QString::fromLatin1(name));
  e->setFocusPolicy(Qt::ClickFocus);
  return e;
}

}  // namespace

DevicePage::DevicePage(AppContext& ctx, QWidget* parent) : Page(ctx, parent) {
  setObjectName(QStringLiteral("devicePage"));
  jobs_ = new JobRunner(this);
  connect(jobs_, &JobRunner::busyChanged, this, &Page::busyChanged);

  BuildPortGroup();
  QHBoxLayout* statusRow = BuildStatusRow();
  BuildInfoGroup();

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  root->addWidget(portGroup_);
  root->addLayout(statusRow);
  root->addWidget(infoGroup_);
  root->addStretch(1);

  ConnectControls();
  WatchKeepAlive();

  Retranslate();
  statusPicture_->setPixmap(Images::StatusPicture(false));
  BuildPortList();
  choice_ = FillPortChoice(ports_);
  SelectPortChoice();
  StorePortSelection();
}

void DevicePage::BuildPortGroup() {
  portGroup_ = new QGroupBox(this);
  port_ = new QComboBox(portGroup_);
  port_->setObjectName(QStringLiteral("portList"));
  port_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  port_->setMinimumWidth(260);
  baud_ = new QComboBox(portGroup_);
  baud_->setObjectName(QStringLiteral("baudList"));
  for (int b : SerialPort::kBaudList) baud_->addItem(QString::number(b));
  autoDetect_ = new QPushButton(portGroup_);
  autoDetect_->setObjectName(QStringLiteral("autoDetectButton"));
  connect_ = new QPushButton(portGroup_);
  connect_->setObjectName(QStringLiteral("connectButton"));
  connect_->setMinimumWidth(110);
  auto* portRow = new QHBoxLayout(portGroup_);
  portRow->addWidget(port_, 1);
  portRow->addWidget(baud_);
  portRow->addWidget(autoDetect_);
  portRow->addSpacing(12);
  portRow->addWidget(connect_);
}

QHBoxLayout* DevicePage::BuildStatusRow() {
  statusLabel_ = new QLabel(this);
  statusPicture_ = new QLabel(this);
  statusPicture_->setObjectName(QStringLiteral("statusPicture"));
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("connectStatus"));
  status_->setWordWrap(true);
  status_->setFrameShape(QFrame::StyledPanel);
  status_->setFrameShadow(QFrame::Sunken);
  status_->setMinimumHeight(status_->fontMetrics().height() * 2 + 8);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* statusRow = new QHBoxLayout;
  statusRow->addWidget(statusLabel_);
  statusRow->addWidget(statusPicture_);
  statusRow->addWidget(status_, 1);
  return statusRow;
}

void DevicePage::BuildInfoGroup() {
  infoGroup_ = new QGroupBox(this);
  typeLabel_ = new QLabel(infoGroup_);
  type_ = ReadOnlyField(infoGroup_, "deviceType");
  versionLabel_ = new QLabel(infoGroup_);
  version_ = ReadOnlyField(infoGroup_, "versionField");
  memoryLabel_ = new QLabel(infoGroup_);
  memory_ = ReadOnlyField(infoGroup_, "memoryField");
  userLabel_ = new QLabel(infoGroup_);
  userName_ = new QLineEdit(infoGroup_);
  userName_->setObjectName(QStringLiteral("userName"));
  userName_->setMaxLength(16);
  writeName_ = new QPushButton(infoGroup_);
  writeName_->setObjectName(QStringLiteral("writeNameButton"));
  auto* grid = new QGridLayout(infoGroup_);
  grid->setColumnStretch(1, 1);
  grid->addWidget(typeLabel_, 0, 0);
  grid->addWidget(type_, 0, 1);
  grid->addWidget(versionLabel_, 1, 0);
  grid->addWidget(version_, 1, 1);
  grid->addWidget(memoryLabel_, 2, 0);
  grid->addWidget(memory_, 2, 1);
  grid->addWidget(userLabel_, 3, 0);
  grid->addWidget(userName_, 3, 1);
  grid->addWidget(writeName_, 3, 2);
}

void DevicePage::ConnectControls() {
  connect(connect_, &QPushButton::clicked, this, &DevicePage::OnConnectClicked);
  connect(autoDetect_, &QPushButton::clicked, this, &DevicePage::OnAutoDetect);
  connect(writeName_, &QPushButton::clicked, this, &DevicePage::OnWriteName);
  connect(port_, &QComboBox::activated, this, &DevicePage::OnPortActivated);
  connect(baud_, &QComboBox::activated, this, [this](int index) { choice_.baudIndex = index; });
}

void DevicePage::WatchKeepAlive() {
  // The keep-alive finds a pulled cable first; its handler runs on the sender thread.
  QPointer<DevicePage> self(this);
  // The pointer is only looked at on the window thread: the page may be going away meanwhile.
  ctx_.keepAlive.SetLostHandler([self] {
    QMetaObject::invokeMethod(
        qApp, [self] { if (self) self->OnLinkLost(); }, Qt::QueuedConnection);
  });
}

DevicePage::~DevicePage() {
  jobs_->Wait();
  ctx_.keepAlive.SetLostHandler(nullptr);
}

void DevicePage::Retranslate() {
  portGroup_->setTitle(Text(txt::ComPort));
  autoDetect_->setText(Text(txt::AutoDetect));
  connect_->setText(Text(connected_ ? txt::Disconnect : txt::Connect));
  statusLabel_->setText(Text(txt::ConnectStatus));
  status_->setText(Text(txt::ConnectStatusMessage));
  infoGroup_->setTitle(Text(txt::DeviceInformation));
  typeLabel_->setText(Text(txt::DeviceType));
  versionLabel_->setText(Text(txt::VersionLabel));
  memoryLabel_->setText(Text(txt::MemoryUsage));
  userLabel_->setText(Text(txt::UserName));
  writeName_->setText(Text(txt::WriteName));
}

void DevicePage::BuildPortList() {
  std::vector<PortInfo> virtualPorts = extraPorts_;
  // The simulator starts when its entry is connected.
  virtualPorts.push_back(
      sim::SimulatedPort::Entry(sim::SimulatedPort::PortName(), Text(txt::SimulatedLogger).toStdString()));
  ports_ = EnumeratePorts(virtualPorts);
  port_->clear();
  for (const PortInfo& p : ports_) {
    const QString shown = QString::fromStdString(p.simulated ? p.description : p.friendlyName);
    port_->addItem(shown, QString::fromStdString(p.devicePath));
  }
}

void DevicePage::SelectPortChoice() {
  const int index = port_->findData(QString::fromStdString(choice_.selectedPort));
  port_->setCurrentIndex(index);
  baud_->setCurrentIndex(choice_.baudIndex);
}

void DevicePage::SetExtraPorts(std::vector<PortInfo> ports) {
  extraPorts_ = std::move(ports);
  BuildPortList();
  choice_ = FillPortChoice(ports_);
  SelectPortChoice();
  StorePortSelection();
}

std::vector<std::string> DevicePage::ListedPorts() const {
  std::vector<std::string> paths;
  for (int i = 0; i < port_->count(); ++i) paths.push_back(port_->itemData(i).toString().toStdString());
  return paths;
}

std::string DevicePage::SelectedPort() const { return choice_.selectedPort; }

QString DevicePage::PortLabel(const std::string& devicePath) const {
  const int index = port_->findData(QString::fromStdString(devicePath));
  return index >= 0 ? port_->itemText(index) : QString::fromStdString(devicePath);
}

bool DevicePage::SelectedIsBridge() const { return IsBridgePort(ports_, choice_.selectedPort); }

void DevicePage::DisconnectNow() {
  if (!connected_ || jobs_->Busy()) return;
  StartDisconnect();
}

bool DevicePage::SelectPort(const std::string& devicePath) {
  const int index = port_->findData(QString::fromStdString(devicePath));
  if (index < 0) return false;
  port_->setCurrentIndex(index);
  OnPortActivated(index);
  return true;
}

void DevicePage::OnPortActivated(int index) {
  if (index < 0) return;
  choice_.selectedPort = port_->itemData(index).toString().toStdString();
  StorePortSelection();
}

// The firmware update opens the port by itself and reads the choice from the link.
void DevicePage::StorePortSelection() {
  ctx_.link.SetPortSelection(PortSelection{choice_.selectedPort, SerialPort::BaudForIndex(choice_.baudIndex), 0});
}

void DevicePage::OnAutoDetect() {
  BuildPortList();
  AutoDetect(choice_, ports_);
  SelectPortChoice();
  StorePortSelection();
  // Finding nothing must not look like doing nothing.
  if (!choice_.detected) SetStatus(txt::AutoDetectNothing);
}

void DevicePage::OnPageCommand(PageCommand command) {
  // While connected too: the open port keeps running, the choice counts from the next Connect.
  if (command != PageCommand::Default) return;
  DefaultPortChoice(choice_, ports_);
  SelectPortChoice();
}

void DevicePage::SetStatus(int textId) { status_->setText(Text(textId)); }
void DevicePage::SetStatusText(const QString& text) { status_->setText(text); }

void DevicePage::SetControlsEnabled(bool enabled) {
  connect_->setEnabled(enabled);
  writeName_->setEnabled(enabled);
  // A choice made while connected takes effect at the next Connect.
  port_->setEnabled(enabled);
  baud_->setEnabled(enabled);
  autoDetect_->setEnabled(enabled);
}

void DevicePage::ShowConnected(bool isConnected) {
  connected_ = isConnected;
  connect_->setText(Text(isConnected ? txt::Disconnect : txt::Connect));
  if (!isConnected) statusPicture_->setPixmap(Images::StatusPicture(false));
}

void DevicePage::ShowFreeRecords(qint64 freeRecords) {
  memory_->setText(freeRecords <= 1 ? QStringLiteral("0") : QString::number(freeRecords));
}

std::string DevicePage::DevicePathFor(const std::string& portName, QString* error) {
  std::string why;
  const std::string path = simulatedPort_.DevicePath(portName, &why);
  if (path.empty() && error) *error = QString::fromStdString(why);
  return path;
}

void DevicePage::ShowStop(int textId) {
  QMessageBox box(QMessageBox::Critical, Text(txt::AppTitle), Text(textId), QMessageBox::Ok, this);
  box.button(QMessageBox::Ok)->setText(Text(txt::Ok));
  box.exec();
}

StatusReport DevicePage::StatusToPage() {
  QPointer<DevicePage> self(this);
  return [self](int id) {
    if (self) JobRunner::Post(self, [self, id] { if (self) self->SetStatus(id); });
  };
}

void DevicePage::ShowDeviceFields() {
  const DeviceInfo info = ctx_.device.Snapshot();
  const std::string model = ModelName(info.model);
  type_->setText(model.empty() ? Text(txt::NoDeviceAvailable) : QString::fromStdString(model));
  version_->setText(QString::fromStdString(info.versionText));
  memory_->setText(QString::fromStdString(info.memoryText));
  userName_->setText(QString::fromStdString(info.userName));
}

void DevicePage::ClearDeviceFields(bool userNameToo) {
  type_->clear();
  version_->clear();
  memory_->clear();
  if (userNameToo) userName_->clear();
}

void DevicePage::OnConnectClicked() {
  if (jobs_->Busy() || locked_) return;
  SetControlsEnabled(false);
  if (!connected_) {
    QString why;
    const std::string path = DevicePathFor(choice_.selectedPort, &why);
    if (path.empty()) {
      SetStatusText(Text(txt::ConnectFailed) + QLatin1Char('\n') + why);
      SetControlsEnabled(true);
      return;
    }
    const int baud = SerialPort::BaudForIndex(choice_.baudIndex);
    // The lists stay usable while connected, so remember what this connection runs through.
    connectedIsBridge_ = SelectedIsBridge();
    auto result = std::make_shared<ConnectResult>();
    StatusReport status = StatusToPage();
    Link& link = ctx_.link;
    DeviceState& device = ctx_.device;
    jobs_->Start([&link, &device, path, baud, status, result] { *result = Connect(link, device, path, baud, status); },
                 [this, result, path] { ConnectDone(*result, path); });
    return;
  }
  StartDisconnect();
}

void DevicePage::ConnectDone(const ConnectResult& result, const std::string& path) {
  ShowConnected(result.portHeld);
  switch (result.outcome) {
    case ConnectOutcome::Connected:
      statusPicture_->setPixmap(Images::StatusPicture(true));
      ShowDeviceFields();
      break;
    case ConnectOutcome::TimedOut:
      ClearDeviceFields(false);
      // Most often the wrong port: say where it listened and what to try.
      if (result.noAnswer)
        SetStatusText(Text(txt::TimeoutDisconnected) + QLatin1Char('\n') +
                      ctx_.strings.Format(txt::NoAnswerOnPort, {PortLabel(choice_.selectedPort)}));
      break;
    case ConnectOutcome::Failed:
      version_->clear();
      if (result.openError != OpenError::None) {
        // Why the port would not open: without it the user cannot tell busy from missing.
        SetStatusText(Text(txt::ConnectFailed) + QLatin1Char('\n') +
                      ctx_.strings.Format(PortOpenText(result.openError, path, result.openErrorText)));
      }
      break;
  }
  // The keep-alive runs from the end of every connect attempt; it sends only within a session.
  ctx_.keepAlive.SetEnabled(true);
  SetControlsEnabled(true);
  if (result.outcome == ConnectOutcome::Connected) emit connected();
}

void DevicePage::StartDisconnect() {
  SetControlsEnabled(false);
  auto closed = std::make_shared<bool>(false);
  StatusReport status = StatusToPage();
  AppContext& ctx = ctx_;
  jobs_->Start([&ctx, status, closed] {
    *closed = Disconnect(ctx.link, ctx.device, [&ctx] { ctx.keepAlive.SetEnabled(false); }, status);
  },
               [this, closed] {
                 if (*closed) {
                   ShowConnected(false);
                   ClearDeviceFields(true);
                 }
                 SetControlsEnabled(true);
                 if (*closed) emit disconnected();
               });
}

void DevicePage::OnLinkLost() {
  // The logger went away: end the connection as a Disconnect click would.
  if (!connected_ || jobs_->Busy() || !ctx_.link.LinkLost()) return;
  StartDisconnect();
}

void DevicePage::SetLocked(bool locked) {
  locked_ = locked;
  if (!jobs_->Busy()) SetControlsEnabled(!locked);
}

void DevicePage::OnWriteName() {
  if (jobs_->Busy() || locked_) return;
  SetControlsEnabled(false);
  const std::string name = userName_->text().toStdString();
  auto outcome = std::make_shared<WriteNameOutcome>(WriteNameOutcome::NotConnected);
  AppContext& ctx = ctx_;
  jobs_->Start([&ctx, name, outcome] { *outcome = WriteName(ctx.link, ctx.device, name); },
               [this, outcome] {
                 SetControlsEnabled(true);
                 switch (*outcome) {
                   case WriteNameOutcome::NotAscii: ShowStop(txt::UserNameNotAscii); break;
                   case WriteNameOutcome::Forbidden: ShowStop(txt::UserNameForbidden); break;
                   case WriteNameOutcome::TooLong: ShowStop(txt::UserNameTooLong); break;
                   case WriteNameOutcome::NotConnected: SetStatus(txt::DeviceNotConnected); break;
                   case WriteNameOutcome::Sent: break;
                 }
               });
}

void DevicePage::CloseForExit(bool closeRequest) {
  jobs_->Wait();
  ctx_.keepAlive.SetLostHandler(nullptr);
  ctx_.keepAlive.SetEnabled(false);
  ExitSequence(ctx_.link, closeRequest);
  connected_ = false;
}

}  // namespace kavro::gui
