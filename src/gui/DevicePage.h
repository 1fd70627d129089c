#pragma once
#include <memory>
#include <string>
#include <vector>

#include "JobRunner.h"
#include "Page.h"
#include "SimulatedPort.h"
#include "protocol/ConnectFlow.h"
#include "serial/PortDiscovery.h"

class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kavro::gui {

// The "Device Setting" tab: port and speed, Connect / Disconnect, what the logger reports
// (type, versions, free records, user name) and Write Name.
class DevicePage : public Page {
  Q_OBJECT
 public:
  DevicePage(AppContext& ctx, QWidget* parent);
  ~DevicePage() override;

  void OnPageCommand(PageCommand command) override;
  bool IsBusy() const override { return jobs_->Busy(); }

  // The device a port name stands for: the simulated logger's pseudo-terminal (started if need
  // be) for its list entry, else the name itself. Empty, with the reason in *error, when the
  // simulator cannot start.
  std::string DevicePathFor(const std::string& portName, QString* error = nullptr);
  // Ports offered besides the system's (the simulated T-580 is always offered); the list is
  // built again and the detection runs as at start.
  void SetExtraPorts(std::vector<PortInfo> ports);
  // The device path of every entry of the port list, in list order.
  std::vector<std::string> ListedPorts() const;
  std::string SelectedPort() const;
  // The port list's words for a device path ("Simulated T-580", "CP2102 ... (/dev/ttyUSB0)"),
  // or the path itself when it is not listed.
  QString PortLabel(const std::string& devicePath) const;
  // Chooses a listed port by its device path; false when it is not listed.
  bool SelectPort(const std::string& devicePath);
  bool IsConnected() const { return connected_; }
  // Blocks until a running connect, disconnect or name write has ended.
  void WaitForIdle() { jobs_->Wait(); }
  // Whether the chosen port may run the download at 921600 baud (IsBridgePort).
  bool SelectedIsBridge() const;
  // The same for the port of the connection in force (the lists may have changed since).
  bool ConnectedIsBridge() const { return connectedIsBridge_; }
  // Ends the connection as a Disconnect click would (after an interrupted download).
  void DisconnectNow();
  // The simulated T-580 started from the port list, if any.
  sim::Simulator* RunningSimulator() const { return simulatedPort_.Running(); }

  // The window is closing: a fast download's speed is set back, the goodbye sentence sent,
  // the port closed and the keep-alive stopped.
  void CloseForExit(bool closeRequest);

 public slots:
  void OnConnectClicked();
  void OnAutoDetect();
  void OnWriteName();
  void ShowFreeRecords(qint64 freeRecords);
  // Another page works on the logger: Connect and Write Name wait for it.
  void SetLocked(bool locked);
  // The logger went away (seen by the keep-alive or a job): disconnect once nothing runs.
  void OnLinkLost();

 signals:
  void connected();
  void disconnected();

 private:
  void BuildPortGroup();
  QHBoxLayout* BuildStatusRow();
  void BuildInfoGroup();
  void ConnectControls();
  void WatchKeepAlive();
  void BuildPortList();
  void SelectPortChoice();
  void OnPortActivated(int index);
  void StorePortSelection();
  void SetStatus(int textId);
  void SetStatusText(const QString& text);
  void SetControlsEnabled(bool enabled);
  void ShowConnected(bool connected);
  void Retranslate();
  void ShowStop(int textId);
  StatusReport StatusToPage();
  void ShowDeviceFields();
  void ClearDeviceFields(bool userNameToo);
  void ConnectDone(const ConnectResult& result, const std::string& path);
  void StartDisconnect();

  QComboBox* port_ = nullptr;
  QComboBox* baud_ = nullptr;
  QPushButton* autoDetect_ = nullptr;
  QPushButton* connect_ = nullptr;
  QLabel* statusLabel_ = nullptr;
  QLabel* statusPicture_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* typeLabel_ = nullptr;
  QLineEdit* type_ = nullptr;
  QLabel* versionLabel_ = nullptr;
  QLineEdit* version_ = nullptr;
  QLabel* memoryLabel_ = nullptr;
  QLineEdit* memory_ = nullptr;
  QLabel* userLabel_ = nullptr;
  QLineEdit* userName_ = nullptr;
  QPushButton* writeName_ = nullptr;
  QGroupBox* portGroup_ = nullptr;
  QGroupBox* infoGroup_ = nullptr;

  JobRunner* jobs_ = nullptr;
  std::vector<PortInfo> extraPorts_;
  std::vector<PortInfo> ports_;
  PortChoice choice_;
  sim::SimulatedPort simulatedPort_;
  bool connected_ = false;
  bool connectedIsBridge_ = false;
  bool locked_ = false;
};

}  // namespace kavro::gui
