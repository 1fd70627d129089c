#pragma once
// One firmware update, as the firmware page and `kavro firmware` run it: check the chosen
// file's CRC-32 trailer and copy the image beside it, prepare the boot-ROM library (agent
// "DA*.bin" and "scat.txt" from the program's folder), then on a worker: read and save the
// Bluetooth address, download, write the address back, release the library.
// Statuses and messages are string ids; the caller shows them.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "firmware/BootRomLibrary.h"
#include "firmware/BtAddress.h"
#include "serial/SerialPort.h"

namespace kavro {

// The image (the file without its 4-byte trailer) must fit this buffer.
inline constexpr std::size_t kFirmwareImageLimit = 819200;
inline constexpr const char* kImageCopyName = "Kavro_FW_Temp.bin";
inline constexpr const char* kScatterName = "scat.txt";
// Where the download agent is to run; the agent file must be built for it.
inline constexpr std::uint32_t kAgentStartAddress = 0x100800;
inline constexpr std::uint32_t kPacketLength = 256;

// The port number and the name the update uses: the decimal number after "COM" (the previous
// number when there is none), and from 10 on the name with "//.//" in front.
struct FirmwarePort {
  int number = 8;
  std::string name;
};
FirmwarePort ResolveFirmwarePort(const std::string& portName, int previousNumber);

// A message for the user: a string id with its arguments; id 0 means none.
struct FirmwareMessage {
  int textId = 0;
  std::vector<std::string> args;
  bool IsError() const { return textId != 0; }
};

// Checks the file's trailer (CRC-32 of the bytes before it, little-endian) and writes the
// image without it to copyPath. Refuses a file that cannot be read, is shorter than 4 bytes
// or fails the check (415), an image larger than kFirmwareImageLimit, and a folder where the
// copy cannot be written (naming the folder). Nothing is left at copyPath on failure. A good
// image's version (hundredths, e.g. 131 for 1.31) goes to *version when the image carries one.
FirmwareMessage CheckFirmwareImage(const std::filesystem::path& firmwareFile, const std::filesystem::path& copyPath,
                                   std::optional<int>* version = nullptr);

struct FirmwareTiming {
  using ms = std::chrono::milliseconds;
  ms beforeDownload{2000};
  ms restartWait{1500};  // after the download, while the logger restarts
  ms finishPause{2000};
  BtTiming bt;
  BootRomTiming rom;
};

struct FirmwareCallbacks {
  std::function<void(int textId)> status;
  std::function<void(int percent)> progress;
};

enum class FirmwareOutcome { Updated, DownloadFailed, PortFailed };

// Where "DA*.bin" and "scat.txt" are: the program's folder, or for a program installed in
// PREFIX/bin, PREFIX/share/kavro-utility/firmware.
std::filesystem::path FirmwareFilesFolder(const std::filesystem::path& programFolder);

class FirmwareUpdate {
 public:
  FirmwareUpdate(std::filesystem::path programFolder, BootRomLibrary& library, FirmwareTiming timing = {});
  ~FirmwareUpdate();
  FirmwareUpdate(const FirmwareUpdate&) = delete;
  FirmwareUpdate& operator=(const FirmwareUpdate&) = delete;

  // The file choice: firmware path and folder.
  void ChooseFile(const std::filesystem::path& file);
  const std::filesystem::path& FirmwarePath() const { return firmwarePath_; }
  std::filesystem::path ImageCopyPath() const { return imageCopyPath_; }
  const std::filesystem::path& AgentPath() const { return agentPath_; }

  // 412 without a file, else CheckFirmwareImage into "Kavro_FW_Temp.bin" in the file's folder.
  FirmwareMessage Check();
  // The version of the image the last Check passed, when it carries one.
  std::optional<int> ImageVersion() const { return imageVersion_; }
  // The question before the update, once Check has passed: the file, its version where the
  // image carries one, and the port as the user knows it.
  FirmwareMessage Confirmation(const std::string& portShown) const;
  // The user said no: the image copy Check wrote goes again.
  void DropImageCopy();
  // Status 405 and progress 0, the handles, the agent and the image loaded (the library's calls
  // up to EnableRegion), and the copy of the port selection.
  void Prepare(const PortSelection& selection, const FirmwareCallbacks& callbacks);
  // The worker's part: Bluetooth read, download, Bluetooth write, releases, final status.
  FirmwareOutcome Run(const FirmwareCallbacks& callbacks);

  const FirmwarePort& Port() const { return port_; }
  bool AgentLoaded() const { return agentLoaded_; }
  bool ImageLoaded() const { return imageLoaded_; }
  BootRomLibrary::Result DownloadResult() const { return downloadResult_; }
  const DownloadReport& Report() const { return report_; }
  const BtReadResult& BtRead() const { return btRead_; }
  bool BtWritten() const { return btWritten_; }
  // The handles are live only between Prepare and the end of Run.
  bool HandlesLive() const { return agent_ != nullptr || image_ != nullptr; }

  // The status that ends a failed download.
  static int FailureText(BootRomLibrary::Result result);

 private:
  void Release();
  void Progress(const FirmwareCallbacks& callbacks, int percent);

  std::filesystem::path programFolder_;
  BootRomLibrary& library_;
  FirmwareTiming timing_;
  BtAddressStore store_;

  std::filesystem::path firmwarePath_;
  std::filesystem::path firmwareFolder_;
  std::filesystem::path imageCopyPath_;
  std::optional<int> imageVersion_;
  std::filesystem::path agentPath_;
  std::filesystem::path scatterPath_;
  FirmwarePort port_{8, "COM1"};
  int baudRate_ = 38400;

  AgentHandle agent_;
  ImageHandle image_;
  bool agentLoaded_ = false;
  bool imageLoaded_ = false;
  DownloadReport report_;
  BootRomLibrary::Result downloadResult_ = 0;
  int percent_ = 0;
  BtReadResult btRead_;
  bool btWritten_ = false;
};

}  // namespace kavro
