#include "download/LogDownload.h"


#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <thread>
#include <vector>

#include "common/TextFile.h"
#include "common/Texts.h"
#include "download/LogDecoder.h"
#include "photo/PhotoConversion.h"
#include "protocol/Exchange.h"
#include "protocol/ProtocolNumbers.h"
#include "protocol/Sentence.h"

namespace kavro {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::size_t kChunkHex = 2 * memory::kDataChunk;
constexpr std::string_view kDataWord = word::kMemoryData;
// How long one wait on the port may last before the flags and deadlines are looked at again.
constexpr int kWaitSliceMs = 50;

// The text read from the port while sectors are read. Sentences are handed out once each: the
// search goes on after the last one taken and never scans consumed text again.
class ReplyReader {
 public:
  explicit ReplyReader(Link& link) : link_(link) { buffer_.reserve(1 << 17); }

  void Clear() {
    buffer_.clear();
    pos_ = 0;
    scanned_ = 0;
  }
  // Counts silence from now on (a request just went out).
  void Restart() { lastByte_ = Clock::now(); }
  Clock::time_point LastByte() const { return lastByte_; }
  std::uint64_t Bytes() const { return bytes_; }

  // Waits at most waitMs for bytes and takes all that are queued. False when the port is gone.
  bool Pump(int waitMs) {
    SerialPort& port = link_.Port();
    if (!port.IsOpen() || link_.LinkLost()) return false;
    if (!port.WaitReadable(waitMs)) return port.IsOpen();
    if (pos_ >= (1u << 16)) {
      buffer_.erase(0, pos_);
      scanned_ -= pos_;
      pos_ = 0;
    }
    char chunk[16384];
    for (;;) {
      std::size_t got = 0;
      if (!port.Read(chunk, sizeof chunk, got)) {
        if (port.Lost()) link_.MarkLost();
        return false;
      }
      if (got == 0) break;
      buffer_.append(chunk, got);
      bytes_ += got;
      lastByte_ = Clock::now();
      if (got < sizeof chunk) break;
    }
    return true;
  }

  // The next whole sentence from "$" up to its line end (CR LF not included), or none yet. A
  // "$" whose sentence broke off counts for nothing: the sentence begins at the last "$".
  std::optional<std::string_view> Next() {
    const std::size_t dollar = buffer_.find('$', pos_);
    if (dollar == std::string::npos) {
      pos_ = scanned_ = buffer_.size();
      return std::nullopt;
    }
    pos_ = dollar;
    const std::size_t nl = buffer_.find('\n', std::max(scanned_, dollar + 1));
    if (nl == std::string::npos) {
      scanned_ = buffer_.size();
      return std::nullopt;
    }
    const std::size_t start = buffer_.rfind('$', nl);
    std::size_t end = nl;
    if (end > start && buffer_[end - 1] == '\r') --end;
    pos_ = scanned_ = nl + 1;
    return std::string_view(buffer_).substr(start, end - start);
  }

 private:
  Link& link_;
  std::string buffer_;
  std::size_t pos_ = 0;      // where the next search begins
  std::size_t scanned_ = 0;  // text up to here holds no line end after pos_
  std::uint64_t bytes_ = 0;
  Clock::time_point lastByte_ = Clock::now();
};

enum class Wait { Got, BadChecksum, Silence, Watchdog, Cancelled, Lost };

// Address field of a data reply, or none for any other sentence.
std::optional<std::uint32_t> DataAddress(std::string_view s, std::size_t& dataStart) {
  if (s.substr(0, kDataWord.size()) != kDataWord) return std::nullopt;
  const std::size_t comma = s.find(',', kDataWord.size());
  if (comma == std::string_view::npos) return std::nullopt;
  dataStart = comma + 1;
  return ParseHexText(s.substr(kDataWord.size(), comma - kDataWord.size()));
}

class Downloader {
 public:
  Downloader(Link& link, const DownloadTiming& t, std::stop_token stop, bool fast)
      : link_(link), t_(t), stop_(std::move(stop)), fast_(fast), reader_(link) {}

  // Waits for the data reply of `expected`. Replies of other addresses or kinds are passed over.
  Wait AwaitChunk(std::uint32_t expected, std::string_view& data) {
    const Clock::time_point stallDue = Clock::now() + t_.stallLimit;
    for (;;) {
      while (const auto s = reader_.Next()) {
        std::size_t dataStart = 0;
        const std::optional<std::uint32_t> address = DataAddress(*s, dataStart);
        if (!address || *address != expected) continue;
        const std::size_t star = dataStart + kChunkHex;
        if (s->size() <= star || (*s)[star] != '*' || !ChecksumMatches(*s)) return Wait::BadChecksum;
        data = s->substr(dataStart, kChunkHex);
        return Wait::Got;
      }
      if (const Wait w = WaitForBytes(stallDue); w != Wait::Got) return w;
    }
  }

  // The keep-alive sentence and its answer; the answer is not required.
  Wait KeepAliveSentence() {
    const std::string sentence = AppendChecksum(IdentBody(ident::kKeepAlive));
    const std::string answer = std::string(word::kIdentReply) + "," + std::to_string(ident::kKeepAlive) + ",";
    if (!Write(sentence, false)) return Wait::Lost;
    reader_.Restart();
    const Clock::time_point due = Clock::now() + t_.identWait;
    for (;;) {
      while (const auto s = reader_.Next()) {
        if (s->substr(0, answer.size()) == answer && ChecksumMatches(*s)) return Wait::Got;
      }
      const Wait w = WaitForBytes(due);
      if (w == Wait::Silence) return Wait::Got;
      if (w != Wait::Got) return w;
    }
  }

  bool Request(std::uint32_t address, std::uint32_t size) {
    const bool ok = Write(LogRequestText(address, size), fast_);
    reader_.Restart();
    return ok;
  }

  void ArmWatchdog() {
    if (!fast_ || watchdogArmed_) return;
    watchdogArmed_ = true;
    watchdogDue_ = Clock::now() + t_.watchdog;
  }
  void DisarmWatchdog() { watchdogArmed_ = false; }

  ReplyReader& Reader() { return reader_; }

 private:
  // One wait on the port, bounded by the silence limit, the watchdog and `due`.
  Wait WaitForBytes(Clock::time_point due) {
    if (stop_.stop_requested()) return Wait::Cancelled;
    const Clock::time_point now = Clock::now();
    if (watchdogArmed_ && now >= watchdogDue_) return Wait::Watchdog;
    const Clock::time_point silenceDue = reader_.LastByte() + t_.silenceLimit;
    Clock::time_point next = std::min(due, silenceDue);
    if (watchdogArmed_) next = std::min(next, watchdogDue_);
    if (now >= next) return Wait::Silence;
    const auto left = std::chrono::ceil<milliseconds>(next - now).count();
    const int slice = static_cast<int>(std::min<long long>(left, kWaitSliceMs));
    if (!reader_.Pump(slice)) return Wait::Lost;
    return Wait::Got;
  }

  bool Write(const std::string& text, bool inPieces) {
    SerialPort& port = link_.Port();
    std::size_t written = 0;
    // No pause after the last piece: the reply is awaited on the port at once.
    const bool ok = inPieces ? WriteInPieces(port, text, t_.piecePause, false)
                             : port.Write(text.data(), text.size(), written);
    if (!ok && port.Lost()) link_.MarkLost();
    return ok;
  }

  Link& link_;
  const DownloadTiming& t_;
  std::stop_token stop_;
  bool fast_;
  ReplyReader reader_;
  bool watchdogArmed_ = false;
  Clock::time_point watchdogDue_{};
};

void Pause(milliseconds d) {
  if (d.count() > 0) std::this_thread::sleep_for(d);
}

// Switches the keep-alive off; waits as the logger utility did only when one was running.
void KeepAliveOff(KeepAlive* keepAlive, const DownloadTiming& t) {
  if (!keepAlive || !keepAlive->Enabled()) return;
  keepAlive->SetEnabled(false);
  Pause(t.keepAlivePause);
}

// Both ends back to the normal speed after a download through a bridge (also after a
// cancelled dialog, as the logger utility always did).
void SpeedBack(Link& link, KeepAlive* keepAlive, const DownloadTiming& t) {
  KeepAliveOff(keepAlive, t);
  PmtkExchange(link, pmtk::kSpeed, SerialPort::kDefaultBaud, 0);
  Pause(t.speedPause);
  {
    auto lock = link.Lock();
    link.Port().RestoreSpeed();
  }
  Pause(t.settlePause);
  link.fastMode = false;
}

class PhotoLines : public PhotoConversionListener {
 public:
  explicit PhotoLines(DownloadListener& l) : l_(l) {}
  void OnLine(const std::string& line) override { l_.OnPhotoLine(line); }
  void OnSummary(const std::string&) override {}
  void OnProblem(const std::string& message) override { l_.OnPhotoLine(message); }

 private:
  DownloadListener& l_;
};

std::filesystem::path KmlPathFor(const std::filesystem::path& trl) {
  std::filesystem::path kml = trl;
  kml.replace_extension(".kml");
  return kml;
}

// The photo KML of one track file, UTF-16LE, written whole or not at all.
bool CombineOne(const StringTable& strings, TimeZoneState& zone, const DownloadSetup& setup,
                const std::filesystem::path& trl, const std::filesystem::path& photoDir, DownloadListener& listener) {
  const std::filesystem::path kml = KmlPathFor(trl);
  TextFile file;
  std::string reason;
  if (!file.Open(kml, TextFile::ModeWrite | TextFile::ModeCreate | TextFile::ModeWriteUnicode | TextFile::ModeReplace,
                 &reason)) {
    listener.OnFile(TrackFileReport{txt::CreateFileFailed, kml, reason});
    return false;
  }
  PhotoLines lines(listener);
  const PhotoConversionResult r = CombinePhotosForTrack(strings, trl, file, photoDir, setup.photoZoneRow,
                                                        setup.photoCalibrationSeconds, setup.writeGps, &lines, &zone);
  if (!r.outputOk) {
    file.Discard();
    listener.OnFile(TrackFileReport{txt::CreateFileFailed, kml, std::strerror(EIO)});
    return false;
  }
  if (!file.Close(&reason)) {
    listener.OnFile(TrackFileReport{txt::CreateFileFailed, kml, reason});
    return false;
  }
  listener.OnFile(TrackFileReport{txt::CreateFileOk, kml, {}});
  return true;
}

}  // namespace

std::uint32_t DownloadSize(std::uint32_t logUsedSize, int logWrapped) {
  if (logWrapped == 1 || logUsedSize == 0) return memory::kSize;
  return std::min<std::uint32_t>(logUsedSize, memory::kSize);
}

int ProgressPercent(std::uint32_t sector, std::uint32_t offset, std::uint32_t downloadSize) {
  const std::uint64_t divisor = downloadSize | 0xFFFFu;
  return static_cast<int>((static_cast<std::uint64_t>(sector) + offset) * 100 / divisor);
}

std::string LogRequestText(std::uint32_t address, std::uint32_t size) {
  char body[48];
  std::snprintf(body, sizeof body, "%s,%d,%X,%X", std::string(word::kPmtk182).c_str(), pmtk::kMemoryRead, address, size);
  return AppendChecksum(body);
}

DownloadResult LogDownload(Link& link, DeviceState& device, KeepAlive* keepAlive, TimeZoneState& zone,
                           const StringTable& strings, const DownloadSetup& setup, DownloadListener& listener,
                           std::stop_token stop) {
  DownloadResult result;
  const DownloadTiming& t = setup.timing;
  const bool keepAliveWanted = keepAlive && keepAlive->Enabled();
  auto keepAliveAgain = [&] {
    if (keepAliveWanted) keepAlive->SetEnabled(true);
  };

  if (!link.portOpen || !link.Port().IsOpen()) {
    listener.OnStatus(txt::UploadFailedNoDevice, {});
    result.outcome = DownloadOutcome::NotConnected;
    return result;
  }
  const std::optional<TransferChoice> choice = setup.choose ? setup.choose() : std::nullopt;
  if (!choice || !choice->directoryChosen) {
    listener.OnStatus(txt::UploadClearStatusMessage, {});
    if (setup.bridge) {
      SpeedBack(link, keepAlive, t);
      keepAliveAgain();
    }
    result.outcome = DownloadOutcome::Declined;
    return result;
  }

  KeepAliveOff(keepAlive, t);
  const DeviceInfo info = device.Snapshot();
  const std::uint32_t size = DownloadSize(info.logUsedSize, info.logWrapped);
  const std::uint32_t sectors = static_cast<std::uint32_t>((size + memory::kSectorSize - 1) / memory::kSectorSize);
  const std::uint64_t total = static_cast<std::uint64_t>(sectors) * memory::kSectorSize;
  result.downloadSize = size;
  LogDecoder decoder;
  decoder.ResetDecoder(zone.Clock(), LogDecoder::CurrentUtcYear());

  if (setup.bridge) {
    link.fastMode = true;
    PmtkExchange(link, pmtk::kSpeed, SerialPort::kFastBaud, 0);
    Pause(t.speedPause);
    auto lock = link.Lock();
    link.Port().SetFastSpeed();
  }

  Downloader dl(link, t, std::move(stop), link.fastMode.load());
  bool interrupted = false;
  {
    // The line is ours until every sector has come.
    auto lock = link.Lock();
    link.Port().DiscardInput();
    std::vector<std::uint8_t> sector(memory::kSectorSize);
    std::uint32_t resumeChunk = 0;
    int sectorRetries = 0;
    bool newSector = true;
    for (std::uint32_t m = 0; m < size && !interrupted;) {
      if (newSector) {
        std::fill(sector.begin(), sector.end(), std::uint8_t{0});
        resumeChunk = 0;
        sectorRetries = 0;
        newSector = false;
      }
      dl.Reader().Clear();
      Wait w = dl.KeepAliveSentence();
      dl.ArmWatchdog();
      const std::uint32_t first = resumeChunk * memory::kDataChunk;
      if (w == Wait::Got && !dl.Request(m + first, static_cast<std::uint32_t>(memory::kSectorSize) - first))
        w = link.LinkLost() ? Wait::Lost : Wait::Silence;
      for (std::uint32_t d = first; w == Wait::Got && d < memory::kSectorSize; d += memory::kDataChunk) {
        const int percent = ProgressPercent(m, d, size);
        std::string_view data;
        w = dl.AwaitChunk(m + d, data);
        if (w != Wait::Got) break;
        dl.DisarmWatchdog();
        if (!HexPairsToBytes(data, sector.data() + d, memory::kDataChunk)) {
          w = Wait::BadChecksum;
          break;
        }
        resumeChunk = d / memory::kDataChunk + 1;
        listener.OnProgress(percent, static_cast<std::uint64_t>(m) + d + memory::kDataChunk, total);
      }
      switch (w) {
        case Wait::Got:
          decoder.DecodeSector(sector.data());
          m += static_cast<std::uint32_t>(memory::kSectorSize);
          newSector = true;
          break;
        case Wait::BadChecksum:
        case Wait::Silence:
          // Again from the first chunk not yet received; the chunks received stay.
          if (sectorRetries >= t.retryLimit) {
            interrupted = true;
          } else {
            ++sectorRetries;
            ++result.retries;
          }
          break;
        case Wait::Lost:
          result.linkLost = true;
          interrupted = true;
          break;
        case Wait::Cancelled:
          result.cancelled = true;
          interrupted = true;
          break;
        case Wait::Watchdog:
          interrupted = true;
          break;
      }
    }
    result.replyBytes = dl.Reader().Bytes();
  }

  // The files are written while the logger and the port go back to their normal speed (the
  // pauses of that sequence are long enough to write a whole memory's files and their KML).
  // An interrupted download sets the speed back too, before the caller lets the logger go: a
  // logger left at 921600 would not answer the next connect.
  std::thread writer;
  if (!interrupted) {
    writer = std::thread([&] {
      TrackFilesOptions options;
      options.directory = choice->directory;
      options.writeTotal = choice->writeTotal;
      options.userName = info.userName;
      options.clock = zone.Clock();
      auto report = [&](const TrackFileReport& r) { listener.OnFile(r); };
      result.files = WriteTrackFiles(decoder, options, report);
      result.failedFiles = result.files.failed;
      result.validRecords = decoder.ValidCount();
      if (choice->combinePhotos) {
        for (const auto& trl : result.files.Written())
          if (!CombineOne(strings, zone, setup, trl, choice->photoDirectory, listener)) ++result.failedFiles;
      } else {
        result.failedFiles += WriteKmlForTrackFiles(result.files, options.clock, report);
      }
    });
  }
  if (setup.bridge) SpeedBack(link, keepAlive, t);
  link.fastMode = false;
  if (writer.joinable()) writer.join();

  if (interrupted) {
    result.outcome = DownloadOutcome::Interrupted;
    return result;
  }
  listener.OnProgress(100, total, total);
  // Every sector came, but a file that is missing makes it no success.
  if (result.failedFiles > 0)
    listener.OnStatus(txt::UploadFilesFailed, {std::to_string(result.failedFiles)});
  else
    listener.OnStatus(txt::UploadSucceed, {});
  result.outcome = DownloadOutcome::Complete;
  keepAliveAgain();
  return result;
}

}  // namespace kavro
