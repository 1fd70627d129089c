#pragma once
// Copying the logger's 2 MB log memory to the PC, 64 KB sector by sector, and writing the track
// log files (with a KML or the photo combination beside each) once every sector has come.
// Blocking: the window runs it on a worker thread, the command line on its main thread.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "common/StringTable.h"
#include "download/TrackFileWriter.h"
#include "photo/ClockCorrection.h"
#include "protocol/DeviceInfo.h"
#include "protocol/KeepAlive.h"
#include "protocol/Link.h"
#include "track/TimeZoneTable.h"

namespace kavro {

// What the user chose in the Transform to File dialog.
struct TransferChoice {
  std::filesystem::path directory;
  bool directoryChosen = false;
  bool writeTotal = false;
  std::filesystem::path photoDirectory;
  bool combinePhotos = false;  // only with a photo directory
  bool weekFix = true;         // records dated 1024 weeks early by a GPS week rollover are corrected
  // Take what the kept copy proves unchanged instead of reading the whole memory.
  bool readOnlyNew = true;
  // Erase the log once every sector came and every file was written.
  bool clearAfter = false;
};

// The pace and bounds of a download. The defaults are the logger's; tests may shorten them.
struct DownloadTiming {
  using ms = std::chrono::milliseconds;
  ms piecePause{50};         // between the 16-byte pieces of a request in fast mode
  ms watchdog{15000};        // fast mode: a sector's first chunk must come within this
  ms silenceLimit{3000};     // no byte at all while a reply is awaited
  ms stallLimit{60000};      // bytes, but not the awaited reply (a babbling line)
  int retryLimit = 20;       // requests of one sector again before the download is interrupted
  ms identWait{2500};        // the keep-alive answer before each sector
  ms speedPause{500};        // after each speed command
  ms settlePause{1000};      // after the speed is set back, before the next command
  ms keepAlivePause{1000};   // after the keep-alive is switched off, when it was running
  ms btWait{1000};           // the Bluetooth address answer that tells the logger apart
};

// Where a download's progress and results go. Called on the downloading thread.
class DownloadListener {
 public:
  virtual ~DownloadListener() = default;
  // Bar position 0-100, and the bytes of memory received so far of the bytes to read.
  virtual void OnProgress(int /*percent*/, std::uint64_t /*bytesDone*/, std::uint64_t /*bytesTotal*/) {}
  // A status line: text id and its arguments (Upload Succeed!, files not written, ...).
  virtual void OnStatus(int /*textId*/, const std::vector<std::string>& /*args*/) {}
  // A file written, or one that failed (Track Log File Status list).
  virtual void OnFile(const TrackFileReport& /*report*/) {}
  // A line of the photo combination (unsupported camera, unreadable input).
  virtual void OnPhotoLine(const std::string& /*line*/) {}
  // A line for the Track Log File Status list: text id and arguments (sectors read, why the
  // whole memory is read, the clear after the download).
  virtual void OnLine(int /*textId*/, const std::vector<std::string>& /*args*/) {}
};

struct DownloadSetup {
  // The port is a CP210x or Prolific bridge: the download runs at 921600 baud.
  bool bridge = false;
  // The caller disconnects right after the download (kavro download): no command follows the
  // speed change but the goodbye, so the settling pause before the next command is left out.
  bool releasedAfter = false;
  DownloadTiming timing;
  // Asked once the download may start; empty means the user cancelled (nothing is read).
  std::function<std::optional<TransferChoice>()> choose;
  // The photo combination's zone row, calibration and write-GPS option.
  int photoZoneRow = kUtcZoneRow;
  ClockCorrection photoClock;
  bool writeGps = false;
  bool ignorePhotoZone = false;  // the zone row also for photos that store their own
  // The cache folder of the kept copies; empty keeps none and reads the whole memory.
  std::filesystem::path keptFolder;
};

enum class DownloadOutcome {
  Complete,      // every sector read, files written: "Upload Succeed!" (or how many failed)
  NotConnected,  // no port open: "Upload Failed! No Device Connected! "
  Declined,      // the Transform to File dialog was cancelled
  Interrupted,   // "Transmission interrupt !": nothing written
};

struct DownloadResult {
  DownloadOutcome outcome = DownloadOutcome::Interrupted;
  bool linkLost = false;        // interrupted because the logger went away
  bool cancelled = false;       // interrupted by the caller's cancel flag
  TrackFilesResult files;       // the .trl files written
  int failedFiles = 0;          // .trl and KML files that could not be written
  int validRecords = 0;
  int weekFixedRecords = 0;     // of them, dated 1024 or 2048 weeks early and corrected
  std::uint32_t downloadSize = 0;
  int retries = 0;              // sector requests repeated (bad checksum, lost reply)
  std::uint64_t replyBytes = 0; // bytes received while sectors were read
  int sectorsRead = 0;          // sectors read from the logger
  int sectorsKept = 0;          // sectors taken from the kept copy
  std::uint64_t bytesRequested = 0;  // memory asked for in the read requests, repeats included
  bool cleared = false;         // the log was erased after the download
  bool clearFailed = false;     // the erase after the download was asked for and failed
};

// downloadSize: the whole memory when it wrapped or nothing is recorded as used, else the
// used size; sectors are read whole up to it.
std::uint32_t DownloadSize(std::uint32_t logUsedSize, int logWrapped);
// Progress before the chunk at `offset` in the sector at address `sector`:
// (sector + offset) * 100 / (size | 0xFFFF).
int ProgressPercent(std::uint32_t sector, std::uint32_t offset, std::uint32_t downloadSize);
// "$PMTK182,7,<address>,<size>" with upper-case hex digits, no leading zeros, checksum, CR LF.
std::string LogRequestText(std::uint32_t address, std::uint32_t size);

// The whole download after the Upload click: the choice, the speed change through a bridge,
// every sector (keep-alive before each, the request, the replies), the files and their KML,
// the speed set back. On an interruption the speed is set back too and nothing is written; the
// caller then disconnects. A stop requested from any thread interrupts it within a fraction of a second.
DownloadResult LogDownload(Link& link, DeviceState& device, KeepAlive* keepAlive, TimeZoneState& zone,
                           const StringTable& strings, const DownloadSetup& setup, DownloadListener& listener,
                           std::stop_token stop);

// Whether a kept copy of the connected logger's memory is there (it asks the logger who it is).
bool HasKeptCopy(Link& link, const DeviceState& device, const std::filesystem::path& keptFolder,
                 const DownloadTiming& timing = {});
// After an erase the kept copy of the connected logger can only mislead: it goes.
void DropKeptCopy(Link& link, const DeviceState& device, const std::filesystem::path& keptFolder,
                  const DownloadTiming& timing = {});

}  // namespace kavro
