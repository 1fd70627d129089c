#pragma once
#include <functional>
#include <memory>
#include <string>

#include "Page.h"
#include "firmware/FirmwareUpdate.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kavro::gui {

class JobRunner;

// The "Download and Update Firmware" tab: choose a firmware file and write it into the logger
// through its boot ROM, keeping the logger's Bluetooth address. Enabled while no logger is
// connected; while the update runs the window cannot close.
class FirmwarePage : public Page {
  Q_OBJECT
 public:
  FirmwarePage(AppContext& ctx, QWidget* parent);
  ~FirmwarePage() override;

  bool IsBusy() const override;
  // The file choice without the dialog (the "..." button ends here too).
  void ChooseFile(const QString& path);
  // How a port name of the selection becomes a device (the simulated logger's entry).
  void SetPortResolver(std::function<std::string(const std::string&)> resolver) { resolver_ = std::move(resolver); }
  // How a port name of the selection is shown to the user (the port list's words for it).
  void SetPortNamer(std::function<QString(const std::string&)> namer) { portNamer_ = std::move(namer); }
  // The program folder with "DA*.bin" and "scat.txt", and the pace of the update.
  void SetProgramFolder(const QString& folder);
  void SetTiming(const FirmwareTiming& timing);
  // Blocks until a running update has ended (tests).
  void WaitForIdle();

 signals:
  void statusChanged(const QString& text);
  void updateFinished(bool updated);

 private:
  void OnBrowse();
  void OnDownloadFirmware();
  void SetStatus(int textId);
  void ShowProgress(int percent);
  void ShowStop(const QString& text);
  QString MessageText(const FirmwareMessage& message) const;
  void SetControlsEnabled(bool enabled);
  void Rebuild();

  JobRunner* runner_ = nullptr;
  QGroupBox* group_ = nullptr;
  QLabel* warning_ = nullptr;
  QLabel* fileLabel_ = nullptr;
  QLineEdit* fileEdit_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* download_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* percent_ = nullptr;

  QString programFolder_;
  FirmwareTiming timing_;
  std::function<std::string(const std::string&)> resolver_;
  std::function<QString(const std::string&)> portNamer_;
  std::unique_ptr<SerialBootRom> library_;
  std::unique_ptr<FirmwareUpdate> update_;
};

}  // namespace kavro::gui
