#include "firmware/FirmwareUpdate.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "common/Texts.h"
#include "firmware/BootRomProtocol.h"
#include "protocol/DeviceInfo.h"

namespace kavro {
namespace fs = std::filesystem;

FirmwarePort ResolveFirmwarePort(const std::string& portName, int previousNumber) {
  FirmwarePort port{previousNumber, portName};
  const std::size_t at = portName.find("COM");
  if (at != std::string::npos) {
    std::size_t end = at + 3;
    int number = 0;
    bool digits = false;
    while (end < portName.size() && portName[end] >= '0' && portName[end] <= '9' && number < 100000) {
      number = number * 10 + (portName[end] - '0');
      digits = true;
      ++end;
    }
    if (digits) port.number = number;
  }
  if (port.number >= 10 && at != std::string::npos) port.name = "//.//" + portName;
  return port;
}

FirmwareMessage CheckFirmwareImage(const fs::path& firmwareFile, const fs::path& copyPath, std::optional<int>* version) {
  const FirmwareMessage wrong{txt::FirmwareContentWrong, {}};
  std::ifstream in(firmwareFile, std::ios::binary);
  std::error_code ec;
  const std::uintmax_t length = fs::file_size(firmwareFile, ec);
  if (!in || ec || length < 4) return wrong;
  const std::uintmax_t imageLength = length - 4;
  if (imageLength > kFirmwareImageLimit)
    return {txt::FirmwareTooLarge, {std::to_string(imageLength), std::to_string(kFirmwareImageLimit)}};
  std::vector<std::uint8_t> image(static_cast<std::size_t>(imageLength));
  std::uint8_t trailer[4];
  if ((imageLength > 0 && !in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(imageLength))) ||
      !in.read(reinterpret_cast<char*>(trailer), 4))
    return wrong;
  if (brom::Crc32(image) != brom::GetU32(trailer)) {
    fs::remove(copyPath, ec);
    return wrong;
  }
  if (version) *version = brom::ImageFirmwareVersion(image.data(), image.size());
  const FirmwareMessage folder{txt::FirmwareFolderNotWritable, {copyPath.parent_path().string()}};
  {
    std::ofstream out(copyPath, std::ios::binary | std::ios::trunc);
    if (!out) return folder;
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    out.close();
    if (out) return {};
  }
  // A half-written copy (disk full) is not kept.
  fs::remove(copyPath, ec);
  return folder;
}

fs::path FirmwareFilesFolder(const fs::path& programFolder) {
  std::error_code ec;
  if (fs::exists(programFolder / kScatterName, ec)) return programFolder;
  // An installed program keeps them with its data, not beside it in bin/.
  const fs::path shared = programFolder.parent_path() / "share" / "kavro-utility" / "firmware";
  if (fs::exists(shared / kScatterName, ec)) return shared;
  return programFolder;
}

FirmwareUpdate::FirmwareUpdate(fs::path programFolder, BootRomLibrary& library, FirmwareTiming timing)
    : programFolder_(FirmwareFilesFolder(programFolder)), library_(library), timing_(timing) {}

FirmwareUpdate::~FirmwareUpdate() { Release(); }

void FirmwareUpdate::ChooseFile(const fs::path& file) {
  firmwarePath_ = file;
  firmwareFolder_ = file.parent_path();
}

FirmwareMessage FirmwareUpdate::Check() {
  if (firmwarePath_.empty()) return {txt::SelectFirmwareFile, {}};
  imageCopyPath_ = firmwareFolder_ / kImageCopyName;
  imageVersion_.reset();
  return CheckFirmwareImage(firmwarePath_, imageCopyPath_, &imageVersion_);
}

FirmwareMessage FirmwareUpdate::Confirmation(const std::string& portShown) const {
  if (imageVersion_) return {txt::FirmwareConfirm, {firmwarePath_.string(), FirmwareText(*imageVersion_), portShown}};
  return {txt::FirmwareConfirmNoVersion, {firmwarePath_.string(), portShown}};
}

void FirmwareUpdate::DropImageCopy() {
  std::error_code ec;
  if (!imageCopyPath_.empty()) fs::remove(imageCopyPath_, ec);
}

void FirmwareUpdate::Progress(const FirmwareCallbacks& callbacks, int percent) {
  percent_ = percent;
  if (callbacks.progress) callbacks.progress(percent);
}

void FirmwareUpdate::Prepare(const PortSelection& selection, const FirmwareCallbacks& callbacks) {
  if (callbacks.status) callbacks.status(txt::InitializeDownload);
  Release();
  agentLoaded_ = false;
  imageLoaded_ = false;
  Progress(callbacks, 0);
  library_.CreateAgent(agent_);
  library_.CreateImage(image_);

  // The first "DA*.bin" of the program's folder, by name; none found keeps the last one.
  std::vector<fs::path> agents;
  std::error_code ec;
  for (fs::directory_iterator it(programFolder_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() >= 6 && name.compare(0, 2, "DA") == 0 && name.compare(name.size() - 4, 4, ".bin") == 0 &&
        it->is_regular_file(ec))
      agents.push_back(it->path());
  }
  std::sort(agents.begin(), agents.end());
  if (!agents.empty()) agentPath_ = agents.front();
  library_.SetAgentStartAddress(agent_.get(), kAgentStartAddress);
  agentLoaded_ = BootRomLibrary::Accepted(library_.LoadAgent(agent_.get(), agentPath_));

  scatterPath_ = programFolder_ / kScatterName;
  library_.LoadScatter(image_.get(), scatterPath_);
  library_.SetPacketLength(image_.get(), kPacketLength);
  imageLoaded_ = BootRomLibrary::Accepted(library_.LoadImage(image_.get(), 0, imageCopyPath_));
  library_.EnableRegion(image_.get(), 0, true);

  baudRate_ = selection.baudRate;
  port_ = ResolveFirmwarePort(selection.portName, port_.number);
}

void FirmwareUpdate::Release() {
  if (agent_ && agentLoaded_) library_.UnloadAgent(agent_.get());
  if (image_ && imageLoaded_) library_.UnloadImage(image_.get(), 0);
  if (agent_) library_.DestroyAgent(agent_);
  if (image_) library_.DestroyImage(image_);
  agentLoaded_ = false;
  imageLoaded_ = false;
}

int FirmwareUpdate::FailureText(BootRomLibrary::Result result) {
  switch (result & 0xFF00u) {
    case BootRomLibrary::kNoBootRom: return txt::FirmwareFailedNoBootRom;
    case BootRomLibrary::kNoReply: return txt::FirmwareFailedTransfer;
    case BootRomLibrary::kRefused: return txt::FirmwareFailedRefused;
    case BootRomLibrary::kRefusedFile:
    case BootRomLibrary::kNothingLoaded: return txt::FirmwareFailedFiles;
    default: return txt::FirmwareFailedLink;
  }
}

FirmwareOutcome FirmwareUpdate::Run(const FirmwareCallbacks& callbacks) {
  auto status = [&](int id) {
    if (callbacks.status) callbacks.status(id);
  };
  btWritten_ = false;
  downloadResult_ = 0;
  report_ = {};
  btRead_ = ReadBtAddress(port_.name, baudRate_, store_, timing_.bt);
  if (!btRead_.portOpened) {
    status(txt::OpenComPortFailed);
    Release();
    return FirmwareOutcome::PortFailed;
  }
  std::this_thread::sleep_for(timing_.beforeDownload);

  PortBlock portBlock{port_.number, port_.name, baudRate_};
  ToolBlock tool;
  tool.agent = agent_.get();
  tool.agentStart = [&] {
    Progress(callbacks, 0);
    status(txt::InitializeDownloadAgent);
    return 0;
  };
  tool.agentProgress = [&](std::uint8_t percent, std::uint32_t, std::uint32_t) {
    Progress(callbacks, percent);
    status(txt::DownloadDownloadAgent);
    return 0;
  };
  DownloadBlock download;
  download.image = image_.get();
  download.imageStart = [&] {
    Progress(callbacks, 0);
    status(txt::InitializeDownloadFirmware);
    return 0;
  };
  download.imageProgress = [&](std::uint8_t percent, std::uint32_t, std::uint32_t) {
    Progress(callbacks, percent);
    status(txt::DownloadAndUpdateFirmware);
    return 0;
  };
  // Once begun, an update runs to its end: a logger left with half an image does not start.
  downloadResult_ = library_.Download(portBlock, tool, download, {}, &report_);
  if (downloadResult_ == BootRomLibrary::kDownloadDone) std::this_thread::sleep_for(timing_.restartWait);

  status(txt::ProcessFinish);
  std::this_thread::sleep_for(timing_.finishPause);
  // Written back whatever the download did: a logger that lost its address half-way needs it too.
  btWritten_ = WriteBtAddress(port_.name, baudRate_, btRead_.address, timing_.bt);
  Release();

  if (!BootRomLibrary::Accepted(downloadResult_)) {
    status(FailureText(downloadResult_));
    return FirmwareOutcome::DownloadFailed;
  }
  status(txt::DownloadAndUpdateSuccess);
  std::error_code ec;
  fs::remove(imageCopyPath_, ec);
  return FirmwareOutcome::Updated;
}

}  // namespace kavro
