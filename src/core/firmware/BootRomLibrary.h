#pragma once
// The boot-ROM download library: the thirteen calls through which the firmware update loads
// the download agent and the image and sends them to the logger's boot ROM. The calls keep
// their order and their meaning: handles first, then the agent, the scatter file and the
// image, the download with its four progress callbacks, and the releases. A Result is
// accepted when its bits 8..15 are 0 (Accepted()). SerialBootRom talks the protocol of
// BootRomProtocol.h over a serial port; the simulator's boot ROM answers it.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

namespace kavro {

// The agent file as LoadAgent read it and the address SetAgentStartAddress gave it.
struct DownloadAgent {
  std::uint32_t startAddress = 0;
  std::vector<std::uint8_t> file;
  bool loaded = false;
};

// One flash region of the scatter file ("scat.txt": lines "NAME START LENGTH", numbers in
// decimal or 0x hex; "#" starts a comment) and the image loaded for it.
struct ImageRegion {
  std::string name;
  std::uint32_t start = 0;
  std::uint32_t length = 0;
  std::vector<std::uint8_t> bytes;
  bool loaded = false;
  bool enabled = false;
};

struct ImageSet {
  std::vector<ImageRegion> regions;
  std::uint32_t packetLength = 256;
};

using AgentHandle = std::unique_ptr<DownloadAgent>;
using ImageHandle = std::unique_ptr<ImageSet>;

// The callbacks of the download. A start callback runs once when its phase begins; a
// progress callback after each block with the percent (0..100) and the bytes sent of the
// total. Their results are not looked at (the page's always return 0). They run on the
// thread that called Download.
using StartCallback = std::function<int()>;
using ProgressCallback = std::function<int(std::uint8_t percent, std::uint32_t sent, std::uint32_t total)>;

struct PortBlock {
  int number = 0;    // the COM port number, kept for the record
  std::string path;  // the device the library opens
  int baudRate = 38400;
};

struct ToolBlock {
  const DownloadAgent* agent = nullptr;
  StartCallback agentStart;
  ProgressCallback agentProgress;
};

struct DownloadBlock {
  const ImageSet* image = nullptr;
  StartCallback imageStart;
  ProgressCallback imageProgress;
};

// What the download left in the result area.
struct DownloadReport {
  std::uint32_t agentBytes = 0;
  std::uint32_t imageBytes = 0;
  int resends = 0;
  int firmwareVersion = 0;  // what the logger found in the image (0: none)
};

class BootRomLibrary {
 public:
  using Result = std::uint32_t;
  // The download call's results: the image is written and the logger restarts, or why not.
  static constexpr Result kDownloadDone = 1;
  static constexpr Result kRefusedFile = 0x0100;     // agent, scatter or image file not usable
  static constexpr Result kPortFailed = 0x0200;      // the port could not be opened
  static constexpr Result kNoBootRom = 0x0300;       // no answer to the handshake
  static constexpr Result kNoReply = 0x0400;         // a frame stayed unanswered after its resends
  static constexpr Result kRefused = 0x0500;         // the boot ROM refused a frame
  static constexpr Result kNothingLoaded = 0x0600;   // agent or image not loaded
  static constexpr Result kStopped = 0x0700;         // a stop was requested
  static constexpr Result kLinkLost = 0x0800;        // the line went away

  static bool Accepted(Result r) { return (r & 0xFF00u) == 0; }

  virtual ~BootRomLibrary() = default;

  // The thirteen calls, in the order an update makes them.
  // A new, empty download agent / image set in the handle.
  virtual void CreateAgent(AgentHandle& agent) = 0;
  virtual void CreateImage(ImageHandle& image) = 0;
  // The address the boot ROM runs the agent at; the agent file must be built for it.
  virtual void SetAgentStartAddress(DownloadAgent* agent, std::uint32_t address) = 0;
  // Reads the agent file into the agent.
  virtual Result LoadAgent(DownloadAgent* agent, const std::filesystem::path& file) = 0;
  // Reads the scatter file: the regions of flash and where each begins.
  virtual Result LoadScatter(ImageSet* image, const std::filesystem::path& file) = 0;
  // Bytes of image sent in one block.
  virtual void SetPacketLength(ImageSet* image, std::uint32_t length) = 0;
  // Reads the image file for one region of the scatter file.
  virtual Result LoadImage(ImageSet* image, int region, const std::filesystem::path& file) = 0;
  // Whether a loaded region is written by the download.
  virtual void EnableRegion(ImageSet* image, int region, bool enabled) = 0;
  // Talks to the boot ROM on the port: the agent first, then the first loaded and enabled
  // region; blocks until the logger restarts, a failure, or a stop.
  virtual Result Download(const PortBlock& port, const ToolBlock& tool, const DownloadBlock& download,
                          std::stop_token stop, DownloadReport* report) = 0;
  // Frees what LoadAgent / LoadImage read.
  virtual void UnloadAgent(DownloadAgent* agent) = 0;
  virtual void UnloadImage(ImageSet* image, int region) = 0;
  // Frees the agent / image set and empties the handle.
  virtual void DestroyAgent(AgentHandle& agent) = 0;
  virtual void DestroyImage(ImageHandle& image) = 0;
};

// Every wait on the boot ROM is bounded by these.
struct BootRomTiming {
  using ms = std::chrono::milliseconds;
  ms syncWait{50};       // for the answer to one sync byte
  int syncAttempts = 100;
  ms replyWait{3000};    // for the reply to one frame
  int resends = 5;       // of one frame, after the first try
  ms poll{2};
};

class SerialBootRom : public BootRomLibrary {
 public:
  explicit SerialBootRom(BootRomTiming timing = {}) : timing_(timing) {}

  void CreateAgent(AgentHandle& agent) override;
  void CreateImage(ImageHandle& image) override;
  void SetAgentStartAddress(DownloadAgent* agent, std::uint32_t address) override;
  Result LoadAgent(DownloadAgent* agent, const std::filesystem::path& file) override;
  Result LoadScatter(ImageSet* image, const std::filesystem::path& file) override;
  void SetPacketLength(ImageSet* image, std::uint32_t length) override;
  Result LoadImage(ImageSet* image, int region, const std::filesystem::path& file) override;
  void EnableRegion(ImageSet* image, int region, bool enabled) override;
  Result Download(const PortBlock& port, const ToolBlock& tool, const DownloadBlock& download,
                  std::stop_token stop, DownloadReport* report) override;
  void UnloadAgent(DownloadAgent* agent) override;
  void UnloadImage(ImageSet* image, int region) override;
  void DestroyAgent(AgentHandle& agent) override;
  void DestroyImage(ImageHandle& image) override;

 private:
  BootRomTiming timing_;
};

}  // namespace kavro
